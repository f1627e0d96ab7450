#include "ProjectTreeView.h"

#include "Brand.h"
#include "ProjectModel.h"
#include "Prompts.h"

#include <QDropEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>

ProjectTreeView::ProjectTreeView(QWidget* parent)
    : QTreeView(parent)
{
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDragDropOverwriteMode(false);
    setDefaultDropAction(Qt::MoveAction);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setHeaderHidden(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void ProjectTreeView::setProjectModel(ProjectModel* model)
{
    m_model = model;
    setModel(model);
}

void ProjectTreeView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete && state() != QAbstractItemView::EditingState)
        emit deleteRequested();
    QTreeView::keyPressEvent(event);
}

QString ProjectTreeView::dropQuestion(const QList<QUrl>& urls)
{
    if (urls.size() == 1)
        return tr("This will copy \"%1\" to your project area.").arg(urls.first().toLocalFile());
    return tr("This will copy %1 files to your project area.").arg(urls.size());
}

void ProjectTreeView::dropEvent(QDropEvent* event)
{
    if (event->source()) {
        QTreeView::dropEvent(event);
        return;
    }
    const QList<QUrl> urls = event->mimeData() ? event->mimeData()->urls() : QList<QUrl>();
    if (urls.isEmpty()) {
        event->ignore();
        return;
    }
    MessageRequest request;
    request.icon = QMessageBox::Question;
    request.windowIcon = QIcon(Brand::brandImage(QStringLiteral("_logo.ico")));
    request.text = dropQuestion(urls);
    request.informativeText = tr("Do you want to proceed?");
    request.buttons = QMessageBox::Yes | QMessageBox::No;
    if (Prompts::instance().message(request) != QMessageBox::Yes) {
        event->ignore();
        return;
    }
    // Files from elsewhere are copied, never moved away from where the user keeps them.
    event->setDropAction(Qt::CopyAction);
    QTreeView::dropEvent(event);
}
