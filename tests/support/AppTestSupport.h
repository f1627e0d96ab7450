#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

class AbstractDocument;
class MainWindow;
class QAction;
class QMdiArea;
class QTemporaryDir;

namespace TestSupport {
// A main window on a projects folder of its own, as the window tests need it. A test class
// derives from it (after QObject) and calls startWindow() in init() and closeWindow() in
// cleanup(); m_window may be replaced in a test (a restart).
class MainWindowFixture
{
protected:
    MainWindowFixture();
    ~MainWindowFixture();

    // Clean settings, a fresh temporary projects folder holding these folders, the welcome
    // dialog off, and the window shown and exposed.
    void startWindow(const QStringList& folders = { QStringLiteral("Site A/Roof") });
    // Every document unmodified, so that nothing asks; the window goes, and no question the
    // test left unscripted may have been asked.
    void closeWindow();

    QString root() const;
    QString path(const QString& relative) const;
    void makeFile(const QString& relative, const QByteArray& content = "x");
    QAction* action(const char* name) const;

    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<MainWindow> m_window;
};

// Documents in tabs of a document area of their own, without the main window: the closing tests
// open a document, remove its file while one of its dialogs is open, and look at what is left.
class DocumentTabs
{
public:
    DocumentTabs();
    // The area goes first; what its closing posted for later deletion is deleted with it.
    ~DocumentTabs();
    // Shows the document in a new tab and returns it.
    template <typename Document> Document* open(Document* doc)
    {
        addTab(doc);
        return doc;
    }

private:
    void addTab(AbstractDocument* doc);
    std::unique_ptr<QMdiArea> m_area;
};
} // namespace TestSupport
