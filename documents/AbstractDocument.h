#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>
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

signals:
    void titleChanged(AbstractDocument* doc);

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
    void updateTitle();
    void enforceReadOnly(QAction* action);

    const QString m_filePath;
    const QString m_fileName;
    bool m_valid = false;
    bool m_modified = false;
    bool m_readOnly = false;
    QList<QPointer<QAction>> m_saveActions;
    std::unique_ptr<DocumentLock> m_lock;
};
