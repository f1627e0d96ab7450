#pragma once

#include <QMainWindow>
#include <QPointer>

class AbstractDocument;
class QAction;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QSignalMapper;
class QTabBar;

// The main-window base that hosts the open documents as tabs of an MDI area, tracks the
// active document, drives the Window menu and refuses to close while a document refuses.
class MdiWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MdiWindow(QWidget* parent = nullptr);
    ~MdiWindow() override;

    // Called once by the subclass after its form is built.
    void setupDocumentArea(QMdiArea* area, QMenu* windowMenu);

    AbstractDocument* activeDocument() const;
    QList<AbstractDocument*> documents() const;
    // The open document of this file, or null; paths are compared in canonical form, so a
    // relative path or one through a symbolic link finds the same document.
    AbstractDocument* findDocument(const QString& filePath) const;
    // The open documents of this file, or of files anywhere inside this folder.
    QList<AbstractDocument*> documentsUnder(const QString& path) const;
    QMdiArea* mdiArea() const { return m_area; }
    QTabBar* tabBar() const { return m_tabBar; }

signals:
    void activeDocumentChanged(AbstractDocument* from, AbstractDocument* to);
    // For documents that want to be closed; the shell itself never emits it.
    void closeRequested(AbstractDocument* doc);

public slots:
    void cascadeDocuments();
    void tileDocuments();
    void openDocument(AbstractDocument* doc);
    void closeDocument(AbstractDocument* doc);
    void closeActiveDocument();
    void closeTab(int index);
    void setActiveDocument(AbstractDocument* doc);
    virtual void resetWindowLayout();
    void updateWindowMenu();
    void setActiveWidget(QWidget* widget);
    void subWindowActivated(QMdiSubWindow* sub);
    void windowStateChanged(Qt::WindowStates oldState, Qt::WindowStates newState);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QMdiSubWindow* subWindowOf(AbstractDocument* doc) const;

    QMdiArea* m_area = nullptr;
    QTabBar* m_tabBar = nullptr;
    QMenu* m_windowMenu = nullptr;
    QSignalMapper* m_windowMapper = nullptr;
    QAction* m_closeAction = nullptr;
    QAction* m_tileAction = nullptr;
    QAction* m_cascadeAction = nullptr;
    QAction* m_resetLayoutAction = nullptr;
    QAction* m_nextAction = nullptr;
    QAction* m_previousAction = nullptr;
    QPointer<AbstractDocument> m_activeDocument;
    // The window was asked to close while a document's question was open; it closes (asking as
    // usual) once that question has been answered.
    bool m_closeAfterQuestion = false;
};
