// libFuzzer target: a published module list on any bytes. Every module it accepts must be one the
// library can hold: a name, a maximum-power point inside the curve, a whole number of cells.
//   build/fuzz/bin/fuzz_modulelist fuzz/data/modulelist/
#include "ModuleListFile.h"

#include <QByteArray>
#include <cmath>

using namespace IVCurve;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray content = QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    const ModuleListFile list = ModuleListFile::parse(content);
    if (!list.error.isEmpty() && (!list.modules.isEmpty() || list.skipped != 0))
        __builtin_trap();
    for (const CurveModuleRow& module : list.modules) {
        const double isc = module.value(CurveModuleRow::Isc).toDouble();
        const double imp = module.value(CurveModuleRow::Imp).toDouble();
        const double voc = module.value(CurveModuleRow::Voc).toDouble();
        const double vmp = module.value(CurveModuleRow::Vmp).toDouble();
        const int cells = module.value(CurveModuleRow::Cells).toInt();
        if (module.value(CurveModuleRow::Description).toString().isEmpty() || !(imp > 0 && imp < isc)
            || !(vmp > 0 && vmp < voc) || cells < 1 || !std::isfinite(isc) || !std::isfinite(voc))
            __builtin_trap();
    }
    return 0;
}
