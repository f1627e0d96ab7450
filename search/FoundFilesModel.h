#pragma once

#include <QAbstractTableModel>
#include <QFileInfo>
#include <QHash>
#include <QIcon>
#include <QList>
#include <QSet>
#include <QTimer>
#include <QVector>

// The hits of the document search, in the order found: name (relative to the projects folder),
// size and last modification. After a search without hits it holds one row that says so.
// A search may find a hundred thousand files: hits join the list, and a former list is let go,
// a slice at a time between events, so that the window never waits for the whole list.
class FoundFilesModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { NameColumn = 0, SizeColumn = 1, LastModifiedColumn = 2, ColumnCount = 3 };

    // The most rows one slice shows or lets go of, and the time it may take.
    static constexpr int SliceRows = 2000;
    static constexpr int SliceMilliseconds = 20;

    explicit FoundFilesModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The folder whose path is cut off the front of every name.
    void setRootFolder(const QString& root);
    QString rootFolder() const { return m_root; }

    // A search starts: the list empties at once; the former hits are let go in slices.
    void clear();
    // Hits join the list: at once when they fit one slice and none wait, otherwise in slices.
    void add(const QFileInfo& entry);
    void add(const QList<QFileInfo>& entries);
    // The search ended: once every hit is listed, an empty list shows the no-results row and
    // searchFinished is emitted.
    void finish();

    bool isSearching() const { return m_searching; }
    // Hits wait to be listed, or a former list to be let go.
    bool hasPendingSlices() const { return !m_waiting.isEmpty() || !m_letGo.isEmpty(); }
    bool showsNoResults() const { return !m_searching && m_noResults; }
    const QList<QFileInfo>& entries() const { return m_entries; }

    // "%L1 KB", the size rounded up to whole kilobytes; empty for a folder.
    static QString sizeText(const QFileInfo& entry);
    static QString noResultsText();

signals:
    // searchStarted is declared for those who listen to the model; the search panel emits its
    // own. searchFinished: the search ended and every hit is listed.
    void searchStarted();
    void searchFinished();

private:
    QString relativeName(const QFileInfo& entry) const;
    void nextSlice();
    void show(int count);
    void applyFinish();
    // The folder's icon, once a worker has read whether it holds a checklist.
    void folderLooked(const QString& path, int row, bool holdsChecklist);

    QString m_root;
    QList<QFileInfo> m_entries;
    // Icons are looked up once per row: finding a folder's icon reads the folder.
    mutable QVector<QIcon> m_icons;
    mutable QHash<QString, QIcon> m_iconsBySuffix;
    // Folders whose icon a worker is looking up, and those it found, by path.
    mutable QSet<QString> m_lookingUp;
    QHash<QString, QIcon> m_folderIcons;
    QList<QFileInfo> m_waiting;
    QList<QFileInfo> m_letGo;
    QVector<QIcon> m_letGoIcons;
    QTimer m_slices;
    bool m_searching = false;
    bool m_noResults = false;
    bool m_finishWaiting = false;
};
