#include "CurveGraphModel.h"

#include "CurveConstants.h"
#include "CurveModuleRow.h"
#include "CurvePointsCodec.h"
#include "CurveRecord.h"
#include "CurveTreeModel.h"
#include "ModuleLibrary.h"
#include "NumberText.h"
#include "StringColours.h"
#include "TreeItem.h"

#include <QCoreApplication>
#include <QSet>
#include <QSqlError>
#include <QSqlRecord>
#include <algorithm>
#include <array>
#include <climits>
#include <utility>
#include <vector>

namespace IVCurve {

namespace {
// An empty text is stored as an empty text, not as NULL.
QString bindable(const QString& text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

// Placeholders of the measured values, in CurveRecord::Value order.
const char* const valuePlaceholders[CurveRecord::ValueCount]
    = { ":Irr", ":Amb", ":Cell", ":Voc", ":Isc", ":Riso", ":Viso", ":Iclamp", ":Rpe", ":FF", ":Vmp", ":Imp" };

// Column positions of the load select.
enum LoadColumn {
    ColCurveID = 0,
    ColCurvePoints,
    ColMemLocation,
    ColTestDate,
    ColTesterSerNo,
    ColFirstValue,
    ColAlgorithm = ColFirstValue + CurveRecord::ValueCount,
    ColAlpha,
    ColBeta,
    ColDelta,
    ColA,
    ColB,
    ColK,
    ColRs,
    ColModuleID,
    ColModuleSeries,
    ColModuleParallel,
    ColFileVersion,
    ColFirstProcedureCoefficient
};

// The coefficients of IEC 60891 procedures 2 and 4, in STCparameters order; files written
// before these procedures gain the columns when they are opened for writing.
const char* const procedureColumns[] = { "IEC2_alpha", "IEC2_beta", "IEC2_a", "IEC2_Rs", "IEC2_kappa",
    "IEC4_alpha", "IEC4_Rs", "IEC4_cells", "IEC4_epsilon" };
constexpr int ProcedureColumnCount = int(sizeof(procedureColumns) / sizeof(procedureColumns[0]));

std::array<QString*, ProcedureColumnCount> procedureCoefficients(STCparameters& p)
{
    return { &p.iec2AlphaRel, &p.iec2BetaRel, &p.iec2A, &p.iec2Rs, &p.iec2Kappa, &p.iec4Alpha, &p.iec4Rs,
        &p.iec4Cells, &p.iec4Epsilon };
}

// A coefficient column replaces the default only when it holds a number.
void readCoefficient(const QVariant& value, QString& target)
{
    if (value.isNull())
        return;
    bool ok = false;
    const double number = NumberText::fromVariant(value, &ok);
    if (ok)
        target = NumberText::format(number);
}
} // namespace

CurveGraphModel::CurveGraphModel(const QSqlDatabase& database, CurveTreeModel* treeModel, QObject* parent)
    : QObject(parent)
    , m_database(database)
    , m_treeModel(treeModel)
    , m_schema(schemaStatements())
    , m_loadQuery(database)
    , m_insertQuery(database)
{ }

CurveGraphModel::~CurveGraphModel() = default;

QStringList CurveGraphModel::schemaStatements()
{
    QStringList statements {
        QStringLiteral(
            "CREATE TABLE if not exists Curves (CurveID INTEGER PRIMARY KEY,\t\t\tCurvePoints TEXT,\t\t\t"
            "MemLocation INTEGER,\t\t\tTestDate INTEGER,\t\t\tTesterSerNo TEXT,\t\t\t"
            "Irradiance REAL,\t\t\tAmbientTemp REAL,\t\t\tCellTemp REAL,\t\t\tVoc REAL,\t\t\t"
            "Isc REAL,\t\t\tRiso REAL,\t\t\tViso REAL,\t\t\tIclamp REAL,\t\t\tRpe REAL,\t\t\t"
            "FF REAL,\t\t\tVmp REAL,\t\t\tImp REAL,\t\t\tSTCAlgorithm INTEGER,\t\t\t"
            "STC_alpha REAL,\t\t\tSTC_beta REAL,\t\t\tSTC_delta REAL,\t\t\tSTC_a REAL,\t\t\t"
            "STC_b REAL,\t\t\tSTC_K REAL,\t\t\tSTC_Rs REAL,\t\t\tModuleID INTEGER,\t\t\t"
            "ModuleSeries INTEGER,\t\t\tModuleParallel INTEGER)"),
        QStringLiteral("ALTER TABLE Curves ADD COLUMN Fileversion INTEGER;")
    };
    for (const char* column : procedureColumns)
        statements.append(
            QStringLiteral("ALTER TABLE Curves ADD COLUMN %1 REAL;").arg(QLatin1String(column)));
    return statements;
}

void CurveGraphModel::runSchema()
{
    // Errors are expected: the ALTER fails on files that have the column already.
    QSqlQuery query(m_database);
    for (const QString& statement : qAsConst(m_schema))
        query.exec(statement);
    m_procedureColumnsKnown = false;
}

uint CurveGraphModel::insert(const CurveRecord& record)
{
    if (!m_database.isOpen())
        return 0;
    if (m_insertQuery.lastQuery().isEmpty()) {
        if (!m_insertQuery.prepare(QStringLiteral(
                "INSERT INTO Curves (MemLocation,TestDate,TesterSerNo,Irradiance,AmbientTemp,CellTemp,Voc, "
                "Isc, Riso, Viso, Iclamp, Rpe, FF, Vmp, Imp, CurvePoints, FileVersion) VALUES (:MemLoc,"
                ":Date,:SerNo,:Irr,:Amb,:Cell,:Voc, :Isc, :Riso, :Viso, :Iclamp, :Rpe, :FF, :Vmp, "
                ":Imp, :CurvePoints, :FileVersion);"))) {
            const QString error = m_insertQuery.lastError().text();
            m_insertQuery = QSqlQuery(m_database);
            emit warning(error);
            return 0;
        }
    }
    m_insertQuery.bindValue(QStringLiteral(":MemLoc"), qlonglong(record.memLocation));
    m_insertQuery.bindValue(QStringLiteral(":Date"), bindable(record.testDate));
    m_insertQuery.bindValue(QStringLiteral(":SerNo"), bindable(record.testerSerNo));
    for (int v = 0; v < CurveRecord::ValueCount; ++v)
        m_insertQuery.bindValue(QLatin1String(valuePlaceholders[v]),
            bindable(NumberText::toStore(record.value(CurveRecord::Value(v)))));
    m_insertQuery.bindValue(
        QStringLiteral(":CurvePoints"), bindable(CurvePointsCodec::encode(record.measured())));
    m_insertQuery.bindValue(QStringLiteral(":FileVersion"), qlonglong(record.fileVersion));
    if (!m_insertQuery.exec()) {
        emit warning(m_insertQuery.lastError().text());
        return 0;
    }
    // SQLite numbers a new row one above the largest CurveID in the file, which a foreign file
    // may have put beyond what a CurveID can hold; the row could never be found again.
    const QVariant rowID = m_insertQuery.lastInsertId();
    bool ok = false;
    const uint curveID = NumberText::toUnsigned(rowID, &ok);
    if (!ok || curveID == 0) {
        QSqlQuery remove(m_database);
        remove.prepare(QStringLiteral("DELETE FROM Curves WHERE CurveID = ?"));
        remove.addBindValue(rowID);
        remove.exec();
        emit warning(
            QCoreApplication::translate("Error Message", "The curve file has no room for another curve."));
        return 0;
    }
    return curveID;
}

bool CurveGraphModel::prepareLoad(QSqlQuery& query, const QString& condition)
{
    query.setForwardOnly(true);
    if (!m_loadShapeKnown) {
        // A file from before the FileVersion column that could not be upgraded (it is
        // read-only) reads as version 0.
        const QSqlRecord columns = m_database.record(QStringLiteral("Curves"));
        m_hasFileVersion = columns.contains(QStringLiteral("FileVersion"));
        // The point list is read as the bytes the file holds when they are UTF-8, sparing the
        // conversion of every point list to UTF-16 on its way to the decoder.
        QSqlQuery encoding(m_database);
        m_pointsAsUtf8 = encoding.exec(QStringLiteral("PRAGMA encoding")) && encoding.next()
            && encoding.value(0).toString() == QLatin1String("UTF-8");
        encoding.finish();
    }
    if (query.prepare(
            QStringLiteral("SELECT CurveID, %2, MemLocation, TestDate, TesterSerNo, Irradiance, "
                           "AmbientTemp, CellTemp, Voc, Isc, Riso, Viso, Iclamp, Rpe, FF, Vmp, Imp, "
                           "STCAlgorithm, STC_alpha, STC_beta, STC_delta, STC_a, STC_b, STC_K, "
                           "STC_Rs, ModuleID, ModuleSeries, ModuleParallel, %1, %3 FROM Curves ")
                .arg(m_hasFileVersion ? QStringLiteral("FileVersion") : QStringLiteral("0"),
                    m_pointsAsUtf8 ? QStringLiteral("CAST(CurvePoints AS BLOB)")
                                   : QStringLiteral("CurvePoints"),
                    procedureColumnList(hasProcedureColumns()))
            + condition)) {
        // Asked again after a failure: the table may have been made since.
        m_loadShapeKnown = true;
        return true;
    }
    const QString error = query.lastError().text();
    query = QSqlQuery(m_database);
    emit warning(error);
    return false;
}

std::unique_ptr<CurveRecord> CurveGraphModel::load(uint curveID)
{
    if (!m_database.isOpen())
        return nullptr;
    if (m_loadQuery.lastQuery().isEmpty() && !prepareLoad(m_loadQuery, QStringLiteral("WHERE CurveID = ?")))
        return nullptr;
    m_loadQuery.addBindValue(curveID);
    if (!m_loadQuery.exec()) {
        emit warning(m_loadQuery.lastError().text());
        return nullptr;
    }
    if (!m_loadQuery.next()) {
        m_loadQuery.finish();
        return nullptr;
    }
    std::unique_ptr<CurveRecord> record = recordFromRow(m_loadQuery, curveID);
    m_loadQuery.finish();
    return record;
}

void CurveGraphModel::readEach(
    const QVector<uint>& curveIDs, const std::function<void(int, std::unique_ptr<CurveRecord>)>& visit)
{
    if (!m_database.isOpen() || curveIDs.isEmpty())
        return;
    // The places each curve goes to, by CurveID. The whole table is read once, in whatever order
    // the file gives: a range or an order on CurveID could miss rows of a file whose CurveID
    // column compares as text.
    std::vector<std::pair<uint, int>> wanted;
    wanted.reserve(std::size_t(curveIDs.size()));
    for (int i = 0; i < curveIDs.size(); ++i) {
        if (curveIDs.at(i) != 0)
            wanted.emplace_back(curveIDs.at(i), i);
    }
    if (wanted.empty())
        return;
    std::sort(wanted.begin(), wanted.end());
    QSqlQuery query(m_database);
    if (!prepareLoad(query, QString()))
        return;
    if (!query.exec()) {
        emit warning(query.lastError().text());
        return;
    }
    // Of two rows with one CurveID (a file without its key) the first counts, as for load().
    std::vector<bool> done(wanted.size(), false);
    std::size_t remaining = wanted.size();
    while (remaining > 0 && query.next()) {
        bool ok = false;
        const uint curveID = NumberText::toUnsigned(query.value(ColCurveID), &ok);
        if (!ok)
            continue;
        const auto first = std::lower_bound(wanted.cbegin(), wanted.cend(), std::make_pair(curveID, -1));
        // A curve asked for twice is handed over in each place, a record of its own each time.
        for (auto place = first; place != wanted.cend() && place->first == curveID; ++place) {
            const std::size_t n = std::size_t(place - wanted.cbegin());
            if (done[n])
                break;
            done[n] = true;
            --remaining;
            visit(place->second, recordFromRow(query, curveID));
        }
    }
    query.finish();
}

std::vector<std::unique_ptr<CurveRecord>> CurveGraphModel::loadAll(const QVector<uint>& curveIDs)
{
    std::vector<std::unique_ptr<CurveRecord>> records(std::size_t(curveIDs.size()));
    readEach(curveIDs, [&records](int place, std::unique_ptr<CurveRecord> record) {
        records[std::size_t(place)] = std::move(record);
    });
    return records;
}

std::unique_ptr<CurveRecord> CurveGraphModel::recordFromRow(const QSqlQuery& q, uint curveID) const
{
    auto record = std::make_unique<CurveRecord>();
    // Whole numbers out of range are missing, never wrapped: a negative memory location is not
    // location 4294967291, and a ModuleID of 3.7 is no module rather than module 4.
    record->curveID = curveID;
    record->memLocation = NumberText::toUnsigned(q.value(ColMemLocation));
    record->fileVersion = NumberText::toUnsigned(q.value(ColFileVersion));
    record->testDate = q.value(ColTestDate).toString();
    record->testerSerNo = q.value(ColTesterSerNo).toString();
    for (int v = 0; v < CurveRecord::ValueCount; ++v)
        record->setValue(CurveRecord::Value(v), NumberText::toDisplay(q.value(ColFirstValue + v)));

    STCparameters parameters;
    bool ok = false;
    const uint algorithm = NumberText::toUnsigned(q.value(ColAlgorithm), &ok);
    // A code the program does not know falls back to the default method, like a missing one.
    parameters.algorithm = ok && algorithm <= AlgorithmLast ? quint8(algorithm) : quint8(AlgorithmAnderson);
    readCoefficient(q.value(ColAlpha), parameters.alpha);
    readCoefficient(q.value(ColBeta), parameters.beta);
    readCoefficient(q.value(ColDelta), parameters.delta);
    readCoefficient(q.value(ColA), parameters.a);
    readCoefficient(q.value(ColB), parameters.b);
    readCoefficient(q.value(ColK), parameters.K);
    readCoefficient(q.value(ColRs), parameters.Rs);
    const auto coefficients = procedureCoefficients(parameters);
    for (int i = 0; i < ProcedureColumnCount; ++i)
        readCoefficient(q.value(ColFirstProcedureCoefficient + i), *coefficients[std::size_t(i)]);
    record->setSTCparameters(parameters);

    const uint moduleID = NumberText::toUnsigned(q.value(ColModuleID), &ok);
    if (ok && moduleID > 0 && moduleID <= uint(INT_MAX)) {
        ModuleAssignment module;
        CurveModuleRow row;
        if (ModuleLibrary::instance().module(moduleID, &row))
            module.setModule(row);
        else
            module.moduleID = int(moduleID);
        const uint series = NumberText::toUnsigned(q.value(ColModuleSeries), &ok);
        if (ok && series != 0)
            module.ns = series;
        const uint parallel = NumberText::toUnsigned(q.value(ColModuleParallel), &ok);
        if (ok && parallel != 0)
            module.np = parallel;
        record->setModuleAssignment(module);
    }
    if (m_pointsAsUtf8)
        CurvePointsCodec::decodeUtf8(q.value(ColCurvePoints).toByteArray(), record->measured());
    else
        CurvePointsCodec::decode(q.value(ColCurvePoints).toString(), record->measured());
    record->measured().recomputeMaxPowerIndex();
    return record;
}

void CurveGraphModel::releaseStatements()
{
    m_loadQuery = QSqlQuery(m_database);
    m_insertQuery = QSqlQuery(m_database);
}

bool CurveGraphModel::updateDetails(uint curveID, const CurveRecord* given)
{
    if (!m_database.isOpen())
        return false;
    const CurveRecord* record = given ? given : cached(curveID);
    if (!record) {
        emit warning(QCoreApplication::translate("Error Message", "IV curve data not found in collection"));
        return false;
    }
    QSqlQuery query(m_database);
    if (!query.prepare(QStringLiteral(
            "UPDATE Curves SET STCAlgorithm = :alg,STC_alpha = :alpha,STC_beta = :beta,STC_delta = "
            ":delta,STC_a = :a,"
            "STC_b = :b,STC_K = :K,STC_Rs = :Rs,ModuleID = :ModuleID,ModuleSeries = :series,ModuleParallel = "
            ":parallel,Irradiance = :G,AmbientTemp = :Ta,CellTemp = :Tpv%1 WHERE CurveID = :CurveID;")
                           .arg(procedureAssignments()))) {
        emit warning(query.lastError().text());
        return false;
    }
    STCparameters p = record->stcParameters();
    bindProcedureCoefficients(query, p);
    const ModuleAssignment& m = record->module();
    query.bindValue(QStringLiteral(":alg"), int(p.algorithm));
    query.bindValue(QStringLiteral(":alpha"), bindable(NumberText::toStore(p.alpha)));
    query.bindValue(QStringLiteral(":beta"), bindable(NumberText::toStore(p.beta)));
    query.bindValue(QStringLiteral(":delta"), bindable(NumberText::toStore(p.delta)));
    query.bindValue(QStringLiteral(":a"), bindable(NumberText::toStore(p.a)));
    query.bindValue(QStringLiteral(":b"), bindable(NumberText::toStore(p.b)));
    query.bindValue(QStringLiteral(":K"), bindable(NumberText::toStore(p.K)));
    query.bindValue(QStringLiteral(":Rs"), bindable(NumberText::toStore(p.Rs)));
    query.bindValue(QStringLiteral(":ModuleID"), m.moduleID);
    query.bindValue(QStringLiteral(":series"), m.ns);
    query.bindValue(QStringLiteral(":parallel"), m.np);
    query.bindValue(
        QStringLiteral(":G"), bindable(NumberText::toStore(record->value(CurveRecord::Irradiance))));
    query.bindValue(
        QStringLiteral(":Ta"), bindable(NumberText::toStore(record->value(CurveRecord::AmbientTemp))));
    query.bindValue(
        QStringLiteral(":Tpv"), bindable(NumberText::toStore(record->value(CurveRecord::CellTemp))));
    query.bindValue(QStringLiteral(":CurveID"), curveID);
    if (!query.exec()) {
        emit warning(query.lastError().text());
        return false;
    }
    emit curveChanged(curveID);
    return true;
}

void CurveGraphModel::takeModuleDefaults(const CurveModuleRow& module, STCparameters* parameters)
{
    auto take = [&module](CurveModuleRow::Field field, double* value) {
        bool ok = false;
        *value = NumberText::fromVariant(module.value(field), &ok);
        return ok;
    };
    double alpha = 0.0;
    double beta = 0.0;
    double delta = 0.0;
    double rs = 0.0;
    double isc = 0.0;
    double voc = 0.0;
    double cells = 0.0;
    if (take(CurveModuleRow::Alpha, &alpha)) {
        parameters->alpha = NumberText::format(alpha);
        parameters->iec4Alpha = parameters->alpha;
        if (take(CurveModuleRow::Isc, &isc) && isc > 0.0)
            parameters->iec2AlphaRel = NumberText::format(alpha / isc * 100.0);
    }
    if (take(CurveModuleRow::Beta, &beta)) {
        parameters->beta = NumberText::format(beta);
        if (take(CurveModuleRow::Voc, &voc) && voc > 0.0)
            parameters->iec2BetaRel = NumberText::format(beta / voc * 100.0);
    }
    if (take(CurveModuleRow::Delta, &delta))
        parameters->delta = NumberText::format(delta);
    if (take(CurveModuleRow::Rs, &rs)) {
        parameters->Rs = NumberText::format(rs);
        parameters->iec2Rs = parameters->Rs;
        parameters->iec4Rs = parameters->Rs;
    }
    if (take(CurveModuleRow::Cells, &cells) && cells >= 1.0)
        parameters->iec4Cells = NumberText::format(cells);
}

QString CurveGraphModel::procedureColumnList(bool present)
{
    QStringList list;
    for (const char* column : procedureColumns)
        list.append(present ? QLatin1String(column) : QLatin1String("NULL"));
    return list.join(QStringLiteral(", "));
}

bool CurveGraphModel::hasProcedureColumns()
{
    // A file opened read-only keeps its old columns; it takes no writes anyway.
    if (!m_procedureColumnsKnown) {
        const QSqlRecord columns = m_database.record(QStringLiteral("Curves"));
        m_hasProcedureColumns = std::all_of(std::begin(procedureColumns), std::end(procedureColumns),
            [&columns](const char* column) { return columns.contains(QLatin1String(column)); });
        m_procedureColumnsKnown = true;
    }
    return m_hasProcedureColumns;
}

QString CurveGraphModel::procedureAssignments()
{
    QString assignments;
    if (hasProcedureColumns()) {
        for (const char* column : procedureColumns)
            assignments += QStringLiteral(",%1 = :%1").arg(QLatin1String(column));
    }
    return assignments;
}

void CurveGraphModel::bindProcedureCoefficients(QSqlQuery& query, STCparameters& p) const
{
    if (!m_hasProcedureColumns)
        return;
    const auto coefficients = procedureCoefficients(p);
    for (int i = 0; i < ProcedureColumnCount; ++i)
        query.bindValue(QLatin1Char(':') + QLatin1String(procedureColumns[i]),
            bindable(NumberText::toStore(*coefficients[std::size_t(i)])));
}

bool CurveGraphModel::assignModule(uint curveID, const CurveModuleRow& module, unsigned series)
{
    if (!m_database.isOpen())
        return false;
    QSqlQuery query(m_database);
    CurveRecord* record = cached(curveID);
    STCparameters parameters = record ? record->stcParameters() : STCparameters();
    takeModuleDefaults(module, &parameters);
    if (!query.prepare(
            QStringLiteral("UPDATE Curves SET STC_alpha = :alpha,STC_beta = :beta,STC_delta = :delta,"
                           "STC_Rs = :Rs,ModuleID = :ModuleID,ModuleSeries = :series,ModuleParallel = "
                           ":parallel%1 WHERE CurveID = :CurveID;")
                .arg(procedureAssignments()))) {
        emit warning(query.lastError().text());
        return false;
    }
    bindProcedureCoefficients(query, parameters);
    query.bindValue(QStringLiteral(":alpha"), module.value(CurveModuleRow::Alpha));
    query.bindValue(QStringLiteral(":beta"), module.value(CurveModuleRow::Beta));
    query.bindValue(QStringLiteral(":delta"), module.value(CurveModuleRow::Delta));
    query.bindValue(QStringLiteral(":Rs"), module.value(CurveModuleRow::Rs));
    query.bindValue(QStringLiteral(":ModuleID"), module.id);
    query.bindValue(QStringLiteral(":series"), series);
    query.bindValue(QStringLiteral(":parallel"), 1);
    query.bindValue(QStringLiteral(":CurveID"), curveID);
    if (!query.exec()) {
        emit warning(query.lastError().text());
        return false;
    }
    if (!record)
        return true;
    ModuleAssignment assignment;
    assignment.setModule(module);
    assignment.ns = series;
    assignment.np = 1;
    record->setModuleAssignment(assignment);
    record->setSTCparameters(parameters);
    record->invalidateTranslations();
    emit curveChanged(curveID);
    emit signalStringDeselected(curveID);
    emit signalStringSelected(curveID);
    return true;
}

CurveRecord* CurveGraphModel::cached(uint curveID) const
{
    const auto found = m_cache.find(curveID);
    return found == m_cache.end() ? nullptr : found->second.get();
}

CurveRecord* CurveGraphModel::cache(uint curveID)
{
    if (CurveRecord* record = cached(curveID))
        return record;
    std::unique_ptr<CurveRecord> record = load(curveID);
    if (!record)
        return nullptr;
    CurveRecord* raw = record.get();
    m_cache[curveID] = std::move(record);
    m_order.append(curveID);
    return raw;
}

QList<uint> CurveGraphModel::cachedCurveIDs() const
{
    return m_order;
}

QString CurveGraphModel::selectionLabels() const
{
    QStringList labels;
    for (const QModelIndex& index : m_selection.indexes()) {
        if (index.column() == 0)
            labels << index.data().toString();
    }
    return labels.join(QStringLiteral(", "));
}

void CurveGraphModel::release(uint curveID, bool compact)
{
    if (!cached(curveID))
        return;
    emit signalStringDeselected(curveID);
    m_cache.erase(curveID);
    if (compact)
        m_order.removeOne(curveID);
}

void CurveGraphModel::compactOrder()
{
    // One pass for a whole folder let go, rather than a search of the list for each string.
    m_order.erase(std::remove_if(m_order.begin(), m_order.end(), [this](uint id) { return !cached(id); }),
        m_order.end());
}

void CurveGraphModel::slotTreeSelectionChanged(
    const QItemSelection& selected, const QItemSelection& deselected)
{
    m_selection.merge(deselected, QItemSelectionModel::Deselect);
    // Trees can be deep: walked with a stack, not by recursion.
    std::vector<QModelIndex> pending;
    for (const QModelIndex& index : deselected.indexes()) {
        if (index.column() == 0)
            pending.push_back(index);
    }
    while (!pending.empty()) {
        const QModelIndex index = pending.back();
        pending.pop_back();
        release(m_treeModel->itemFromIndex(index)->data(TreeCurveID).toUInt(), false);
        const int rows = m_treeModel->rowCount(index);
        for (int row = 0; row < rows; ++row) {
            const QModelIndex child = m_treeModel->index(row, 0, index);
            if (!m_selection.contains(child))
                pending.push_back(child);
        }
    }
    compactOrder();

    m_selection.merge(selected, QItemSelectionModel::Select);
    for (const QModelIndex& index : selected.indexes()) {
        if (index.column() == 0)
            pending.push_back(index);
    }
    // Children are visited in order, so that colours are handed out top to bottom.
    std::reverse(pending.begin(), pending.end());
    while (!pending.empty()) {
        const QModelIndex index = pending.back();
        pending.pop_back();
        TreeItem* item = m_treeModel->itemFromIndex(index);
        const uint curveID = item->data(TreeCurveID).toUInt();
        if (curveID != 0 && !cached(curveID)) {
            if (CurveRecord* record = cache(curveID)) {
                if (!item->colour().isValid())
                    item->setColour(StringColours::instance().next());
                record->colour = item->colour();
                record->label = item->data(TreeLabel).toString();
                emit signalStringSelected(curveID);
            }
        }
        for (int row = m_treeModel->rowCount(index) - 1; row >= 0; --row)
            pending.push_back(m_treeModel->index(row, 0, index));
    }
    emit signalUpdateLegend(selectionLabels());
}

void CurveGraphModel::slotRowRemoved(const QModelIndex& parent, int first, int last)
{
    std::vector<QModelIndex> pending;
    for (int row = first; row <= last; ++row)
        pending.push_back(m_treeModel->index(row, 0, parent));
    while (!pending.empty()) {
        const QModelIndex index = pending.back();
        pending.pop_back();
        if (!index.isValid())
            continue;
        release(m_treeModel->itemFromIndex(index)->data(TreeCurveID).toUInt(), false);
        for (int row = 0; row < m_treeModel->rowCount(index); ++row)
            pending.push_back(m_treeModel->index(row, 0, index));
    }
    compactOrder();
}

void CurveGraphModel::cacheAll(const QVector<uint>& curveIDs)
{
    QVector<uint> missing;
    QSet<uint> seen;
    for (uint curveID : curveIDs) {
        if (curveID != 0 && !cached(curveID) && !seen.contains(curveID)) {
            seen.insert(curveID);
            missing.append(curveID);
        }
    }
    std::vector<std::unique_ptr<CurveRecord>> records = loadAll(missing);
    for (int i = 0; i < missing.size(); ++i) {
        if (!records[std::size_t(i)])
            continue;
        // Kept in step with cache(): the order is what the report and the tracker list.
        m_cache[missing.at(i)] = std::move(records[std::size_t(i)]);
        m_order.append(missing.at(i));
    }
}

} // namespace IVCurve
