#include "STCparameters.h"

#include "NumberText.h"

namespace IVCurve {

STCparameters::STCparameters()
    : a(NumberText::format(0.06))
    , b(NumberText::format(-0.004))
    , alpha(NumberText::format(0.004))
    , beta(NumberText::format(-0.15))
    , delta(NumberText::format(0.085))
    , K(NumberText::format(0.00125))
    , Rs(NumberText::format(0.35))
{ }

STCparameters::~STCparameters() = default;

bool STCparameters::operator==(const STCparameters& other) const
{
    return algorithm == other.algorithm && a == other.a && b == other.b && alpha == other.alpha
        && beta == other.beta && delta == other.delta && K == other.K && Rs == other.Rs && T1 == other.T1
        && G1 == other.G1 && perPointIrradiance == other.perPointIrradiance;
}

} // namespace IVCurve
