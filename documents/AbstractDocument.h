#pragma once

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
    const QString m_filePath;
    const QString m_fileName;
    bool m_valid = false;
    bool m_modified = false;
};
