#include "MainWindow.h"
#include "MdiWindow.h"
#include "Startup.h"
#include "TestSupport.h"
#include "WelcomeEvent.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QSplashScreen>
#include <QTabBar>
#include <QTemporaryDir>

// The document area: tabs, the Window menu and the close protocols.
class TestMdiWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void windowMenuListsTenDocuments();
    void closingTheWindowAsksLastTabFirstAndStopsAtCancel();
    void tabBarHidesAfterTileAndReturnsWhenMaximised();
    void closingTheLastDocumentClearsTheActiveOne();
    void activeDocumentIsTheCurrentOne();
    void restartSkipsTheWelcome();
    void welcomeIsNotHiddenUnderTheSplash();

private:
    QList<TestDocument*> openDocuments(int count, bool modified);
    QTemporaryDir m_root;
    std::unique_ptr<MainWindow> m_window;
};

class CurrentSpyDocument : public TestDocument
{
public:
    using TestDocument::TestDocument;
    QList<bool> calls;
    void setCurrent(bool yesNo) override { calls << yesNo; }
};

void TestMdiWindow::init()
{
    TestSupport::resetState();
    QSettings().setValue("Directories/RootDir", m_root.path());
    // The welcome dialog of each new main window is closed unused.
    ScriptedPrompts::get().dialogHandler = [](QDialog*) { return int(QDialog::Rejected); };
    m_window = std::make_unique<MainWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestMdiWindow::cleanup()
{
    for (AbstractDocument* doc : m_window->documents())
        doc->setModified(false);
    m_window.reset();
}

QList<TestDocument*> TestMdiWindow::openDocuments(int count, bool modified)
{
    QList<TestDocument*> docs;
    for (int i = 0; i < count; ++i) {
        auto* doc = new TestDocument(m_root.filePath(QString("doc%1.kstir").arg(i + 1)));
        m_window->MdiWindow::openDocument(doc);
        doc->setModified(modified);
        docs << doc;
    }
    return docs;
}

void TestMdiWindow::windowMenuListsTenDocuments()
{
    QMenu* menu = m_window->findChild<QMenu*>("menuWindow");
    QVERIFY(menu);
    m_window->updateWindowMenu();
    QCOMPARE(m_window->findChild<QAction*>("actionCloseWindow")->isEnabled(), false);
    QCOMPARE(m_window->findChild<QAction*>("actionNextWindow")->isEnabled(), false);

    const QList<TestDocument*> docs = openDocuments(10, false);
    m_window->updateWindowMenu();
    QStringList entries;
    QList<QAction*> checked;
    for (QAction* action : menu->actions()) {
        if (action->isCheckable()) {
            entries << action->text();
            if (action->isChecked())
                checked << action;
        }
    }
    QCOMPARE(entries.size(), 10);
    QCOMPARE(entries.first(), QString("&1 doc1.kstir"));
    QCOMPARE(entries.at(8), QString("&9 doc9.kstir"));
    QCOMPARE(entries.at(9), QString("10 doc10.kstir"));
    QCOMPARE(checked.size(), 1);
    QCOMPARE(checked.first()->text(), QString("10 doc10.kstir"));
    const QStringList fixed { "Cl&ose", "&Tile", "&Cascade", "&Reset Window Layout", "Ne&xt", "Pre&vious" };
    for (int i = 0; i < fixed.size(); ++i)
        QCOMPARE(menu->actions().at(i)->text(), fixed.at(i));
    QVERIFY(menu->actions().at(4)->isEnabled());

    // Choosing an entry activates its window.
    for (QAction* action : menu->actions()) {
        if (action->text() == "&3 doc3.kstir")
            action->trigger();
    }
    QCOMPARE(m_window->activeDocument(), docs.at(2));
}

void TestMdiWindow::closingTheWindowAsksLastTabFirstAndStopsAtCancel()
{
    openDocuments(3, true);
    auto& prompts = ScriptedPrompts::get();
    prompts.buttons << QMessageBox::No << QMessageBox::Cancel;
    QVERIFY(!m_window->close());
    QCOMPARE(prompts.messageTexts(),
        (QStringList { "Save changes to doc3.kstir?", "Save changes to doc2.kstir?" }));
    QCOMPARE(m_window->documents().size(), 2);
    QVERIFY(m_window->isVisible());

    prompts.reset();
    prompts.buttons << QMessageBox::Yes << QMessageBox::No;
    const QList<AbstractDocument*> remaining = m_window->documents();
    auto* second = static_cast<TestDocument*>(remaining.at(1));
    QCOMPARE(second->fileName(), QString("doc2.kstir"));
    QVERIFY(m_window->close());
    QCOMPARE(prompts.messageTexts(),
        (QStringList { "Save changes to doc2.kstir?", "Save changes to doc1.kstir?" }));
    QVERIFY(m_window->documents().isEmpty());
}

void TestMdiWindow::tabBarHidesAfterTileAndReturnsWhenMaximised()
{
    openDocuments(3, false);
    QTabBar* tabs = m_window->tabBar();
    QVERIFY(tabs);
    QVERIFY(tabs->tabsClosable());
    QVERIFY(tabs->isMovable());
    QVERIFY(tabs->isVisible());
    m_window->tileDocuments();
    QVERIFY(!tabs->isVisible());
    m_window->mdiArea()->subWindowList().at(1)->showMaximized();
    QVERIFY(tabs->isVisible());
    m_window->cascadeDocuments();
    QVERIFY(!tabs->isVisible());
}

void TestMdiWindow::closingTheLastDocumentClearsTheActiveOne()
{
    const QList<TestDocument*> docs = openDocuments(1, false);
    QSignalSpy changed(m_window.get(), &MdiWindow::activeDocumentChanged);
    m_window->closeDocument(docs.first());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().at(0).value<AbstractDocument*>(), docs.first());
    QCOMPARE(changed.first().at(1).value<AbstractDocument*>(), nullptr);
    QCOMPARE(m_window->activeDocument(), nullptr);
    QTRY_VERIFY(m_window->documents().isEmpty());
    QCOMPARE(changed.count(), 1);
}

void TestMdiWindow::activeDocumentIsTheCurrentOne()
{
    auto* first = new CurrentSpyDocument(m_root.filePath("a.kstir"));
    auto* second = new CurrentSpyDocument(m_root.filePath("b.kstir"));
    m_window->MdiWindow::openDocument(first);
    m_window->MdiWindow::openDocument(second);
    QCOMPARE(m_window->activeDocument(), second);
    m_window->setActiveDocument(first);
    QCOMPARE(m_window->activeDocument(), first);
    QCOMPARE(first->calls, (QList<bool> { true, false, true }));
    QCOMPARE(second->calls, (QList<bool> { true, false }));
    QCOMPARE(m_window->findDocument(m_root.filePath("b.kstir")), second);
}

void TestMdiWindow::restartSkipsTheWelcome()
{
    // A normal start posts the welcome event; a restart clears the flag and posts none.
    class Probe : public QObject
    {
    public:
        int welcomes = 0;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == WelcomeEvent::EventType)
                ++welcomes;
            return false;
        }
    } probe;
    qApp->installEventFilter(&probe);
    m_window.reset();
    restartRequested() = true;
    m_window = std::make_unique<MainWindow>();
    QCoreApplication::processEvents();
    QCOMPARE(restartRequested(), false);
    QCOMPARE(probe.welcomes, 0);
    m_window.reset();
    m_window = std::make_unique<MainWindow>();
    QCoreApplication::processEvents();
    QCOMPARE(probe.welcomes, 1);
    qApp->removeEventFilter(&probe);
}

void TestMdiWindow::welcomeIsNotHiddenUnderTheSplash()
{
    // Start-up shows the splash, builds the window and then waits for the window while handling
    // events: the welcome arrives while the splash is still up, and must not open beneath it.
    m_window.reset();
    QPixmap picture(120, 80);
    picture.fill(Qt::darkBlue);
    QSplashScreen splash(picture);
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    bool splashUpDuringWelcome = true;
    int welcomes = 0;
    ScriptedPrompts::get().dialogHandler = [&](QDialog*) {
        ++welcomes;
        splashUpDuringWelcome = splash.isVisible();
        return int(QDialog::Rejected);
    };
    m_window = std::make_unique<MainWindow>();
    m_window->show();
    QTRY_COMPARE(welcomes, 1);
    QVERIFY(!splashUpDuringWelcome);
    splash.finish(m_window.get());
    QVERIFY(!splash.isVisible());
}

KESTROVAN_TEST_MAIN(TestMdiWindow)
#include "tst_mdiwindow.moc"
