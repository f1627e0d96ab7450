#include "STCAlgorithm.h"

#include "NumberText.h"
#include "STCparameters.h"

namespace IVCurve {

STCAlgorithm::STCAlgorithm(const STCparameters& parameters)
    : m_parameters(parameters)
{
    bool ok = false;
    m_G1 = NumberText::parse(parameters.G1, &ok);
    // The irradiance divides and enters logarithms: zero or negative readings cannot be used.
    if (!ok || m_G1 <= 0.0)
        m_G1 = 1000.0;
    // 0 °C is a real reading on a winter test; only a text that is not a number means missing.
    m_T1 = NumberText::parse(parameters.T1, &ok);
    if (!ok)
        m_T1 = 25.0;
}

STCAlgorithm::~STCAlgorithm() = default;

double STCAlgorithm::coefficient(const QString& text)
{
    return NumberText::parse(text, nullptr);
}

} // namespace IVCurve
