#include "AbstractDocument.h"

#include "DocumentLock.h"
#include "FileIcons.h"
#include "MainWindowRef.h"
#include "PlainText.h"
#include "Prompts.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTimer>

namespace {
// Documents constructed now start read-only (set by ReadOnlyScope around the construction).
bool openingReadOnly = false;
} // namespace

AbstractDocument::ReadOnlyScope::ReadOnlyScope(bool readOnly)
    : previous(openingReadOnly)
{
    openingReadOnly = readOnly;
}

AbstractDocument::ReadOnlyScope::~ReadOnlyScope()
{
    openingReadOnly = previous;
}

AbstractDocument::AbstractDocument(const QString& filePath, QWidget* parent)
    : QWidget(parent)
    , m_filePath(filePath)
    , m_fileName(QFileInfo(filePath).fileName())
    , m_readOnly(openingReadOnly)
{
    updateTitle();
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
    updateTitle();
    emit titleChanged(this);
}

void AbstractDocument::updateTitle()
{
    const QString title = titleFor(m_fileName, m_modified);
    setWindowTitle(m_readOnly ? QCoreApplication::translate("Document", "%1 [Read-Only]").arg(title) : title);
}

void AbstractDocument::setReadOnly(bool readOnly)
{
    if (readOnly == m_readOnly)
        return;
    m_readOnly = readOnly;
    if (readOnly)
        m_lock.reset();
    for (const QPointer<QAction>& action : qAsConst(m_saveActions)) {
        if (action)
            enforceReadOnly(action);
    }
    updateTitle();
    emit titleChanged(this);
}

void AbstractDocument::guardSaveAction(QAction* action)
{
    if (!action)
        return;
    m_saveActions.append(action);
    // Whenever the kind enables it again, a read-only document disables it at once.
    connect(action, &QAction::changed, this, [this, action]() { enforceReadOnly(action); });
    enforceReadOnly(action);
}

void AbstractDocument::enforceReadOnly(QAction* action)
{
    if (m_readOnly && action->isEnabled())
        action->setEnabled(false);
}

bool AbstractDocument::acquireLock()
{
    if (m_readOnly)
        return false;
    m_lock = std::make_unique<DocumentLock>(m_filePath);
    if (!m_lock->acquire()) {
        // A folder where the lock belongs would let others open the document unseen: say so.
        if (m_lock->isBlockedByFolder()) {
            Prompts::show(QMessageBox::Warning, currentMainWindow(),
                QCoreApplication::translate("Warning Message",
                    "%1 cannot be locked while you work on it: a folder named \"%2\" stands where its "
                    "lock file belongs.")
                    .arg(m_fileName, QFileInfo(m_lock->lockPath()).fileName()),
                QCoreApplication::translate("Warning Message",
                    "Others can open and change the document at the same time. Remove or rename that "
                    "folder to have it locked again."));
        }
        m_lock.reset();
    }
    return holdsLock();
}

void AbstractDocument::releaseLock()
{
    m_lock.reset();
}

bool AbstractDocument::holdsLock() const
{
    return m_lock && m_lock->isAcquired();
}

bool AbstractDocument::DiskState::operator==(const DiskState& other) const
{
    return known == other.known && size == other.size && modified == other.modified;
}

AbstractDocument::DiskState AbstractDocument::diskState() const
{
    const QFileInfo info(m_filePath);
    DiskState state;
    state.known = info.isFile();
    if (state.known) {
        state.size = info.size();
        state.modified = info.lastModified();
    }
    return state;
}

void AbstractDocument::rememberDiskState()
{
    m_diskState = diskState();
    m_announcedDiskState = m_diskState;
}

bool AbstractDocument::changedOnDisk() const
{
    if (!m_diskState.known)
        return false;
    const DiskState now = diskState();
    // A file that vanished is the folder watcher's business.
    return now.known && !(now == m_diskState);
}

bool AbstractDocument::takeUnannouncedDiskChange()
{
    if (m_modified || !m_diskState.known)
        return false;
    const DiskState now = diskState();
    return now.known && takeUnannouncedDiskChange(now.size, now.modified);
}

bool AbstractDocument::takeUnannouncedDiskChange(qint64 size, const QDateTime& modified)
{
    if (m_modified || !m_diskState.known)
        return false;
    DiskState now;
    now.known = true;
    now.size = size;
    now.modified = modified;
    if (now == m_diskState || now == m_announcedDiskState)
        return false;
    m_announcedDiskState = now;
    return true;
}

bool AbstractDocument::confirmOverwrite(const std::function<bool(const QString&)>& writeCopy)
{
    if (!changedOnDisk())
        return true;
    const QFileInfo info(m_filePath);
    const QDateTime changed = info.lastModified();
    const QString when = changed.date() == QDate::currentDate()
        ? changed.toString(QStringLiteral("HH:mm"))
        : QStringLiteral("%1 %2").arg(QLocale().toString(changed.date(), QLocale::ShortFormat),
            changed.toString(QStringLiteral("HH:mm")));
    // Who has it open elsewhere is most likely who saved it.
    const DocumentLock::Reading lock = DocumentLock::inspect(m_filePath);
    MessageRequest request;
    request.parent = currentMainWindow();
    request.icon = QMessageBox::Warning;
    request.text = lock.state == DocumentLock::State::Held
        ? QCoreApplication::translate("User prompt", "%1 was changed by %2 on %3 at %4 since you opened it.")
              .arg(m_fileName, plainUserText(lock.owner.user), plainUserText(lock.owner.host), when)
        : QCoreApplication::translate("User prompt", "%1 was changed on disk at %2 since you opened it.")
              .arg(m_fileName, when);
    request.informativeText = QCoreApplication::translate("User prompt",
        "Overwrite replaces those changes with yours. Save As... keeps that file and saves your version "
        "under another name.");
    request.buttons = QMessageBox::Yes | QMessageBox::Save | QMessageBox::Cancel;
    request.defaultButton = QMessageBox::Cancel;
    request.buttonTexts.insert(QMessageBox::Yes, QCoreApplication::translate("User prompt", "Overwrite"));
    request.buttonTexts.insert(QMessageBox::Save, QCoreApplication::translate("User prompt", "Save As..."));
    switch (Prompts::instance().message(request)) {
    case QMessageBox::Yes:
        return true;
    case QMessageBox::Save: {
        const QString suffix = info.suffix();
        const QString target = Prompts::instance().saveFileName(currentMainWindow(),
            QCoreApplication::translate("File Save Dialog", "Save As"),
            QStringLiteral("%1/%2 (2).%3").arg(info.absolutePath(), info.completeBaseName(), suffix),
            QCoreApplication::translate("File Save Dialog", "%1 files (*.%2)").arg(suffix.toUpper(), suffix));
        if (target.isEmpty())
            return false;
        // Saving "as" the document's own file is the overwrite after all.
        if (QFileInfo(target).absoluteFilePath() == info.absoluteFilePath())
            return true;
        if (!writeCopy(target)) {
            Prompts::show(QMessageBox::Critical, currentMainWindow(),
                QCoreApplication::translate("Error Message", "Could not save %1.").arg(target));
        }
        return false;
    }
    default:
        return false;
    }
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
    if (m_readOnly) {
        // Nothing can be saved to the file: the only choices are to lose the changes or stay.
        return Prompts::show(QMessageBox::Warning, currentMainWindow(),
                   QCoreApplication::translate("User prompt",
                       "%1 is open read-only, so your changes cannot be saved to it. Close it and lose "
                       "the changes?")
                       .arg(m_fileName),
                   QString(), QMessageBox::Discard | QMessageBox::Cancel)
            == QMessageBox::Discard;
    }
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
