#include "FoundFilesModel.h"

#include "FileIcons.h"

#include <QCoreApplication>
#include <QDateTime>

FoundFilesModel::FoundFilesModel(QObject* parent)
    : QAbstractTableModel(parent)
{ }

int FoundFilesModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return showsNoResults() ? 1 : m_entries.size();
}

int FoundFilesModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FoundFilesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount)
        return QVariant();
    if (showsNoResults()) {
        if (role == Qt::DisplayRole && index.column() == NameColumn)
            return noResultsText();
        return QVariant();
    }
    const QFileInfo& entry = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case NameColumn:
            return relativeName(entry);
        case SizeColumn:
            return sizeText(entry);
        case LastModifiedColumn:
            return entry.lastModified().toString(QStringLiteral("dd/MM/yyyy hh:mm"));
        }
        break;
    case Qt::DecorationRole:
        if (index.column() == NameColumn) {
            QIcon& icon = m_icons[index.row()];
            if (icon.isNull()) {
                // Files of one suffix share the desktop's icon, which is slow to look up.
                const QString suffix = entry.isFile() ? entry.suffix().toLower() : QString();
                if (!suffix.isEmpty() && m_iconsBySuffix.contains(suffix)) {
                    icon = m_iconsBySuffix.value(suffix);
                } else {
                    icon = iconForPath(entry.absoluteFilePath());
                    if (!suffix.isEmpty())
                        m_iconsBySuffix.insert(suffix, icon);
                }
            }
            return icon;
        }
        break;
    case Qt::UserRole:
        return entry.absoluteFilePath();
    }
    return QVariant();
}

QVariant FoundFilesModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case NameColumn:
        return QCoreApplication::translate("Column header", "Name");
    case SizeColumn:
        return QCoreApplication::translate("Column header", "Size");
    case LastModifiedColumn:
        return QCoreApplication::translate("Column header", "Last Modified");
    }
    return QVariant();
}

Qt::ItemFlags FoundFilesModel::flags(const QModelIndex& index) const
{
    // The no-results row is a message, not something to select or open.
    if (showsNoResults())
        return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
    return QAbstractTableModel::flags(index);
}

void FoundFilesModel::setRootFolder(const QString& root)
{
    if (root == m_root)
        return;
    beginResetModel();
    m_root = root;
    endResetModel();
}

void FoundFilesModel::clear()
{
    const bool hadRows = rowCount() > 0;
    if (hadRows)
        beginResetModel();
    m_searching = true;
    m_noResults = false;
    m_entries.clear();
    m_icons.clear();
    m_iconsBySuffix.clear();
    if (hadRows)
        endResetModel();
}

void FoundFilesModel::add(const QFileInfo& entry)
{
    add(QList<QFileInfo> { entry });
}

void FoundFilesModel::add(const QList<QFileInfo>& entries)
{
    if (entries.isEmpty())
        return;
    // Hits arriving after the search was finished would change a list that shows the no-results row.
    if (showsNoResults()) {
        beginResetModel();
        m_noResults = false;
        endResetModel();
    }
    const int first = m_entries.size();
    beginInsertRows(QModelIndex(), first, first + entries.size() - 1);
    m_entries.append(entries);
    m_icons.resize(m_entries.size());
    endInsertRows();
}

void FoundFilesModel::finish()
{
    m_searching = false;
    if (m_entries.isEmpty()) {
        beginResetModel();
        m_noResults = true;
        endResetModel();
    }
}

QString FoundFilesModel::sizeText(const QFileInfo& entry)
{
    if (entry.isDir())
        return QString();
    const qint64 kilobytes = (entry.size() + 1023) / 1024;
    return QStringLiteral("%L1 KB").arg(kilobytes);
}

QString FoundFilesModel::noResultsText()
{
    return QCoreApplication::translate(
        "Search status", "Search is complete. There are no results to display.");
}

QString FoundFilesModel::relativeName(const QFileInfo& entry) const
{
    const QString path = entry.absoluteFilePath();
    if (m_root.isEmpty())
        return path;
    const QString prefix = m_root.endsWith(QLatin1Char('/')) ? m_root : m_root + QLatin1Char('/');
    return path.startsWith(prefix) ? path.mid(prefix.size()) : path;
}
