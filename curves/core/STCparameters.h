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
    QString T1 = QStringLiteral("25");
    QString G1 = QStringLiteral("1000");
    bool perPointIrradiance = false;
};

} // namespace IVCurve
