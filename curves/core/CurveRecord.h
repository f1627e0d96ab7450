#pragma once

#include "CurveSeries.h"
#include "ModuleAssignment.h"
#include "STCparameters.h"

#include <QColor>
#include <QString>
#include <array>
#include <memory>

namespace IVCurve {

class STCAlgorithm;

// One measured string curve with its conditions, translation settings, module and the series
// derived from it. The translated and nominal series are built on first use and dropped
// whenever something they depend on changes.
class CurveRecord
{
public:
    enum Value {
        Irradiance = 0,
        AmbientTemp,
        CellTemp,
        Voc,
        Isc,
        Riso,
        Viso,
        Iclamp,
        Rpe,
        FF,
        Vmp,
        Imp,
        ValueCount
    };

    CurveRecord();

    // The measured series; points are added while reading or importing.
    CurveSeries& measured() { return m_series[SeriesMEAS]; }
    const CurveSeries& measured() const { return m_series[SeriesMEAS]; }
    // Any series, built when it is asked for.
    const CurveSeries& series(SeriesKind kind);
    const CurveSeries& measuredPower() { return series(SeriesMEASPower); }
    const CurveSeries& stc() { return series(SeriesSTC); }
    const CurveSeries& stcPower() { return series(SeriesSTCPower); }
    const CurveSeries& nominal() { return series(SeriesNOM); }
    const CurveSeries& nominalPower() { return series(SeriesNOMPower); }

    // The measured points translated one by one, without the points added at the axes: point j
    // belongs to measured point j (non-finite results stay in place).
    QVector<QPointF> translatedMeasuredPoints();

    // Empties the STC and NOM series and their power series.
    void invalidateTranslations();

    const STCparameters& stcParameters() const { return m_stc; }
    void setSTCparameters(const STCparameters& parameters);
    const ModuleAssignment& module() const { return m_module; }
    void setModuleAssignment(const ModuleAssignment& module);

    QString value(Value which) const { return m_values[which]; }
    void setValue(Value which, const QString& text);

    QColor colour;
    uint curveID = 0;
    QString testerSerNo;
    uint fileVersion = 0;
    uint memLocation = 0;
    QString testDate;
    QString label;

private:
    std::unique_ptr<STCAlgorithm> makeAlgorithm();
    void buildSTC();
    void buildNominal();
    void buildPower(SeriesKind source, SeriesKind power);

    std::array<CurveSeries, SeriesKindCount> m_series;
    std::array<QString, ValueCount> m_values;
    STCparameters m_stc;
    ModuleAssignment m_module;
};

} // namespace IVCurve
