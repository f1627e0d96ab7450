#include "CurveStore.h"

#include "CurveConstants.h"
#include "CurveGraphModel.h"
#include "CurveTreeModel.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <cmath>
#include <cstdio>
#include <sys/stat.h>
#include <utility>

namespace IVCurve {

namespace {
// The first 16 bytes of every SQLite 3 database file.
const char sqliteHeader[] = "SQLite format 3";

QString uniqueConnectionName(const QString& filePath)
{
    QString name = filePath;
    for (int n = 2; QSqlDatabase::contains(name); ++n)
        name = QStringLiteral("%1#%2").arg(filePath).arg(n);
    return name;
}
} // namespace

CurveStore::CurveStore(const QString& filePath, Access access)
{
    QString error;
    if (!open(filePath, access, &error)) {
        notify({ CurveNotice::Critical, error });
        if (m_database.isValid())
            m_database.close();
        m_database = QSqlDatabase();
        if (!m_connectionName.isEmpty())
            QSqlDatabase::removeDatabase(m_connectionName);
        return;
    }
    m_opened = true;
    m_treeModel = std::make_unique<CurveTreeModel>(m_database);
    m_graphModel = std::make_unique<CurveGraphModel>(m_database, m_treeModel.get());
    // The store owns both models, so the connections end with them.
    QObject::connect(m_treeModel.get(), &CurveTreeModel::warning, [this](const QString& text) {
        notify({ CurveNotice::Warning, text });
    });
    QObject::connect(m_graphModel.get(), &CurveGraphModel::warning, [this](const QString& text) {
        notify({ CurveNotice::Warning, text });
    });
    // A read-only file is shown as it is: an older one is not upgraded, and is read as it stands.
    if (!m_readOnly) {
        m_graphModel->runSchema();
        m_treeModel->runSchema();
    }
    m_treeModel->loadTree();
    // A user who chose to open it read-only needs no telling.
    if (m_readOnly && access == Access::AsFileAllows)
        notify(readOnlyNotice());
}

CurveNotice CurveStore::readOnlyNotice() const
{
    return { CurveNotice::Information,
        QCoreApplication::translate("Informative Message",
            "The file is read-only. It is shown as it is, and changes to it cannot be saved:\n %1")
            .arg(m_filePath) };
}

void CurveStore::setNoticeHandler(const CurveNoticeHandler& handler)
{
    m_noticeHandler = handler;
    if (!m_noticeHandler)
        return;
    const QVector<CurveNotice> held = std::exchange(m_heldNotices, {});
    for (const CurveNotice& notice : held)
        m_noticeHandler(notice);
}

void CurveStore::notify(const CurveNotice& notice)
{
    if (m_noticeHandler)
        m_noticeHandler(notice);
    else if (m_heldNotices.size() < maxHeldNotices)
        m_heldNotices.append(notice);
    else
        qWarning().noquote() << notice.text;
}

bool CurveStore::open(const QString& filePath, Access access, QString* error)
{
    // The driver creates an empty database for a missing path and opens any file without
    // complaint, so the file is checked before the driver sees it.
    QFile file(filePath);
    if (!QFileInfo(filePath).isFile() || !file.open(QIODevice::ReadOnly)) {
        *error = QCoreApplication::translate("Error Message", "File is missing:\n %1").arg(filePath);
        return false;
    }
    const QByteArray header = file.read(sizeof sqliteHeader);
    file.close();
    if (header != QByteArray(sqliteHeader, sizeof sqliteHeader)) {
        *error = QCoreApplication::translate("Error Message", "The file is not an IV curve database:\n %1")
                     .arg(filePath);
        return false;
    }
    // A file the user marked read-only (no write permission for anybody) counts as read-only
    // even for a user who could write it anyway.
    const QFileInfo info(filePath);
    m_readOnly = access == Access::ReadOnly || !info.isWritable()
        || !(info.permissions()
            & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther));
    m_filePath = filePath;
    m_permissions = info.permissions();
    identify(filePath, &m_identity);
    m_connectionName = uniqueConnectionName(filePath);
    m_database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    m_database.setDatabaseName(filePath);
    if (m_readOnly)
        m_database.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!m_database.open()) {
        *error = m_database.lastError().text();
        return false;
    }
    QSqlQuery query(m_database);
    // The file may come from anywhere: its schema must not run functions with side effects.
    query.exec(QStringLiteral("PRAGMA trusted_schema=OFF"));
    if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next()) {
        *error = query.lastError().text();
        return false;
    }
    // The check lists every bad page; the first few lines say enough.
    const QString check = query.value(0).toString().section(QLatin1Char('\n'), 0, 2);
    query.finish();
    if (check != QLatin1String("ok")) {
        *error = QCoreApplication::translate("Error Message", "The file is damaged:\n %1\n%2")
                     .arg(filePath, check);
        return false;
    }
    // A trigger or a view runs SQL of the file's choosing whenever the program writes (a
    // trigger on TreeNodes could empty Curves on save). Curve files never hold either, so such
    // a file is not opened at all, and nothing in it is changed.
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type IN ('trigger', 'view')"))
        || !query.next()) {
        *error = query.lastError().text();
        return false;
    }
    const qlonglong foreignObjects = query.value(0).toLongLong();
    query.finish();
    if (foreignObjects > 0) {
        *error = QCoreApplication::translate("Error Message",
            "The file holds triggers or views, which IV curve files never have. It was not opened, so "
            "that nothing in it can be changed:\n %1")
                     .arg(filePath);
        return false;
    }
    return true;
}

bool CurveStore::identify(const QString& path, FileIdentity* identity)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return false;
    identity->device = quint64(status.st_dev);
    identity->inode = quint64(status.st_ino);
    return true;
}

bool CurveStore::ensureFileAtPath(QString* error)
{
    if (!m_opened || m_readOnly)
        return true;
    FileIdentity now;
    if (identify(m_filePath, &now) && now == m_identity)
        return true;
    const QFileInfo info(m_filePath);
    // VACUUM INTO writes a complete copy into an empty file; it replaces the path only once whole.
    QTemporaryFile copy(
        info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    if (!copy.open()) {
        *error = copy.errorString();
        return false;
    }
    copy.close();
    QSqlQuery query(m_database);
    if (!query.prepare(QStringLiteral("VACUUM INTO ?"))) {
        *error = query.lastError().text();
        return false;
    }
    query.addBindValue(copy.fileName());
    if (!query.exec()) {
        *error = query.lastError().text();
        return false;
    }
    query.finish();
    copy.setPermissions(m_permissions);
    if (std::rename(QFile::encodeName(copy.fileName()).constData(), QFile::encodeName(m_filePath).constData())
        != 0) {
        *error = QCoreApplication::translate("Error Message", "Could not write %1").arg(m_filePath);
        return false;
    }
    copy.setAutoRemove(false);
    // Every handle on the connection shares it, so the models follow it to the new file.
    if (m_graphModel)
        m_graphModel->releaseStatements();
    m_database.close();
    if (!m_database.open()) {
        *error = m_database.lastError().text();
        return false;
    }
    QSqlQuery(m_database).exec(QStringLiteral("PRAGMA trusted_schema=OFF"));
    identify(m_filePath, &m_identity);
    return true;
}

CurveStore::~CurveStore()
{
    // The models hold handles on the connection; they go first so that it can be removed.
    m_graphModel.reset();
    m_treeModel.reset();
    if (!m_opened)
        return;
    m_database.close();
    m_database = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

namespace {
const char* const toleranceNames[] = { "PmpBelow", "Voc", "Isc" };
} // namespace

VerdictTolerances CurveStore::tolerances() const
{
    VerdictTolerances tolerances;
    double* values[] = { &tolerances.pmpBelow, &tolerances.voc, &tolerances.isc };
    if (!m_opened)
        return tolerances;
    QSqlQuery query(m_database);
    // A file without the table has the defaults.
    if (!query.exec(QStringLiteral("SELECT Name, Value FROM Tolerances")))
        return tolerances;
    while (query.next()) {
        bool ok = false;
        const double value = query.value(1).toDouble(&ok);
        for (int i = 0; i < 3; ++i) {
            if (ok && std::isfinite(value) && value >= 0.0 && value <= 100.0
                && query.value(0).toString() == QLatin1String(toleranceNames[i]))
                *values[i] = value;
        }
    }
    return tolerances;
}

bool CurveStore::setTolerances(const VerdictTolerances& tolerances, QString* error)
{
    QSqlQuery query(m_database);
    if (!m_opened || m_readOnly
        || !query.exec(
            QStringLiteral("CREATE TABLE IF NOT EXISTS Tolerances (Name TEXT PRIMARY KEY, Value REAL)"))
        || !query.prepare(QStringLiteral("INSERT OR REPLACE INTO Tolerances (Name, Value) VALUES (?, ?)"))) {
        *error = query.lastError().text();
        return false;
    }
    const double values[] = { tolerances.pmpBelow, tolerances.voc, tolerances.isc };
    for (int i = 0; i < 3; ++i) {
        query.addBindValue(QLatin1String(toleranceNames[i]));
        query.addBindValue(values[i]);
        if (!query.exec()) {
            *error = query.lastError().text();
            return false;
        }
    }
    return true;
}

} // namespace IVCurve
