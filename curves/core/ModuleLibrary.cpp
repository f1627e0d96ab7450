#include "ModuleLibrary.h"

#include "CurveConstants.h"
#include "FileNames.h"
#include "Folders.h"
#include "NumberText.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

static void initCurveResources()
{
    Q_INIT_RESOURCE(curves);
}

namespace IVCurve {

namespace {
const char* const builtInLibrary = ":/curves/modules.db";

// Numbers typed in the user's locale are stored as numbers; other texts as they are.
QVariant storeValue(const QVariant& value)
{
    if (value.userType() != QMetaType::QString)
        return value;
    return NumberText::toStore(value.toString());
}
} // namespace

ModuleLibrary& ModuleLibrary::instance()
{
    static ModuleLibrary library;
    return library;
}

void ModuleLibrary::shutdown()
{
    ModuleLibrary& library = instance();
    if (library.m_connectionName.isEmpty())
        return;
    QSqlDatabase::database(library.m_connectionName, false).close();
    QSqlDatabase::removeDatabase(library.m_connectionName);
    library.m_connectionName.clear();
    library.m_opened = false;
    library.m_byId.clear();
}

QString ModuleLibrary::libraryPath()
{
    const QString folder
        = QDir::toNativeSeparators(QFileInfo(Folders::instance()->appDataFolder()).canonicalFilePath());
    return folder + QDir::separator() + QStringLiteral("modules.db");
}

void ModuleLibrary::notify(CurveNotice::Kind kind, const QString& text)
{
    if (m_noticeHandler)
        m_noticeHandler({ kind, text });
    else
        qWarning().noquote() << text;
}

bool ModuleLibrary::seed(const QString& path)
{
    initCurveResources();
    return copyAsWritable(QLatin1String(builtInLibrary), path);
}

bool ModuleLibrary::open()
{
    if (m_opened)
        return true;
    const QString path = libraryPath();
    if (QSqlDatabase::contains(path)) {
        m_connectionName = path;
        QSqlDatabase database = QSqlDatabase::database(path, true);
        m_opened = database.isOpen();
        if (m_opened) {
            m_hasCells = database.record(QStringLiteral("Modules")).contains(QStringLiteral("Cells"));
            return true;
        }
    }
    if (!QFileInfo::exists(path) && !seed(path)) {
        notify(CurveNotice::Critical,
            QCoreApplication::translate("Error Message", "File is missing:\n %1").arg(path));
        return false;
    }
    QSqlDatabase database = QSqlDatabase::contains(path)
        ? QSqlDatabase::database(path, false)
        : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), path);
    m_connectionName = path;
    database.setDatabaseName(path);
    if (!database.open()) {
        notify(CurveNotice::Warning, database.lastError().text());
        return false;
    }
    QSqlQuery(database).exec(QStringLiteral("PRAGMA trusted_schema=OFF"));
    m_hasCells = database.record(QStringLiteral("Modules")).contains(QStringLiteral("Cells"));
    m_opened = true;
    return true;
}

bool ModuleLibrary::ensureCellsColumn()
{
    if (m_hasCells)
        return true;
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    m_hasCells = query.exec(QStringLiteral("ALTER TABLE Modules ADD COLUMN Cells INTEGER"));
    return m_hasCells;
}

QList<CurveModuleRow> ModuleLibrary::select(const QString& condition)
{
    QList<CurveModuleRow> rows;
    if (!open())
        return rows;
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral(
                        "SELECT _id, Description , Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, UserModule, "
                        "Favourite, %1 FROM Modules WHERE (")
                        .arg(m_hasCells ? QStringLiteral("Cells") : QStringLiteral("NULL"))
            + condition + QStringLiteral(") ORDER BY Description ;"))) {
        notify(CurveNotice::Warning, query.lastError().text());
        return rows;
    }
    // Columns of the select, placed by name into the row's order.
    const CurveModuleRow::Field fields[] = { CurveModuleRow::Id, CurveModuleRow::Description,
        CurveModuleRow::Isc, CurveModuleRow::Voc, CurveModuleRow::Imp, CurveModuleRow::Vmp,
        CurveModuleRow::Alpha, CurveModuleRow::Beta, CurveModuleRow::Delta, CurveModuleRow::Rs,
        CurveModuleRow::UserModule, CurveModuleRow::Favourite, CurveModuleRow::Cells };
    while (query.next()) {
        CurveModuleRow row;
        for (int i = 0; i < CurveModuleRow::FieldCount; ++i)
            row.setValue(fields[i], query.value(i));
        row.id = query.value(0).toUInt();
        rows.append(row);
    }
    return rows;
}

bool ModuleLibrary::module(uint id, CurveModuleRow* row)
{
    const auto found = m_byId.constFind(id);
    if (found != m_byId.constEnd() && m_opened) {
        *row = found.value();
        return true;
    }
    const QList<CurveModuleRow> rows = select(QStringLiteral("_id=") + QString::number(id));
    if (rows.size() != 1)
        return false;
    *row = rows.first();
    m_byId.insert(id, *row);
    return true;
}

namespace {
QString insertStatement()
{
    return QStringLiteral(
        "INSERT INTO Modules (Description , Isc, Voc, Imp, Vmp, alpha, beta, delta, Rs, Cells, "
        "UserModule, Favourite) VALUES (:desc , :Isc, :Voc, :Imp, :Vmp, :alpha, :beta, "
        ":delta, :Rs, :Cells, :UserModule, :Favourite);");
}

// The data-sheet values; both the insert and the update statement name them alike.
void bindModuleValues(QSqlQuery& query, const CurveModuleRow& row)
{
    query.bindValue(QStringLiteral(":Isc"), storeValue(row.value(CurveModuleRow::Isc)));
    query.bindValue(QStringLiteral(":Voc"), storeValue(row.value(CurveModuleRow::Voc)));
    query.bindValue(QStringLiteral(":Imp"), storeValue(row.value(CurveModuleRow::Imp)));
    query.bindValue(QStringLiteral(":Vmp"), storeValue(row.value(CurveModuleRow::Vmp)));
    query.bindValue(QStringLiteral(":alpha"), storeValue(row.value(CurveModuleRow::Alpha)));
    query.bindValue(QStringLiteral(":beta"), storeValue(row.value(CurveModuleRow::Beta)));
    query.bindValue(QStringLiteral(":delta"), storeValue(row.value(CurveModuleRow::Delta)));
    query.bindValue(QStringLiteral(":Rs"), storeValue(row.value(CurveModuleRow::Rs)));
    const QVariant cells = row.value(CurveModuleRow::Cells);
    query.bindValue(QStringLiteral(":Cells"), cells.isNull() ? QVariant(QVariant::Int) : cells);
}
} // namespace

uint ModuleLibrary::insert(const CurveModuleRow& row)
{
    if (!open() || !ensureCellsColumn())
        return 0;
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    if (!query.prepare(insertStatement()))
        return 0;
    query.bindValue(QStringLiteral(":desc"), row.value(CurveModuleRow::Description).toString());
    bindModuleValues(query, row);
    query.bindValue(QStringLiteral(":UserModule"), row.value(CurveModuleRow::UserModule).toBool());
    query.bindValue(QStringLiteral(":Favourite"), row.value(CurveModuleRow::Favourite).toBool());
    m_byId.clear();
    if (!query.exec())
        return 0;
    return query.lastInsertId().toUInt();
}

bool ModuleLibrary::update(const CurveModuleRow& row)
{
    if (!open() || !ensureCellsColumn())
        return false;
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    if (!query.prepare(
            QStringLiteral("UPDATE Modules SET Description = :Desc,Isc = :Isc,Voc = :Voc,Imp = :Imp,"
                           "Vmp = :Vmp,alpha = :alpha,beta = :beta,delta = :delta,Rs = :Rs,Cells = :Cells,"
                           "UserModule = :Usr,Favourite = :Fav WHERE _id = :id;")))
        return false;
    query.bindValue(QStringLiteral(":Desc"), row.value(CurveModuleRow::Description).toString());
    bindModuleValues(query, row);
    query.bindValue(QStringLiteral(":Usr"), row.value(CurveModuleRow::UserModule).toBool());
    query.bindValue(QStringLiteral(":Fav"), row.value(CurveModuleRow::Favourite).toBool());
    query.bindValue(QStringLiteral(":id"), row.id);
    m_byId.remove(row.id);
    return query.exec() && query.numRowsAffected() == 1;
}

bool ModuleLibrary::remove(uint id)
{
    if (!open())
        return false;
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    if (!query.prepare(QStringLiteral("DELETE FROM Modules WHERE _id = :id;")))
        return false;
    query.bindValue(QStringLiteral(":id"), id);
    m_byId.remove(id);
    return query.exec();
}

bool ModuleLibrary::importModules(const QList<CurveModuleRow>& modules, ImportCount* count, QString* error)
{
    *count = ImportCount();
    if (!open() || !ensureCellsColumn()) {
        *error = QSqlDatabase::database(m_connectionName, false).lastError().text();
        return false;
    }
    QSqlDatabase database = QSqlDatabase::database(m_connectionName, false);
    QHash<QString, uint> listed;
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral(
            "SELECT _id, Description FROM Modules WHERE UserModule=0 OR UserModule IS NULL"))) {
        *error = query.lastError().text();
        return false;
    }
    while (query.next())
        listed.insert(query.value(1).toString(), query.value(0).toUInt());
    database.transaction();
    QSqlQuery insert(database);
    QSqlQuery update(database);
    bool ok = insert.prepare(insertStatement())
        && update.prepare(QStringLiteral("UPDATE Modules SET Isc = :Isc,Voc = :Voc,Imp = :Imp,Vmp = :Vmp,"
                                         "alpha = :alpha,beta = :beta,delta = :delta,Rs = :Rs,Cells = :Cells "
                                         "WHERE _id = :id;"));
    for (int i = 0; ok && i < modules.size(); ++i) {
        const CurveModuleRow& module = modules.at(i);
        const QString description = module.value(CurveModuleRow::Description).toString();
        const auto existing = listed.constFind(description);
        if (existing != listed.constEnd()) {
            bindModuleValues(update, module);
            update.bindValue(QStringLiteral(":id"), existing.value());
            ok = update.exec();
            count->updated += ok ? 1 : 0;
            continue;
        }
        insert.bindValue(QStringLiteral(":desc"), description);
        bindModuleValues(insert, module);
        insert.bindValue(QStringLiteral(":UserModule"), false);
        insert.bindValue(QStringLiteral(":Favourite"), false);
        ok = insert.exec();
        if (ok) {
            listed.insert(description, insert.lastInsertId().toUInt());
            ++count->added;
        }
    }
    m_byId.clear();
    if (!ok) {
        *error = (insert.lastError().isValid() ? insert.lastError() : update.lastError()).text();
        database.rollback();
        *count = ImportCount();
        return false;
    }
    if (!database.commit()) {
        *error = database.lastError().text();
        database.rollback();
        *count = ImportCount();
        return false;
    }
    return true;
}

} // namespace IVCurve
