#include "DocumentFactory.h"
#include "DocumentLock.h"
#include "DocumentRegistry.h"
#include "DocumentType.h"
#include "PlainText.h"
#include "TestSupport.h"
#include "WidgetPrompts.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <memory>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {
// A document kind with a Save action of its own that it enables whenever it is changed, as
// the real kinds do.
class SavingDocument : public AbstractDocument
{
public:
    explicit SavingDocument(const QString& path, QWidget* parent = nullptr)
        : AbstractDocument(path, parent)
        , saveAction(new QAction(QStringLiteral("Save"), this))
    {
        setValid(true);
        openedReadOnly = isReadOnly();
        saveAction->setEnabled(false);
        guardSaveAction(saveAction);
    }
    void change()
    {
        setModified(true);
        saveAction->setEnabled(true);
    }
    QAction* saveAction;
    bool openedReadOnly = false;
};

LockOwner someoneElse(const QDateTime& opened)
{
    LockOwner owner;
    owner.user = QStringLiteral("anna");
    owner.host = QStringLiteral("laptop-3");
    owner.pid = 4242;
    owner.opened = opened;
    return owner;
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(data), qint64(data.size()));
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The id of a process that has ended (and been reaped) on this machine.
qint64 endedProcessId()
{
    QProcess process;
    process.start(QStringLiteral("sleep"), { QStringLiteral("30") });
    if (!process.waitForStarted())
        return 0;
    const qint64 pid = process.processId();
    process.kill();
    process.waitForFinished();
    return pid;
}
} // namespace

// Lock files beside open documents: what they hold, how they are judged, and how opening a
// document that someone else has open goes.
class TestDocumentLock : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void lockTextReadsBack();
    void hostileLockFilesAreStale();
    void locksAreJudgedByHostProcessAndAge();
    void releaseLeavesATakenOverLockAlone();
    void openingAsksAboutAnotherOwnersLock();
    void readOnlyDocumentNeverSaves();
    void staleLockIsReplacedWithoutAsking();
    void lockNamesAreNeverFollowed_data();
    void lockNamesAreNeverFollowed();
    void aFullFolderAtTheLockIsToldAbout();
    void lockOwnerIsShownAsPlainText_data();
    void lockOwnerIsShownAsPlainText();

private:
    QString documentPath() const { return m_dir->filePath(QStringLiteral("Inspection Report.kstir")); }
    QString lockPath() const { return DocumentLock::lockPathFor(documentPath()); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestDocumentLock::initTestCase()
{
    DocumentRegistry::registerKind(
        InspectionReport, [](const QString& path, QWidget* parent) -> AbstractDocument* {
            return new SavingDocument(path, parent);
        });
}

void TestDocumentLock::init()
{
    TestSupport::resetState();
    m_dir = std::make_unique<QTemporaryDir>();
    writeFile(documentPath(), "report");
}

void TestDocumentLock::cleanup()
{
    QCOMPARE(ScriptedPrompts::get().unanswered, 0);
    m_dir.reset();
}

void TestDocumentLock::lockTextReadsBack()
{
    // Hidden, beside the document, named after it.
    QCOMPARE(lockPath(), m_dir->filePath(QStringLiteral(".~lock.Inspection Report.kstir#")));
    QVERIFY(QFileInfo(lockPath()).fileName().startsWith(DocumentLock::lockFilePrefix()));

    LockOwner owner = someoneElse(QDateTime(QDate(2026, 3, 9), QTime(9, 14, 5), Qt::UTC));
    owner.user = QStringLiteral("Zoë Müller");
    LockOwner read;
    QVERIFY(DocumentLock::parse(DocumentLock::format(owner), &read));
    QVERIFY(read == owner);
    QCOMPARE(read.user, QStringLiteral("Zoë Müller"));

    // Windows line ends, spaces around values and unknown keys from a later version are fine.
    QVERIFY(DocumentLock::parse("user = anna\r\nhost=laptop-3\r\npid=4242\r\nopened=2026-03-09T09:14:05Z\r\n"
                                "program=Kestrovan 2\r\n",
        &read));
    QCOMPARE(read.user, QStringLiteral("anna"));
    QCOMPARE(read.pid, qint64(4242));

    // Our own lock as written on disk reads back as ours.
    DocumentLock lock(documentPath());
    QVERIFY(lock.acquire());
    QVERIFY(DocumentLock::parse(readFile(lockPath()), &read));
    QCOMPARE(read.user, LockOwner::current().user);
    QCOMPARE(read.host, QSysInfo::machineHostName());
    QCOMPARE(read.pid, QCoreApplication::applicationPid());
    QVERIFY(qAbs(read.opened.secsTo(QDateTime::currentDateTimeUtc())) < 60);
    QCOMPARE(DocumentLock::inspect(documentPath()).state, DocumentLock::State::Ours);
    lock.release();
    QVERIFY(!QFileInfo::exists(lockPath()));
    QCOMPARE(DocumentLock::inspect(documentPath()).state, DocumentLock::State::Free);
}

void TestDocumentLock::hostileLockFilesAreStale()
{
    const QByteArray good = DocumentLock::format(someoneElse(QDateTime::currentDateTimeUtc()));
    QByteArray huge = good;
    huge += QByteArray(8 * 1024 * 1024, 'x');
    QByteArray binary(512, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char(i * 37);
    const QList<QPair<const char*, QByteArray>> hostile {
        { "empty", QByteArray() },
        { "huge", huge },
        { "binary", binary },
        { "NUL inside", QByteArray(good).insert(5, '\0') },
        { "not UTF-8", QByteArray(good).replace("anna", "\xff\xfe\xfd") },
        { "no user", QByteArray(good).replace("user=anna\n", "") },
        { "empty host", QByteArray(good).replace("host=laptop-3", "host=") },
        { "pid too large", QByteArray(good).replace("pid=4242", "pid=99999999999") },
        { "pid negative", QByteArray(good).replace("pid=4242", "pid=-4242") },
        { "pid not a number", QByteArray(good).replace("pid=4242", "pid=42a") },
        { "bad date", QByteArray(good).replace("opened=", "opened=yesterday") },
        { "very long name", QByteArray(good).replace("anna", QByteArray(1000, 'a')) },
    };
    for (const auto& entry : hostile) {
        writeFile(lockPath(), entry.second);
        LockOwner owner;
        QVERIFY2(!DocumentLock::parse(entry.second, &owner), entry.first);
        QVERIFY2(DocumentLock::inspect(documentPath()).state == DocumentLock::State::Stale, entry.first);
    }
    // A folder in the lock's place is no lock either.
    QFile::remove(lockPath());
    QVERIFY(QDir().mkdir(lockPath()));
    QCOMPARE(DocumentLock::inspect(documentPath()).state, DocumentLock::State::Stale);
    QVERIFY(QDir().rmdir(lockPath()));

    // Opening over a hostile lock neither asks nor fails: the lock becomes ours.
    writeFile(lockPath(), binary);
    std::unique_ptr<AbstractDocument> doc(createDocument(documentPath()));
    QVERIFY(doc && doc->isValid() && !doc->isReadOnly());
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
    QCOMPARE(DocumentLock::inspect(documentPath()).state, DocumentLock::State::Ours);
}

void TestDocumentLock::locksAreJudgedByHostProcessAndAge()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const auto judge = [this, &now](const LockOwner& owner) {
        writeFile(lockPath(), DocumentLock::format(owner));
        return DocumentLock::inspect(documentPath(), now).state;
    };

    // Another machine: respected for a day, then taken as left behind; a clock far ahead
    // does not make a lock that never ages.
    QCOMPARE(judge(someoneElse(now.addSecs(-60))), DocumentLock::State::Held);
    QCOMPARE(judge(someoneElse(now.addSecs(-23 * 3600))), DocumentLock::State::Held);
    QCOMPARE(judge(someoneElse(now.addSecs(-25 * 3600))), DocumentLock::State::Stale);
    QCOMPARE(judge(someoneElse(now.addSecs(3 * 24 * 3600))), DocumentLock::State::Stale);
    QCOMPARE(DocumentLock::inspect(documentPath(), now).owner.user, QStringLiteral("anna"));

    // This machine: judged by whether the process still runs, whatever its age.
    LockOwner local = someoneElse(now.addSecs(-3 * 24 * 3600));
    local.host = LockOwner::current().host;
    QProcess running;
    running.start(QStringLiteral("sleep"), { QStringLiteral("30") });
    QVERIFY(running.waitForStarted());
    local.pid = running.processId();
    QCOMPARE(judge(local), DocumentLock::State::Held);
    running.kill();
    running.waitForFinished();
    QCOMPARE(judge(local), DocumentLock::State::Stale);
    local.pid = endedProcessId();
    QVERIFY(local.pid > 0);
    QCOMPARE(judge(local), DocumentLock::State::Stale);
    // Our own process, even from an older opening: ours.
    local.pid = QCoreApplication::applicationPid();
    QCOMPARE(judge(local), DocumentLock::State::Ours);
}

void TestDocumentLock::releaseLeavesATakenOverLockAlone()
{
    auto lock = std::make_unique<DocumentLock>(documentPath());
    QVERIFY(lock->acquire());
    // Someone opened it anyway meanwhile: their lock stays when we close.
    const QByteArray theirs = DocumentLock::format(someoneElse(QDateTime::currentDateTimeUtc()));
    writeFile(lockPath(), theirs);
    lock.reset();
    QCOMPARE(readFile(lockPath()), theirs);

    // A lock in a folder nobody may write to cannot be made; the document is then unlocked.
    QFile::remove(lockPath());
    QFile::setPermissions(m_dir->path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    DocumentLock denied(documentPath());
    const bool written = denied.acquire();
    QFile::setPermissions(
        m_dir->path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!written) {
        QVERIFY(!denied.isAcquired());
        QVERIFY(!QFileInfo::exists(lockPath()));
    }
}

void TestDocumentLock::openingAsksAboutAnotherOwnersLock()
{
    const QDateTime opened = QDateTime(QDate::currentDate(), QTime(9, 14)).toUTC();
    const QByteArray theirs = DocumentLock::format(someoneElse(opened));
    ScriptedPrompts& prompts = ScriptedPrompts::get();

    // Cancel: nothing opens, their lock stays.
    writeFile(lockPath(), theirs);
    prompts.buttons = { QMessageBox::Cancel };
    QVERIFY(!createDocument(documentPath()));
    QCOMPARE(prompts.asked.size(), 1);
    const MessageRequest& asked = prompts.asked.first().message;
    QCOMPARE(asked.text, QStringLiteral("Inspection Report.kstir is open by anna on laptop-3 since 09:14"));
    QCOMPARE(asked.buttons, QMessageBox::Open | QMessageBox::Ignore | QMessageBox::Cancel);
    QCOMPARE(asked.buttonTexts.value(QMessageBox::Open), QStringLiteral("Open Read-Only"));
    QCOMPARE(asked.buttonTexts.value(QMessageBox::Ignore), QStringLiteral("Open Anyway"));
    QCOMPARE(readFile(lockPath()), theirs);
    QVERIFY(TestSupport::openedUrls().isEmpty()); // not handed to the desktop either

    // Open Read-Only: read-only from its construction, their lock stays, also after closing.
    prompts.reset();
    prompts.buttons = { QMessageBox::Open };
    std::unique_ptr<AbstractDocument> readOnly(createDocument(documentPath()));
    QVERIFY(readOnly && readOnly->isValid());
    QVERIFY(readOnly->isReadOnly());
    QVERIFY(static_cast<SavingDocument*>(readOnly.get())->openedReadOnly);
    QCOMPARE(readOnly->windowTitle(), QStringLiteral("Inspection Report.kstir [Read-Only]"));
    QVERIFY(!readOnly->holdsLock());
    readOnly.reset();
    QCOMPARE(readFile(lockPath()), theirs);

    // Open Anyway: the lock becomes ours, and goes when the document closes.
    prompts.reset();
    prompts.buttons = { QMessageBox::Ignore };
    std::unique_ptr<AbstractDocument> anyway(createDocument(documentPath()));
    QVERIFY(anyway && anyway->isValid() && !anyway->isReadOnly());
    QVERIFY(anyway->holdsLock());
    QCOMPARE(DocumentLock::inspect(documentPath()).state, DocumentLock::State::Ours);
    QCOMPARE(anyway->windowTitle(), QStringLiteral("Inspection Report.kstir"));
    anyway.reset();
    QVERIFY(!QFileInfo::exists(lockPath()));

    // Nobody else: no question, locked while open, unlocked after.
    prompts.reset();
    std::unique_ptr<AbstractDocument> free(createDocument(documentPath()));
    QVERIFY(free && free->holdsLock());
    QVERIFY(prompts.asked.isEmpty());
    QVERIFY(QFileInfo::exists(lockPath()));
    free.reset();
    QVERIFY(!QFileInfo::exists(lockPath()));
}

void TestDocumentLock::readOnlyDocumentNeverSaves()
{
    writeFile(lockPath(), DocumentLock::format(someoneElse(QDateTime::currentDateTimeUtc())));
    ScriptedPrompts& prompts = ScriptedPrompts::get();
    prompts.buttons = { QMessageBox::Open };
    std::unique_ptr<AbstractDocument> doc(createDocument(documentPath()));
    QVERIFY(doc && doc->isReadOnly());
    auto* saving = static_cast<SavingDocument*>(doc.get());
    // The kind enables its Save on a change, as always; the framework keeps it disabled.
    saving->change();
    QVERIFY(!saving->saveAction->isEnabled());
    QCOMPARE(doc->windowTitle(), QStringLiteral("Inspection Report.kstir * [Read-Only]"));

    // Closing a changed read-only document offers to lose the changes, not to save them.
    prompts.reset();
    prompts.buttons = { QMessageBox::Cancel };
    QVERIFY(!doc->maybeSave());
    QCOMPARE(prompts.asked.size(), 1);
    QCOMPARE(prompts.asked.first().message.buttons, QMessageBox::Discard | QMessageBox::Cancel);
    prompts.buttons = { QMessageBox::Discard };
    QVERIFY(doc->maybeSave());
    QCOMPARE(readFile(documentPath()), QByteArray("report"));

    // Made writable again (the kind decides when): Save follows the kind once more.
    doc->setReadOnly(false);
    saving->change();
    QVERIFY(saving->saveAction->isEnabled());
    QCOMPARE(doc->windowTitle(), QStringLiteral("Inspection Report.kstir *"));
    doc->setReadOnly(true);
    QVERIFY(!saving->saveAction->isEnabled());
}

void TestDocumentLock::staleLockIsReplacedWithoutAsking()
{
    // A lock left by a Kestrovan of this machine that was killed.
    LockOwner crashed = someoneElse(QDateTime::currentDateTimeUtc().addSecs(-600));
    crashed.host = LockOwner::current().host;
    crashed.pid = endedProcessId();
    QVERIFY(crashed.pid > 0);
    writeFile(lockPath(), DocumentLock::format(crashed));
    std::unique_ptr<AbstractDocument> doc(createDocument(documentPath()));
    QVERIFY(doc && !doc->isReadOnly() && doc->holdsLock());
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
    LockOwner now;
    QVERIFY(DocumentLock::parse(readFile(lockPath()), &now));
    QCOMPARE(now.pid, QCoreApplication::applicationPid());
    doc.reset();

    // A lock from another machine two days old: the same.
    writeFile(lockPath(), DocumentLock::format(someoneElse(QDateTime::currentDateTimeUtc().addDays(-2))));
    doc.reset(createDocument(documentPath()));
    QVERIFY(doc && !doc->isReadOnly() && doc->holdsLock());
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
}

void TestDocumentLock::lockNamesAreNeverFollowed_data()
{
    QTest::addColumn<QString>("planted");
    QTest::newRow("link to a file") << "link";
    QTest::newRow("link to a folder") << "link to folder";
    QTest::newRow("dangling link") << "dangling link";
    QTest::newRow("named pipe") << "fifo";
    QTest::newRow("device") << "device";
    QTest::newRow("empty folder") << "folder";
}

void TestDocumentLock::lockNamesAreNeverFollowed()
{
    // Someone put something other than a lock file at the lock's name, pointing at the user's
    // files: it is a stale lock, replaced by a lock file of ours, and what it points to stays.
    QFETCH(QString, planted);
    const QString notes = m_dir->filePath(QStringLiteral("notes.txt"));
    const QString folder = m_dir->filePath(QStringLiteral("Private"));
    writeFile(notes, "my notes");
    QVERIFY(QDir().mkdir(folder));
    const QByteArray name = QFile::encodeName(lockPath());
    if (planted == QLatin1String("link"))
        QVERIFY(QFile::link(notes, lockPath()));
    else if (planted == QLatin1String("link to folder"))
        QVERIFY(QFile::link(folder, lockPath()));
    else if (planted == QLatin1String("dangling link"))
        QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("gone.txt")), lockPath()));
    else if (planted == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(name.constData(), 0666), 0);
    else if (planted == QLatin1String("device")
        && ::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        QSKIP("Making a device file needs privileges this test does not have");
    else if (planted == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(lockPath()));

    QCOMPARE(DocumentLock::inspect(documentPath()).state, DocumentLock::State::Stale);
    std::unique_ptr<AbstractDocument> doc(createDocument(documentPath()));
    QVERIFY(doc && doc->isValid() && !doc->isReadOnly());
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
    QVERIFY(doc->holdsLock());
    const QFileInfo lock(lockPath());
    QVERIFY(lock.isFile() && !lock.isSymLink());
    QCOMPARE(DocumentLock::inspect(documentPath()).state, DocumentLock::State::Ours);
    QCOMPARE(readFile(notes), QByteArray("my notes"));
    QVERIFY(QDir(folder).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden).isEmpty());
    QVERIFY(!QFileInfo::exists(m_dir->filePath(QStringLiteral("gone.txt"))));
    doc.reset();
    QVERIFY(!QFileInfo::exists(lockPath()) && !QFileInfo(lockPath()).isSymLink());
    QCOMPARE(readFile(notes), QByteArray("my notes"));

    // A link planted after the look and before the write is replaced, not written through.
    DocumentLock raced(documentPath());
    QVERIFY(QFile::link(notes, lockPath()));
    QVERIFY(raced.acquire());
    QVERIFY(!QFileInfo(lockPath()).isSymLink());
    QCOMPARE(readFile(notes), QByteArray("my notes"));
    // Released after a link replaced our lock: the link goes, not what it points to.
    QVERIFY(QFile::remove(lockPath()));
    writeFile(notes, DocumentLock::format(LockOwner::current()));
    QVERIFY(QFile::link(notes, lockPath()));
    raced.release();
    QVERIFY(QFileInfo::exists(notes));
    // No temporary is left beside the document.
    QCOMPARE(QDir(m_dir->path()).entryList({ QStringLiteral(".~lock*") }, QDir::AllEntries | QDir::Hidden),
        QStringList { QFileInfo(lockPath()).fileName() });
}

void TestDocumentLock::aFullFolderAtTheLockIsToldAbout()
{
    QVERIFY(QDir().mkpath(lockPath() + QStringLiteral("/kept")));
    std::unique_ptr<AbstractDocument> doc(createDocument(documentPath()));
    QVERIFY(doc && doc->isValid() && !doc->holdsLock());
    const auto& asked = ScriptedPrompts::get().asked;
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().message.icon, PromptIcon(QMessageBox::Warning));
    QCOMPARE(asked.first().message.text,
        QStringLiteral("Inspection Report.kstir cannot be locked while you work on it: a folder named "
                       "\".~lock.Inspection Report.kstir#\" stands where its lock file belongs."));
    QVERIFY(QFileInfo(lockPath() + QStringLiteral("/kept")).isDir());
}

void TestDocumentLock::lockOwnerIsShownAsPlainText_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("shown");
    QTest::newRow("markup stays text") << "<b>anna</b>"
                                       << "<b>anna</b>";
    QTest::newRow("right-to-left override") << QString::fromUtf8("laptop\u202E3-pot") << "laptop3-pot";
    QTest::newRow("isolates and marks") << QString::fromUtf8("\u2066a\u2069\u200Fb\u061C\u200Ec") << "abc";
    QTest::newRow("embeddings") << QString::fromUtf8("\u202Ax\u202By\u202C\u202Dz") << "xyz";
    QTest::newRow("controls") << QString::fromUtf8("an\tna\x7f\u0085!") << "anna!";
    QTest::newRow("letters of any script")
        << QString::fromUtf8("Zoë שרה 李") << QString::fromUtf8("Zoë שרה 李");
}

void TestDocumentLock::lockOwnerIsShownAsPlainText()
{
    QFETCH(QString, raw);
    QFETCH(QString, shown);
    QCOMPARE(plainUserText(raw), shown);

    // As read from a lock file someone else wrote, and as asked about.
    LockOwner owner = someoneElse(QDateTime(QDate::currentDate(), QTime(9, 14)).toUTC());
    owner.user = raw;
    owner.host = raw;
    writeFile(lockPath(), DocumentLock::format(owner));
    const DocumentLock::Reading reading = DocumentLock::inspect(documentPath());
    QCOMPARE(reading.state, DocumentLock::State::Held);
    QCOMPARE(reading.owner.user, shown);
    ScriptedPrompts::get().buttons = { QMessageBox::Cancel };
    QVERIFY(!createDocument(documentPath()));
    const MessageRequest asked = ScriptedPrompts::get().asked.first().message;
    QCOMPARE(
        asked.text, QStringLiteral("Inspection Report.kstir is open by %1 on %1 since 09:14").arg(shown));

    // The real box shows it as it is, never as markup.
    QMessageBox box;
    WidgetPrompts::prepareBox(box, asked);
    const QList<QLabel*> labels = box.findChildren<QLabel*>();
    int texts = 0;
    for (const QLabel* label : labels) {
        if (label->text() == asked.text || label->text() == asked.informativeText) {
            QCOMPARE(label->textFormat(), Qt::PlainText);
            ++texts;
        }
    }
    QCOMPARE(texts, 2);
}

KESTROVAN_TEST_MAIN(TestDocumentLock)
#include "tst_documentlock.moc"
