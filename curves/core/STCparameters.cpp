#include "STCparameters.h"

#include "NumberText.h"

#include <QLocale>
#include <array>

namespace IVCurve {

namespace {
// The default coefficients in the user's locale, formatted again only when the locale changes:
// every curve loaded starts from them.
const std::array<QString, 7>& defaultTexts()
{
    thread_local QLocale formattedFor = QLocale::c();
    thread_local std::array<QString, 7> texts;
    const QLocale current;
    if (texts[0].isEmpty() || current != formattedFor) {
        formattedFor = current;
        const double values[7] = { 0.06, -0.004, 0.004, -0.15, 0.085, 0.00125, 0.35 };
        for (int i = 0; i < 7; ++i)
            texts[std::size_t(i)] = NumberText::format(values[i]);
    }
    return texts;
}
} // namespace

STCparameters::STCparameters()
{
    // Looked up once: each look-up checks the user's locale.
    const std::array<QString, 7>& texts = defaultTexts();
    a = texts[0];
    b = texts[1];
    alpha = texts[2];
    beta = texts[3];
    delta = texts[4];
    K = texts[5];
    Rs = texts[6];
}

STCparameters::~STCparameters() = default;

bool STCparameters::operator==(const STCparameters& other) const
{
    return algorithm == other.algorithm && a == other.a && b == other.b && alpha == other.alpha
        && beta == other.beta && delta == other.delta && K == other.K && Rs == other.Rs && T1 == other.T1
        && G1 == other.G1 && perPointIrradiance == other.perPointIrradiance;
}

} // namespace IVCurve
