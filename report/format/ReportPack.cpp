#include "ReportPack.h"

#include "Brand.h"
#include "DocumentContainer.h"
#include "KestrovanResources.h"
#include "ReportXml.h"

#include <QDomDocument>
#include <QFileInfo>
#include <QLocale>

QString ReportPack::defaultPath(const QString& suffix)
{
    initKestrovanResources();
    return QStringLiteral(":res/%1/%2.pak").arg(Brand::templateFolderName(), suffix);
}

QString ReportPack::layoutPath(const QString& packPath, const QString& layoutLanguage)
{
    const QString english = QStringLiteral(":res/%1/").arg(Brand::templateFolderName());
    const QString german = QStringLiteral(":res/%1_de/").arg(Brand::templateFolderName());
    const bool germanUi = QLocale(layoutLanguage).language() == QLocale::German;
    const QString& from = germanUi ? english : german;
    const QString& to = germanUi ? german : english;
    if (!packPath.startsWith(from))
        return packPath;
    const QString twin = to + packPath.mid(from.size());
    return QFileInfo::exists(twin) ? twin : packPath;
}

bool ReportPack::load(const QString& path, DocumentContainer* pack, QDomDocument* layout)
{
    return pack->load(path) && ReportXml::parse(pack->at(0).data, layout);
}
