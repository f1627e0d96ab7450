#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

// A report is a file people mail each other: its SVG pictures may draw only what the report
// itself carries. They are rendered from a copy that refers to nothing outside itself (no
// files, no file: or network URLs, no external <use>, no style sheets) and whose embedded
// pictures stay within the limits of raster pictures.
namespace SvgPicture {
// Elements nested deeper than this are damage; the renderer descends them recursively.
constexpr int MaxDepth = 256;

// The drawing as it may be rendered: references outside the drawing are left out, embedded
// (data: URI) pictures above the picture limits are left out and larger ones than a page can
// use are scaled down. Empty when the bytes are not a drawing that can be read safely; problem
// then receives why.
QByteArray safeDrawing(const QByteArray& data, QString* problem = nullptr);

// Whether a drawing of this natural size is larger than a picture may be drawn.
bool isTooLarge(const QSizeF& size);

// Whether a CSS url() in the value names anything but an element of the drawing itself ("#id").
bool hasOutsideUrl(const QString& value);
} // namespace SvgPicture
