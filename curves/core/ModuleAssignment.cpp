#include "ModuleAssignment.h"

#include "CurveModuleRow.h"
#include "NumberText.h"

#include <cmath>

namespace IVCurve {

void ModuleAssignment::setModule(const CurveModuleRow& row)
{
    moduleID = int(row.id);
    voc = isc = vmp = imp = 0.0;
    bool ok = false;
    double value = NumberText::fromVariant(row.value(CurveModuleRow::Voc), &ok);
    if (ok)
        voc = value;
    value = NumberText::fromVariant(row.value(CurveModuleRow::Isc), &ok);
    if (ok)
        isc = value;
    value = NumberText::fromVariant(row.value(CurveModuleRow::Vmp), &ok);
    if (ok)
        vmp = value;
    value = NumberText::fromVariant(row.value(CurveModuleRow::Imp), &ok);
    if (ok)
        imp = value;
    iscCopy = isc;
    d = shapeVoltage(voc, isc, vmp, imp);
}

double ModuleAssignment::shapeVoltage(double voc, double isc, double vmp, double imp)
{
    if (imp == 0.0 || isc == 0.0 || imp == isc)
        return 0.0;
    // Imp above Isc (or of the other sign) has no logarithm: no curve shape can be derived.
    const double ratio = imp / isc;
    if (ratio <= 0.0 || ratio >= 1.0)
        return 0.0;
    const double d = (vmp - voc) / std::log(1.0 - ratio);
    return std::isfinite(d) ? d : 0.0;
}

} // namespace IVCurve
