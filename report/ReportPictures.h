#pragma once

#include <QByteArray>
#include <QSize>
#include <memory>

class QPixmap;
class QSvgRenderer;

// Pictures of reports decoded once and shared: every image that shows the same picture bytes
// (several image elements on one container entry, a picture copied between reports) draws from
// one bitmap or one drawing. Bitmaps are kept no larger than a page can use.
namespace ReportPictures {
// The longest side of a bitmap drawn on a page: an A4 page's width at 300 dots per inch.
constexpr int MaxDrawnSide = 2480;

// The bitmap of raster picture bytes, scaled down to at most MaxDrawnSide on its longest side;
// none when the bytes are not a picture. naturalSize receives the picture's own size.
std::shared_ptr<const QPixmap> bitmap(const QByteArray& data, QSize* naturalSize);
// The renderer of SVG bytes; none when they are not a drawing that can be shown.
std::shared_ptr<QSvgRenderer> drawing(const QByteArray& data);
} // namespace ReportPictures
