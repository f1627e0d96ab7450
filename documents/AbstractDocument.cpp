#include "AbstractDocument.h"

#include "FileIcons.h"
#include "MainWindowRef.h"
#include "Prompts.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>
#include <QMessageBox>

AbstractDocument::AbstractDocument(const QString& filePath, QWidget* parent)
    : QWidget(parent)
    , m_filePath(filePath)
    , m_fileName(QFileInfo(filePath).fileName())
{
    setWindowTitle(titleFor(m_fileName, false));
    setWindowIcon(iconForPath(filePath));
}

AbstractDocument::~AbstractDocument() = default;

QString AbstractDocument::titleFor(const QString& fileName, bool modified)
{
    return modified ? QStringLiteral("%1 *").arg(fileName) : fileName;
}

void AbstractDocument::setModified(bool modified)
{
    if (modified == m_modified)
        return;
    m_modified = modified;
    setWindowTitle(titleFor(m_fileName, m_modified));
    emit titleChanged(this);
}

void AbstractDocument::setValid(bool valid)
{
    m_valid = valid;
}

bool AbstractDocument::maybeSave()
{
    if (m_dialogs > 0) {
        m_closeDeferred = true;
        return false;
    }
    if (!m_modified)
        return true;
    const PromptButton answer = Prompts::show(QMessageBox::Information, currentMainWindow(),
        QCoreApplication::translate("User prompt", "Save changes to %1?").arg(m_fileName), QString(),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    switch (answer) {
    case QMessageBox::Yes:
        // A save that failed leaves the document modified; closing it then would lose the work.
        save();
        return !m_modified;
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void AbstractDocument::save() { }

void AbstractDocument::endDialog()
{
    if (--m_dialogs > 0 || !m_closeDeferred)
        return;
    m_closeDeferred = false;
    // Asked for from the event loop, once the code that ran the dialog has returned.
    QTimer::singleShot(0, this, &AbstractDocument::closeRequested);
}

DocumentDialogScope::DocumentDialogScope(QObject* inside)
{
    for (QObject* object = inside; object && !m_document; object = object->parent())
        m_document = qobject_cast<AbstractDocument*>(object);
    if (m_document)
        ++m_document->m_dialogs;
}

DocumentDialogScope::~DocumentDialogScope()
{
    if (m_document)
        m_document->endDialog();
}

void AbstractDocument::setCurrent(bool) { }
