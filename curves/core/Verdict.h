#pragma once

#include <QString>
#include <QVector>

namespace IVCurve {

struct CurveParameters;

// What a string must reach at STC against its modules' data sheet, in percent of the nominal
// value: the maximum power at most pmpBelow below it, Voc and Isc within ± their tolerance.
struct VerdictTolerances
{
    double pmpBelow = 5.0;
    double voc = 3.0;
    double isc = 3.0;

    bool operator==(const VerdictTolerances& other) const
    {
        return pmpBelow == other.pmpBelow && voc == other.voc && isc == other.isc;
    }
};

// The nominal figures of a string: the module's data-sheet values times the modules in
// series (voltages) and in parallel (currents).
struct NominalString
{
    double pmp = 0.0;
    double voc = 0.0;
    double isc = 0.0;

    static NominalString fromModule(
        double voc, double isc, double vmp, double imp, unsigned series, unsigned parallel);
    bool isUsable() const { return pmp > 0.0 && voc > 0.0 && isc > 0.0; }
};

struct Verdict
{
    enum Outcome { None, Pass, Fail };
    // Why no verdict could be given.
    enum Missing { NothingMissing, NoModule, NoCurve, NoIrradiance };
    enum Quantity { Pmp, Voc, Isc };

    struct Shortfall
    {
        Quantity quantity;
        // The STC value's deviation from the nominal value, in percent (negative below it).
        double deviation;
    };

    Outcome outcome = None;
    Missing missing = NothingMissing;
    QVector<Shortfall> shortfalls;

    // stc holds the figures of the string's STC curve; hasIrradiance tells whether the curve's
    // irradiance was measured (without it the translation has nothing to start from).
    static Verdict judge(const NominalString& nominal, const CurveParameters& stc, bool hasIrradiance,
        const VerdictTolerances& tolerances);

    // One line for the tree, the table and the report: "Pass", "Fail: Pmp −6.2 %, Voc +3.4 %", or
    // why there is none.
    QString text() const;
};

} // namespace IVCurve
