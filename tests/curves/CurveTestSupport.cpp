#include "CurveTestSupport.h"

#include "CurveConstants.h"
#include "FileNames.h"
#include "Folders.h"
#include "ModuleLibrary.h"
#include "NumberText.h"
#include "TreeItem.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

using namespace IVCurve;

namespace CurveTestSupport {
bool copyTemplate(const QString& path)
{
    if (copyAsWritable(Folders::builtInTemplatePath(QStringLiteral("kstcrv")), path))
        return true;
    qWarning() << "template copy failed" << path;
    return false;
}

QString writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size()) {
        qWarning() << "cannot write" << path;
        return QString();
    }
    return path;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

QByteArray fileHash(const QString& path)
{
    return QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha256);
}

QStringList labels(const TreeItem* parent)
{
    QStringList result;
    for (int i = 0; i < parent->childCount(); ++i)
        result << parent->child(i)->data(TreeLabel).toString();
    return result;
}

TreeItem* childLabelled(const TreeItem* parent, const QString& label)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        if (parent->child(i)->data(TreeLabel).toString() == label)
            return parent->child(i);
    }
    return nullptr;
}

CurveModuleRow firstModule(std::initializer_list<CurveModuleRow::Field> fields)
{
    ModuleLibrary& library = ModuleLibrary::instance();
    if (!library.open())
        return {};
    for (const CurveModuleRow& row : library.all()) {
        bool all = true;
        for (CurveModuleRow::Field field : fields) {
            bool ok = false;
            NumberText::fromVariant(row.value(field), &ok);
            all = all && ok && row.value(field).toDouble() > 0;
        }
        if (all)
            return row;
    }
    return {};
}

CurveDatabase::CurveDatabase(const QString& path)
{
    static int count = 0;
    m_name = QStringLiteral("curvetest%1").arg(++count);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(path);
    if (!db.open())
        qWarning() << path << db.lastError().text();
}

CurveDatabase::~CurveDatabase()
{
    QSqlDatabase::database(m_name, false).close();
    QSqlDatabase::removeDatabase(m_name);
}

bool CurveDatabase::exec(const QString& sql) const
{
    QSqlQuery query(QSqlDatabase::database(m_name));
    if (query.exec(sql))
        return true;
    qWarning() << sql << query.lastError().text();
    return false;
}

QList<QVariantList> CurveDatabase::rows(const QString& sql) const
{
    QList<QVariantList> result;
    QSqlQuery query(QSqlDatabase::database(m_name));
    if (!query.exec(sql))
        qWarning() << sql << query.lastError().text();
    while (query.next()) {
        QVariantList row;
        for (int i = 0; i < query.record().count(); ++i)
            row << query.value(i);
        result << row;
    }
    return result;
}

QVariant CurveDatabase::value(const QString& sql) const
{
    return rows(sql).value(0).value(0);
}

QStringList CurveDatabase::column(const QString& sql) const
{
    QStringList result;
    for (const QVariantList& row : rows(sql))
        result << row.value(0).toString();
    return result;
}
} // namespace CurveTestSupport
