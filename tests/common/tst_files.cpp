#include "FileNames.h"
#include "SafeWrite.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

class TestFiles : public QObject
{
    Q_OBJECT
private slots:
    void uniqueFileName_data();
    void uniqueFileName();
    void copyAsWritableMakesTheCopyWritable();
    void safeWriteReplacesTheFile();
    void safeWriteThatRunsOutOfSpaceKeepsTheOldFile();
    void safeWriteWhoseWriterGivesUpKeepsTheOldFile();
};

static void touch(const QString& path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

void TestFiles::uniqueFileName_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("free name unchanged") << QStringList() << "Checklist.kstchk"
                                         << "Checklist.kstchk";
    QTest::newRow("taken once") << QStringList { "Checklist.kstchk" } << "Checklist.kstchk"
                                << "Checklist (2).kstchk";
    QTest::newRow("taken twice") << QStringList { "Checklist.kstchk", "Checklist (2).kstchk" }
                                 << "Checklist.kstchk"
                                 << "Checklist (3).kstchk";
    QTest::newRow("only the last dot separates")
        << QStringList { "Report.final.kstir" } << "Report.final.kstir"
        << "Report.final (2).kstir";
    QTest::newRow("folder without suffix") << QStringList { "dir:New Folder" } << "New Folder"
                                           << "New Folder (2)";
    QTest::newRow("a folder blocks a file name")
        << QStringList { "dir:Checklist.kstchk" } << "Checklist.kstchk"
        << "Checklist (2).kstchk";
    QTest::newRow("gap is filled first") << QStringList { "a.txt", "a (3).txt" } << "a.txt"
                                         << "a (2).txt";
}

void TestFiles::uniqueFileName()
{
    QFETCH(QStringList, existing);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    for (const QString& entry : existing) {
        if (entry.startsWith("dir:"))
            QVERIFY(QDir(dir.path()).mkdir(entry.mid(4)));
        else
            touch(dir.filePath(entry));
    }
    QString path = dir.filePath(name);
    ::uniqueFileName(path);
    QCOMPARE(path, dir.filePath(expected));
}

void TestFiles::copyAsWritableMakesTheCopyWritable()
{
    QTemporaryDir dir;
    const QString target = dir.filePath("default.kstid");
    QVERIFY(copyAsWritable(":res/reports/default.kstid", target));
    QFile copy(target);
    QVERIFY(copy.permissions() & QFileDevice::WriteOwner);
    QVERIFY(copy.permissions() & QFileDevice::WriteOther);
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll().trimmed(), QByteArray("<installation_diagram/>"));
    QVERIFY2(
        !copyAsWritable(":res/reports/no-such-template", dir.filePath("x")), "a missing source must fail");
}

void TestFiles::safeWriteReplacesTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("report.kstir");
    QVERIFY(SafeWrite::writeFile(path, QByteArray("first")));
    QVERIFY(SafeWrite::writeFile(path, QByteArray("second version")));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("second version"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList { "report.kstir" });
}

void TestFiles::safeWriteThatRunsOutOfSpaceKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("report.kstir");
    const QByteArray original(1000, 'o');
    QVERIFY(SafeWrite::writeFile(path, original));

    // A child process whose file size limit stands for a full disk tries to save 1 MB.
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit { 64 * 1024, 64 * 1024 };
        setrlimit(RLIMIT_FSIZE, &limit);
        QString error;
        const bool ok = SafeWrite::writeFile(path, QByteArray(1024 * 1024, 'n'), &error);
        _exit(!ok && !error.isEmpty() ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);

    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), original);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList { "report.kstir" });
}

void TestFiles::safeWriteWhoseWriterGivesUpKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("data.kstcrv");
    QVERIFY(SafeWrite::writeFile(path, QByteArray("keep me")));
    QString error;
    const bool ok = SafeWrite::writeFile(
        path,
        [](QIODevice& device) {
            device.write("half");
            return false;
        },
        &error);
    QVERIFY(!ok);
    QVERIFY(!error.isEmpty());
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("keep me"));
}

KESTROVAN_TEST_MAIN(TestFiles)
#include "tst_files.moc"
