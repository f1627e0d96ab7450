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
// An integer read from a file: a whole number from 0 to the largest unsigned int. Anything
// else (negative, too large, fractional, text, NULL) is missing and gives 0 with *ok false,
// never a wrapped or rounded value.
uint toUnsigned(const QVariant& value, bool* ok = nullptr);

} // namespace NumberText
} // namespace IVCurve
