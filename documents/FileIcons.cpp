#include "FileIcons.h"

#include "DocumentType.h"
#include "KestrovanResources.h"

#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>

namespace {
QIcon resourceIcon(const QString& name)
{
    initKestrovanResources();
    return QIcon(QStringLiteral(":res/fileTypes/%1.png").arg(name));
}

QString iconNameOfKind(DocumentType type)
{
    switch (type) {
    case InspectionReport:
        return QStringLiteral("inspection");
    case ArrayTestReport:
    case GenericReport:
        return QStringLiteral("report");
    case VerificationCertificate:
        return QStringLiteral("certificate");
    case InstallationDiagram:
        return QStringLiteral("installation_diagram");
    case Checklist:
        return QStringLiteral("checklist");
    case CurveData:
        return QStringLiteral("chart");
    default:
        return QString();
    }
}
} // namespace

bool folderHoldsChecklist(const QString& path)
{
    return !QDir(path).entryList({ QStringLiteral("*.kstchk") }, QDir::Files | QDir::NoSymLinks).isEmpty();
}

QIcon folderIcon(bool holdsChecklist)
{
    return resourceIcon(holdsChecklist ? QStringLiteral("chp_folder") : QStringLiteral("folder"));
}

QIcon iconForFileName(const QString& path)
{
    if (path.endsWith(QLatin1String("Search Results")))
        return resourceIcon(QStringLiteral("search"));
    const QString own = iconNameOfKind(documentType(path));
    if (!own.isEmpty())
        return resourceIcon(own);
    // By the name's suffix only: the desktop's provider would read the file to tell its type.
    static const QMimeDatabase types;
    const QMimeType type = types.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    static const QFileIconProvider provider;
    return QIcon::fromTheme(
        type.iconName(), QIcon::fromTheme(type.genericIconName(), provider.icon(QFileIconProvider::File)));
}

QIcon iconForPath(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return folderIcon(folderHoldsChecklist(path));
    if (path.endsWith(QLatin1String("Search Results")))
        return resourceIcon(QStringLiteral("search"));
    // The Linux desktop knows nothing of our own kinds, so they get our pictures.
    const QString own = iconNameOfKind(documentType(path));
    if (!own.isEmpty())
        return resourceIcon(own);
    static const QFileIconProvider provider;
    return provider.icon(info);
}
