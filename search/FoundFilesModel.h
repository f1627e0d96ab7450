#pragma once

#include <QAbstractTableModel>
#include <QFileInfo>
#include <QHash>
#include <QIcon>
#include <QList>
#include <QVector>

// The hits of the document search, in the order found: name (relative to the projects folder),
// size and last modification. After a search without hits it holds one row that says so.
class FoundFilesModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { NameColumn = 0, SizeColumn = 1, LastModifiedColumn = 2, ColumnCount = 3 };

    explicit FoundFilesModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The folder whose path is cut off the front of every name.
    void setRootFolder(const QString& root);
    QString rootFolder() const { return m_root; }

    // A search starts: the list empties.
    void clear();
    void add(const QFileInfo& entry);
    void add(const QList<QFileInfo>& entries);
    // The search ended: an empty list now shows the no-results row.
    void finish();

    bool isSearching() const { return m_searching; }
    bool showsNoResults() const { return !m_searching && m_noResults; }
    const QList<QFileInfo>& entries() const { return m_entries; }

    // "%L1 KB", the size rounded up to whole kilobytes; empty for a folder.
    static QString sizeText(const QFileInfo& entry);
    static QString noResultsText();

signals:
    // Declared for those who listen to the model; the search panel emits its own.
    void searchStarted();
    void searchFinished();

private:
    QString relativeName(const QFileInfo& entry) const;

    QString m_root;
    QList<QFileInfo> m_entries;
    // Icons are looked up once per row: finding a folder's icon reads the folder.
    mutable QVector<QIcon> m_icons;
    mutable QHash<QString, QIcon> m_iconsBySuffix;
    bool m_searching = false;
    bool m_noResults = false;
};
