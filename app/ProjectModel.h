#pragma once

#include <QFileSystemModel>
#include <QHash>
#include <QSet>
#include <functional>

// The projects folder as the document browser shows it: every file and folder, names without
// their extension (so extensions are never shown or typed), and our own icons. It asks nobody:
// a rename or drop it refuses, or does only in part, is reported by a signal.
class ProjectModel : public QFileSystemModel
{
    Q_OBJECT
public:
    explicit ProjectModel(QObject* parent = nullptr);

    enum class RenameProblem { FileOpen, FolderHoldsOpenFile, NameUnusable, NameTaken, Failed };

    // Whether a document is open on exactly this file, and whether any is open on it or inside
    // it (a folder). Renames and moves leave those alone; unset, nothing counts as open.
    using OpenCheck = std::function<bool(const QString& path)>;
    void setOpenChecks(OpenCheck isOpen, OpenCheck holdsOpen);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    // Drops copy (from outside) or move (inside the tree) files and whole folders; a name that
    // is taken in the target folder is numbered, and every item that could not be copied or
    // moved is reported at once by dropIncomplete. Open documents, and folders holding them, are
    // not moved.
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
    // A rename through the tree was refused; name is the name the problem is about.
    void renameRefused(ProjectModel::RenameProblem problem, const QString& name);
    // A drop into folder left out the items in open (documents open on or inside them) and in
    // failed (not there, or could not be copied or moved).
    void dropIncomplete(
        Qt::DropAction action, const QString& folder, const QStringList& open, const QStringList& failed);

private:
    // Copies a file or a whole folder to target (which must not exist); adds what failed.
    static void copyEntry(const QString& source, const QString& target, QStringList& failed);

    // Files lose their last extension; folders keep their whole name.
    static QString shownName(const QFileInfo& info);

    // A folder's icon tells whether it holds a checklist, which a worker reads.
    void lookUpFolderIcon(const QModelIndex& index) const;

    OpenCheck m_isOpen;
    OpenCheck m_holdsOpen;
    // Folder icons look into the folder; remember the answer until something changes.
    mutable QHash<QString, QIcon> m_iconCache;
    mutable QSet<QString> m_lookingUp;
};
