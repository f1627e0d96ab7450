#pragma once

#include <QDateTime>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class DocumentLock;
class QAction;

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
    // A read-only document shows it in its title and is never written to its file: the
    // actions given to guardSaveAction stay disabled and save requests through the framework
    // are refused. Documents constructed inside a ReadOnlyScope start read-only, so that a
    // kind can open its file accordingly in its constructor.
    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);
    // Keeps a Save action of the kind disabled while the document is read-only, whatever the
    // kind does with it otherwise. The one line a document kind needs for read-only opening.
    void guardSaveAction(QAction* action);
    struct ReadOnlyScope
    {
        explicit ReadOnlyScope(bool readOnly);
        ~ReadOnlyScope();
        bool previous;
    };

    // The lock file that tells other programs this document is open here; removed when the
    // document goes. False when the folder cannot be written (the document is then unlocked).
    bool acquireLock();
    bool holdsLock() const;
    // The document is closing: others may open it from now on.
    void releaseLock();

    // The file changed on disk (size or modification time) since it was loaded or saved here:
    // someone else saved it. Only for kinds that remember the state (rememberDiskState).
    bool changedOnDisk() const;
    // True once for each new change on disk of a document that has none of its own to lose:
    // the window tells the user about it.
    bool takeUnannouncedDiskChange();
    // The same, with the file's size and modification time as someone else saw them (the polling
    // of a network share), so that the window need not look at the share itself.
    bool takeUnannouncedDiskChange(qint64 size, const QDateTime& modified);

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

protected:
    // Notes the file's size and modification time as loaded or just saved.
    void rememberDiskState();
    // Before Save writes the file: true when it may. When someone else saved the file since it
    // was loaded here, asks first: Overwrite (true), Save As... (writes a copy of this document
    // through writeCopy to a file the user chooses; false: the document's own file keeps the
    // other version and this one stays modified), or Cancel (false).
    bool confirmOverwrite(const std::function<bool(const QString& path)>& writeCopy);

private:
    friend class DocumentDialogScope;
    struct DiskState
    {
        bool known = false;
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const DiskState& other) const;
    };
    DiskState diskState() const;

    void endDialog();
    void updateTitle();
    void enforceReadOnly(QAction* action);

    const QString m_filePath;
    const QString m_fileName;
    bool m_valid = false;
    bool m_modified = false;
    int m_dialogs = 0;
    bool m_closeDeferred = false;
    bool m_readOnly = false;
    QList<QPointer<QAction>> m_saveActions;
    std::unique_ptr<DocumentLock> m_lock;
    DiskState m_diskState;
    DiskState m_announcedDiskState;
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
