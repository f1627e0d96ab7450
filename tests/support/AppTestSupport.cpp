// The application layer of the test support: every document kind the program opens, the main
// window fixture and document tabs without the window.
#include "AppTestSupport.h"

#include "AbstractDocument.h"

#include "MainWindow.h"
#include "MdiSubWindow.h"
#include "SettingsKeys.h"
#include "Startup.h"
#include "TestSupport.h"

#include <QAction>
#include <QDir>
#include <QMdiArea>
#include <QSettings>
#include <QTemporaryDir>

void TestSupport::initAppApplication()
{
    initWidgetApplication();
    registerDocumentKinds();
}

TestSupport::MainWindowFixture::MainWindowFixture() = default;

TestSupport::MainWindowFixture::~MainWindowFixture() = default;

void TestSupport::MainWindowFixture::startWindow(const QStringList& folders)
{
    resetState();
    QSettings().setValue(SettingsKeys::welcomeShow(), false);
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    for (const QString& folder : folders)
        QVERIFY(QDir(root()).mkpath(folder));
    QSettings().setValue(SettingsKeys::rootDir(), root());
    m_window = std::make_unique<MainWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestSupport::MainWindowFixture::closeWindow()
{
    if (m_window) {
        for (AbstractDocument* doc : m_window->documents())
            doc->setModified(false);
    }
    m_window.reset();
    QCOMPARE(ScriptedPrompts::get().unanswered, 0);
}

QString TestSupport::MainWindowFixture::root() const
{
    return m_root->path();
}

QString TestSupport::MainWindowFixture::path(const QString& relative) const
{
    return QDir(root()).filePath(relative);
}

void TestSupport::MainWindowFixture::makeFile(const QString& relative, const QByteArray& content)
{
    QFile f(path(relative));
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(content), qint64(content.size()));
}

QAction* TestSupport::MainWindowFixture::action(const char* name) const
{
    return m_window->findChild<QAction*>(QLatin1String(name));
}

TestSupport::DocumentTabs::DocumentTabs()
    : m_area(std::make_unique<QMdiArea>())
{ }

TestSupport::DocumentTabs::~DocumentTabs()
{
    m_area.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestSupport::DocumentTabs::addTab(AbstractDocument* doc)
{
    auto* sub = new MdiSubWindow(doc, Qt::WindowNoState);
    m_area->addSubWindow(sub);
    sub->show();
}
