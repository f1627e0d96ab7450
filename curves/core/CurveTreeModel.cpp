#include "CurveTreeModel.h"

#include "CurveConstants.h"
#include "NumberText.h"
#include "TestDate.h"
#include "TreeItem.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QHash>
#include <QMimeData>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextDocument>
#include <cmath>
#include <limits>
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
    TreeFF, TreeIsc, TreeVoc, TreeImp, TreeVmp, TreeRiso, TreeViso, TreeRpe, TreeIclamp, -1, -1, -1 };

QVariant nullToInvalid(const QVariant& value)
{
    return value.isNull() ? QVariant() : value;
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
        QT_TRANSLATE_NOOP("Tree Control Header", "Iclamp"), " ", "",
        QT_TRANSLATE_NOOP("Tree Control Header", "Verdict") };
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
    // A file with curves but without the table has never had a tree: its curves are shown at
    // the top level on load, rather than dropped as unreferenced on the first save.
    if (!m_database.tables().contains(QStringLiteral("TreeNodes"), Qt::CaseInsensitive))
        m_treeTableWasMissing = true;
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
    m_nodeIDsExhausted = false;
    QString error;
    const bool ok = loadNodes(&error);
    if (!ok)
        emit warning(error);
    endResetModel();
    return ok;
}

// One row of TreeNodes while the tree is put together.
struct CurveTreeModel::LoadedNode
{
    std::unique_ptr<TreeItem> item;
    QString key;
    QString parentKey;
    int parent = -1;
};

namespace {
// Compares node identities the way SQLite does between the two INTEGER columns: 12, 12.0 and
// '12' are one node. An empty key is no identity.
QString identityKey(const QVariant& value)
{
    if (value.isNull())
        return QString();
    bool ok = false;
    const qlonglong integer = value.toString().toLongLong(&ok);
    if (ok)
        return QLatin1Char('i') + QString::number(integer);
    if (value.userType() == QMetaType::Double) {
        const double real = value.toDouble();
        if (real >= -9.2e18 && real <= 9.2e18 && std::floor(real) == real)
            return QLatin1Char('i') + QString::number(qlonglong(real));
    }
    return QLatin1Char('t') + value.toString();
}

bool integerKey(const QString& key, qint64* value)
{
    if (!key.startsWith(QLatin1Char('i')))
        return false;
    *value = key.midRef(1).toLongLong();
    return true;
}
} // namespace

bool CurveTreeModel::loadNodes(QString* error)
{
    // The whole table is read in one pass and put together in memory, so that no file can nest
    // deeply enough to exhaust the stack, and so that every row finds a place: a node whose
    // parent is missing, that is its own parent or that hangs in a loop of parents goes to the
    // top level instead of vanishing (and taking its curve along) on the next save.
    std::vector<LoadedNode> nodes;
    const bool hasTable = m_database.tables().contains(QStringLiteral("TreeNodes"), Qt::CaseInsensitive);
    if (hasTable) {
        QSqlQuery query(m_database);
        query.setForwardOnly(true);
        if (!query.exec(
                QLatin1String(selectColumns) + QLatin1String("ORDER BY t.ParentRow ASC, t.NodeID ASC"))) {
            *error = query.lastError().text();
            return false;
        }
        while (query.next()) {
            QVector<QVariant> data(TreeDataCount);
            data[TreeLabel] = query.value(2).toString();
            data[TreeStatus] = nullToInvalid(query.value(3));
            data[TreeCurveID] = nullToInvalid(query.value(4));
            bool ok = false;
            const uint memLocation = NumberText::toUnsigned(query.value(5), &ok);
            data[TreeMemLocation] = ok ? QVariant(memLocation) : QVariant();
            data[TreeTestDate] = query.value(6).toString();
            for (int v = 0; v < 12; ++v)
                data[valueTargets[v]] = NumberText::toDisplay(query.value(8 + v));
            LoadedNode node;
            node.item = std::make_unique<TreeItem>(data);
            const QVariant colour = query.value(7);
            if (!colour.isNull())
                node.item->setColour(QColor(colour.toString()));
            node.key = identityKey(query.value(0));
            node.parentKey = identityKey(query.value(1));
            nodes.push_back(std::move(node));
        }
        if (query.lastError().isValid()) {
            *error = query.lastError().text();
            return false;
        }
    }
    if (!hasTable || m_treeTableWasMissing) {
        if (!loadCurvesWithoutTree(nodes, hasTable, error))
            return false;
    }

    // Node ids: the first node with an integer id keeps it; a text, fractional, missing or
    // repeated id is replaced by a fresh one once the largest kept id is known.
    QHash<QString, int> byKey;
    QVector<bool> keepsID(int(nodes.size()), false);
    for (int i = 0; i < int(nodes.size()); ++i) {
        const QString& key = nodes[i].key;
        if (key.isEmpty() || byKey.contains(key))
            continue;
        byKey.insert(key, i);
        qint64 id = 0;
        if (integerKey(key, &id)) {
            keepsID[i] = true;
            nodes[i].item->setData(TreeNodeID, id);
            noteNodeID(id);
        }
    }
    for (int i = 0; i < int(nodes.size()); ++i) {
        if (!keepsID[i])
            nodes[i].item->setData(TreeNodeID, allocateNodeID());
    }

    // Parents, and the children of each node in ParentRow order.
    std::vector<QVector<int>> children(nodes.size());
    QVector<int> topLevel;
    for (int i = 0; i < int(nodes.size()); ++i) {
        const int parent = nodes[i].parentKey.isEmpty() ? -1 : byKey.value(nodes[i].parentKey, -1);
        nodes[i].parent = parent == i ? -1 : parent;
        if (nodes[i].parent < 0)
            topLevel.append(i);
        else
            children[nodes[i].parent].append(i);
    }
    // What cannot be reached from the top level hangs in a loop of parents: the loop is cut at
    // its first node in ParentRow order, which then stands at the top level.
    std::vector<bool> reached(nodes.size(), false);
    QVector<int> work;
    auto reach = [&](int from) {
        work.append(from);
        reached[from] = true;
        while (!work.isEmpty()) {
            const int node = work.takeLast();
            for (int child : children[node]) {
                if (!reached[child] && nodes[child].parent == node) {
                    reached[child] = true;
                    work.append(child);
                }
            }
        }
    };
    for (int i : qAsConst(topLevel))
        reach(i);
    for (int i = 0; i < int(nodes.size()); ++i) {
        if (!reached[i]) {
            nodes[i].parent = -1;
            reach(i);
        }
    }
    for (auto& node : nodes) {
        TreeItem* parent = node.parent < 0 ? m_root.get() : nodes[node.parent].item.get();
        node.item->setData(TreeParentNodeID, parent == m_root.get() ? QVariant() : parent->data(TreeNodeID));
    }
    // Parents take ownership only now, each item's place being known.
    std::vector<TreeItem*> items;
    items.reserve(nodes.size());
    for (auto& node : nodes)
        items.push_back(node.item.release());
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        TreeItem* parent = nodes[i].parent < 0 ? m_root.get() : items[std::size_t(nodes[i].parent)];
        parent->insertChild(parent->childCount(), items[i]);
    }
    return true;
}

bool CurveTreeModel::loadCurvesWithoutTree(std::vector<LoadedNode>& nodes, bool hasTable, QString* error)
{
    QSqlQuery query(m_database);
    query.setForwardOnly(true);
    // When the tree is loaded again (its table made at open), curves that have a node already
    // are not given a second one.
    if (!query.exec(
            QStringLiteral("SELECT c.CurveID, c.MemLocation, c.TestDate, c.Irradiance, c.AmbientTemp, "
                           "c.CellTemp, c.FF, c.Isc, c.Voc, c.Viso, c.Riso, c.Iclamp, c.Rpe, c.Vmp, c.Imp "
                           "FROM Curves c ")
            + (hasTable ? QStringLiteral(
                   "WHERE NOT EXISTS (SELECT 1 FROM TreeNodes t WHERE t.CurveID = c.CurveID) ")
                        : QString())
            + QStringLiteral("ORDER BY c.CurveID"))) {
        *error = query.lastError().text();
        return false;
    }
    while (query.next()) {
        QVector<QVariant> data(TreeDataCount);
        data[TreeCurveID] = query.value(0);
        data[TreeLabel] = tr("Curve %1").arg(query.value(0).toString());
        bool ok = false;
        const uint memLocation = NumberText::toUnsigned(query.value(1), &ok);
        data[TreeMemLocation] = ok ? QVariant(memLocation) : QVariant();
        data[TreeTestDate] = query.value(2).toString();
        for (int v = 0; v < 12; ++v)
            data[valueTargets[v]] = NumberText::toDisplay(query.value(3 + v));
        LoadedNode node;
        node.item = std::make_unique<TreeItem>(data);
        nodes.push_back(std::move(node));
    }
    if (query.lastError().isValid()) {
        *error = query.lastError().text();
        return false;
    }
    return true;
}

void CurveTreeModel::noteNodeID(qint64 id)
{
    if (id == std::numeric_limits<qint64>::max())
        m_nodeIDsExhausted = true;
    else
        m_nextNodeID = std::max(m_nextNodeID, id + 1);
}

qint64 CurveTreeModel::allocateNodeID()
{
    if (!m_nodeIDsExhausted) {
        const qint64 id = m_nextNodeID;
        noteNodeID(id);
        return id;
    }
    // The file holds the largest id there is: no id above every other one is left, so the
    // smallest one no node uses is taken. The whole table is rewritten on save.
    QSet<qint64> used;
    QVector<const TreeItem*> walk { m_root.get() };
    while (!walk.isEmpty()) {
        const TreeItem* item = walk.takeLast();
        for (int i = 0; i < item->childCount(); ++i) {
            used.insert(item->child(i)->data(TreeNodeID).toLongLong());
            walk.append(item->child(i));
        }
    }
    qint64 id = 1;
    while (used.contains(id))
        ++id;
    return id;
}

TreeItem* CurveTreeModel::newNode(const QModelIndex& parent)
{
    TreeItem* parentItem = itemFromIndex(parent);
    beginInsertRows(parent, 0, 0);
    auto* item = new TreeItem(QVector<QVariant>(TreeDataCount));
    item->setData(TreeNodeID, allocateNodeID());
    item->setData(TreeLabel, tr("<New Row>"));
    if (parentItem != m_root.get())
        item->setData(TreeParentNodeID, parentItem->data(TreeNodeID));
    parentItem->insertChild(0, item);
    endInsertRows();
    emit modified(true);
    return item;
}

void CurveTreeModel::refreshRow(TreeItem* item)
{
    if (!item || item == m_root.get())
        return;
    emit dataChanged(indexForItem(item, 0), indexForItem(item, ColumnCount - 1));
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
    const quint32 status = NumberText::toUnsigned(item->data(TreeStatus));
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (column == ColumnVerdict) {
            const auto verdict = m_verdicts.constFind(item->curveID());
            return verdict != m_verdicts.constEnd() ? QVariant(verdict->text()) : QVariant();
        }
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
        // Tool tips guess rich text from a "<": such a label is escaped, so it shows as typed.
        if (messages.isEmpty()) {
            const QString label = item->data(TreeLabel).toString();
            return label.contains(QLatin1Char('<')) ? Qt::convertFromPlainText(label, Qt::WhiteSpacePre)
                                                    : label;
        }
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
        if (column == ColumnVerdict) {
            // No verdict keeps the row's own colour: grey would vanish on a grey row.
            const auto verdict = m_verdicts.constFind(item->curveID());
            if (verdict != m_verdicts.constEnd() && verdict->outcome != Verdict::None)
                return QColor(verdict->outcome == Verdict::Pass ? Qt::darkGreen : Qt::red);
        }
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

void CurveTreeModel::setVerdicts(const QHash<uint, Verdict>& verdicts)
{
    // With the column hidden nothing was shown and nothing is: the views need not lay out again.
    if (verdicts.isEmpty() && m_verdicts.isEmpty())
        return;
    // Only the text of one column changes; no row moves or goes.
    emit layoutAboutToBeChanged();
    m_verdicts = verdicts;
    emit layoutChanged();
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
    // A NodeID does not fit in four bytes; the position in the list of dragged nodes does.
    m_dragNodeIDs.clear();
    for (const QModelIndex& index : indexes) {
        if (index.isValid() && index.column() == 0) {
            stream << quint32(m_dragNodeIDs.size());
            m_dragNodeIDs.append(itemFromIndex(index)->data(TreeNodeID).toLongLong());
        }
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
        quint32 position = 0;
        stream >> position;
        if (stream.status() != QDataStream::Ok || position >= quint32(m_dragNodeIDs.size()))
            return false;
        TreeItem* item = byNodeID.value(m_dragNodeIDs.at(int(position)));
        if (!item)
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
    // From a work list rather than by recursion: a subtree can be as deep as the file made it.
    TreeItem* top = nullptr;
    QVector<std::pair<TreeItem*, TreeItem*>> pending { { source, parent } };
    QVector<int> rows { row };
    while (!pending.isEmpty()) {
        TreeItem* from = pending.last().first;
        TreeItem* into = pending.last().second;
        const int at = rows.takeLast();
        pending.removeLast();
        beginInsertRows(indexForItem(into), at, at);
        auto* copy = new TreeItem(from->allData());
        copy->setColour(from->colour());
        copy->setData(TreeParentNodeID, into == m_root.get() ? QVariant() : into->data(TreeNodeID));
        into->insertChild(at, copy);
        endInsertRows();
        if (!top)
            top = copy;
        moved.insert(from->data(TreeNodeID).toLongLong());
        // Children in reverse so that they come off the list, and are inserted, in row order.
        for (int i = from->childCount() - 1; i >= 0; --i) {
            pending.append(std::make_pair(from->child(i), copy));
            rows.append(i);
        }
    }
    return top;
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
    emit warning(error);
    return false;
}

bool CurveTreeModel::slotSave()
{
    if (!m_database.isOpen())
        return false;
    // One transaction: the file holds either the previous tree or the new one, never a part.
    if (!m_database.transaction()) {
        emit warning(m_database.lastError().text());
        return false;
    }
    QSqlQuery query(m_database);
    // Marks the file as ours, also one written before the mark existed.
    if (!query.exec(QStringLiteral("PRAGMA application_id = %1;").arg(CurveFileApplicationId)))
        return failSave(query, query.lastError().text());
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
    // Each node's row comes with it: asking a node for its row searches its siblings, which
    // made saving a long list of siblings quadratic.
    QVector<std::pair<TreeItem*, int>> stack;
    for (int i = m_root->childCount() - 1; i >= 0; --i)
        stack.append(std::make_pair(m_root->child(i), i));
    while (!stack.isEmpty()) {
        TreeItem* item = stack.last().first;
        const int row = stack.last().second;
        stack.removeLast();
        TreeItem* parent = item->parent();
        const QVariant parentID
            = parent == m_root.get() ? QVariant(QVariant::LongLong) : parent->data(TreeNodeID);
        item->setData(TreeParentNodeID, parent == m_root.get() ? QVariant() : parentID);
        query.bindValue(0, item->data(TreeNodeID));
        query.bindValue(1, parentID);
        query.bindValue(2, row);
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
            stack.append(std::make_pair(item->child(i), i));
    }
    if (!query.exec(QStringLiteral(
            "DELETE FROM curves WHERE CurveId IN (SELECT curves.curveid FROM curves LEFT OUTER "
            "JOIN treenodes ON curves.curveid = treenodes.curveid WHERE nodeid IS NULL);")))
        return failSave(query, query.lastError().text());
    query.finish();
    if (!m_database.commit()) {
        const QString error = m_database.lastError().text();
        m_database.rollback();
        emit warning(error);
        return false;
    }
    m_treeTableWasMissing = false;
    emit modified(false);
    return true;
}

} // namespace IVCurve
