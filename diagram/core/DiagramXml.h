#pragma once

#include <QString>

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
// Largest coordinate a drawing may use.
constexpr double MaxCoordinate = 1.0e7;
} // namespace DiagramXml
