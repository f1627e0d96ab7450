#include "ReportPage.h"

#include "AbstractDocument.h"
#include "ReportResizableImage.h"
#include "ReportResizableItem.h"

#include <QAction>
#include <QCoreApplication>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsSceneContextMenuEvent>
#include <QMenu>

ReportPage::ReportPage(QGraphicsItem* parent)
    : AbstractReportItem(parent)
    , m_paper(new QGraphicsRectItem(0, 0, ReportGeometry::A4Width, ReportGeometry::A4Height, this))
    , m_addImage(new QAction(QCoreApplication::translate("Menu option", "Add Image"), this))
{
    setFlag(ItemHasNoContents);
    m_paper->setBrush(Qt::white);
}

QRectF ReportPage::boundingRect() const
{
    return m_paper->rect();
}

void ReportPage::fromModel(const ReportItem& item)
{
    AbstractReportItem::fromModel(item);
    m_paper->setBrush(backgroundColour());
    prepareGeometryChange();
    if (item.a3)
        m_paper->setRect(0, 0, ReportGeometry::A3Width, ReportGeometry::A3Height);
    else
        m_paper->setRect(0, 0, ReportGeometry::A4Width, ReportGeometry::A4Height);
    m_pageNumber = item.pageNumber;
    setPos(0, (m_pageNumber - 1) * (m_paper->rect().height() + ReportGeometry::PageGap));
}

bool ReportPage::toModel(ReportItem& item) const
{
    item.pageNumber = m_pageNumber;
    return AbstractReportItem::toModel(item);
}

void ReportPage::addImageAt(const QPointF& pos)
{
    if (!scene())
        return;
    DocumentDialogScope dialogs(scene());
    auto* image = new ReportResizableImage(this);
    if (!image->selectPicture()) {
        delete image;
        return;
    }
    // A photo straight from a camera would cover the page many times over: it starts at half the
    // page's width at most, and wholly on the page, near where the user clicked.
    const QRectF paperRect = m_paper->rect();
    const QSizeF size = image->rect().size();
    const qreal maxWidth = paperRect.width() / 2;
    if (size.width() > maxWidth && size.width() > 0)
        image->setSize(QSizeF(maxWidth, size.height() * maxWidth / size.width()), ResizeHandle::Right);
    const QSizeF placed = image->rect().size();
    image->setPos(qBound(0.0, pos.x(), qMax(0.0, paperRect.width() - placed.width())),
        qBound(0.0, pos.y(), qMax(0.0, paperRect.height() - placed.height())));
    image->updateBand();
    emit addRequested(image);
}

void ReportPage::contextMenuEvent(QGraphicsSceneContextMenuEvent* event)
{
    AbstractReportItem::contextMenuEvent(event);
    if (event->isAccepted())
        return;
    QMenu menu;
    menu.addAction(m_addImage);
    const QPointF pos = event->pos();
    if (menu.exec(event->screenPos()) == m_addImage)
        addImageAt(pos);
    event->accept();
}
