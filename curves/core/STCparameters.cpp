#include "STCparameters.h"

#include "NumberText.h"

#include <QLocale>
#include <array>

namespace IVCurve {

namespace {
constexpr int Defaults = 16;
// The default coefficients in the user's locale, formatted again only when the locale changes:
// every curve loaded starts from them.
const std::array<QString, Defaults>& defaultTexts()
{
    thread_local QLocale formattedFor = QLocale::c();
    thread_local std::array<QString, Defaults> texts;
    const QLocale current;
    if (texts[0].isEmpty() || current != formattedFor) {
        formattedFor = current;
        const double values[Defaults] = { 0.06, -0.004, 0.004, -0.15, 0.085, 0.00125, 0.35, 0.05, -0.3, 0.06,
            0.35, 0.00125, 0.004, 0.35, 60, 1.232 };
        for (int i = 0; i < Defaults; ++i)
            texts[std::size_t(i)] = NumberText::format(values[i]);
    }
    return texts;
}
} // namespace

STCparameters::STCparameters()
{
    // Looked up once: each look-up checks the user's locale.
    const std::array<QString, Defaults>& texts = defaultTexts();
    a = texts[0];
    b = texts[1];
    alpha = texts[2];
    beta = texts[3];
    delta = texts[4];
    K = texts[5];
    Rs = texts[6];
    iec2AlphaRel = texts[7];
    iec2BetaRel = texts[8];
    iec2A = texts[9];
    iec2Rs = texts[10];
    iec2Kappa = texts[11];
    iec4Alpha = texts[12];
    iec4Rs = texts[13];
    iec4Cells = texts[14];
    iec4Epsilon = texts[15];
}

STCparameters::~STCparameters() = default;

bool STCparameters::operator==(const STCparameters& other) const
{
    return algorithm == other.algorithm && a == other.a && b == other.b && alpha == other.alpha
        && beta == other.beta && delta == other.delta && K == other.K && Rs == other.Rs && T1 == other.T1
        && G1 == other.G1 && perPointIrradiance == other.perPointIrradiance
        && iec2AlphaRel == other.iec2AlphaRel && iec2BetaRel == other.iec2BetaRel && iec2A == other.iec2A
        && iec2Rs == other.iec2Rs && iec2Kappa == other.iec2Kappa && iec4Alpha == other.iec4Alpha
        && iec4Rs == other.iec4Rs && iec4Cells == other.iec4Cells && iec4Epsilon == other.iec4Epsilon;
}

} // namespace IVCurve
