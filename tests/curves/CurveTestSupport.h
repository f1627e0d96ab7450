#pragma once

#include "CurveModuleRow.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <initializer_list>

namespace IVCurve {
class TreeItem;
}

// What the curve tests share to set up their files: a new curve file from the program's own
// template, tester files written to disk, a direct look into a curve database, and a module of
// the library with the values a test needs.
namespace CurveTestSupport {
// Copies the built-in empty curve file to path, writable, as a new curve file starts.
bool copyTemplate(const QString& path);

// Writes content to path and gives the path, or an empty path when it could not be written.
QString writeFile(const QString& path, const QByteArray& content);
QByteArray readFile(const QString& path);
QByteArray fileHash(const QString& path);

// The labels of a tree item's children, in order, and the first child with a label.
QStringList labels(const IVCurve::TreeItem* parent);
IVCurve::TreeItem* childLabelled(const IVCurve::TreeItem* parent, const QString& label);

// The first module of the library whose given values all read as numbers above zero; an empty
// row when the library does not open or holds none.
IVCurve::CurveModuleRow firstModule(std::initializer_list<IVCurve::CurveModuleRow::Field> fields);

// A curve file opened directly on a connection of its own, as another program (or an older
// version of ours) reads and writes it beside the store.
class CurveDatabase
{
public:
    explicit CurveDatabase(const QString& path);
    ~CurveDatabase();
    CurveDatabase(const CurveDatabase&) = delete;
    CurveDatabase& operator=(const CurveDatabase&) = delete;

    bool exec(const QString& sql) const;
    QList<QVariantList> rows(const QString& sql) const;
    // The first column of the first row; invalid when there is none.
    QVariant value(const QString& sql) const;
    // The first column of every row.
    QStringList column(const QString& sql) const;
    QString connectionName() const { return m_name; }

private:
    QString m_name;
};
} // namespace CurveTestSupport
