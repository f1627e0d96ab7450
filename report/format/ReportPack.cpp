#include "ReportPack.h"

#include "Brand.h"
#include "DocumentContainer.h"
#include "KestrovanResources.h"
#include "ReportXml.h"

#include <QDomDocument>

QString ReportPack::defaultPath(const QString& suffix)
{
    initKestrovanResources();
    return QStringLiteral(":res/%1/%2.pak").arg(Brand::templateFolderName(), suffix);
}

bool ReportPack::load(const QString& path, DocumentContainer* pack, QDomDocument* layout)
{
    return pack->load(path) && ReportXml::parse(pack->at(0).data, layout);
}

bool ReportPack::readPackPath(const QString& reportPath, QString* packPath)
{
    DocumentContainer container;
    QDomDocument document;
    if (!container.load(reportPath) || !ReportXml::parse(container.at(0).data, &document))
        return false;
    *packPath = document.documentElement().attribute(QStringLiteral("resPak"));
    return true;
}
