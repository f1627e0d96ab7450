#pragma once

#include <QPointer>
#include <QWidget>

// The base of every document window: a widget bound to one file path for its whole life, with
// a valid flag (the file could be shown) and a modified flag shown in its title.
class AbstractDocument : public QWidget
{
    Q_OBJECT
public:
    AbstractDocument(const QString& filePath, QWidget* parent = nullptr);
    ~AbstractDocument() override;

    QString filePath() const { return m_filePath; }
    QString fileName() const { return m_fileName; }
    bool isValid() const { return m_valid; }
    bool isModified() const { return m_modified; }

    // "Site A.kstir", or "Site A.kstir *" while modified.
    static QString titleFor(const QString& fileName, bool modified);

    // Whether one of the document's own modal dialogs is running (see DocumentDialogScope).
    bool isRunningDialog() const { return m_dialogs > 0; }

signals:
    void titleChanged(AbstractDocument* doc);
    // A close that was refused while one of the document's dialogs ran, asked for again once
    // the dialog has returned. The window holding the document closes it as usual.
    void closeRequested();

public slots:
    void setModified(bool modified);
    void setValid(bool valid);

    // May the document close now? Asks to save a modified document.
    virtual bool maybeSave();
    // Writes the document to its file; ends with setModified(false) on success.
    virtual void save();
    // The document becomes (true) or stops being (false) the one the user works in.
    virtual void setCurrent(bool yesNo);

private:
    friend class DocumentDialogScope;
    void endDialog();

    const QString m_filePath;
    const QString m_fileName;
    bool m_valid = false;
    bool m_modified = false;
    int m_dialogs = 0;
    bool m_closeDeferred = false;
};

// Marks the document that owns an object (the object itself or one of its parents) as running
// a modal dialog for the scope's life. The dialog's event loop may deliver a request to close
// the document (its file was removed, and the folder watcher closes its tab); destroying the
// document there would pull it from under the code that opened the dialog. So the close is
// refused while the dialog runs and asked for again when the last one has returned.
class DocumentDialogScope
{
public:
    explicit DocumentDialogScope(QObject* inside);
    ~DocumentDialogScope();
    DocumentDialogScope(const DocumentDialogScope&) = delete;
    DocumentDialogScope& operator=(const DocumentDialogScope&) = delete;

private:
    QPointer<AbstractDocument> m_document;
};
