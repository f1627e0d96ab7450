#include "DocumentFactory.h"

#include "AbstractDocument.h"
#include "Desktop.h"
#include "DocumentRegistry.h"
#include "FileNames.h"
#include "Folders.h"
#include "MainWindowRef.h"
#include "Prompts.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>
#include <exception>

namespace {
struct WaitCursor
{
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};
} // namespace

AbstractDocument* createDocument(const QString& path, QWidget* parent)
{
    WaitCursor wait;
    AbstractDocument* doc = nullptr;
    try {
        if (const DocumentRegistry::Constructor construct
            = DocumentRegistry::constructorFor(documentType(path)))
            doc = construct(path, parent);
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
