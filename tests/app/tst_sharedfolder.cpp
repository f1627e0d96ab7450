#include "AppTestSupport.h"
#include "DocumentFactory.h"
#include "DocumentLock.h"
#include "FolderProbe.h"
#include "Folders.h"
#include "GraphicalReportDocument.h"
#include "MainWindow.h"
#include "ProjectModel.h"
#include "ProjectTreeController.h"
#include "ProjectTreeView.h"
#include "ProjectWatcher.h"
#include "TestSupport.h"

#include <QAction>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWaitCondition>
#include <atomic>
#include <memory>

namespace {
QByteArray hashOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

void writeFile(const QString& path, const QByteArray& data)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(data), qint64(data.size()));
}

QByteArray foreignLock()
{
    LockOwner owner;
    owner.user = QStringLiteral("anna");
    owner.host = QStringLiteral("laptop-3");
    owner.pid = 4242;
    owner.opened = QDateTime::currentDateTimeUtc().addSecs(-300);
    return DocumentLock::format(owner);
}

// The names the model shows directly under a folder.
QStringList shownNames(ProjectModel* model, const QString& folder)
{
    QStringList names;
    const QModelIndex parent = model->index(folder);
    if (model->canFetchMore(parent))
        model->fetchMore(parent);
    for (int row = 0; row < model->rowCount(parent); ++row)
        names.append(QFileInfo(model->filePath(model->index(row, 0, parent))).fileName());
    names.sort();
    return names;
}
} // namespace

namespace {
// The real file system behind a gate: while it is closed every call waits, as on a share whose
// server stopped. It notes any call made on the GUI thread, which would freeze the window.
class GatedProbe : public FolderProbe
{
public:
    std::atomic<int> guiThreadCalls { 0 };
    // The thread of the last call: the watcher's own.
    std::atomic<QThread*> lastThread { nullptr };

    void setOpen(bool open)
    {
        QMutexLocker lock(&m_mutex);
        m_open = open;
        m_opened.wakeAll();
    }
    bool isFolder(const QString& path) override { return pass() && m_system->isFolder(path); }
    QStringList entries(const QString& folder) override
    {
        return pass() ? m_system->entries(folder) : QStringList();
    }
    QStringList subfolders(const QString& folder) override
    {
        return pass() ? m_system->subfolders(folder) : QStringList();
    }
    FileState state(const QString& path) override { return pass() ? m_system->state(path) : FileState(); }
    bool isOnNetwork(const QString&) override { return pass(); }

private:
    bool pass()
    {
        if (QThread::currentThread() == qApp->thread())
            ++guiThreadCalls;
        lastThread = QThread::currentThread();
        QMutexLocker lock(&m_mutex);
        // Bounded, so that a broken watcher fails the test instead of hanging it.
        QDeadlineTimer deadline(20000);
        while (!m_open && !deadline.hasExpired())
            m_opened.wait(&m_mutex, deadline);
        return m_open;
    }

    const std::shared_ptr<FolderProbe> m_system = FolderProbe::system();
    QMutex m_mutex;
    QWaitCondition m_opened;
    bool m_open = true;
};
} // namespace

// A projects folder that a team shares: documents someone else has open, lock files, and a
// folder whose changes are seen by polling.
class TestSharedFolder : public QObject, protected TestSupport::MainWindowFixture
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void readOnlyReportKeepsItsFileAndItsFavourite();
    void curveAndDiagramDocumentsOpenReadOnlyToo_data();
    void curveAndDiagramDocumentsOpenReadOnlyToo();
    void lockFilesNeverShowInTheTree();
    void refreshedFolderFollowsTheDisk();
    void pollingSeesAdditionsRenamesAndDeletions();
    void pollingClosesADocumentWhoseFileVanished();
    void secondProgramWithAnotherHomeSeesTheLock();
    void shareOutOfReachKeepsDocumentsAndComesBack();
    void saveAsksWhenTheFileChangedOnDisk_data();
    void saveAsksWhenTheFileChangedOnDisk();
    void closedWatcherLeavesNoThreadBehind();
};

void TestSharedFolder::init()
{
    startWindow();
}

void TestSharedFolder::cleanup()
{
    FolderProbe::replaceSystem(nullptr);
    closeWindow();
    m_root.reset();
}

void TestSharedFolder::readOnlyReportKeepsItsFileAndItsFavourite()
{
    const QString path = createNewDocument(root(), "Inspection Report.kstir");
    QVERIFY(!path.isEmpty());
    writeFile(DocumentLock::lockPathFor(path), foreignLock());
    const QByteArray before = hashOf(path);
    ScriptedPrompts& prompts = ScriptedPrompts::get();
    prompts.reset();
    prompts.buttons = { QMessageBox::Open };
    auto* doc = qobject_cast<GraphicalReportDocument*>(m_window->openDocument(path));
    QVERIFY(doc && doc->isValid() && doc->isReadOnly());
    QCOMPARE(prompts.asked.size(), 1);
    QVERIFY(
        prompts.asked.first().message.text.startsWith("Inspection Report.kstir is open by anna on laptop-3"));
    QVERIFY(m_window->mdiArea()->activeSubWindow()->windowTitle().contains("[Read-Only]"));

    // A change enables the report's Save as always; read-only keeps both Saves off.
    QAction* reportSave = doc->findChild<QAction*>("actionSave");
    doc->modified();
    QVERIFY(doc->isModified());
    QVERIFY(!reportSave->isEnabled());
    QVERIFY(!action("actionSave")->isEnabled());
    QVERIFY(doc->findChild<QAction*>("actionSaveFavourite")->isEnabled());
    QVERIFY(doc->findChild<QAction*>("actionExportToPdf")->isEnabled());
    // Save reached another way (the shortcut of the main window, the report's own slot) writes nothing.
    action("actionSave")->trigger();
    doc->save();
    QCOMPARE(hashOf(path), before);

    // It can still become the favourite; its own file stays as it is.
    const QString favourite = Folders::instance()->favouriteTemplatePath("kstir");
    QFile::remove(favourite);
    prompts.reset();
    prompts.buttons = { QMessageBox::Yes };
    doc->saveAsFavourite();
    QVERIFY(QFileInfo::exists(favourite));
    QCOMPARE(hashOf(path), before);

    // Closing offers to lose the changes; the other's lock stays.
    prompts.reset();
    prompts.buttons = { QMessageBox::Discard };
    m_window->closeDocument(doc);
    QTRY_VERIFY(m_window->documents().isEmpty());
    QCOMPARE(prompts.asked.size(), 1);
    QCOMPARE(DocumentLock::inspect(path).owner.user, QStringLiteral("anna"));
    QCOMPARE(hashOf(path), before);
}

void TestSharedFolder::curveAndDiagramDocumentsOpenReadOnlyToo_data()
{
    QTest::addColumn<QString>("name");
    // The buttons offered: a curve file is never opened twice for writing.
    QTest::addColumn<int>("buttons");
    QTest::newRow("curve file") << "Strings.kstcrv" << int(QMessageBox::Open | QMessageBox::Cancel);
    QTest::newRow("installation diagram")
        << "Roof.kstid" << int(QMessageBox::Open | QMessageBox::Ignore | QMessageBox::Cancel);
}

void TestSharedFolder::curveAndDiagramDocumentsOpenReadOnlyToo()
{
    // A curve file is a database: a second writer on a shared folder would damage it.
    QFETCH(QString, name);
    QFETCH(int, buttons);
    const QString path = createNewDocument(root(), name);
    QVERIFY(!path.isEmpty());
    writeFile(DocumentLock::lockPathFor(path), foreignLock());
    const QByteArray before = hashOf(path);
    ScriptedPrompts& prompts = ScriptedPrompts::get();
    prompts.reset();
    prompts.buttons = { QMessageBox::Open };
    AbstractDocument* doc = m_window->openDocument(path);
    QVERIFY(doc && doc->isValid() && doc->isReadOnly());
    QCOMPARE(prompts.asked.size(), 1);
    QCOMPARE(int(prompts.asked.first().message.buttons), buttons);
    QAction* save = doc->findChild<QAction*>("actionSave");
    QVERIFY(save);
    doc->setModified(true);
    QVERIFY(!save->isEnabled());
    save->trigger();
    action("actionSave")->trigger();
    QCOMPARE(hashOf(path), before);
    doc->setModified(false);
    m_window->closeDocument(doc);
    QTRY_VERIFY(m_window->documents().isEmpty());
    QCOMPARE(DocumentLock::inspect(path).owner.user, QStringLiteral("anna"));
    QCOMPARE(hashOf(path), before);
}

void TestSharedFolder::lockFilesNeverShowInTheTree()
{
    const QString path = createNewDocument(root() + "/Site A", "Inspection Report.kstir");
    writeFile(root() + "/Site A/.notes", "other hidden files are shown");
    writeFile(root() + "/Site A/.~lockless", "so is a name that only looks like a lock");
    // A folder named like a lock is no project folder either.
    QVERIFY(QDir().mkpath(root() + "/Site A/.~lock.Old.kstir#/inside"));
    AbstractDocument* doc = m_window->openDocument(path);
    QVERIFY(doc && doc->holdsLock());
    QVERIFY(QFileInfo::exists(DocumentLock::lockPathFor(path)));
    ProjectModel* model = m_window->projectTree()->model();
    const QStringList expected { ".notes", ".~lockless", "Inspection Report.kstir", "Roof" };
    QTRY_COMPARE(shownNames(model, root() + "/Site A"), expected);
    // Refreshed by hand too, the lock stays out.
    model->refreshFolder(root() + "/Site A");
    QCOMPARE(shownNames(model, root() + "/Site A"), expected);

    // Closing the document removes its lock; so does the end of the program.
    m_window->closeDocument(doc);
    QTRY_VERIFY(m_window->documents().isEmpty());
    QVERIFY(!QFileInfo::exists(DocumentLock::lockPathFor(path)));
    QVERIFY(m_window->openDocument(path));
    QVERIFY(QFileInfo::exists(DocumentLock::lockPathFor(path)));
    m_window->close();
    m_window.reset();
    QVERIFY(!QFileInfo::exists(DocumentLock::lockPathFor(path)));
    m_window = std::make_unique<MainWindow>();
}

void TestSharedFolder::refreshedFolderFollowsTheDisk()
{
    // A model that sees no change by itself, as on a network share.
    ProjectModel model;
    model.setOption(QFileSystemModel::DontWatchForChanges);
    const QString folder = root() + "/Site A";
    writeFile(folder + "/one.kstir", "1");
    writeFile(folder + "/two.kstir", "2");
    model.setRootPath(root());
    QTRY_COMPARE(shownNames(&model, folder), QStringList({ "Roof", "one.kstir", "two.kstir" }));

    writeFile(folder + "/three.kstir", "3");
    QVERIFY(QFile::rename(folder + "/one.kstir", folder + "/uno.kstir"));
    QVERIFY(QFile::remove(folder + "/two.kstir"));
    QVERIFY(QDir(folder).rmdir("Roof"));
    QVERIFY(QDir(folder).mkdir("Wall"));
    writeFile(DocumentLock::lockPathFor(folder + "/three.kstir"), foreignLock());
    model.refreshFolder(folder);
    QTRY_COMPARE(shownNames(&model, folder), QStringList({ "Wall", "three.kstir", "uno.kstir" }));
}

void TestSharedFolder::pollingSeesAdditionsRenamesAndDeletions()
{
    const QString site = root() + "/Site A";
    const QString document = site + "/report.kstir";
    writeFile(document, "first");
    ProjectWatcher watcher(root());
    watcher.setPollSources(
        [&site]() { return QStringList { site }; }, [&document]() { return QStringList { document }; });
    QSignalSpy folders(&watcher, &ProjectWatcher::directoryChanged);
    QSignalSpy files(&watcher, &ProjectWatcher::fileChanged);
    QVERIFY(!watcher.isPolling());
    watcher.setPolling(true, 50);
    QVERIFY(watcher.isPolling());
    // The first pass, made on the watcher's thread, is the baseline.
    QTRY_VERIFY(watcher.isIdle());

    // The root itself has no change notification here: only polling sees this.
    writeFile(root() + "/added.kstir", "x");
    QTRY_VERIFY(folders.contains(QVariantList { root() }));
    folders.clear();
    QVERIFY(QFile::rename(root() + "/added.kstir", site + "/moved.kstir"));
    QTRY_VERIFY(folders.contains(QVariantList { root() }) && folders.contains(QVariantList { site }));
    folders.clear();
    QVERIFY(QFile::remove(site + "/moved.kstir"));
    QTRY_VERIFY(folders.contains(QVariantList { site }));

    // The open document's file: changed elsewhere, then gone.
    QTest::qWait(20);
    writeFile(document, "changed on another machine, and longer");
    QTRY_VERIFY(files.contains(QVariantList { document }));
    files.clear();
    QVERIFY(QFile::remove(document));
    QTRY_VERIFY(files.contains(QVariantList { document }));

    // Lock files coming and going are no change of the folder; nor is an unchanged pass.
    watcher.poll();
    QTRY_VERIFY(watcher.isIdle());
    folders.clear();
    files.clear();
    // In the root, which only polling looks at.
    writeFile(DocumentLock::lockPathFor(root() + "/other.kstir"), foreignLock());
    for (int pass = 0; pass < 2; ++pass) {
        watcher.poll();
        QTRY_VERIFY(watcher.isIdle());
    }
    QVERIFY(folders.isEmpty());
    QVERIFY(files.isEmpty());

    watcher.setPolling(false);
    QVERIFY(!watcher.isPolling());
    writeFile(root() + "/late.kstir", "x");
    QTest::qWait(200);
    QVERIFY(!folders.contains(QVariantList { root() }));
}

void TestSharedFolder::pollingClosesADocumentWhoseFileVanished()
{
    const QString path = createNewDocument(root(), "Inspection Report.kstir");
    QVERIFY(m_window->openDocument(path));
    ProjectWatcher* watcher = m_window->projectTree()->watcher();
    watcher->setPolling(true, 50);
    // Expanded folders are polled as well as the root.
    m_window->treeView()->expand(m_window->projectTree()->model()->index(root() + "/Site A"));
    QTRY_VERIFY(
        m_window->treeView()->isExpanded(m_window->projectTree()->model()->index(root() + "/Site A")));
    QVERIFY(QFile::remove(path));
    QTRY_VERIFY(m_window->documents().isEmpty());
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
}

void TestSharedFolder::secondProgramWithAnotherHomeSeesTheLock()
{
    const QString program = TestSupport::binaryFolder() + "/Kestrovan";
    if (!QFileInfo(program).isExecutable())
        QSKIP("the program is not built");
    const QString path = createNewDocument(root(), "Inspection Report.kstir");
    QVERIFY(!path.isEmpty());

    // Another user's Kestrovan: its own HOME and settings, the same projects folder.
    QTemporaryDir home;
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString settingsFile = QSettings().fileName();
    QVERIFY(settingsFile.startsWith(config));
    {
        QSettings other(home.path() + "/.config" + settingsFile.mid(config.size()), QSettings::IniFormat);
        other.setValue("Welcome/show", false);
        other.setValue("Directories/RootDir", root());
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home.path());
    environment.insert("XDG_CONFIG_HOME", home.path() + "/.config");
    environment.insert("XDG_DATA_HOME", home.path() + "/.local/share");
    environment.insert("XDG_CACHE_HOME", home.path() + "/.cache");
    QProcess other;
    other.setProcessEnvironment(environment);
    other.setProcessChannelMode(QProcess::ForwardedChannels);
    other.start(program, { path });
    QVERIFY(other.waitForStarted());
    QDeadlineTimer deadline(60000);
    while (DocumentLock::inspect(path).state != DocumentLock::State::Held && !deadline.hasExpired())
        QTest::qWait(100);
    const DocumentLock::Reading held = DocumentLock::inspect(path);
    QCOMPARE(held.state, DocumentLock::State::Held);
    QCOMPARE(held.owner.pid, other.processId());

    // Asked; read-only leaves the other program's lock in place.
    ScriptedPrompts& prompts = ScriptedPrompts::get();
    prompts.reset();
    prompts.buttons = { QMessageBox::Open };
    AbstractDocument* doc = m_window->openDocument(path);
    QVERIFY(doc && doc->isReadOnly());
    QCOMPARE(prompts.asked.size(), 1);
    QCOMPARE(DocumentLock::inspect(path).owner.pid, other.processId());
    m_window->closeDocument(doc);
    QTRY_VERIFY(m_window->documents().isEmpty());

    // The other program is killed: its lock is left behind, and taken over without a question.
    other.kill();
    QVERIFY(other.waitForFinished());
    QVERIFY(QFileInfo::exists(DocumentLock::lockPathFor(path)));
    QCOMPARE(DocumentLock::inspect(path).state, DocumentLock::State::Stale);
    prompts.reset();
    doc = m_window->openDocument(path);
    QVERIFY(doc && !doc->isReadOnly() && doc->holdsLock());
    QVERIFY(prompts.asked.isEmpty());
    QCOMPARE(DocumentLock::inspect(path).state, DocumentLock::State::Ours);
}

void TestSharedFolder::shareOutOfReachKeepsDocumentsAndComesBack()
{
    // A projects folder on a share (polled), with a report changed here.
    auto probe = std::make_shared<GatedProbe>();
    FolderProbe::replaceSystem(probe);
    QVERIFY(Folders::instance()->setProjectsFolder(root()));
    QTRY_VERIFY(m_window->projectTree()->watcher()->isPolling());
    m_window->projectTree()->watcher()->setTimings(100, 20);
    const QString path = createNewDocument(root(), "Work.kstatr");
    AbstractDocument* doc = m_window->openDocument(path);
    QVERIFY(doc && doc->isValid());
    QCoreApplication::processEvents(); // what loading left queued
    doc->setModified(true);
    ScriptedPrompts& prompts = ScriptedPrompts::get();
    prompts.reset();
    const QString unreachable = QStringLiteral("The projects folder \"%1\" cannot be reached.").arg(root());

    // The server stops answering: the window goes on, says so once, and keeps the document.
    probe->setOpen(false);
    m_window->projectTree()->watcher()->poll();
    QTRY_COMPARE(prompts.messageTexts(), QStringList { unreachable });
    QTest::qWait(300);
    QCOMPARE(prompts.messageTexts(), QStringList { unreachable });
    QCOMPARE(m_window->documents(), QList<AbstractDocument*> { doc });
    QVERIFY(doc->isModified());
    QVERIFY(!m_window->treeView()->model());
    // Answering again: the tree is back, the document still there.
    probe->setOpen(true);
    QTRY_VERIFY(
        m_window->treeView()->model() && m_window->treeView()->model() == m_window->projectTree()->model());
    QCOMPARE(m_window->documents(), QList<AbstractDocument*> { doc });
    QCOMPARE(probe->guiThreadCalls.load(), 0);

    // The window goes by what the watcher's thread saw of the document's file, never looking at
    // the share itself: gone there, it is not taken as gone before a pass has seen it so.
    ProjectWatcher* polling = m_window->projectTree()->watcher();
    QTRY_VERIFY(polling->isPolling());
    polling->poll();
    QTRY_VERIFY(polling->isIdle());
    FolderProbe::FileState seen;
    QVERIFY(polling->lastSeen(path, &seen) && seen.exists);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();
    probe->setOpen(false);
    QVERIFY(QFile::remove(path));
    prompts.reset();
    m_window->projectTree()->closeDocumentsOfMissingFiles();
    QVERIFY(prompts.asked.isEmpty());
    QCOMPARE(m_window->documents(), QList<AbstractDocument*> { doc });
    // Back as it was, to the millisecond: nobody changed it.
    writeFile(path, bytes);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(seen.modified, QFileDevice::FileModificationTime));
    file.close();
    probe->setOpen(true);
    QCOMPARE(probe->guiThreadCalls.load(), 0);

    // The share is gone altogether (unmounted): the same, and Save fails as usual.
    prompts.reset();
    m_window->projectTree()->watcher()->setTimings(100, 20);
    const QString away = root() + "-away";
    QVERIFY(QDir().rename(root(), away));
    QTRY_COMPARE(prompts.messageTexts(), QStringList { unreachable });
    QCOMPARE(m_window->documents(), QList<AbstractDocument*> { doc });
    prompts.reset();
    doc->save();
    QCOMPARE(
        prompts.messageTexts(), QStringList { QStringLiteral("Error opening %1 for writing").arg(path) });
    QVERIFY(doc->isModified());
    QVERIFY(!QFileInfo::exists(path));
    // Mounted again: shown afresh, and the work can be saved.
    QVERIFY(QDir().rename(away, root()));
    QTRY_VERIFY(
        m_window->treeView()->model() && m_window->treeView()->model() == m_window->projectTree()->model());
    QTRY_VERIFY(m_window->projectTree()->model()->index(path).isValid());
    doc->save();
    QVERIFY(!doc->isModified());
    QCOMPARE(prompts.asked.size(), 1);
    FolderProbe::replaceSystem(nullptr);
}

void TestSharedFolder::saveAsksWhenTheFileChangedOnDisk_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("report") << "Inspection Report.kstir";
    QTest::newRow("installation diagram") << "Roof.kstid";
}

void TestSharedFolder::saveAsksWhenTheFileChangedOnDisk()
{
    QFETCH(QString, name);
    const QString path = createNewDocument(root(), name);
    QVERIFY(!path.isEmpty());
    AbstractDocument* doc = m_window->openDocument(path);
    QVERIFY(doc && doc->isValid() && doc->holdsLock());
    const QString fileName = QFileInfo(path).fileName();
    // Anna opened it anyway and saved it at 10:14 today.
    const auto someoneSaves = [&path](const QTime& at) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime(QDate::currentDate(), at), QFileDevice::FileModificationTime));
    };
    someoneSaves(QTime(10, 14));
    writeFile(DocumentLock::lockPathFor(path), foreignLock());
    const QByteArray theirs = hashOf(path);
    ScriptedPrompts& prompts = ScriptedPrompts::get();

    // Cancel: nothing written, still modified.
    prompts.reset();
    doc->setModified(true);
    prompts.buttons = { QMessageBox::Cancel };
    doc->save();
    QCOMPARE(prompts.asked.size(), 1);
    const MessageRequest asked = prompts.asked.first().message;
    QCOMPARE(asked.text,
        QStringLiteral("%1 was changed by anna on laptop-3 at 10:14 since you opened it.").arg(fileName));
    QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::Save | QMessageBox::Cancel);
    QCOMPARE(asked.buttonTexts.value(QMessageBox::Yes), QStringLiteral("Overwrite"));
    QCOMPARE(asked.buttonTexts.value(QMessageBox::Save), QStringLiteral("Save As..."));
    QCOMPARE(hashOf(path), theirs);
    QVERIFY(doc->isModified());

    // Save As...: this version goes to another file, theirs stays, and the question stays too.
    prompts.reset();
    const QString copy = root() + "/Mine." + QFileInfo(path).suffix();
    prompts.buttons = { QMessageBox::Save };
    prompts.paths = QStringList { copy };
    doc->save();
    QCOMPARE(prompts.asked.size(), 2);
    QCOMPARE(prompts.asked.at(1).kind, QStringLiteral("save"));
    QVERIFY(QFileInfo(copy).size() > 0);
    QCOMPARE(hashOf(path), theirs);
    QVERIFY(doc->isModified());
    std::unique_ptr<AbstractDocument> reopened(createDocument(copy));
    QVERIFY(reopened && reopened->isValid());
    reopened.reset();

    // Overwrite: written, and the next save asks nothing.
    prompts.reset();
    prompts.buttons = { QMessageBox::Yes };
    doc->save();
    QCOMPARE(prompts.asked.size(), 1);
    QVERIFY(!doc->isModified());
    QVERIFY(QFileInfo(path).lastModified() != QDateTime(QDate::currentDate(), QTime(10, 14)));
    prompts.reset();
    doc->setModified(true);
    doc->save();
    QVERIFY(prompts.asked.isEmpty());
    QVERIFY(!doc->isModified());

    // Changed on disk while unchanged here: told once, not at every look.
    someoneSaves(QTime(11, 30));
    m_window->projectTree()->closeDocumentsOfMissingFiles();
    m_window->projectTree()->closeDocumentsOfMissingFiles();
    QCOMPARE(prompts.messageTexts(),
        QStringList {
            QStringLiteral("%1 was changed on disk since you opened it, by someone else or by another "
                           "program.")
                .arg(fileName) });
    QCOMPARE(m_window->documents().size(), 1);

    // Nobody holds it open any more: the question names no one.
    QFile::remove(DocumentLock::lockPathFor(path));
    prompts.reset();
    doc->setModified(true);
    prompts.buttons = { QMessageBox::Cancel };
    doc->save();
    QCOMPARE(prompts.messageTexts(),
        QStringList { QStringLiteral("%1 was changed on disk at 11:30 since you opened it.").arg(fileName) });
}

KESTROVAN_TEST_MAIN(TestSharedFolder)
// A watcher whose thread ends at once takes it along: a deferred delete of the thread would be
// lost when the program ends before handling it (a leak the sanitizer reported under load).
void TestSharedFolder::closedWatcherLeavesNoThreadBehind()
{
    const auto probe = std::make_shared<GatedProbe>();
    auto watcher = std::make_unique<ProjectWatcher>(root(), nullptr, probe);
    QTRY_VERIFY(watcher->isComplete());
    const QPointer<QThread> thread = probe->lastThread.load();
    QVERIFY(thread);
    QVERIFY(thread != qApp->thread());
    watcher.reset();
    QVERIFY(!thread);
}

#include "tst_sharedfolder.moc"
