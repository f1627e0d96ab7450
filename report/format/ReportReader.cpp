#include "ReportReader.h"

#include "DocumentContainer.h"
#include "ReportPack.h"
#include "ReportXml.h"

#include <QCoreApplication>
#include <QDomDocument>
#include <QFileInfo>
#include <QHash>
#include <QPair>
#include <algorithm>
#include <cmath>

namespace {
using Kind = ReportItem::Kind;

ReportNotice readingError(const QString& path)
{
    return { QCoreApplication::translate("Error Message", "Error opening %1 for reading").arg(path),
        QString() };
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

// The container entry an image element names, or -1 when the index names no picture entry
// (entry 0 is the XML).
int entryIndex(const QDomElement& element, const DocumentContainer& container)
{
    bool ok = false;
    const int index = element.attribute(QStringLiteral("index")).toInt(&ok);
    if (!ok || index < 1 || index >= container.count())
        return -1;
    return index;
}

// A number attribute, or the fallback when it is missing, not a number or out of the range that
// any report uses.
qreal readDouble(const QDomElement& element, const QString& name, qreal fallback,
    qreal limit = ReportGeometry::MaxCoordinate)
{
    if (!element.hasAttribute(name))
        return fallback;
    bool ok = false;
    const qreal value = element.attribute(name).toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::abs(value) > limit)
        return fallback;
    return value;
}

int readInt(const QDomElement& element, const QString& name, int fallback, bool* ok = nullptr)
{
    bool parsed = true;
    int value = fallback;
    if (element.hasAttribute(name))
        value = element.attribute(name).toInt(&parsed);
    if (ok)
        *ok = parsed;
    return parsed ? value : fallback;
}

// The element's own text, without the text of nested item elements.
QString ownText(const QDomElement& element)
{
    QString text;
    for (QDomNode node = element.firstChild(); !node.isNull(); node = node.nextSibling()) {
        if (node.isText() || node.isCDATASection())
            text += node.toCharacterData().data();
    }
    return text;
}

ReportItemStyle readStyle(const QDomElement& element, const ReportItemStyle& inherited)
{
    ReportItemStyle style = inherited;
    style.explicitMask = 0;
    if (element.hasAttribute(QStringLiteral("editable"))) {
        style.editable = element.attribute(QStringLiteral("editable")) == QLatin1String("1");
        style.explicitMask |= ReportStyle::Editable;
    }
    if (element.hasAttribute(QStringLiteral("colour"))) {
        style.colour = element.attribute(QStringLiteral("colour"));
        style.explicitMask |= ReportStyle::Colour;
    }
    if (element.hasAttribute(QStringLiteral("backgroundColour"))) {
        style.backgroundColour = element.attribute(QStringLiteral("backgroundColour"));
        style.explicitMask |= ReportStyle::BackgroundColour;
    }
    if (element.hasAttribute(QStringLiteral("font"))) {
        style.fontFamily = element.attribute(QStringLiteral("font"));
        style.explicitMask |= ReportStyle::Font;
    }
    if (element.hasAttribute(QStringLiteral("fontSize"))) {
        // Point sizes beyond a poster's make the text layout crawl; such a value is damage.
        style.fontSize
            = std::max<qreal>(1, readDouble(element, QStringLiteral("fontSize"), style.fontSize, 400));
        style.explicitMask |= ReportStyle::FontSize;
    }
    if (element.hasAttribute(QStringLiteral("fontWeight"))) {
        style.fontWeight
            = qBound(0, int(readDouble(element, QStringLiteral("fontWeight"), style.fontWeight, 99)), 99);
        style.explicitMask |= ReportStyle::FontWeight;
    }
    if (element.hasAttribute(QStringLiteral("padding"))) {
        style.padding = readDouble(element, QStringLiteral("padding"), style.padding);
        style.explicitMask |= ReportStyle::Padding;
    }
    return style;
}

const ReportItemStyle& styleOf(const ReportItem* parent)
{
    static const ReportItemStyle defaults;
    return parent ? parent->style : defaults;
}

std::unique_ptr<ReportItem> itemOfTag(const QString& tag)
{
    if (tag == QLatin1String("page"))
        return std::make_unique<ReportItem>(Kind::Page);
    if (tag == QLatin1String("text"))
        return std::make_unique<ReportItem>(Kind::Text);
    if (tag == QLatin1String("checkBox"))
        return std::make_unique<ReportItem>(Kind::CheckBox);
    if (tag == QLatin1String("svg"))
        return std::make_unique<ReportItem>(Kind::Svg);
    if (tag == QLatin1String("table"))
        return std::make_unique<ReportItem>(Kind::Table);
    return nullptr;
}

// The sizes of a table's columns (or rows): only sets that give a size take their share off the
// total; the others, and places without a set, share the rest alike.
QVector<qreal> layoutSizes(const QVector<ReportItem*>& sets, qreal total)
{
    int sized = 0;
    qreal sum = 0;
    for (const ReportItem* set : sets) {
        if (set && set->setSize > 0) {
            ++sized;
            sum += set->setSize;
        }
    }
    const qreal share = sets.size() != sized ? (total - sum) / (sets.size() - sized) : 0;
    QVector<qreal> sizes;
    for (ReportItem* set : sets) {
        if (set && set->setSize <= 0)
            set->setSize = share;
        sizes.append(set ? set->setSize : share);
    }
    return sizes;
}

class Reader
{
public:
    explicit Reader(ReportDocument& document)
        : m_document(document)
    { }

    bool readLayout(const QDomElement& element, ReportItem* parent, const DocumentContainer& pack, int depth);
    bool overlay(
        const QDomElement& element, ReportItem* parent, const DocumentContainer& container, int depth);
    int shortened() const { return m_shortened; }

private:
    ReportItem* add(std::unique_ptr<ReportItem> item, ReportItem* parent);
    bool take(int count)
    {
        m_items += count;
        return m_items <= ReportLimits::MaxItems;
    }
    bool readText(ReportItem& item, const QDomElement& element);
    void readCommon(ReportItem& item, const QDomElement& element, const ReportItemStyle& inherited);
    void readBox(ReportItem& item, const QDomElement& element);
    bool readItem(ReportItem& item, const QDomElement& element, const DocumentContainer& container);
    bool readImage(ReportItem& item, const QDomElement& element, const DocumentContainer& container);
    bool readTable(ReportItem& table, const QDomElement& element);
    bool readCell(ReportItem& cell, const ReportItem& table, const QVector<ReportItem*>& columnSets,
        const QVector<ReportItem*>& rowSets, const QDomElement& element);
    bool applyValues(ReportItem& item, const QDomElement& element, const DocumentContainer& container);
    bool addImage(const QDomElement& element, ReportItem* parent, const DocumentContainer& container,
        ReportItem** created = nullptr);

    ReportDocument& m_document;
    int m_items = 0;
    int m_shortened = 0;
};

ReportItem* Reader::add(std::unique_ptr<ReportItem> item, ReportItem* parent)
{
    if (parent)
        return parent->addChild(std::move(item));
    m_document.items.push_back(std::move(item));
    return m_document.items.back().get();
}

bool Reader::readText(ReportItem& item, const QDomElement& element)
{
    QString text = ownText(element);
    // No form field holds a book; laying out one would stall the program.
    if (text.size() > ReportLimits::MaxTextLength)
        return false;
    const QString kept = ReportTextRules::leftVisible(text, ReportLimits::MaxFieldLength);
    if (kept.size() < text.size()) {
        text = kept;
        ++m_shortened;
    }
    item.text = text;
    return true;
}

void Reader::readCommon(ReportItem& item, const QDomElement& element, const ReportItemStyle& inherited)
{
    item.pos = QPointF(
        readDouble(element, QStringLiteral("x"), 0.0), readDouble(element, QStringLiteral("y"), 0.0));
    item.style = readStyle(element, inherited);
    item.id = element.attribute(QStringLiteral("id"));
}

void Reader::readBox(ReportItem& item, const QDomElement& element)
{
    item.resizable = readInt(element, QStringLiteral("resizable"), 0) != 0;
    const qreal w = readDouble(element, QStringLiteral("width"), 0.0);
    const qreal h = readDouble(element, QStringLiteral("height"), 0.0);
    item.size = w > 0 && h > 0 ? QSizeF(w, h) : QSizeF(0, 0);
}

bool Reader::readItem(ReportItem& item, const QDomElement& element, const DocumentContainer& container)
{
    const ReportItemStyle& inherited = styleOf(item.parent);
    switch (item.kind) {
    case Kind::Page: {
        readCommon(item, element, inherited);
        item.a3 = element.attribute(QStringLiteral("pageType"), QStringLiteral("A4")) == QLatin1String("A3");
        bool ok = true;
        item.pageNumber = readInt(element, QStringLiteral("pageNumber"), 1, &ok);
        return ok && item.pageNumber >= 1 && item.pageNumber <= ReportLimits::MaxPageNumber;
    }
    case Kind::Text:
    case Kind::CheckBox: {
        const bool ok = readText(item, element);
        if (ok) {
            readBox(item, element);
            readCommon(item, element, inherited);
        }
        if (item.kind == Kind::CheckBox) {
            const qreal boxScale = readDouble(element, QStringLiteral("boxScale"), 1.0, 100);
            item.boxScale = boxScale > 0 ? boxScale : 1.0;
            item.boxPos = QPointF(readDouble(element, QStringLiteral("boxPosX"), item.boxPos.x()),
                readDouble(element, QStringLiteral("boxPosY"), item.boxPos.y()));
            item.checked = element.attribute(QStringLiteral("checked")) == QLatin1String("true");
        }
        return ok;
    }
    case Kind::Svg: {
        readCommon(item, element, inherited);
        bool ok = true;
        const int dpi = readInt(element, QStringLiteral("dpi"), 96, &ok);
        item.dpi = ok && dpi > 0 && dpi <= 10000 ? dpi : 96;
        item.file = element.attribute(QStringLiteral("file"));
        return true;
    }
    case Kind::Table:
        return readTable(item, element);
    case Kind::Image:
        return readImage(item, element, container);
    case Kind::TableSet:
    case Kind::Cell:
        break;
    }
    return false;
}

bool Reader::readImage(ReportItem& item, const QDomElement& element, const DocumentContainer& container)
{
    const int index = entryIndex(element, container);
    if (index < 0)
        return false;
    const qreal scale = readDouble(element, QStringLiteral("scale"), 1.0);
    item.scale = scale > 0 ? scale : 1.0;
    item.suffix = container.at(index).name;
    item.data = container.at(index).data;
    readBox(item, element);
    readCommon(item, element, styleOf(item.parent));
    return true;
}

bool Reader::readTable(ReportItem& table, const QDomElement& element)
{
    readCommon(table, element, styleOf(table.parent));
    const qreal width = readDouble(element, QStringLiteral("width"), -1);
    const qreal height = readDouble(element, QStringLiteral("height"), -1);
    bool colsOk = false;
    bool rowsOk = false;
    const int numCols = element.attribute(QStringLiteral("numCols")).toInt(&colsOk);
    const int numRows = element.attribute(QStringLiteral("numRows")).toInt(&rowsOk);
    if (!colsOk || !rowsOk || numCols < 1 || numRows < 1 || numCols > ReportLimits::MaxColumns
        || numRows > ReportLimits::MaxRows || numCols * numRows > ReportLimits::MaxCells || width < 0
        || height < 0)
        return false;
    table.size = QSizeF(width, height);
    table.columns = numCols;
    table.rows = numRows;

    QVector<ReportItem*> columnSets(numCols, nullptr);
    QVector<ReportItem*> rowSets(numRows, nullptr);
    for (QDomElement e = element.firstChildElement(QStringLiteral("tableset")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("tableset"))) {
        auto set = std::make_unique<ReportItem>(Kind::TableSet);
        readCommon(*set, e, table.style);
        bool colOk = true;
        bool rowOk = true;
        set->column = readInt(e, QStringLiteral("col"), -1, &colOk);
        set->row = readInt(e, QStringLiteral("row"), -1, &rowOk);
        set->setSize = readDouble(e, QStringLiteral("size"), 0.0);
        if (!colOk || !rowOk || set->setSize < 0)
            return false;
        // A set that describes neither a column nor a row describes nothing.
        if (set->column < 0 && set->row < 0)
            continue;
        QVector<ReportItem*>& sets = set->column >= 0 ? columnSets : rowSets;
        const int index = set->column >= 0 ? set->column : set->row;
        if (index >= sets.size() || sets.at(index))
            return false;
        sets[index] = table.addChild(std::move(set));
    }
    table.columnSizes = layoutSizes(columnSets, width);
    table.rowSizes = layoutSizes(rowSets, height);

    QVector<bool> covered(numCols * numRows, false);
    for (QDomElement e = element.firstChildElement(QStringLiteral("cell")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("cell"))) {
        auto cell = std::make_unique<ReportItem>(Kind::Cell);
        if (!readCell(*cell, table, columnSets, rowSets, e) || covered.at(cell->row * numCols + cell->column))
            return false;
        for (int r = cell->row; r < cell->row + cell->rowSpan; ++r) {
            for (int c = cell->column; c < cell->column + cell->columnSpan; ++c)
                covered[r * numCols + c] = true;
        }
        table.addChild(std::move(cell));
    }
    // Grid places that no cell covers get an empty cell of their own.
    QDomDocument scratch;
    for (int c = 0; c < numCols; ++c) {
        for (int r = 0; r < numRows; ++r) {
            if (covered.at(r * numCols + c))
                continue;
            auto cell = std::make_unique<ReportItem>(Kind::Cell);
            cell->automatic = true;
            QDomElement empty = scratch.createElement(QStringLiteral("cell"));
            empty.setAttribute(QStringLiteral("col"), c);
            empty.setAttribute(QStringLiteral("row"), r);
            readCell(*cell, table, columnSets, rowSets, empty);
            table.addChild(std::move(cell));
        }
    }
    return true;
}

bool Reader::readCell(ReportItem& cell, const ReportItem& table, const QVector<ReportItem*>& columnSets,
    const QVector<ReportItem*>& rowSets, const QDomElement& element)
{
    bool colOk = false;
    bool rowOk = false;
    cell.column = element.attribute(QStringLiteral("col")).toInt(&colOk);
    cell.row = element.attribute(QStringLiteral("row")).toInt(&rowOk);
    bool spanOk = true;
    bool rowSpanOk = true;
    cell.columnSpan = readInt(element, QStringLiteral("colspan"), 1, &spanOk);
    cell.rowSpan = readInt(element, QStringLiteral("rowspan"), 1, &rowSpanOk);
    // The cell must lie on the grid before it can inherit from its row and column.
    if (!colOk || !rowOk || !spanOk || !rowSpanOk || cell.column < 0 || cell.row < 0 || cell.columnSpan < 1
        || cell.rowSpan < 1 || cell.columnSpan > ReportLimits::MaxSpan || cell.rowSpan > ReportLimits::MaxSpan
        || cell.column + cell.columnSpan > table.columns || cell.row + cell.rowSpan > table.rows)
        return false;
    if (!readText(cell, element))
        return false;
    readBox(cell, element);
    const ReportItem* styleParent = rowSets.at(cell.row) ? rowSets.at(cell.row)
        : columnSets.at(cell.column)                     ? columnSets.at(cell.column)
                                                         : &table;
    readCommon(cell, element, styleParent->style);
    // Its box is its place on the grid; past the last column or row lies the table's edge.
    auto offset = [](const QVector<qreal>& sizes, int index, qreal total) {
        if (index >= sizes.size())
            return total;
        qreal running = 0;
        for (int i = 0; i < index; ++i)
            running += sizes.at(i);
        return running;
    };
    const qreal x = offset(table.columnSizes, cell.column, table.size.width());
    const qreal y = offset(table.rowSizes, cell.row, table.size.height());
    cell.pos = QPointF(x, y);
    cell.size = QSizeF(offset(table.columnSizes, cell.column + cell.columnSpan, table.size.width()) - x,
        offset(table.rowSizes, cell.row + cell.rowSpan, table.size.height()) - y);
    return true;
}

bool Reader::addImage(
    const QDomElement& element, ReportItem* parent, const DocumentContainer& container, ReportItem** created)
{
    // An image element that names no picture entry makes the whole file damaged.
    if (entryIndex(element, container) < 0 || !take(1))
        return false;
    ReportItem* image = add(std::make_unique<ReportItem>(Kind::Image), parent);
    if (!readImage(*image, element, container))
        return false;
    if (created)
        *created = image;
    return true;
}

bool Reader::readLayout(
    const QDomElement& element, ReportItem* parent, const DocumentContainer& pack, int depth)
{
    if (depth > ReportLimits::MaxDepth)
        return false;
    for (QDomElement e = element.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (e.tagName() == QLatin1String("image")) {
            ReportItem* image = nullptr;
            if (!addImage(e, parent, pack, &image))
                return false;
            if (!image->id.isEmpty())
                m_document.setId(image->id, image);
            continue;
        }
        std::unique_ptr<ReportItem> made = itemOfTag(e.tagName());
        if (!made)
            continue;
        ReportItem* item = add(std::move(made), parent);
        if (!take(1) || !readItem(*item, e, pack))
            return false;
        if (!item->id.isEmpty())
            m_document.setId(item->id, item);
        if (item->kind == Kind::Table) {
            int cells = 0;
            QList<ReportItem*> named;
            for (const auto& child : item->children) {
                if (child->kind != Kind::Cell)
                    continue;
                ++cells;
                if (!child->id.isEmpty())
                    named.append(child.get());
            }
            if (!take(cells))
                return false;
            // Of the cells of one table that share an id, the first in reading order answers to it.
            std::stable_sort(named.begin(), named.end(), [](const ReportItem* a, const ReportItem* b) {
                return std::make_pair(a->row, a->column) > std::make_pair(b->row, b->column);
            });
            for (ReportItem* cell : named)
                m_document.setId(cell->id, cell);
        }
        if (!readLayout(e, item, pack, depth + 1))
            return false;
    }
    return true;
}

bool Reader::applyValues(ReportItem& item, const QDomElement& element, const DocumentContainer& container)
{
    switch (item.kind) {
    case Kind::Text:
    case Kind::Cell:
        if (!readText(item, element))
            return false;
        item.id = element.attribute(QStringLiteral("id"));
        return true;
    case Kind::CheckBox:
        item.checked = element.attribute(QStringLiteral("checked")) == QLatin1String("true");
        return true;
    case Kind::Svg: {
        item.id = element.attribute(QStringLiteral("id"));
        bool ok = true;
        const int dpi = readInt(element, QStringLiteral("dpi"), 96, &ok);
        item.dpi = ok && dpi > 0 && dpi <= 10000 ? dpi : 96;
        item.file = element.attribute(QStringLiteral("file"));
        return true;
    }
    case Kind::Table: {
        item.id = element.attribute(QStringLiteral("id"));
        // Cells by place; a value that cannot be taken leaves the cell as it was. A document may
        // list many cells, so their places are looked up, not searched.
        QHash<QPair<int, int>, ReportItem*> cells;
        for (const auto& child : item.children) {
            if (child->kind == Kind::Cell)
                cells.insert({ child->column, child->row }, child.get());
        }
        for (QDomElement e = element.firstChildElement(QStringLiteral("cell")); !e.isNull();
             e = e.nextSiblingElement(QStringLiteral("cell"))) {
            bool colOk = false;
            bool rowOk = false;
            const int column = e.attribute(QStringLiteral("col")).toInt(&colOk);
            const int row = e.attribute(QStringLiteral("row")).toInt(&rowOk);
            if (!colOk || !rowOk)
                continue;
            if (ReportItem* cell = cells.value({ column, row }))
                applyValues(*cell, e, container);
        }
        return true;
    }
    case Kind::Image:
        // Pictures are the document's own, not the pack's: the whole element is read.
        return readImage(item, element, container);
    case Kind::Page:
    case Kind::TableSet:
        item.id = element.attribute(QStringLiteral("id"));
        return true;
    }
    return false;
}

bool Reader::overlay(
    const QDomElement& element, ReportItem* parent, const DocumentContainer& container, int depth)
{
    if (depth > ReportLimits::MaxDepth)
        return false;
    for (QDomElement e = element.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        const QString id = e.attribute(QStringLiteral("id"));
        if (!id.isEmpty()) {
            if (ReportItem* item = m_document.itemById(id)) {
                if (!applyValues(*item, e, container) || !overlay(e, item, container, depth + 1))
                    return false;
            }
        } else if (e.tagName() == QLatin1String("image")) {
            if (!addImage(e, parent, container))
                return false;
        }
    }
    return true;
}

ReportReadResult failure(const ReportNotice& notice)
{
    ReportReadResult result;
    result.notices.append(notice);
    return result;
}
} // namespace

ReportReadResult ReportReader::read(const QString& path, const QString& layoutLanguage)
{
    DocumentContainer container;
    if (!container.load(path))
        return failure(readingError(path));
    return read(path, container, layoutLanguage);
}

ReportReadResult ReportReader::read(
    const QString& path, const DocumentContainer& container, const QString& layoutLanguage)
{
    if (container.count() == 0)
        return failure(readingError(path));
    QDomDocument xml;
    QString message;
    int line = 0;
    int column = 0;
    if (!ReportXml::parse(container.at(0).data, &xml, &message, &line, &column)
        && !parseWithoutControlCharacters(container.at(0).data, &xml)) {
        return failure(
            { QCoreApplication::translate("Error Message", "XML validation error in %1 on line %2, column %3")
                    .arg(path)
                    .arg(line)
                    .arg(column),
                message });
    }
    const QDomElement root = xml.documentElement();
    auto document = std::make_unique<ReportDocument>();
    Reader reader(*document);
    const QString suffix = QFileInfo(path).suffix();
    // A generic report has no pack: it is its pictures alone.
    if (suffix != QLatin1String("kstreport")) {
        QString packPath = root.attribute(QStringLiteral("resPak"));
        if (packPath.isEmpty())
            packPath = ReportPack::defaultPath(suffix);
        const QString layoutPath = ReportPack::layoutPath(packPath, layoutLanguage);
        DocumentContainer pack;
        QDomDocument layout;
        // A pack that cannot be read or built leaves nothing to lay the document over.
        if (!ReportPack::load(layoutPath, &pack, &layout)
            || !reader.readLayout(layout.documentElement(), nullptr, pack, 0))
            return failure(readingError(layoutPath));
        document->packPath = packPath;
    }
    if (!reader.overlay(root, nullptr, container, 0))
        return failure(readingError(path));
    ReportReadResult result;
    if (reader.shortened() > 0) {
        result.notices.append(
            { QCoreApplication::translate("Warning Message",
                  "Some values in %1 were longer than %2 characters and have been shortened.")
                    .arg(path)
                    .arg(ReportLimits::MaxFieldLength),
                QCoreApplication::translate(
                    "Warning Message", "The file itself stays as it is until the report is saved.") });
    }
    result.document = std::move(document);
    return result;
}

bool ReportReader::readPackPath(const QString& path, QString* packPath)
{
    DocumentContainer container;
    QDomDocument document;
    if (!container.load(path) || !ReportXml::parse(container.at(0).data, &document))
        return false;
    *packPath = document.documentElement().attribute(QStringLiteral("resPak"));
    return true;
}
