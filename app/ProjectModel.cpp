#include "ProjectModel.h"

#include "Brand.h"
#include "FileIcons.h"
#include "MainWindow.h"
#include "MainWindowRef.h"
#include "Prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>

ProjectModel::ProjectModel(QObject* parent)
    : QFileSystemModel(parent)
{
    setReadOnly(false);
    setFilter(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    auto forgetIcons = [this]() { m_iconCache.clear(); };
    connect(this, &QAbstractItemModel::rowsInserted, this, forgetIcons);
    connect(this, &QAbstractItemModel::rowsRemoved, this, forgetIcons);
    connect(this, &QFileSystemModel::fileRenamed, this, forgetIcons);
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
        QIcon icon = iconForPath(path);
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

bool ProjectModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid())
        return QFileSystemModel::setData(index, value, role);

    const QString path = filePath(index);
    auto* window = qobject_cast<MainWindow*>(currentMainWindow());
    if (window && window->findDocument(path)) {
        Prompts::show(QMessageBox::Critical, currentMainWindow(),
            QCoreApplication::translate("Error Message",
                "File is already open in Kestrovan. Close it before attempting to set the name."),
            QString(), QMessageBox::Ok, Brand::productTitle());
        return false;
    }

    const QFileInfo info(path);
    const QString typed = value.toString().trimmed();
    if (typed.isEmpty() || typed == shownName(info))
        return false;
    const QString suffix = info.isDir() ? QString() : info.suffix();
    const QString newName = suffix.isEmpty() ? typed : QStringLiteral("%1.%2").arg(typed, suffix);
    const QString target = info.dir().filePath(newName);

    // Renamed here rather than by QFileSystemModel, which would show its own message box.
    QString problem;
    if (typed.contains(QLatin1Char('/')) || typed == QLatin1String(".") || typed == QLatin1String(".."))
        problem = QCoreApplication::translate("Error Message", "The name \"%1\" cannot be used.").arg(typed);
    else if (QFileInfo::exists(target))
        problem = QCoreApplication::translate("Error Message", "\"%1\" already exists.").arg(newName);
    else if (!QDir().rename(path, target))
        problem = QCoreApplication::translate("Error Message", "\"%1\" could not be renamed.")
                      .arg(info.fileName());
    if (!problem.isEmpty()) {
        Prompts::show(QMessageBox::Warning, currentMainWindow(), problem);
        return false;
    }
    // The model's own watcher shows the new name.
    m_iconCache.clear();
    return true;
}
