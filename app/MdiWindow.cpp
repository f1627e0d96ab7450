#include "MdiWindow.h"

#include "AbstractDocument.h"
#include "FileNames.h"
#include "MdiSubWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMenu>
#include <QSignalMapper>
#include <QTabBar>
#include <QTimer>

#include <algorithm>

MdiWindow::MdiWindow(QWidget* parent)
    : QMainWindow(parent)
{ }

MdiWindow::~MdiWindow()
{
    // The area outlives this part of the object while Qt deletes the children; its last
    // signals must not reach a half-destroyed window.
    if (m_area) {
        disconnect(m_area, nullptr, this, nullptr);
        const QList<QMdiSubWindow*> subs = m_area->subWindowList();
        for (QMdiSubWindow* sub : subs)
            disconnect(sub, nullptr, this, nullptr);
    }
    if (m_tabBar)
        disconnect(m_tabBar, nullptr, this, nullptr);
}

void MdiWindow::setupDocumentArea(QMdiArea* area, QMenu* windowMenu)
{
    m_area = area;
    m_windowMenu = windowMenu;
    m_area->setViewMode(QMdiArea::TabbedView);
    m_area->setDocumentMode(true);
    connect(m_area, &QMdiArea::subWindowActivated, this, &MdiWindow::subWindowActivated);

    m_tabBar = m_area->findChild<QTabBar*>();
    if (m_tabBar) {
        m_tabBar->setTabsClosable(true);
        m_tabBar->setMovable(true);
        connect(m_tabBar, &QTabBar::tabCloseRequested, this, &MdiWindow::closeTab);
    }

    m_windowMapper = new QSignalMapper(this);
    connect(m_windowMapper, &QSignalMapper::mappedWidget, this, &MdiWindow::setActiveWidget);

    auto makeAction = [this](const QString& text, const QString& icon, const QString& statusTip) {
        auto* action = new QAction(QIcon(QStringLiteral(":res/toolButtons/%1.png").arg(icon)), text, this);
        action->setStatusTip(statusTip);
        return action;
    };
    m_closeAction = makeAction(tr("Cl&ose"), QStringLiteral("close"), tr("Close the active window"));
    m_tileAction = makeAction(tr("&Tile"), QStringLiteral("window_tile"), tr("Tile the windows"));
    m_cascadeAction = makeAction(tr("&Cascade"), QStringLiteral("window_cascade"), tr("Cascade the windows"));
    m_resetLayoutAction = makeAction(
        tr("&Reset Window Layout"), QStringLiteral("redo"), tr("Restore the default Window layout"));
    m_nextAction
        = makeAction(tr("Ne&xt"), QStringLiteral("window_next"), tr("Move the focus to the next window"));
    m_previousAction = makeAction(
        tr("Pre&vious"), QStringLiteral("window_prev"), tr("Move the focus to the previous window"));
    m_nextAction->setShortcuts(QKeySequence::NextChild);
    m_previousAction->setShortcuts(QKeySequence::PreviousChild);
    m_closeAction->setObjectName(QStringLiteral("actionCloseWindow"));
    m_tileAction->setObjectName(QStringLiteral("actionTile"));
    m_cascadeAction->setObjectName(QStringLiteral("actionCascade"));
    m_resetLayoutAction->setObjectName(QStringLiteral("actionResetWindowLayout"));
    m_nextAction->setObjectName(QStringLiteral("actionNextWindow"));
    m_previousAction->setObjectName(QStringLiteral("actionPreviousWindow"));

    connect(m_closeAction, &QAction::triggered, this, &MdiWindow::closeActiveDocument);
    connect(m_tileAction, &QAction::triggered, this, &MdiWindow::tileDocuments);
    connect(m_cascadeAction, &QAction::triggered, this, &MdiWindow::cascadeDocuments);
    connect(m_resetLayoutAction, &QAction::triggered, this, &MdiWindow::resetWindowLayout);
    connect(m_nextAction, &QAction::triggered, m_area, &QMdiArea::activateNextSubWindow);
    connect(m_previousAction, &QAction::triggered, m_area, &QMdiArea::activatePreviousSubWindow);
    connect(m_windowMenu, &QMenu::aboutToShow, this, &MdiWindow::updateWindowMenu);
    updateWindowMenu();
}

AbstractDocument* MdiWindow::activeDocument() const
{
    QMdiSubWindow* sub = m_area ? m_area->activeSubWindow() : nullptr;
    return sub ? qobject_cast<AbstractDocument*>(sub->widget()) : nullptr;
}

QList<AbstractDocument*> MdiWindow::documents() const
{
    QList<AbstractDocument*> result;
    if (!m_area)
        return result;
    const QList<QMdiSubWindow*> subs = m_area->subWindowList();
    for (QMdiSubWindow* sub : subs) {
        if (auto* doc = qobject_cast<AbstractDocument*>(sub->widget()))
            result.append(doc);
    }
    return result;
}

QMdiSubWindow* MdiWindow::subWindowOf(AbstractDocument* doc) const
{
    if (!doc || !m_area)
        return nullptr;
    const QList<QMdiSubWindow*> subs = m_area->subWindowList();
    for (QMdiSubWindow* sub : subs) {
        if (sub->widget() == doc)
            return sub;
    }
    return nullptr;
}

void MdiWindow::cascadeDocuments()
{
    m_area->cascadeSubWindows();
}

void MdiWindow::tileDocuments()
{
    m_area->tileSubWindows();
}

void MdiWindow::openDocument(AbstractDocument* doc)
{
    auto* sub = new MdiSubWindow(doc, Qt::WindowNoState);
    m_area->addSubWindow(sub);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    connect(sub, &QMdiSubWindow::windowStateChanged, this, &MdiWindow::windowStateChanged);
    connect(sub, &MdiSubWindow::questionAnswered, this, [this] {
        if (!m_closeAfterQuestion)
            return;
        m_closeAfterQuestion = false;
        // From the event loop, once the sub-window's own close has run to its end.
        QTimer::singleShot(0, this, &QWidget::close);
    });
    sub->show();
}

void MdiWindow::closeDocument(AbstractDocument* doc)
{
    if (QMdiSubWindow* sub = subWindowOf(doc)) {
        m_area->setActiveSubWindow(sub);
        sub->close();
    }
}

void MdiWindow::closeActiveDocument()
{
    m_area->closeActiveSubWindow();
}

void MdiWindow::closeTab(int)
{
    // The area closes the tab's sub-window itself, which runs the same close protocol.
}

void MdiWindow::setActiveDocument(AbstractDocument* doc)
{
    if (QMdiSubWindow* sub = subWindowOf(doc))
        m_area->setActiveSubWindow(sub);
}

void MdiWindow::resetWindowLayout() { }

void MdiWindow::updateWindowMenu()
{
    m_windowMenu->clear();
    m_windowMenu->addAction(m_closeAction);
    m_windowMenu->addAction(m_tileAction);
    m_windowMenu->addAction(m_cascadeAction);
    m_windowMenu->addAction(m_resetLayoutAction);
    m_windowMenu->addAction(m_nextAction);
    m_windowMenu->addAction(m_previousAction);

    const QList<QMdiSubWindow*> subs = m_area->subWindowList();
    if (!subs.isEmpty())
        m_windowMenu->addSeparator();
    for (int i = 0; i < subs.size(); ++i) {
        QMdiSubWindow* sub = subs.at(i);
        const QString text = i < 9 ? tr("&%1 %2").arg(i + 1).arg(sub->windowTitle())
                                   : tr("%1 %2").arg(i + 1).arg(sub->windowTitle());
        QAction* entry = m_windowMenu->addAction(text);
        entry->setCheckable(true);
        entry->setChecked(sub == m_area->activeSubWindow());
        connect(entry, &QAction::triggered, m_windowMapper, qOverload<>(&QSignalMapper::map));
        m_windowMapper->setMapping(entry, sub);
    }
    const bool any = !subs.isEmpty();
    m_closeAction->setEnabled(any);
    m_tileAction->setEnabled(any);
    m_cascadeAction->setEnabled(any);
    m_nextAction->setEnabled(subs.size() > 1);
    m_previousAction->setEnabled(subs.size() > 1);
    m_resetLayoutAction->setEnabled(true);
}

void MdiWindow::setActiveWidget(QWidget* widget)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(widget))
        m_area->setActiveSubWindow(sub);
}

void MdiWindow::subWindowActivated(QMdiSubWindow* sub)
{
    AbstractDocument* doc = sub ? qobject_cast<AbstractDocument*>(sub->widget()) : nullptr;
    AbstractDocument* previous = m_activeDocument.data();
    if (previous == doc)
        return;
    if (previous)
        previous->setCurrent(false);
    m_activeDocument = doc;
    if (doc)
        doc->setCurrent(true);
    emit activeDocumentChanged(previous, doc);
}

void MdiWindow::windowStateChanged(Qt::WindowStates, Qt::WindowStates)
{
    // Tabs while the documents are maximised, none after Tile or Cascade. The area reports the
    // newly maximised window before it restores the previous one, so all windows are looked at.
    if (!m_tabBar)
        return;
    const QList<QMdiSubWindow*> subs = m_area->subWindowList();
    const bool anyMaximised
        = std::any_of(subs.cbegin(), subs.cend(), [](QMdiSubWindow* sub) { return sub->isMaximized(); });
    m_tabBar->setVisible(anyMaximised);
}

void MdiWindow::closeEvent(QCloseEvent* event)
{
    const QList<QMdiSubWindow*> subs = m_area ? m_area->subWindowList() : QList<QMdiSubWindow*>();
    // A document is asking whether it may close (its tab was being closed when the desktop or the
    // user closed the whole window): asking it again from here would find its close under way and
    // take that for a yes, and the window would go with the edits unsaved. Wait for the answer.
    for (QMdiSubWindow* sub : subs) {
        auto* own = qobject_cast<MdiSubWindow*>(sub);
        if (own && own->isAsking()) {
            m_closeAfterQuestion = true;
            event->ignore();
            return;
        }
    }
    QMdiSubWindow* active = m_area ? m_area->activeSubWindow() : nullptr;
    const Qt::WindowStates state = active ? active->windowState() : Qt::WindowNoState;
    // Last tab first, each with its own save question; the first refusal keeps everything open.
    for (int i = subs.size() - 1; i >= 0; --i) {
        QPointer<QMdiSubWindow> sub = subs.at(i);
        sub->setWindowState(state | Qt::WindowActive);
        QCoreApplication::processEvents();
        if (sub && !sub->close()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

AbstractDocument* MdiWindow::findDocument(const QString& filePath) const
{
    if (filePath.isEmpty())
        return nullptr;
    const QString wanted = canonicalPath(filePath);
    const QList<AbstractDocument*> docs = documents();
    for (AbstractDocument* doc : docs) {
        if (canonicalPath(doc->filePath()) == wanted)
            return doc;
    }
    return nullptr;
}

QList<AbstractDocument*> MdiWindow::documentsUnder(const QString& path) const
{
    QList<AbstractDocument*> found;
    const QList<AbstractDocument*> docs = documents();
    for (AbstractDocument* doc : docs) {
        if (isSameOrInside(doc->filePath(), path))
            found.append(doc);
    }
    return found;
}
