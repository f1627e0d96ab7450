#pragma once

#include "Verdict.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QPointer>
#include <QSqlDatabase>
#include <QStringList>
#include <memory>
#include <vector>

class QMimeData;
class QSqlQuery;

namespace IVCurve {

class TreeItem;

// The folders and strings of a curve document, mirroring the TreeNodes table. Edits stay in
// memory until slotSave writes the whole tree back.
class CurveTreeModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    explicit CurveTreeModel(const QSqlDatabase& database, QObject* parent = nullptr);
    ~CurveTreeModel() override;

    static QStringList schemaStatements();
    void runSchema();
    // Reads the TreeNodes table; false (after a warning) when the database refused.
    bool loadTree();

    // A new string or folder at row 0 of the parent (top level for an invalid parent).
    TreeItem* newNode(const QModelIndex& parent);
    // The item of an index; the root for an invalid index.
    TreeItem* itemFromIndex(const QModelIndex& index) const;
    QModelIndex indexForItem(TreeItem* item, int column = 0) const;
    TreeItem* rootItem() const { return m_root.get(); }
    // Tells the views that an item's values changed behind the model (imports fill new nodes).
    void refreshRow(TreeItem* item);
    qint64 nextNodeID() const { return m_nextNodeID; }

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setHeaderData(
        int section, Qt::Orientation orientation, const QVariant& value, int role = Qt::EditRole) override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
        const QModelIndex& parent) override;
    Qt::DropActions supportedDropActions() const override;
    bool insertRows(int position, int rows, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int position, int rows, const QModelIndex& parent = QModelIndex()) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The verdicts shown in the verdict column, by CurveID; strings without one show none.
    void setVerdicts(const QHash<uint, Verdict>& verdicts);

signals:
    void modified(bool dirty);
    // The tree could not be read or written; the store hands it on to whoever shows it.
    void warning(const QString& text);

public slots:
    // Writes the whole tree in one transaction and drops curves no node refers to. On failure
    // the file keeps the tree of the last save and the document stays modified.
    bool slotSave();

private:
    struct LoadedNode;
    bool loadNodes(QString* error);
    bool loadCurvesWithoutTree(std::vector<LoadedNode>& nodes, bool hasTable, QString* error);
    // Raises the counter above an id in use; the largest possible id uses the counter up.
    void noteNodeID(qint64 id);
    qint64 allocateNodeID();
    bool failSave(QSqlQuery& query, const QString& error);
    QVariant displayValue(const TreeItem* item, int column) const;
    TreeItem* copySubtree(TreeItem* source, TreeItem* parent, int row, QSet<qint64>& moved);

    QSqlDatabase m_database;
    std::unique_ptr<TreeItem> m_root;
    qint64 m_nextNodeID = 1;
    bool m_nodeIDsExhausted = false;
    bool m_treeTableWasMissing = false;
    QStringList m_schema;
    // The drag this model started: only its data may be dropped, as it names nodes of this tree.
    mutable QPointer<QMimeData> m_dragData;
    // The NodeIDs of that drag, in the order its data names them.
    mutable QVector<qint64> m_dragNodeIDs;
    QHash<uint, Verdict> m_verdicts;
};

} // namespace IVCurve
