#include "CurveTreeModel.h"
#include "Brand.h"

#include "CurveConstants.h"
#include "NumberText.h"
#include "Prompts.h"
#include "TestDate.h"
#include "TreeItem.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QHash>
#include <QMimeData>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <utility>

namespace IVCurve {

namespace {
const char* const selectColumns
    = "SELECT t.NodeID, t.ParentNodeID, t.NodeDesc, t.Status, c.CurveID, c.MemLocation, c.TestDate, "
      "t.Colour, "
      "c.Irradiance, c.AmbientTemp, c.CellTemp, c.FF, c.Isc, c.Voc, c.Viso, c.Riso, c.Iclamp, c.Rpe, c.Vmp, "
      "c.Imp FROM TreeNodes t LEFT JOIN Curves c ON t.CurveID = c.CurveID ";

// Data index of each measured value column of the select, from c.Irradiance on.
const int valueTargets[] = { TreeIrradiance, TreeAmbientTemp, TreeCellTemp, TreeFF, TreeIsc, TreeVoc,
    TreeViso, TreeRiso, TreeIclamp, TreeRpe, TreeVmp, TreeImp };

// Data index shown in each view column; -1 for the columns without text.
const int columnData[ColumnCount] = { TreeLabel, TreeMemLocation, TreeTestDate, TreeIrradiance, TreeCellTemp,
    TreeFF, TreeIsc, TreeVoc, TreeImp, TreeVmp, TreeRiso, TreeViso, TreeRpe, TreeIclamp, -1, -1 };

QVariant nullToInvalid(const QVariant& value)
{
    return value.isNull() ? QVariant() : value;
}

void warn(const QString& text)
{
    Prompts::show(Prompt::Warning, nullptr, text, QString(), Prompt::Ok, Brand::productTitle());
}

QVector<QVariant> headerTexts()
{
    const char* const texts[ColumnCount] = { QT_TRANSLATE_NOOP("Tree Control Header", "Item Description"),
        QT_TRANSLATE_NOOP("Tree Control Header", "Tester Index"),
        QT_TRANSLATE_NOOP("Tree Control Header", "Date Tested"),
        QT_TRANSLATE_NOOP("Tree Control Header", "Irr"), QT_TRANSLATE_NOOP("Tree Control Header", "Tcell"),
        QT_TRANSLATE_NOOP("Tree Control Header", "FF"), QT_TRANSLATE_NOOP("Tree Control Header", "Isc"),
        QT_TRANSLATE_NOOP("Tree Control Header", "Voc"), QT_TRANSLATE_NOOP("Tree Control Header", "Impp"),
        QT_TRANSLATE_NOOP("Tree Control Header", "Vmpp"), QT_TRANSLATE_NOOP("Tree Control Header", "Riso"),
        QT_TRANSLATE_NOOP("Tree Control Header", "Viso"), QT_TRANSLATE_NOOP("Tree Control Header", "Rpe"),
        QT_TRANSLATE_NOOP("Tree Control Header", "Iclamp"), " ", "" };
    QVector<QVariant> header;
    for (const char* text : texts)
        header.append(*text ? QCoreApplication::translate("Tree Control Header", text) : QString());
    return header;
}
} // namespace

CurveTreeModel::CurveTreeModel(const QSqlDatabase& database, QObject* parent)
    : QAbstractItemModel(parent)
    , m_database(database)
    , m_root(std::make_unique<TreeItem>(headerTexts()))
    , m_schema(schemaStatements())
{ }

CurveTreeModel::~CurveTreeModel() = default;

QStringList CurveTreeModel::schemaStatements()
{
    return { QStringLiteral(
                 "CREATE TABLE if not exists TreeNodes (NodeID INTEGER PRIMARY KEY, ParentNodeID INTEGER, "
                 "NodeDesc TEXT, CurveID INTEGER, ParentRow INTEGER, Status INTEGER,Colour TEXT);"),
        QStringLiteral("CREATE INDEX IDX_TREENODE_CURVEID ON TreeNodes(CurveID);"),
        QStringLiteral("CREATE INDEX idx_treenode_parent ON TreeNodes(ParentNodeID, ParentRow);") };
}

void CurveTreeModel::runSchema()
{
    // Errors are expected: the index statements fail on files that have them already.
    QSqlQuery query(m_database);
    for (const QString& statement : qAsConst(m_schema))
        query.exec(statement);
}

bool CurveTreeModel::loadTree()
{
    beginResetModel();
    m_root->removeChildren(0, m_root->childCount());
    m_nextNodeID = 1;
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    QString error;
    bool ok = query.exec(QLatin1String(selectColumns)
        + QLatin1String("WHERE ParentNodeID IS NULL ORDER BY ParentNodeID ASC, ParentRow DESC"));
    if (!ok)
        error = query.lastError().text();
    else
        ok = loadChildren(query, m_root.get(), &error);
    if (!ok)
        warn(error);
    endResetModel();
    return ok;
}

bool CurveTreeModel::loadChildren(QSqlQuery& topLevel, TreeItem* root, QString* error)
{
    // Breadth first with an explicit work list, so that no file can nest deeply enough to
    // exhaust the stack. Each node has one parent row, so every node is read at most once.
    QSqlQuery children(m_database);
    children.setForwardOnly(true);
    if (!children.prepare(QLatin1String(selectColumns)
            + QLatin1String("WHERE ParentNodeID = ? ORDER BY ParentNodeID ASC, ParentRow DESC"))) {
        *error = children.lastError().text();
        return false;
    }
    QVector<std::pair<TreeItem*, qint64>> pending;
    QSqlQuery* query = &topLevel;
    TreeItem* parent = root;
    for (int next = 0;; ++next) {
        while (query->next()) {
            QVector<QVariant> data(TreeDataCount);
            const qint64 nodeID = query->value(0).toLongLong();
            data[TreeNodeID] = nodeID;
            data[TreeParentNodeID] = nullToInvalid(query->value(1));
            data[TreeLabel] = query->value(2).toString();
            data[TreeStatus] = nullToInvalid(query->value(3));
            data[TreeCurveID] = nullToInvalid(query->value(4));
            data[TreeMemLocation] = nullToInvalid(query->value(5));
            data[TreeTestDate] = query->value(6).toString();
            for (int v = 0; v < 12; ++v)
                data[valueTargets[v]] = NumberText::toDisplay(query->value(8 + v));
            auto* item = new TreeItem(data);
            const QVariant colour = query->value(7);
            if (!colour.isNull())
                item->setColour(QColor(colour.toString()));
            parent->insertChild(0, item);
            pending.append({ item, nodeID });
            m_nextNodeID = std::max(m_nextNodeID, nodeID + 1);
        }
        if (query->lastError().isValid()) {
            *error = query->lastError().text();
            return false;
        }
        if (next >= pending.size())
            return true;
        parent = pending.at(next).first;
        children.addBindValue(pending.at(next).second);
        if (!children.exec()) {
            *error = children.lastError().text();
            return false;
        }
        query = &children;
    }
}

TreeItem* CurveTreeModel::newNode(const QModelIndex& parent)
{
    TreeItem* parentItem = itemFromIndex(parent);
    beginInsertRows(parent, 0, 0);
    auto* item = new TreeItem(QVector<QVariant>(TreeDataCount));
    item->setData(TreeNodeID, m_nextNodeID++);
    item->setData(TreeLabel, tr("<New Row>"));
    if (parentItem != m_root.get())
        item->setData(TreeParentNodeID, parentItem->data(TreeNodeID));
    parentItem->insertChild(0, item);
    endInsertRows();
    emit modified(true);
    return item;
}

TreeItem* CurveTreeModel::itemFromIndex(const QModelIndex& index) const
{
    if (index.isValid() && index.model() == this)
        return static_cast<TreeItem*>(index.internalPointer());
    return m_root.get();
}

QModelIndex CurveTreeModel::indexForItem(TreeItem* item, int column) const
{
    if (!item || item == m_root.get())
        return QModelIndex();
    return createIndex(item->row(), column, item);
}

QModelIndex CurveTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return QModelIndex();
    TreeItem* child = itemFromIndex(parent)->child(row);
    if (!child || column < 0 || column >= ColumnCount)
        return QModelIndex();
    return createIndex(row, column, child);
}

QModelIndex CurveTreeModel::parent(const QModelIndex& index) const
{
    if (!index.isValid())
        return QModelIndex();
    return indexForItem(itemFromIndex(index)->parent());
}

int CurveTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() && parent.column() > 0)
        return 0;
    return itemFromIndex(parent)->childCount();
}

int CurveTreeModel::columnCount(const QModelIndex&) const
{
    return m_root->allData().size();
}

bool CurveTreeModel::hasChildren(const QModelIndex& parent) const
{
    return rowCount(parent) > 0;
}

QVariant CurveTreeModel::displayValue(const TreeItem* item, int column) const
{
    if (column < 0 || column >= ColumnCount || columnData[column] < 0)
        return QVariant();
    const QVariant value = item->data(columnData[column]);
    if (column == ColumnDate)
        return TestDate::displayText(value.toString());
    return value;
}

QVariant CurveTreeModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const TreeItem* item = itemFromIndex(index);
    const int column = index.column();
    const quint32 status = item->data(TreeStatus).toUInt();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return displayValue(item, column);
    case Qt::ToolTipRole: {
        QStringList messages;
        if (status & StatusChecksumWrong)
            messages << tr(
                "Invalid checksum. Internal error in test instrument or the CSV data has been modified");
        if (status & StatusSpreadsheetModified)
            messages << tr("Checksum ignored. Spreadsheet data modification was detected");
        if (status & StatusNoIrradiance)
            messages << tr("No irradiance value");
        if (status & StatusNoCellTemperature)
            messages << tr("No cell temperature value");
        if (status & StatusIrradianceVariance)
            messages << tr("Irradiance warning. Greater than 10% variance during test");
        if (messages.isEmpty())
            return item->data(TreeLabel);
        return messages.join(QLatin1Char('\n'));
    }
    case Qt::TextAlignmentRole:
        if (column == ColumnIndex)
            return int(Qt::AlignHCenter | Qt::AlignVCenter);
        return QVariant();
    case Qt::BackgroundRole:
        if (column == ColumnColour)
            return item->colour().isValid() ? QVariant(item->colour()) : QVariant();
        if (status & (StatusNoIrradiance | StatusNoCellTemperature))
            return QColor(Qt::gray);
        return QVariant();
    case Qt::ForegroundRole:
        if (column == ColumnColour)
            return item->colour().isValid() ? QVariant(item->colour()) : QVariant();
        if (status & StatusChecksumWrong)
            return QColor(Qt::red);
        if (status & StatusIrradianceVariance)
            return QColor(Qt::blue);
        if (status & StatusSpreadsheetModified)
            return QColor(Qt::darkGreen);
        return QVariant();
    default:
        return QVariant();
    }
}

bool CurveTreeModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    int target = -1;
    switch (index.column()) {
    case ColumnLabel:
        target = TreeLabel;
        break;
    case ColumnIrradiance:
        target = TreeIrradiance;
        break;
    case ColumnCellTemp:
        target = TreeCellTemp;
        break;
    default:
        return false;
    }
    itemFromIndex(index)->setData(target, value);
    emit modified(true);
    emit dataChanged(index, index);
    return true;
}

QVariant CurveTreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_root->data(section);
    return QVariant();
}

bool CurveTreeModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role)
{
    if (orientation != Qt::Horizontal || (role != Qt::EditRole && role != Qt::DisplayRole))
        return false;
    if (!m_root->setData(section, value))
        return false;
    emit headerDataChanged(orientation, section, section);
    return true;
}

QStringList CurveTreeModel::mimeTypes() const
{
    return { treeMimeType() };
}

QMimeData* CurveTreeModel::mimeData(const QModelIndexList& indexes) const
{
    QByteArray encoded;
    QDataStream stream(&encoded, QIODevice::WriteOnly);
    stream.setByteOrder(QDataStream::BigEndian);
    for (const QModelIndex& index : indexes) {
        if (index.isValid() && index.column() == 0)
            stream << quint32(itemFromIndex(index)->data(TreeNodeID).toLongLong());
    }
    auto* data = new QMimeData;
    data->setData(treeMimeType(), encoded);
    m_dragData = data;
    return data;
}

bool CurveTreeModel::dropMimeData(
    const QMimeData* data, Qt::DropAction action, int row, int column, const QModelIndex& parent)
{
    if (action == Qt::IgnoreAction)
        return true;
    if (!data || !data->hasFormat(treeMimeType()) || column > 0 || data != m_dragData)
        return false;
    if (row < 0) {
        if (!parent.isValid())
            return false;
        row = 0;
    }
    TreeItem* target = itemFromIndex(parent);
    row = qBound(0, row, target->childCount());

    QHash<qint64, TreeItem*> byNodeID;
    QVector<TreeItem*> walk { m_root.get() };
    while (!walk.isEmpty()) {
        TreeItem* item = walk.takeLast();
        for (int i = 0; i < item->childCount(); ++i) {
            byNodeID.insert(item->child(i)->data(TreeNodeID).toLongLong(), item->child(i));
            walk.append(item->child(i));
        }
    }
    QVector<TreeItem*> dragged;
    QByteArray encoded = data->data(treeMimeType());
    QDataStream stream(&encoded, QIODevice::ReadOnly);
    stream.setByteOrder(QDataStream::BigEndian);
    while (!stream.atEnd()) {
        quint32 nodeID = 0;
        stream >> nodeID;
        TreeItem* item = byNodeID.value(nodeID);
        if (stream.status() != QDataStream::Ok || !item)
            return false;
        // Dropping a node into itself would remove the copy together with the original.
        if (item == target || item->isAncestorOf(target))
            return false;
        dragged.append(item);
    }
    QSet<qint64> moved;
    for (TreeItem* item : qAsConst(dragged)) {
        bool insideAnother = false;
        for (TreeItem* other : qAsConst(dragged))
            insideAnother = insideAnother || other->isAncestorOf(item);
        if (insideAnother || moved.contains(item->data(TreeNodeID).toLongLong()))
            continue;
        copySubtree(item, target, row++, moved);
    }
    if (!moved.isEmpty())
        emit modified(true);
    return true;
}

TreeItem* CurveTreeModel::copySubtree(TreeItem* source, TreeItem* parent, int row, QSet<qint64>& moved)
{
    beginInsertRows(indexForItem(parent), row, row);
    auto* copy = new TreeItem(source->allData());
    copy->setColour(source->colour());
    copy->setData(TreeParentNodeID, parent == m_root.get() ? QVariant() : parent->data(TreeNodeID));
    parent->insertChild(row, copy);
    endInsertRows();
    for (int i = 0; i < source->childCount(); ++i)
        copySubtree(source->child(i), copy, i, moved);
    moved.insert(source->data(TreeNodeID).toLongLong());
    return copy;
}

Qt::DropActions CurveTreeModel::supportedDropActions() const
{
    return Qt::MoveAction;
}

bool CurveTreeModel::insertRows(int position, int rows, const QModelIndex& parent)
{
    TreeItem* item = itemFromIndex(parent);
    if (position < 0 || position > item->childCount() || rows <= 0)
        return false;
    beginInsertRows(parent, position, position + rows - 1);
    const bool ok = item->insertChildren(position, rows, TreeDataCount);
    endInsertRows();
    return ok;
}

bool CurveTreeModel::removeRows(int position, int rows, const QModelIndex& parent)
{
    TreeItem* item = itemFromIndex(parent);
    if (position < 0 || rows <= 0 || position + rows > item->childCount())
        return false;
    beginRemoveRows(parent, position, position + rows - 1);
    const bool ok = item->removeChildren(position, rows);
    endRemoveRows();
    return ok;
}

Qt::ItemFlags CurveTreeModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags flags = QAbstractItemModel::flags(index);
    if (index.column() == 0)
        flags |= Qt::ItemIsEditable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    return flags;
}

bool CurveTreeModel::failSave(QSqlQuery& query, const QString& error)
{
    query.finish();
    m_database.rollback();
    warn(error);
    return false;
}

bool CurveTreeModel::slotSave()
{
    if (!m_database.isOpen())
        return false;
    // One transaction: the file holds either the previous tree or the new one, never a part.
    if (!m_database.transaction()) {
        warn(m_database.lastError().text());
        return false;
    }
    QSqlQuery query(m_database);
    if (!query.exec(QStringLiteral("DELETE FROM TreeNodes;")))
        return failSave(query, query.lastError().text());
    if (!query.prepare(
            QStringLiteral("INSERT OR REPLACE INTO TreeNodes(NodeID, ParentNodeID, ParentRow, NodeDesc, "
                           "CurveID, Status, Colour) VALUES(?,?,?,?,?,?,?);"))) {
        const QString error = query.lastError().text();
        failSave(query, error);
        runSchema();
        return false;
    }
    // Depth first, parent before children, children in row order.
    QVector<TreeItem*> stack;
    for (int i = m_root->childCount() - 1; i >= 0; --i)
        stack.append(m_root->child(i));
    while (!stack.isEmpty()) {
        TreeItem* item = stack.takeLast();
        TreeItem* parent = item->parent();
        const QVariant parentID
            = parent == m_root.get() ? QVariant(QVariant::LongLong) : parent->data(TreeNodeID);
        item->setData(TreeParentNodeID, parent == m_root.get() ? QVariant() : parentID);
        query.bindValue(0, item->data(TreeNodeID));
        query.bindValue(1, parentID);
        query.bindValue(2, item->row());
        query.bindValue(3, item->data(TreeLabel).toString());
        query.bindValue(
            4, item->data(TreeCurveID).isValid() ? item->data(TreeCurveID) : QVariant(QVariant::LongLong));
        query.bindValue(
            5, item->data(TreeStatus).isValid() ? item->data(TreeStatus) : QVariant(QVariant::LongLong));
        query.bindValue(
            6, item->colour().isValid() ? QVariant(item->colour().name()) : QVariant(QVariant::String));
        if (!query.exec())
            return failSave(query, query.lastError().text());
        for (int i = item->childCount() - 1; i >= 0; --i)
            stack.append(item->child(i));
    }
    if (!query.exec(QStringLiteral(
            "DELETE FROM curves WHERE CurveId IN (SELECT curves.curveid FROM curves LEFT OUTER "
            "JOIN treenodes ON curves.curveid = treenodes.curveid WHERE nodeid IS NULL);")))
        return failSave(query, query.lastError().text());
    query.finish();
    if (!m_database.commit()) {
        const QString error = m_database.lastError().text();
        m_database.rollback();
        warn(error);
        return false;
    }
    emit modified(false);
    return true;
}

} // namespace IVCurve
