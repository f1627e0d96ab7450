#include "ReportFile.h"

#include "DocumentContainer.h"
#include "MainWindowRef.h"
#include "Prompts.h"
#include "ReportCheckBox.h"
#include "ReportPack.h"
#include "ReportPage.h"
#include "ReportReader.h"
#include "ReportResizableImage.h"
#include "ReportScene.h"
#include "ReportSvg.h"
#include "ReportTable.h"
#include "ReportTableCell.h"
#include "ReportText.h"
#include "ReportWriter.h"

#include <QCoreApplication>
#include <QHash>
#include <QMessageBox>

namespace {
using Kind = ReportItem::Kind;

void warn(const ReportNotice& notice)
{
    Prompts::show(QMessageBox::Warning, currentMainWindow(), notice.text, notice.informative);
}

AbstractReportItem* createItem(Kind kind, QGraphicsItem* parent)
{
    switch (kind) {
    case Kind::Page:
        return new ReportPage(parent);
    case Kind::Text:
        return new ReportText(parent);
    case Kind::CheckBox:
        return new ReportCheckBox(parent);
    case Kind::Svg:
        return new ReportSvg(parent);
    case Kind::Table:
        return new ReportTable(parent);
    case Kind::Image:
        return new ReportResizableImage(parent);
    case Kind::TableSet:
    case Kind::Cell:
        // A table makes its sets and cells itself.
        break;
    }
    return nullptr;
}

// Builds the view of a model item and of what it holds, depth first, the order in which Tab
// walks the fields.
void buildItem(ReportScene* scene, ReportItem& model, AbstractReportItem* parent,
    QHash<const ReportItem*, AbstractReportItem*>& views)
{
    AbstractReportItem* item = createItem(model.kind, parent);
    if (!item)
        return;
    if (!parent)
        scene->addItem(item);
    item->fromModel(model);
    item->bindModel(&model);
    scene->connectItem(item);
    if (item->isTabStop())
        scene->addToTabChain(item);
    views.insert(&model, item);
    if (auto* table = qgraphicsitem_cast<ReportTable*>(item)) {
        for (ReportTableCell* cell : table->cells())
            QObject::connect(cell, &AbstractReportItem::newCommand, scene, &ReportScene::newCommand);
    }
    for (const auto& child : model.children)
        buildItem(scene, *child, item, views);
}

AbstractReportItem* viewOf(
    const ReportItem* model, const QHash<const ReportItem*, AbstractReportItem*>& views)
{
    if (model->kind != Kind::Cell)
        return views.value(model);
    auto* table = qgraphicsitem_cast<ReportTable*>(views.value(model->parent));
    return table ? table->cellAt(model->column, model->row) : nullptr;
}

// The scene of what the reader read; what it has to say is told once the scene stands.
bool build(ReportScene* scene, ReportReadResult result)
{
    if (!result.document) {
        for (const ReportNotice& notice : result.notices)
            warn(notice);
        return false;
    }
    const ReportDocument& document = *result.document;
    QHash<const ReportItem*, AbstractReportItem*> views;
    for (const auto& item : document.items)
        buildItem(scene, *item, nullptr, views);
    for (auto it = document.ids().cbegin(); it != document.ids().cend(); ++it) {
        if (AbstractReportItem* view = viewOf(it.value(), views))
            scene->addId(it.key(), view, true);
    }
    scene->registerPages();
    scene->setDocument(std::move(result.document));
    for (const ReportNotice& notice : result.notices)
        warn(notice);
    scene->setFocus();
    return true;
}
} // namespace

bool ReportFile::load(ReportScene* scene, const QString& path, const QString& layoutLanguage)
{
    return build(scene, ReportReader::read(path, layoutLanguage));
}

bool ReportFile::load(ReportScene* scene, const QString& path, const DocumentContainer& container,
    const QString& layoutLanguage)
{
    return build(scene, ReportReader::read(path, container, layoutLanguage));
}

QByteArray ReportFile::toXml(ReportScene* scene, DocumentContainer& container)
{
    return ReportWriter::toXml(*scene->document(), container);
}

bool ReportFile::save(ReportScene* scene, const QString& path)
{
    scene->setFocusItem(nullptr);
    DocumentContainer container;
    container.append(QStringLiteral("xml"), QByteArray());
    container.setData(0, toXml(scene, container));
    QString error;
    if (!container.save(path, &error)) {
        warn({ QCoreApplication::translate("Error Message", "Error opening %1 for writing").arg(path),
            QCoreApplication::translate("Error Message", "Is the file read-only or has it been deleted?") });
        return false;
    }
    return true;
}
