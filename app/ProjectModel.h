#pragma once

#include <QFileSystemModel>
#include <QHash>
#include <QSet>

// The projects folder as the document browser shows it: every file and folder, names without
// their extension (so extensions are never shown or typed), and our own icons.
class ProjectModel : public QFileSystemModel
{
    Q_OBJECT
public:
    explicit ProjectModel(QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // Drops copy (from outside) or move (inside the tree) files and whole folders; a name that
    // is taken in the target folder is numbered, and every item that could not be copied or
    // moved is named in one message. Open documents, and folders holding them, are not moved.
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
        const QModelIndex& parent) override;

    // Brings a folder's rows in line with the disk, for changes the model's own change
    // notification cannot see (made by another machine on a network share).
    void refreshFolder(const QString& folder);

    // Name filters (wildcards) that pass every name except those beginning with prefix.
    static QStringList namesNotStartingWith(const QString& prefix);

signals:
    // A rename through the tree succeeded (the tree keeps the renamed item selected).
    void renamed(const QString& oldPath, const QString& newPath);

private:
    // Copies a file or a whole folder to target (which must not exist); adds what failed.
    static void copyEntry(const QString& source, const QString& target, QStringList& failed);

    // Files lose their last extension; folders keep their whole name.
    static QString shownName(const QFileInfo& info);

    // A folder's icon tells whether it holds a checklist, which a worker reads.
    void lookUpFolderIcon(const QModelIndex& index) const;

    // Folder icons look into the folder; remember the answer until something changes.
    mutable QHash<QString, QIcon> m_iconCache;
    mutable QSet<QString> m_lookingUp;
};
