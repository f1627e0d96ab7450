#pragma once

#include <QByteArray>
#include <QImage>
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
// Pictures above these are refused rather than bloating the report or the memory: a picture file
// of this many bytes, a picture of more pixels on a side (decoding one costs 4 bytes a pixel).
constexpr qint64 MaxPictureBytes = 20 * 1024 * 1024;
constexpr int MaxPictureSide = 10000;

// Raster picture bytes decoded to at most maxSide on their longest side, never holding more than
// one full-size copy on the way; a null image when the bytes are not a picture or are larger
// than MaxPictureSide on a side. naturalSize receives the picture's own size from its header.
QImage decodeScaled(const QByteArray& data, int maxSide, QSize* naturalSize);

// The bitmap of raster picture bytes, scaled down to at most MaxDrawnSide on its longest side;
// none when the bytes are not a picture. naturalSize receives the picture's own size.
std::shared_ptr<const QPixmap> bitmap(const QByteArray& data, QSize* naturalSize);
// The renderer of SVG bytes; none when they are not a drawing that can be shown.
std::shared_ptr<QSvgRenderer> drawing(const QByteArray& data);
} // namespace ReportPictures
