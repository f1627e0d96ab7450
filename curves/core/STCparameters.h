#pragma once

#include "CurveConstants.h"

#include <QString>

namespace IVCurve {

// The translation settings of one curve. The coefficients are texts in the user's locale, as
// they are edited and stored; T1 and G1 are set from the curve's conditions for every build.
struct STCparameters
{
    STCparameters();
    virtual ~STCparameters();

    bool operator==(const STCparameters& other) const;
    bool operator!=(const STCparameters& other) const { return !(*this == other); }

    quint8 algorithm = AlgorithmAnderson;
    QString a;
    QString b;
    QString alpha;
    QString beta;
    QString delta;
    QString K;
    QString Rs;
    // IEC 60891 procedure 2, for the string as measured: relative coefficients in %/°C, the
    // irradiance correction factor, the internal series resistance (Ω) and the curve correction
    // factor (Ω/°C).
    QString iec2AlphaRel;
    QString iec2BetaRel;
    QString iec2A;
    QString iec2Rs;
    QString iec2Kappa;
    // IEC 60891 procedure 4: the absolute current coefficient (A/°C) and series resistance (Ω)
    // of the string, the cells of one module and ε, the band-gap voltage per cell (V).
    QString iec4Alpha;
    QString iec4Rs;
    QString iec4Cells;
    QString iec4Epsilon;
    QString T1 = QStringLiteral("25");
    QString G1 = QStringLiteral("1000");
    bool perPointIrradiance = false;
};

} // namespace IVCurve
