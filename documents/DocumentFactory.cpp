#include "DocumentFactory.h"

#include "AbstractDocument.h"
#include "Desktop.h"
#include "DocumentLock.h"
#include "DocumentRegistry.h"
#include "FileNames.h"
#include "Folders.h"
#include "MainWindowRef.h"
#include "PlainText.h"
#include "Prompts.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QUrl>
#include <exception>

namespace {
struct WaitCursor
{
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

// "09:14" for a lock of today, the date and time for an older one.
QString whenOpened(const QDateTime& opened)
{
    const QDateTime local = opened.toLocalTime();
    const QString time = local.toString(QStringLiteral("HH:mm"));
    if (local.date() == QDate::currentDate())
        return time;
    return QStringLiteral("%1 %2").arg(QLocale().toString(local.date(), QLocale::ShortFormat), time);
}
} // namespace

LockChoice askAboutLock(const QString& path, const LockOwner& owner, bool mayOpenAnyway)
{
    MessageRequest request;
    request.parent = currentMainWindow();
    request.icon = QMessageBox::Question;
    request.text = QCoreApplication::translate("User prompt", "%1 is open by %2 on %3 since %4")
                       .arg(QFileInfo(path).fileName(), plainUserText(owner.user), plainUserText(owner.host),
                           whenOpened(owner.opened));
    request.informativeText = mayOpenAnyway
        ? QCoreApplication::translate("User prompt",
            "Open it read-only to look at it, or open it anyway to work on it as well: then whoever saves "
            "last overwrites the other's changes.")
        : QCoreApplication::translate("User prompt",
            "You can open it read-only to look at it. To work on it, wait until it is closed there.");
    request.buttons = mayOpenAnyway ? QMessageBox::Open | QMessageBox::Ignore | QMessageBox::Cancel
                                    : QMessageBox::Open | QMessageBox::Cancel;
    request.defaultButton = QMessageBox::Open;
    request.buttonTexts.insert(
        QMessageBox::Open, QCoreApplication::translate("User prompt", "Open Read-Only"));
    request.buttonTexts.insert(
        QMessageBox::Ignore, QCoreApplication::translate("User prompt", "Open Anyway"));
    switch (Prompts::instance().message(request)) {
    case QMessageBox::Open:
        return LockChoice::ReadOnly;
    case QMessageBox::Ignore:
        return LockChoice::Anyway;
    default:
        return LockChoice::Cancel;
    }
}

AbstractDocument* createDocument(const QString& path, QWidget* parent)
{
    WaitCursor wait;
    AbstractDocument* doc = nullptr;
    try {
        if (const DocumentRegistry::Constructor construct
            = DocumentRegistry::constructorFor(documentType(path))) {
            // Someone else may have the document open: here, on another machine, as another user.
            bool readOnly = false;
            const DocumentLock::Reading lock = DocumentLock::inspect(path);
            if (lock.state == DocumentLock::State::Held) {
                QApplication::restoreOverrideCursor();
                const LockChoice choice
                    = askAboutLock(path, lock.owner, !DocumentRegistry::isSingleWriter(documentType(path)));
                QApplication::setOverrideCursor(Qt::WaitCursor);
                if (choice == LockChoice::Cancel)
                    return nullptr;
                readOnly = choice == LockChoice::ReadOnly;
            }
            const AbstractDocument::ReadOnlyScope scope(readOnly);
            doc = construct(path, parent);
            // Ours from now on; a lock left behind by a crash is simply replaced.
            if (doc && doc->isValid() && !doc->isReadOnly())
                doc->acquireLock();
        }
        if (!doc) {
            const QString fileName = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
            if (const DocumentRegistry::Constructor construct
                = DocumentRegistry::constructorForName(fileName)) {
                doc = construct(path, parent);
                if (doc)
                    doc->setValid(true);
                return doc;
            }
        }
    } catch (const std::exception&) {
        delete doc;
        Prompts::show(QMessageBox::Critical, currentMainWindow(),
            QCoreApplication::translate("Error Message", "Failed to create document"));
        return nullptr;
    }
    // One of ours that lost its extension: the desktop would hand it straight back to us.
    const DocumentType kind
        = doc || documentType(path) != OtherDocument ? OtherDocument : documentTypeFromContent(path);
    if (kind != OtherDocument) {
        const QString extension = kind == CurveData ? QStringLiteral(".kstcrv")
            : kind == InstallationDiagram           ? QStringLiteral(".kstid")
                                                    : QStringLiteral(".kstir, .kstatr, .kstvc, .kstchk");
        Prompts::show(QMessageBox::Warning, currentMainWindow(),
            QCoreApplication::translate(
                "Error Message", "%1 is a Kestrovan file whose name has lost its extension.")
                .arg(path),
            QCoreApplication::translate("Error Message", "Give it the extension of its kind (%1) to open it.")
                .arg(extension));
        return nullptr;
    }
    if (!doc && !Desktop::openUrl(QUrl::fromLocalFile(path))) {
        Prompts::show(QMessageBox::Warning, currentMainWindow(),
            QCoreApplication::translate("Error Message", "There was an problem trying to open %1").arg(path),
            QCoreApplication::translate(
                "Error Message", "Please make sure a program is associated with this file type."));
    }
    return doc;
}

bool seedFavouriteTemplate(const QString& suffix)
{
    const QString favourite = Folders::instance()->favouriteTemplatePath(suffix);
    QFile::remove(favourite);
    if (copyAsWritable(Folders::builtInTemplatePath(suffix), favourite))
        return true;
    Prompts::show(QMessageBox::Critical, currentMainWindow(),
        QCoreApplication::translate("Error Message", "Could not create the template %1.").arg(favourite));
    return false;
}

QString createNewDocument(const QString& folder, const QString& fileName)
{
    QString target = QStringLiteral("%1/%2").arg(folder, fileName);
    const QString suffix = QFileInfo(target).suffix();
    Folders* folders = Folders::instance();
    const QString favourite = folders->favouriteTemplatePath(suffix);

    if (QFileInfo::exists(favourite)) {
        if (const DocumentRegistry::FavouriteCheck check = DocumentRegistry::favouriteCheckFor(suffix))
            check(favourite);
    }
    if (!QFileInfo::exists(favourite) && !seedFavouriteTemplate(suffix))
        return QString();
    uniqueFileName(target);
    if (!copyAsWritable(favourite, target)) {
        Prompts::show(QMessageBox::Critical, currentMainWindow(),
            QCoreApplication::translate("Error Message", "Could not create %1.").arg(target),
            QCoreApplication::translate(
                "Error Message", "Please check that the folder exists and that you may write to it."));
        return QString();
    }
    return target;
}
