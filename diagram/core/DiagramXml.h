#pragma once

#include <QString>

class QDomDocument;
class QDomElement;

// Reading and writing the values of a diagram file.
namespace DiagramXml {
// A coordinate attribute; missing, unreadable, not finite or beyond any drawing counts as
// fallback.
double coordinate(const QDomElement& element, const QString& name, double fallback);
// A width or height attribute: like a coordinate, and never negative.
double size(const QDomElement& element, const QString& name, double fallback);
// Text without the characters XML 1.0 cannot hold, so that a saved file always reopens.
QString cleanText(const QString& text);
// The document as text, indented by 2, with every element's attributes in one fixed order (the
// file's own order: type, id, x, y, width, height, text, connectedItemId, connectedPosX,
// connectedPosY, direction; any other after them by name). The document tree keeps attributes
// in hashed order, which changes from one run of the program to the next.
QByteArray write(const QDomDocument& document);
// Largest coordinate a drawing may use.
constexpr double MaxCoordinate = 1.0e7;
} // namespace DiagramXml
