#pragma once

#include "AbstractReportItem.h"

class QGraphicsSvgItem;
class QSvgRenderer;

// The background drawing of a page, scaled from the resolution it was drawn for.
class ReportSvg : public AbstractReportItem
{
    Q_OBJECT
public:
    enum { Type = ReportItemType::Svg };
    explicit ReportSvg(QGraphicsItem* parent = nullptr);
    ~ReportSvg() override;

    int type() const override { return Type; }
    ReportItem::Kind modelKind() const override { return ReportItem::Kind::Svg; }
    void fromModel(const ReportItem& item) override;
    bool toModel(ReportItem& item) const override;
    QRectF boundingRect() const override;

    QString file() const { return m_file; }
    int dpi() const { return m_dpi; }
    QGraphicsSvgItem* drawing() const { return m_drawing; }

    // Background files above this size are not read.
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

private:
    QString m_file;
    int m_dpi = 96;
    QGraphicsSvgItem* m_drawing = nullptr;
    QSvgRenderer* m_renderer = nullptr;
};
