#include "FileIcons.h"

#include "DocumentType.h"
#include "KestrovanResources.h"

#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>

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

QIcon iconForPath(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        const QDir dir(path);
        const bool holdsChecklist
            = !dir.entryList({ QStringLiteral("*.kstchk") }, QDir::Files | QDir::NoSymLinks).isEmpty();
        return resourceIcon(holdsChecklist ? QStringLiteral("chp_folder") : QStringLiteral("folder"));
    }
    if (path.endsWith(QLatin1String("Search Results")))
        return resourceIcon(QStringLiteral("search"));
    // The Linux desktop knows nothing of our own kinds, so they get our pictures.
    const QString own = iconNameOfKind(documentType(path));
    if (!own.isEmpty())
        return resourceIcon(own);
    static const QFileIconProvider provider;
    return provider.icon(info);
}
