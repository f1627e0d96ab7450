#include "ProjectModel.h"

#include "DocumentLock.h"
#include "FileIcons.h"
#include "FileNames.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QMimeData>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QThreadPool>
#include <QUrl>

ProjectModel::ProjectModel(QObject* parent)
    : QFileSystemModel(parent)
{
    setReadOnly(false);
    setFilter(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    // Every file is shown except the lock files of open documents: the patterns match every
    // name that does not begin with the lock prefix, folders included (no AllDirs).
    setNameFilters(namesNotStartingWith(DocumentLock::lockFilePrefix()));
    setNameFilterDisables(false);
    auto forgetIcons = [this]() { m_iconCache.clear(); };
    connect(this, &QAbstractItemModel::rowsInserted, this, forgetIcons);
    connect(this, &QAbstractItemModel::rowsRemoved, this, forgetIcons);
    connect(this, &QFileSystemModel::fileRenamed, this, forgetIcons);
}

void ProjectModel::refreshFolder(const QString& folder)
{
    const QModelIndex parent = index(folder);
    if (!parent.isValid() || !isDir(parent))
        return;
    const QStringList onDisk = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    // Entries gone from the disk: the model's own handler of a changed folder drops every row
    // whose name is not in the list it is given.
    QMetaObject::invokeMethod(this, "_q_directoryChanged", Qt::DirectConnection, Q_ARG(QString, folder),
        Q_ARG(QStringList, onDisk));
    // New entries: looking one up adds it to the model (lock files stay out of the tree).
    const QString lockPrefix = DocumentLock::lockFilePrefix();
    for (const QString& name : onDisk) {
        if (!name.startsWith(lockPrefix))
            index(QStringLiteral("%1/%2").arg(folder, name));
    }
}

QStringList ProjectModel::namesNotStartingWith(const QString& prefix)
{
    // A name either differs from the prefix at some position, or is a shorter start of it.
    QStringList patterns;
    for (int i = 0; i < prefix.size(); ++i) {
        const QString same = prefix.left(i);
        patterns.append(QStringLiteral("%1[!%2]*").arg(same, prefix.at(i)));
        if (i > 0)
            patterns.append(same);
    }
    return patterns;
}

void ProjectModel::setOpenChecks(OpenCheck isOpen, OpenCheck holdsOpen)
{
    m_isOpen = std::move(isOpen);
    m_holdsOpen = std::move(holdsOpen);
}

int ProjectModel::columnCount(const QModelIndex& parent) const
{
    return parent.column() > 0 ? 0 : 1;
}

QString ProjectModel::shownName(const QFileInfo& info)
{
    return info.isDir() ? info.fileName() : info.completeBaseName();
}

QVariant ProjectModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QFileSystemModel::data(index, role);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return shownName(fileInfo(index));
    case Qt::DecorationRole: {
        const QString path = filePath(index);
        auto cached = m_iconCache.constFind(path);
        if (cached != m_iconCache.constEnd())
            return *cached;
        if (isDir(index)) {
            lookUpFolderIcon(index);
            return folderIcon(false);
        }
        // By the name alone: the file itself may lie on a slow share.
        QIcon icon = iconForFileName(path);
        if (icon.isNull())
            icon = QFileSystemModel::data(index, role).value<QIcon>();
        m_iconCache.insert(path, icon);
        return icon;
    }
    default:
        break;
    }
    return QFileSystemModel::data(index, role);
}

void ProjectModel::lookUpFolderIcon(const QModelIndex& index) const
{
    const QString path = filePath(index);
    if (m_lookingUp.contains(path))
        return;
    m_lookingUp.insert(path);
    // Whether the folder holds a checklist is read off the window's thread: the projects folder
    // may be a share that answers slowly or not at all. The answer comes back to this thread.
    QPointer<ProjectModel> self(const_cast<ProjectModel*>(this));
    const QPersistentModelIndex place(index);
    QThreadPool::globalInstance()->start([self, path, place] {
        const bool holdsChecklist = folderHoldsChecklist(path);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, path, place, holdsChecklist] {
                if (!self)
                    return;
                self->m_lookingUp.remove(path);
                self->m_iconCache.insert(path, folderIcon(holdsChecklist));
                if (place.isValid())
                    emit self->dataChanged(place, place, { Qt::DecorationRole });
            },
            Qt::QueuedConnection);
    });
}

bool ProjectModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid())
        return QFileSystemModel::setData(index, value, role);

    const QString path = filePath(index);
    const QFileInfo info(path);
    const QString typed = value.toString().trimmed();
    // The name editor commits the name unchanged when it merely loses focus: that is no rename.
    if (typed.isEmpty() || typed == shownName(info))
        return false;
    if (m_isOpen && m_isOpen(path)) {
        emit renameRefused(RenameProblem::FileOpen, info.fileName());
        return false;
    }
    // Renaming a folder would leave its open documents saving to a place that is gone.
    if (m_holdsOpen && isDir(index) && m_holdsOpen(path)) {
        emit renameRefused(RenameProblem::FolderHoldsOpenFile, info.fileName());
        return false;
    }

    const QString suffix = info.isDir() ? QString() : info.suffix();
    const QString newName = suffix.isEmpty() ? typed : QStringLiteral("%1.%2").arg(typed, suffix);
    const QString target = info.dir().filePath(newName);

    // Renamed here rather than by QFileSystemModel, which would show its own message box.
    if (typed.contains(QLatin1Char('/')) || typed == QLatin1String(".") || typed == QLatin1String("..")) {
        emit renameRefused(RenameProblem::NameUnusable, typed);
        return false;
    }
    if (QFileInfo::exists(target)) {
        emit renameRefused(RenameProblem::NameTaken, newName);
        return false;
    }
    if (!QDir().rename(path, target)) {
        emit renameRefused(RenameProblem::Failed, info.fileName());
        return false;
    }
    // The model's own watcher shows the new name.
    m_iconCache.clear();
    emit renamed(path, target);
    return true;
}

void ProjectModel::copyEntry(const QString& source, const QString& target, QStringList& failed)
{
    // A list of what is still to copy rather than recursion: a dropped folder can be any depth.
    QList<QPair<QString, QString>> pending { { source, target } };
    while (!pending.isEmpty()) {
        const QPair<QString, QString> next = pending.takeLast();
        if (!QFileInfo(next.first).isDir()) {
            if (!QFile::copy(next.first, next.second))
                failed.append(next.first);
            continue;
        }
        if (!QDir().mkpath(next.second)) {
            failed.append(next.first);
            continue;
        }
        // Folders linked from inside are not followed: a link to a parent would never end.
        QDirIterator entries(
            next.first, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
        while (entries.hasNext()) {
            const QString entry = entries.next();
            const QFileInfo entryInfo = entries.fileInfo();
            if (entryInfo.isSymLink() && entryInfo.isDir())
                failed.append(entry);
            else
                pending.append({ entry, QStringLiteral("%1/%2").arg(next.second, entryInfo.fileName()) });
        }
    }
}

bool ProjectModel::dropMimeData(
    const QMimeData* data, Qt::DropAction action, int row, int column, const QModelIndex& parent)
{
    if (!data || !parent.isValid() || (action != Qt::CopyAction && action != Qt::MoveAction))
        return QFileSystemModel::dropMimeData(data, action, row, column, parent);
    const QString folder = filePath(parent);
    QStringList failed;
    QStringList open;
    const QList<QUrl> urls = data->urls();
    for (const QUrl& url : urls) {
        const QString source = url.isLocalFile() ? QDir::cleanPath(url.toLocalFile()) : QString();
        const QFileInfo info(source);
        if (source.isEmpty() || !info.exists()) {
            failed.append(source.isEmpty() ? url.toDisplayString() : source);
            continue;
        }
        // Moving an item to where it already is changes nothing.
        if (action == Qt::MoveAction && canonicalPath(info.absolutePath()) == canonicalPath(folder))
            continue;
        // A folder cannot go into itself or into one of its own folders.
        if (info.isDir() && isSameOrInside(folder, source)) {
            failed.append(source);
            continue;
        }
        if (action == Qt::MoveAction && m_holdsOpen && m_holdsOpen(source)) {
            open.append(source);
            continue;
        }
        QString target = QStringLiteral("%1/%2").arg(folder, info.fileName());
        uniqueFileName(target);
        if (action == Qt::CopyAction)
            copyEntry(source, target, failed);
        else if (!QDir().rename(source, target))
            failed.append(source);
    }
    if (!open.isEmpty() || !failed.isEmpty())
        emit dropIncomplete(action, folder, open, failed);
    m_iconCache.clear();
    return failed.isEmpty() && open.isEmpty();
}
