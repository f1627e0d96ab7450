#include "TestSupport.h"

#include <QProcess>
#include <QTemporaryDir>

// The tester-file generator's command line: help, options, and bad input that writes nothing.
class TestTesterGen : public QObject
{
    Q_OBJECT
private slots:
    void helpPrintsUsageAndWritesNothing();
    void optionsShapeTheFile();
    void badCommandLinesWriteNothing();

private:
    struct Run
    {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };
    Run run(const QStringList& arguments);
    QTemporaryDir m_dir;
};

TestTesterGen::Run TestTesterGen::run(const QStringList& arguments)
{
    QProcess process;
    process.setWorkingDirectory(m_dir.path());
    process.start(QStringLiteral(TESTERGEN), arguments);
    Run result;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

void TestTesterGen::helpPrintsUsageAndWritesNothing()
{
    for (const char* help : { "--help", "-h" }) {
        const Run result = run({ help });
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.out.contains("Usage:") && result.out.contains("--rows <N>")
                && result.out.contains("out.csv"),
            result.out.constData());
        QVERIFY(QDir(m_dir.path()).entryList(QDir::Files).isEmpty());
    }
}

void TestTesterGen::optionsShapeTheFile()
{
    Run result = run({ "plain.csv", "--rows", "3" });
    QCOMPARE(result.exitCode, 0);
    QFile plain(m_dir.filePath("plain.csv"));
    QVERIFY(plain.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = plain.readAll().trimmed().split('\n');
    QCOMPARE(lines.size(), 2 + 3);
    QVERIFY(lines.at(1).contains(",IVCurve"));

    result = run({ "semi.csv", "--semicolon", "--rows", "1", "--points", "4", "--no-failures" });
    QCOMPARE(result.exitCode, 0);
    QFile semi(m_dir.filePath("semi.csv"));
    QVERIFY(semi.open(QIODevice::ReadOnly));
    const QList<QByteArray> semiLines = semi.readAll().trimmed().split('\n');
    QCOMPARE(semiLines.size(), 3);
    QVERIFY(semiLines.at(1).contains(";IVCurve"));
}

void TestTesterGen::badCommandLinesWriteNothing()
{
    const QList<QStringList> bad = {
        {},
        { "a.csv", "b.csv" },
        { "bad.csv", "--rows", "many" },
        { "bad.csv", "--rows", "-4" },
        { "bad.csv", "--points", "1" },
        { "bad.csv", "--frobnicate" },
    };
    for (const QStringList& arguments : bad) {
        const Run result = run(arguments);
        QVERIFY2(result.exitCode > 0, qPrintable(arguments.join(' ')));
        QVERIFY2(!result.err.isEmpty(), qPrintable(arguments.join(' ')));
    }
    for (const char* name : { "a.csv", "b.csv", "bad.csv", "--frobnicate" })
        QVERIFY2(!QFileInfo::exists(m_dir.filePath(name)), name);
}

KESTROVAN_TEST_MAIN(TestTesterGen)
#include "tst_testergen.moc"
