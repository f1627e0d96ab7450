#pragma once

#include <QItemSelection>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

namespace IVCurve {

class CurveRecord;
class CurveTreeModel;
struct CurveModuleRow;
struct STCparameters;

// The curve records of a document: reads and writes rows of the Curves table and keeps the
// records of the strings in use.
class CurveGraphModel : public QObject
{
    Q_OBJECT
public:
    CurveGraphModel(const QSqlDatabase& database, CurveTreeModel* treeModel, QObject* parent = nullptr);
    ~CurveGraphModel() override;

    static QStringList schemaStatements();
    // A module's data-sheet coefficients as the translation settings of a string of it.
    static void takeModuleDefaults(const CurveModuleRow& module, STCparameters* parameters);
    void runSchema();
    // Lets go of the prepared statements, before the connection is closed and opened again.
    void releaseStatements();

    // Writes a new curve row; its CurveID, or 0 when nothing was written.
    uint insert(const CurveRecord& record);
    // Reads one curve; null when the row is missing or the database refused.
    std::unique_ptr<CurveRecord> load(uint curveID);
    // Reads many curves in one pass over the whole table, each as load() reads it: a record for
    // each id in the order given, null where the row is missing (or the id is 0). For a
    // document's curves all at once; a few curves of a large file are quicker one by one.
    std::vector<std::unique_ptr<CurveRecord>> loadAll(const QVector<uint>& curveIDs);
    // The same, handing each record over as soon as it is read, with its place in the list, so
    // that a caller going through the curves once need not hold them all. Ids without a row
    // are left out.
    void readEach(
        const QVector<uint>& curveIDs, const std::function<void(int, std::unique_ptr<CurveRecord>)>& visit);
    // Writes the conditions, translation settings and module of a record: the cached one, or
    // the one given (a string looked at without being shown).
    bool updateDetails(uint curveID, const CurveRecord* record = nullptr);
    // Assigns a library module to a string with the given number of modules in series.
    bool assignModule(uint curveID, const CurveModuleRow& module, unsigned series);

    CurveRecord* cached(uint curveID) const;
    // The cached record, read from the file first when it is not cached yet.
    CurveRecord* cache(uint curveID);
    // Reads the curves not cached yet in one pass, as a document shown in full needs them.
    void cacheAll(const QVector<uint>& curveIDs);
    CurveTreeModel* treeModel() const { return m_treeModel; }
    // The CurveIDs of the cached strings, in the order they were loaded (the tree's order).
    QList<uint> cachedCurveIDs() const;
    // The labels of the selected rows, as the graph's title shows them.
    QString selectionLabels() const;

signals:
    // A string's lines must be drawn again: it was deselected and selected in one go.
    void signalStringSelected(uint StringID);
    void signalStringDeselected(uint StringID);
    void signalUpdateLegend(QString newTitle);
    // A string's measured conditions, translation or module were written to the file.
    void curveChanged(uint curveID);
    // A query failed or a curve was not found; the store hands it on to whoever shows it.
    void warning(const QString& text);
    void modified(bool dirty);

public slots:
    // Loads the strings of newly selected rows (folders: every string beneath) and lets go of
    // the strings of deselected ones, telling the graph which lines to add and remove.
    void slotTreeSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    // Rows about to be removed from the tree take their strings off the graph.
    void slotRowRemoved(const QModelIndex& parent, int first, int last);

private:
    // Lets go of a string; the order list is compacted by the caller when many go at once.
    void release(uint curveID, bool compact = true);
    void compactOrder();
    // Prepares the select of a curve row, followed by the given condition.
    bool prepareLoad(QSqlQuery& query, const QString& condition);
    std::unique_ptr<CurveRecord> recordFromRow(const QSqlQuery& query, uint curveID) const;
    // The coefficients of IEC 60891 procedures 2 and 4 where the file has their columns: the
    // column list of the load select, the assignments of an update and their values.
    static QString procedureColumnList(bool present);
    // Whether the file has the columns of procedures 2 and 4: asked once, again after the schema ran.
    bool hasProcedureColumns();
    QString procedureAssignments();
    void bindProcedureCoefficients(QSqlQuery& query, STCparameters& parameters) const;

    QSqlDatabase m_database;
    CurveTreeModel* m_treeModel;
    std::unordered_map<uint, std::unique_ptr<CurveRecord>> m_cache;
    QStringList m_schema;
    // Prepared once: every string shown or translated runs it.
    QSqlQuery m_loadQuery;
    QSqlQuery m_insertQuery;
    bool m_loadShapeKnown = false;
    bool m_hasFileVersion = false;
    bool m_hasProcedureColumns = false;
    bool m_procedureColumnsKnown = false;
    bool m_pointsAsUtf8 = false;
    QItemSelection m_selection;
    QList<uint> m_order;
};

} // namespace IVCurve
