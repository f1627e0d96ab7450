#pragma once

#include "ReportPictures.h"
#include "ReportResizableItem.h"
#include "ReportTypes.h"

#include <QByteArray>
#include <memory>

class QPixmap;
class QSvgRenderer;

// A picture the user put on a page: raster or SVG, moved and resized with the handles while it
// keeps its aspect ratio. The picture file's bytes travel unchanged inside the report file.
class ReportResizableImage : public ReportResizableItem
{
    Q_OBJECT
public:
    enum { Type = ReportItemType::Image };

    // Pictures larger than this are refused rather than bloating the report.
    static constexpr qint64 MaxPictureBytes = ReportPictures::MaxPictureBytes;
    static constexpr int MaxPictureSide = ReportPictures::MaxPictureSide;
    // Bitmaps are drawn from a copy no larger than a page can use (ReportPictures).
    static constexpr int MaxDrawnSide = ReportPictures::MaxDrawnSide;

    explicit ReportResizableImage(QGraphicsItem* parent = nullptr);
    ~ReportResizableImage() override;

    int type() const override { return Type; }
    ReportItem::Kind modelKind() const override { return ReportItem::Kind::Image; }
    void fromModel(const ReportItem& item) override;
    bool toModel(ReportItem& item) const override;
    void setSize(const QSizeF& size, int handle) override;
    QRectF rect() const override;

    // Lets the user choose the picture of an image that has none; false when nothing was chosen
    // or the file is not a picture that can be shown (the user has been told why).
    bool selectPicture();
    // Why a picture cannot be shown, or an empty text when it can.
    static QString pictureProblem(const QString& suffix, const QByteArray& data);

    bool hasPicture() const { return !m_data.isEmpty(); }
    QString suffix() const { return m_suffix; }
    QByteArray data() const { return m_data; }
    qreal pictureScale() const { return m_scale; }
    // Shown as a placeholder because the picture inside the report is too large or damaged.
    bool isPlaceholder() const { return m_placeholder; }

protected:
    void contextMenuEvent(QGraphicsSceneContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildPicture();
    void deleteWithUndo();

    QGraphicsItem* m_picture = nullptr;
    // The picture's own box, before the picture scale: rect() and resizing work on it, whatever
    // the size of the bitmap that is drawn.
    QRectF m_naturalRect;
    // Shared with every image that shows the same bytes.
    std::shared_ptr<QSvgRenderer> m_renderer;
    std::shared_ptr<const QPixmap> m_bitmap;
    QString m_suffix;
    QByteArray m_data;
    qreal m_scale = 1.0;
    bool m_placeholder = false;
};
