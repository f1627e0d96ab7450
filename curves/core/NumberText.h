#pragma once

#include <QString>
#include <QVariant>

// Numbers cross the database boundary as C-locale text and are shown in the user's locale,
// both with 6 significant digits. Texts that are not numbers pass through unchanged.
namespace IVCurve {
namespace NumberText {

// A number typed by the user becomes C-locale text for binding.
QString toStore(const QString& userText);
// A value read from the database becomes the text the user sees.
QString toDisplay(const QVariant& stored);
// A number in the user's locale ('g', 6 significant digits).
QString format(double value);
// Parses a text the user sees (user's locale, then C locale); only finite numbers count.
double parse(const QString& text, bool* ok);
// A database value that may be a number or a text (C locale first, then the user's).
double fromVariant(const QVariant& value, bool* ok);

} // namespace NumberText
} // namespace IVCurve
