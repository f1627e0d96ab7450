#pragma once

#include "CurveConstants.h"

#include <QPointF>
#include <QVector>
#include <algorithm>

namespace IVCurve {

// One point of a series: its place in the point vector, its irradiance and the tester's tag.
struct SeriesPoint
{
    int index = 0;
    double irradiance = 1000.0;
    int tag = 0;
};

// The points of one curve (x = voltage, y = current or power) and the figures kept while
// points are added.
class CurveSeries
{
public:
    explicit CurveSeries(SeriesKind kind = SeriesMEAS);

    void addPoint(double voltage, double current, double irradiance, int tag);
    // Adds up to count points in one go, with the same result as addPoint for each in turn:
    // produce(i, point, extra) sets the i-th point's voltage and current, irradiance and tag
    // (extra.index is set here) and returns false to leave it out. For the loops that build whole series: the
    // figures are kept in registers and the vectors grown once.
    template <typename Produce> void appendPoints(int count, Produce produce);
    // Makes room for the given number of points in all, without changing the series.
    void reserve(int size);
    // Empties the series and resets its figures.
    void clear();
    // The first point of largest V·I becomes the maximum-power point.
    void recomputeMaxPowerIndex();
    void setMaxPowerIndex(int index) { m_maxPowerIndex = index; }
    // Raises the largest voltage and current (the nominal curve's axis extent).
    void raiseMaxima(double voltage, double current);

    SeriesKind kind() const { return m_kind; }
    int size() const { return m_points.size(); }
    bool isEmpty() const { return m_points.isEmpty(); }
    const QVector<QPointF>& points() const { return m_points; }
    const QVector<SeriesPoint>& seriesPoints() const { return m_seriesPoints; }
    double maxVoltage() const { return m_maxVoltage; }
    // For power series this is the largest power.
    double maxCurrent() const { return m_maxCurrent; }
    double irradiance() const { return m_irradiance; }
    double minIrradiance() const { return m_minIrradiance; }
    double maxIrradiance() const { return m_maxIrradiance; }
    int maxPowerIndex() const { return m_maxPowerIndex; }

private:
    double m_maxVoltage = 0.0;
    double m_maxCurrent = 0.0;
    double m_irradiance = 1000.0;
    int m_maxPowerIndex = -1;
    SeriesKind m_kind;
    QVector<QPointF> m_points;
    QVector<SeriesPoint> m_seriesPoints;
    double m_minIrradiance = 0.0;
    double m_maxIrradiance = 0.0;
};

// Inline: every point of every curve, measured or derived, is added here.
inline void CurveSeries::addPoint(double voltage, double current, double irradiance, int tag)
{
    const int index = m_points.size();
    m_points.append(QPointF(voltage, current));
    m_seriesPoints.append(SeriesPoint { index, irradiance, tag });
    m_maxIrradiance = std::max(m_maxIrradiance, irradiance);
    if (irradiance != 0.0 && (irradiance < m_minIrradiance || m_minIrradiance == 0.0))
        m_minIrradiance = irradiance;
    m_maxVoltage = std::max(m_maxVoltage, voltage);
    m_maxCurrent = std::max(m_maxCurrent, current);
    if (irradiance != 0.0 && m_irradiance == 1000.0)
        m_irradiance = irradiance;
    if (m_maxPowerIndex < 0 || m_maxPowerIndex >= index) {
        m_maxPowerIndex = index;
    } else {
        const QPointF& best = m_points.at(m_maxPowerIndex);
        if (voltage * current > best.x() * best.y())
            m_maxPowerIndex = index;
    }
}

template <typename Produce> void CurveSeries::appendPoints(int count, Produce produce)
{
    if (count <= 0)
        return;
    const int start = m_points.size();
    m_points.resize(start + count);
    m_seriesPoints.resize(start + count);
    QPointF* points = m_points.data();
    SeriesPoint* extra = m_seriesPoints.data();
    double maxVoltage = m_maxVoltage;
    double maxCurrent = m_maxCurrent;
    double firstIrradiance = m_irradiance;
    double minIrradiance = m_minIrradiance;
    double maxIrradiance = m_maxIrradiance;
    int maxPowerIndex = m_maxPowerIndex;
    double maxPower = maxPowerIndex >= 0 && maxPowerIndex < start
        ? points[maxPowerIndex].x() * points[maxPowerIndex].y()
        : 0.0;
    int index = start;
    for (int i = 0; i < count; ++i) {
        QPointF& point = points[index];
        SeriesPoint& added = extra[index];
        if (!produce(i, point, added)) {
            // The slot is filled again from scratch for the next point.
            point = QPointF();
            added = SeriesPoint();
            continue;
        }
        added.index = index;
        const double voltage = point.x();
        const double current = point.y();
        const double irradiance = added.irradiance;
        maxIrradiance = std::max(maxIrradiance, irradiance);
        if (irradiance != 0.0 && (irradiance < minIrradiance || minIrradiance == 0.0))
            minIrradiance = irradiance;
        maxVoltage = std::max(maxVoltage, voltage);
        maxCurrent = std::max(maxCurrent, current);
        if (irradiance != 0.0 && firstIrradiance == 1000.0)
            firstIrradiance = irradiance;
        const double power = voltage * current;
        if (maxPowerIndex < 0 || maxPowerIndex >= index || power > maxPower) {
            maxPowerIndex = index;
            maxPower = power;
        }
        ++index;
    }
    m_points.resize(index);
    m_seriesPoints.resize(index);
    m_maxVoltage = maxVoltage;
    m_maxCurrent = maxCurrent;
    m_irradiance = firstIrradiance;
    m_minIrradiance = minIrradiance;
    m_maxIrradiance = maxIrradiance;
    m_maxPowerIndex = maxPowerIndex;
}

} // namespace IVCurve
