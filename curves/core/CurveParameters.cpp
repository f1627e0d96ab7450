#include "CurveParameters.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace IVCurve {

namespace {

struct Line
{
    double intercept = 0.0;
    double slope = 0.0;
};

// Least-squares straight line y = intercept + slope·x through the points (x, y); a flat line
// through the mean where every x is the same.
Line fitLine(const QVector<QPointF>& points)
{
    const int n = points.size();
    double meanX = 0.0;
    double meanY = 0.0;
    for (const QPointF& p : points) {
        meanX += p.x();
        meanY += p.y();
    }
    meanX /= n;
    meanY /= n;
    double sxx = 0.0;
    double sxy = 0.0;
    for (const QPointF& p : points) {
        sxx += (p.x() - meanX) * (p.x() - meanX);
        sxy += (p.x() - meanX) * (p.y() - meanY);
    }
    Line line;
    line.slope = sxx > 0.0 ? sxy / sxx : 0.0;
    line.intercept = meanY - line.slope * meanX;
    return line;
}

// The points whose key lies below the limit, or, where fewer than wanted do, the wanted
// number of points with the smallest keys (estimated).
template <typename Key>
QVector<QPointF> endPoints(const QVector<QPointF>& points, double limit, Key key, bool* estimated)
{
    QVector<QPointF> chosen;
    for (const QPointF& p : points) {
        if (key(p) < limit)
            chosen.append(p);
    }
    *estimated = chosen.size() < CurveParameters::LineFitPoints;
    if (*estimated) {
        chosen = points;
        std::stable_sort(chosen.begin(), chosen.end(),
            [&](const QPointF& a, const QPointF& b) { return key(a) < key(b); });
        chosen.resize(std::min<int>(chosen.size(), CurveParameters::LineFitPoints));
    }
    return chosen;
}

// Least-squares polynomial of the given degree in x = (v − centre) / scale, solved by Gaussian
// elimination with partial pivoting on the normal equations (the scaling keeps them well
// conditioned for the few points a window holds). False when the system is singular.
bool fitPolynomial(const QVector<QPointF>& points, int degree, double centre, double scale,
    std::array<double, CurveParameters::PowerFitDegree + 1>* coefficients)
{
    const int size = degree + 1;
    double matrix[CurveParameters::PowerFitDegree + 1][CurveParameters::PowerFitDegree + 2] = {};
    for (const QPointF& p : points) {
        const double x = (p.x() - centre) / scale;
        double powers[2 * CurveParameters::PowerFitDegree + 1];
        powers[0] = 1.0;
        for (int k = 1; k <= 2 * degree; ++k)
            powers[k] = powers[k - 1] * x;
        for (int row = 0; row < size; ++row) {
            for (int column = 0; column < size; ++column)
                matrix[row][column] += powers[row + column];
            matrix[row][size] += powers[row] * p.y();
        }
    }
    for (int column = 0; column < size; ++column) {
        int pivot = column;
        for (int row = column + 1; row < size; ++row) {
            if (std::fabs(matrix[row][column]) > std::fabs(matrix[pivot][column]))
                pivot = row;
        }
        if (std::fabs(matrix[pivot][column]) < 1e-12)
            return false;
        if (pivot != column)
            std::swap(matrix[pivot], matrix[column]);
        for (int row = column + 1; row < size; ++row) {
            const double factor = matrix[row][column] / matrix[column][column];
            for (int k = column; k <= size; ++k)
                matrix[row][k] -= factor * matrix[column][k];
        }
    }
    coefficients->fill(0.0);
    for (int row = size - 1; row >= 0; --row) {
        double sum = matrix[row][size];
        for (int k = row + 1; k < size; ++k)
            sum -= matrix[row][k] * (*coefficients)[std::size_t(k)];
        (*coefficients)[std::size_t(row)] = sum / matrix[row][row];
    }
    return true;
}

double evaluate(const std::array<double, CurveParameters::PowerFitDegree + 1>& c, double x)
{
    double value = 0.0;
    for (int k = CurveParameters::PowerFitDegree; k >= 0; --k)
        value = value * x + c[std::size_t(k)];
    return value;
}

// The largest value of the polynomial on [from, to]: a scan, then a golden-section search in
// the best step's neighbourhood (a quartic has at most three turning points).
double maximise(const std::array<double, CurveParameters::PowerFitDegree + 1>& c, double from, double to)
{
    const int steps = 64;
    const double step = (to - from) / steps;
    int best = 0;
    for (int i = 1; i <= steps; ++i) {
        if (evaluate(c, from + i * step) > evaluate(c, from + best * step))
            best = i;
    }
    double a = from + std::max(0, best - 1) * step;
    double b = from + std::min(steps, best + 1) * step;
    const double ratio = (std::sqrt(5.0) - 1.0) / 2.0;
    for (int i = 0; i < 60 && b - a > 1e-12 * std::max(1.0, std::fabs(b)); ++i) {
        const double x1 = b - ratio * (b - a);
        const double x2 = a + ratio * (b - a);
        if (evaluate(c, x1) < evaluate(c, x2))
            a = x1;
        else
            b = x2;
    }
    return (a + b) / 2.0;
}

} // namespace

CurveParameters CurveParameters::fromPoints(const QVector<QPointF>& input)
{
    CurveParameters result;
    QVector<QPointF> points;
    points.reserve(input.size());
    for (const QPointF& p : input) {
        if (std::isfinite(p.x()) && std::isfinite(p.y()))
            points.append(p);
    }
    if (points.size() < 2)
        return result;
    std::stable_sort(
        points.begin(), points.end(), [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); });

    // Isc: current over voltage near the current axis; the slope there gives Rsh.
    const double roughVoc = points.last().x();
    const QVector<QPointF> nearIsc = endPoints(
        points, EndShare * roughVoc, [](const QPointF& p) { return p.x(); }, &result.iscEstimated);
    const Line iscLine = fitLine(nearIsc);
    result.isc = iscLine.intercept;
    result.rsh = iscLine.slope < 0.0 ? -1.0 / iscLine.slope : 0.0;

    // Voc: voltage over current near the voltage axis; the slope there gives Rs.
    QVector<QPointF> swapped;
    swapped.reserve(points.size());
    for (const QPointF& p : points)
        swapped.append(QPointF(p.y(), p.x()));
    const QVector<QPointF> nearVoc = endPoints(
        swapped, EndShare * result.isc, [](const QPointF& p) { return p.x(); }, &result.vocEstimated);
    const Line vocLine = fitLine(nearVoc);
    result.voc = vocLine.intercept;
    result.rs = vocLine.slope < 0.0 ? -vocLine.slope : 0.0;

    // Maximum power: a quartic of power over voltage through the window around the point of
    // largest power, or the nearest points where the window holds too few.
    int peak = 0;
    for (int i = 1; i < points.size(); ++i) {
        if (points.at(i).x() * points.at(i).y() > points.at(peak).x() * points.at(peak).y())
            peak = i;
    }
    const QPointF top = points.at(peak);
    QVector<QPointF> window;
    for (const QPointF& p : points) {
        if (p.x() >= WindowLow * top.x() && p.x() <= WindowHigh * top.x() && p.y() >= WindowLow * top.y()
            && p.y() <= WindowHigh * top.y())
            window.append(QPointF(p.x(), p.x() * p.y()));
    }
    if (window.size() < PowerFitDegree + 1) {
        result.mppEstimated = true;
        const int count = std::min<int>(points.size(), PowerFitDegree + 1);
        const int first = std::clamp(peak - count / 2, 0, int(points.size()) - count);
        window.clear();
        for (int i = first; i < first + count; ++i)
            window.append(QPointF(points.at(i).x(), points.at(i).x() * points.at(i).y()));
    }
    const double from = window.first().x();
    const double to = window.last().x();
    const double scale = std::max(std::fabs(to - top.x()), std::fabs(from - top.x()));
    std::array<double, PowerFitDegree + 1> coefficients {};
    const int degree = std::min<int>(PowerFitDegree, window.size() - 1);
    if (scale > 0.0 && fitPolynomial(window, degree, top.x(), scale, &coefficients)) {
        const double x = maximise(coefficients, (from - top.x()) / scale, (to - top.x()) / scale);
        result.vmp = top.x() + x * scale;
        result.pmp = evaluate(coefficients, x);
    } else {
        result.mppEstimated = true;
        result.vmp = top.x();
        result.pmp = top.x() * top.y();
    }
    result.imp = result.vmp > 0.0 ? result.pmp / result.vmp : 0.0;
    result.fillFactor = result.isc > 0.0 && result.voc > 0.0 ? result.pmp / (result.isc * result.voc) : 0.0;
    result.valid = result.pmp > 0.0 && result.isc > 0.0 && result.voc > 0.0;
    return result;
}

} // namespace IVCurve
