#pragma once

#include <QFileSystemModel>
#include <QHash>

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

private:
    // Files lose their last extension; folders keep their whole name.
    static QString shownName(const QFileInfo& info);

    // Folder icons look into the folder; remember the answer until something changes.
    mutable QHash<QString, QIcon> m_iconCache;
};
