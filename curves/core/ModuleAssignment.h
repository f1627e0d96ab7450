#pragma once

namespace IVCurve {

struct CurveModuleRow;

// The PV module assigned to a string and how many of them the string holds.
struct ModuleAssignment
{
    // Takes the module's data-sheet values; values that are not numbers stay 0.
    void setModule(const CurveModuleRow& row);
    bool hasModule() const { return moduleID != 0; }
    // The shape voltage of the nominal curve; 0 when the data sheet values cannot give one.
    static double shapeVoltage(double voc, double isc, double vmp, double imp);

    int moduleID = 0;
    unsigned ns = 1;
    unsigned np = 1;
    double voc = 0.0;
    double isc = 0.0;
    double vmp = 0.0;
    double imp = 0.0;
    double iscCopy = 0.0;
    double d = 0.0;
};

} // namespace IVCurve
