#pragma once

#include <QChar>
#include <QtGlobal>
#include <charconv>
#include <cstddef>

// Reading the plain decimal numbers that the program itself writes ("12.500", "-0.013", "852"),
// for the places where every point or value of a document passes: much faster than a locale's
// general parser, with the same result. Anything else is left to the locale.
namespace IVCurve {
namespace PlainNumber {

inline unsigned code(QChar c)
{
    return c.unicode();
}
inline unsigned code(char c)
{
    return static_cast<unsigned char>(c);
}
inline bool isDigit(unsigned c)
{
    return c >= '0' && c <= '9';
}

// An optional minus, digits without a redundant leading zero, and optionally the decimal point
// followed by digits. Converted with correct rounding: up to 15 digits the mantissa and the
// power of ten are exact and one division rounds once; longer numbers go to std::from_chars.
template <typename Char>
bool scanDouble(const Char* begin, const Char* end, double* value, unsigned point = '.')
{
    static const double exactPowersOfTen[]
        = { 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15 };
    const std::ptrdiff_t length = end - begin;
    if (length <= 0 || length >= 64)
        return false;
    const Char* p = begin;
    const bool negative = code(*p) == '-';
    if (negative)
        ++p;
    const Char* digits = p;
    quint64 mantissa = 0;
    int significant = 0;
    while (p != end && isDigit(code(*p)) && significant < 19) {
        mantissa = mantissa * 10 + (code(*p) - '0');
        ++significant;
        ++p;
    }
    const std::ptrdiff_t integerDigits = p - digits;
    if (integerDigits == 0 || (integerDigits > 1 && code(*digits) == '0'))
        return false;
    int decimals = 0;
    if (p != end) {
        if (code(*p) != point)
            return false;
        ++p;
        while (p != end && isDigit(code(*p)) && significant < 19) {
            mantissa = mantissa * 10 + (code(*p) - '0');
            ++significant;
            ++decimals;
            ++p;
        }
        if (decimals == 0 || p != end)
            return false;
    }
    if (significant <= 15) {
        const double magnitude = double(mantissa) / exactPowersOfTen[decimals];
        *value = negative ? -magnitude : magnitude;
        return true;
    }
    char buffer[64];
    for (std::ptrdiff_t i = 0; i < length; ++i)
        buffer[i] = code(begin[i]) == point ? '.' : char(code(begin[i]));
    const std::from_chars_result result = std::from_chars(buffer, buffer + length, *value);
    return result.ec == std::errc() && result.ptr == buffer + length;
}

// An optional minus and up to nine digits without a redundant leading zero.
template <typename Char> bool scanInt(const Char* begin, const Char* end, int* value)
{
    const Char* p = begin;
    const bool negative = p != end && code(*p) == '-';
    if (negative)
        ++p;
    if (p == end || end - p > 9 || (end - p > 1 && code(*p) == '0'))
        return false;
    int number = 0;
    for (; p != end; ++p) {
        if (!isDigit(code(*p)))
            return false;
        number = number * 10 + int(code(*p) - '0');
    }
    *value = negative ? -number : number;
    return true;
}

} // namespace PlainNumber
} // namespace IVCurve
