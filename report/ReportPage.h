#pragma once

#include "AbstractReportItem.h"

class QAction;
class QGraphicsRectItem;

// One sheet of paper. Pages stand one below the other, 50 units apart.
class ReportPage : public AbstractReportItem
{
    Q_OBJECT
public:
    enum { Type = ReportItemType::Page };
    explicit ReportPage(QGraphicsItem* parent = nullptr);

    int type() const override { return Type; }
    ReportItem::Kind modelKind() const override { return ReportItem::Kind::Page; }
    void fromModel(const ReportItem& item) override;
    bool toModel(ReportItem& item) const override;
    QRectF boundingRect() const override;

    int pageNumber() const { return m_pageNumber; }
    QGraphicsRectItem* paper() const { return m_paper; }
    QAction* addImageAction() const { return m_addImage; }
    // Adds a picture at a point of the page, when the picture kind is available.
    void addImageAt(const QPointF& pos);

    // Pages beyond this number are damage, not a report.
    static constexpr int MaxPageNumber = ReportLimits::MaxPageNumber;

protected:
    void contextMenuEvent(QGraphicsSceneContextMenuEvent* event) override;

private:
    int m_pageNumber = 1;
    QGraphicsRectItem* m_paper;
    QAction* m_addImage;
};
