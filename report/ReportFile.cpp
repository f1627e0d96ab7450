#include "ReportFile.h"
#include "Brand.h"

#include "DocumentContainer.h"
#include "MainWindowRef.h"
#include "Prompts.h"
#include "ReportCheckBox.h"
#include "ReportImageSupport.h"
#include "ReportPack.h"
#include "ReportPage.h"
#include "ReportResizableImage.h"
#include "ReportScene.h"
#include "ReportSvg.h"
#include "ReportTable.h"
#include "ReportTableCell.h"
#include "ReportText.h"
#include "ReportXml.h"

#include <QCoreApplication>
#include <QDomDocument>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>

namespace {
void warn(const QString& text, const QString& informative = QString())
{
    Prompts::show(QMessageBox::Warning, currentMainWindow(), text, informative);
}

void warnReading(const QString& path)
{
    warn(QCoreApplication::translate("Error Message", "Error opening %1 for reading").arg(path));
}

// Earlier versions wrote pasted control characters (vertical tab, form feed ...) as they were,
// which XML cannot hold. Such a file reads once they are left out; other damage stays damage.
bool parseWithoutControlCharacters(const QByteArray& xml, QDomDocument* document)
{
    QByteArray cleaned;
    cleaned.reserve(xml.size());
    for (const char c : xml) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 || byte == 0x9 || byte == 0xA || byte == 0xD)
            cleaned.append(c);
    }
    return cleaned.size() != xml.size() && ReportXml::parse(cleaned, document);
}

AbstractReportItem* createItem(const QString& tag, QGraphicsItem* parent)
{
    if (tag == QLatin1String("page"))
        return new ReportPage(parent);
    if (tag == QLatin1String("text"))
        return new ReportText(parent);
    if (tag == QLatin1String("checkBox"))
        return new ReportCheckBox(parent);
    if (tag == QLatin1String("svg"))
        return new ReportSvg(parent);
    if (tag == QLatin1String("table"))
        return new ReportTable(parent);
    return nullptr;
}

// What one load may build: the layout and the document's pictures together.
struct Budget
{
    int items = 0;
    bool take(int count)
    {
        items += count;
        return items <= ReportFile::MaxItems;
    }
};

// An image element that names no picture entry makes the whole file damaged.
bool createImage(ReportScene* scene, const QDomElement& element, QGraphicsItem* parent,
    const DocumentContainer& container, Budget& budget, AbstractReportItem** created = nullptr)
{
    if (ReportImageSupport::entryIndex(element, container) < 0 || !budget.take(1))
        return false;
    auto* image = new ReportResizableImage(parent);
    if (!parent)
        scene->addItem(image);
    if (!image->load(element, false, container))
        return false;
    scene->connectItem(image);
    if (created)
        *created = image;
    return true;
}

bool buildLayout(ReportScene* scene, const QDomElement& element, AbstractReportItem* parent,
    const DocumentContainer& container, int depth, Budget& budget)
{
    if (depth > ReportFile::MaxDepth)
        return false;
    for (QDomElement e = element.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (e.tagName() == QLatin1String("image")) {
            AbstractReportItem* image = nullptr;
            if (!createImage(scene, e, parent, container, budget, &image))
                return false;
            if (image && !image->reportId().isEmpty())
                scene->addId(image->reportId(), image, true);
            continue;
        }
        AbstractReportItem* item = createItem(e.tagName(), parent);
        if (!item)
            continue;
        // Owned by the scene before the budget may refuse it, so that nothing is left without owner.
        if (!parent)
            scene->addItem(item);
        if (!budget.take(1))
            return false;
        if (!item->load(e, false, container))
            return false;
        scene->connectItem(item);
        if (item->isTabStop())
            scene->addToTabChain(item);
        if (!item->reportId().isEmpty())
            scene->addId(item->reportId(), item, true);
        if (auto* table = qgraphicsitem_cast<ReportTable*>(item)) {
            if (!budget.take(table->cells().size()))
                return false;
            const QMultiMap<QString, ReportTableCell*> cells = table->cellsById();
            for (auto it = cells.cbegin(); it != cells.cend(); ++it)
                scene->addId(it.key(), it.value(), false);
            for (ReportTableCell* cell : table->cells())
                QObject::connect(cell, &AbstractReportItem::newCommand, scene, &ReportScene::newCommand);
        }
        if (!buildLayout(scene, e, item, container, depth + 1, budget))
            return false;
    }
    return true;
}

bool overlay(ReportScene* scene, const QDomElement& element, AbstractReportItem* parent,
    const DocumentContainer& container, int depth, Budget& budget)
{
    if (depth > ReportFile::MaxDepth)
        return false;
    for (QDomElement e = element.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        const QString id = e.attribute(QStringLiteral("id"));
        if (!id.isEmpty()) {
            if (AbstractReportItem* item = scene->itemById(id)) {
                if (!item->load(e, true, container) || !overlay(scene, e, item, container, depth + 1, budget))
                    return false;
            }
        } else if (e.tagName() == QLatin1String("image")) {
            if (!createImage(scene, e, parent, container, budget))
                return false;
        }
    }
    return true;
}

void writeItem(QGraphicsItem* graphicsItem, QDomElement& parentElement, DocumentContainer& container)
{
    if (!ReportItemType::isReportItem(graphicsItem))
        return;
    auto* item = static_cast<AbstractReportItem*>(static_cast<QGraphicsObject*>(graphicsItem));
    QDomElement element = parentElement.ownerDocument().createElement(item->tagName());
    if (!item->save(element, false, container))
        return;
    parentElement.appendChild(element);
    // A table writes its columns, rows and cells itself.
    if (item->type() == ReportTable::Type)
        return;
    for (QGraphicsItem* child : item->childItems())
        writeItem(child, element, container);
}
} // namespace

QString ReportFile::defaultPackPath(const QString& suffix)
{
    return ReportPack::defaultPath(suffix);
}

QString ReportFile::layoutPackPath(const QString& packPath, const QString& layoutLanguage)
{
    const QString english = QStringLiteral(":res/%1/").arg(Brand::templateFolderName());
    const QString german = QStringLiteral(":res/%1_de/").arg(Brand::templateFolderName());
    const QLocale language(layoutLanguage);
    const bool germanUi = language.language() == QLocale::German;
    const QString& from = germanUi ? english : german;
    const QString& to = germanUi ? german : english;
    if (!packPath.startsWith(from))
        return packPath;
    const QString twin = to + packPath.mid(from.size());
    return QFileInfo::exists(twin) ? twin : packPath;
}

bool ReportFile::load(ReportScene* scene, const QString& path, const QString& layoutLanguage)
{
    DocumentContainer container;
    if (!container.load(path)) {
        warnReading(path);
        return false;
    }
    return load(scene, path, container, layoutLanguage);
}

bool ReportFile::load(ReportScene* scene, const QString& path, const DocumentContainer& container,
    const QString& layoutLanguage)
{
    if (container.count() == 0) {
        warnReading(path);
        return false;
    }
    QDomDocument document;
    QString message;
    int line = 0;
    int column = 0;
    if (!ReportXml::parse(container.at(0).data, &document, &message, &line, &column)
        && !parseWithoutControlCharacters(container.at(0).data, &document)) {
        warn(QCoreApplication::translate("Error Message", "XML validation error in %1 on line %2, column %3")
                 .arg(path)
                 .arg(line)
                 .arg(column),
            message);
        return false;
    }
    const QDomElement root = document.documentElement();
    Budget budget;
    const QString suffix = QFileInfo(path).suffix();
    if (suffix != QLatin1String("kstreport")) {
        QString packPath = root.attribute(QStringLiteral("resPak"));
        if (packPath.isEmpty())
            packPath = defaultPackPath(suffix);
        const QString layoutPath = layoutPackPath(packPath, layoutLanguage);
        DocumentContainer pack;
        QDomDocument packDocument;
        // A pack that cannot be read or built leaves nothing to lay the document over.
        if (!ReportPack::load(layoutPath, &pack, &packDocument)) {
            warnReading(layoutPath);
            return false;
        }
        scene->setPackPath(packPath);
        if (!buildLayout(scene, packDocument.documentElement(), nullptr, pack, 0, budget)) {
            warnReading(layoutPath);
            return false;
        }
    }
    scene->registerPages();
    if (!overlay(scene, root, nullptr, container, 0, budget)) {
        warnReading(path);
        return false;
    }
    if (scene->shortenedValues() > 0) {
        warn(QCoreApplication::translate("Warning Message",
                 "Some values in %1 were longer than %2 characters and have been shortened.")
                 .arg(path)
                 .arg(ReportText::MaxFieldLength),
            QCoreApplication::translate(
                "Warning Message", "The file itself stays as it is until the report is saved."));
    }
    scene->setFocus();
    return true;
}

QByteArray ReportFile::toXml(ReportScene* scene, DocumentContainer& container)
{
    QDomDocument document;
    QDomElement root = document.createElement(QStringLiteral("document"));
    root.setAttribute(QStringLiteral("resPak"), scene->packPath());
    document.appendChild(root);
    for (QGraphicsItem* item : scene->items(Qt::AscendingOrder)) {
        if (!item->parentItem())
            writeItem(item, root, container);
    }
    return document.toByteArray(2);
}

bool ReportFile::save(ReportScene* scene, const QString& path)
{
    scene->setFocusItem(nullptr);
    DocumentContainer container;
    container.append(QStringLiteral("xml"), QByteArray());
    container.setData(0, toXml(scene, container));
    QString error;
    if (!container.save(path, &error)) {
        warn(QCoreApplication::translate("Error Message", "Error opening %1 for writing").arg(path),
            QCoreApplication::translate("Error Message", "Is the file read-only or has it been deleted?"));
        return false;
    }
    return true;
}

bool ReportFile::readPackPath(const QString& path, QString* packPath)
{
    return ReportPack::readPackPath(path, packPath);
}
