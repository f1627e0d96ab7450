#include "FoundFilesModel.h"

#include "FileIcons.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QPointer>
#include <QThreadPool>

FoundFilesModel::FoundFilesModel(QObject* parent)
    : QAbstractTableModel(parent)
{
    m_slices.setSingleShot(true);
    m_slices.setInterval(0);
    connect(&m_slices, &QTimer::timeout, this, &FoundFilesModel::nextSlice);
}

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
            if (!icon.isNull())
                return icon;
            // The entry's type was read by the search; the folder's content or the file's bytes
            // are never read here, where a slow share would stall the window.
            if (entry.isDir()) {
                const QString path = entry.absoluteFilePath();
                const auto found = m_folderIcons.constFind(path);
                if (found != m_folderIcons.constEnd())
                    return icon = found.value();
                if (!m_lookingUp.contains(path)) {
                    m_lookingUp.insert(path);
                    // The answer comes back to the GUI thread, where the model is looked at.
                    QPointer<FoundFilesModel> self(const_cast<FoundFilesModel*>(this));
                    const int row = index.row();
                    QThreadPool::globalInstance()->start([self, path, row] {
                        const bool holdsChecklist = folderHoldsChecklist(path);
                        QMetaObject::invokeMethod(
                            QCoreApplication::instance(),
                            [self, path, row, holdsChecklist] {
                                if (self)
                                    self->folderLooked(path, row, holdsChecklist);
                            },
                            Qt::QueuedConnection);
                    });
                }
                return folderIcon(false);
            }
            // Files of one suffix share an icon.
            const QString suffix = entry.suffix().toLower();
            if (!suffix.isEmpty() && m_iconsBySuffix.contains(suffix))
                return icon = m_iconsBySuffix.value(suffix);
            icon = iconForFileName(entry.absoluteFilePath());
            if (!suffix.isEmpty() && entry.fileName() != QLatin1String("Search Results"))
                m_iconsBySuffix.insert(suffix, icon);
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
    m_finishWaiting = false;
    m_waiting.clear();
    // Letting go of a hundred thousand entries takes longer than a slice: they go later.
    if (m_letGo.isEmpty()) {
        m_letGo.swap(m_entries);
        m_letGoIcons.swap(m_icons);
    } else {
        m_letGo.append(m_entries);
        m_entries.clear();
        m_icons.clear();
    }
    m_iconsBySuffix.clear();
    m_folderIcons.clear();
    m_lookingUp.clear();
    if (hadRows)
        endResetModel();
    if (hasPendingSlices())
        m_slices.start();
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
    // A few hits with none waiting before them are listed at once.
    const bool backlog = !m_waiting.isEmpty();
    m_waiting.append(entries);
    if (!backlog && m_waiting.size() <= SliceRows)
        show(m_waiting.size());
    if (hasPendingSlices())
        m_slices.start();
}

void FoundFilesModel::show(int count)
{
    if (count <= 0)
        return;
    const int first = m_entries.size();
    beginInsertRows(QModelIndex(), first, first + count - 1);
    if (count == m_waiting.size()) {
        m_entries.append(m_waiting);
        m_waiting.clear();
    } else {
        m_entries.append(m_waiting.mid(0, count));
        m_waiting.erase(m_waiting.begin(), m_waiting.begin() + count);
    }
    m_icons.resize(m_entries.size());
    endInsertRows();
}

void FoundFilesModel::nextSlice()
{
    QElapsedTimer slice;
    slice.start();
    // The former list first, so that memory is handed back before more is taken.
    while (!m_letGo.isEmpty() && slice.elapsed() < SliceMilliseconds) {
        const int count = std::min<int>(SliceRows, m_letGo.size());
        m_letGo.erase(m_letGo.end() - count, m_letGo.end());
        m_letGoIcons.resize(std::max(0, m_letGoIcons.size() - count));
    }
    if (m_letGo.isEmpty()) {
        m_letGoIcons.clear();
        m_letGoIcons.squeeze();
    }
    if (!m_waiting.isEmpty() && slice.elapsed() < SliceMilliseconds)
        show(std::min<int>(SliceRows, m_waiting.size()));
    if (m_waiting.isEmpty() && m_finishWaiting)
        applyFinish();
    if (hasPendingSlices())
        m_slices.start();
}

void FoundFilesModel::finish()
{
    m_searching = false;
    if (m_waiting.isEmpty()) {
        applyFinish();
        return;
    }
    m_finishWaiting = true;
    m_slices.start();
}

void FoundFilesModel::applyFinish()
{
    m_finishWaiting = false;
    if (m_entries.isEmpty()) {
        beginResetModel();
        m_noResults = true;
        endResetModel();
    }
    emit searchFinished();
}

void FoundFilesModel::folderLooked(const QString& path, int row, bool holdsChecklist)
{
    // An answer for a list that a new search has replaced is of no use.
    if (!m_lookingUp.remove(path))
        return;
    m_folderIcons.insert(path, folderIcon(holdsChecklist));
    if (row < m_entries.size() && m_entries.at(row).absoluteFilePath() == path)
        emit dataChanged(index(row, NameColumn), index(row, NameColumn), { Qt::DecorationRole });
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
