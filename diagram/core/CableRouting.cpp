#include "CableRouting.h"

#include "DiagramTypes.h"

#include <QtMath>
#include <initializer_list>

namespace {

struct Row
{
    int b;
    int a;
    int flag;
    std::initializer_list<int> steps;
};

// Start class b, end class a, flag → steps. Codes 1 to 7 replace y, 8 to 14 replace x.
const Row routeTable[] = {
    { 1, 13, 0, { 1, 13 } },
    { 1, 14, 0, { 1, 14, 6 } },
    { 1, 7, 0, { 1, 11, 7, 13 } },
    { 1, 6, 0, { 1, 11, 6, 13 } },
    { 2, 13, 0, { 13 } },
    { 2, 14, 0, { 14, 6 } },
    { 2, 7, 0, { 11, 7, 13 } },
    { 2, 6, 0, { 11, 6 } },
    { 9, 13, 0, { 4, 13 } },
    { 9, 14, 0, { 4, 14, 6 } },
    { 9, 7, 0, { 7, 13 } },
    { 9, 6, 0, { 6 } },
    { 8, 13, 0, { 8, 4, 13 } },
    { 8, 14, 0, { 8, 4, 14, 6 } },
    { 8, 7, 0, { 8, 7, 13 } },
    { 8, 6, 0, { 8, 6 } },
    { 1, 7, 1, { 1, 8, 7, 13 } },
    { 1, 6, 1, { 1, 8, 6, 13 } },
    { 2, 7, 1, { 14, 7, 13 } },
    { 2, 6, 1, { 10, 4, 12, 6 } },
    { 9, 13, 2, { 3, 11, 5, 13 } },
    { 9, 14, 2, { 7, 14, 6 } },
    { 8, 13, 2, { 8, 1, 13 } },
    { 8, 14, 2, { 8, 1, 14, 6 } },
    { 9, 7, 4, { 4, 8, 7, 13 } },
    { 9, 6, 4, { 4, 8, 6 } },
    { 9, 14, 4, { 4, 14, 6 } },
    { 2, 13, 8, { 10, 4, 13 } },
    { 1, 13, 8, { 1, 14, 4, 13 } },
    { 8, 13, 8, { 8, 4, 13 } },
    { 2, 13, 16, { 11, 1, 13 } },
    { 2, 14, 16, { 10, 7, 14, 6 } },
    { 2, 7, 16, { 11, 7, 13 } },
    { 9, 6, 32, { 3, 11, 6 } },
    { 8, 6, 32, { 8, 1, 11, 6 } },
    { 1, 6, 32, { 1, 11, 6 } },
};

bool within(double value, double low, double high)
{
    return value >= low && value <= high;
}

bool rangesMeet(double lowA, double highA, double lowB, double highB)
{
    return lowA <= highB && lowB <= highA;
}

QPointF unit(const QPointF& from, const QPointF& to)
{
    const QPointF d = to - from;
    const double length = qSqrt(d.x() * d.x() + d.y() * d.y());
    return QPointF(d.x() / length, d.y() / length);
}

// The left-hand normal of a direction.
QPointF normal(const QPointF& direction)
{
    return QPointF(-direction.y(), direction.x());
}

} // namespace

double CableRouting::penOffset(int kind)
{
    switch (kind) {
    case Diagram::DcCable:
        return 5;
    case Diagram::AcCable:
        return 10;
    default:
        return 0;
    }
}

double CableRouting::margin(int kind)
{
    return penOffset(kind) + 0.5 + 2;
}

int CableRouting::startClass(int startSide, bool aUpper, bool aLeftmost)
{
    switch (startSide) {
    case Diagram::Top:
        return aUpper ? 1 : 9;
    case Diagram::Bottom:
        return aUpper ? 9 : 1;
    case Diagram::Right:
        return aLeftmost ? 2 : 8;
    case Diagram::Left:
        return aLeftmost ? 8 : 2;
    default:
        return 0;
    }
}

int CableRouting::endClass(int endSide, bool aUpper, bool aLeftmost)
{
    switch (endSide) {
    case Diagram::Top:
        return aUpper ? 13 : 7;
    case Diagram::Bottom:
        return aUpper ? 7 : 13;
    case Diagram::Right:
        return aLeftmost ? 14 : 6;
    case Diagram::Left:
        return aLeftmost ? 6 : 14;
    default:
        return 0;
    }
}

QVector<int> CableRouting::steps(int startClass, int endClass, int flag)
{
    for (const Row& row : routeTable) {
        if (row.b == startClass && row.a == endClass && row.flag == flag)
            return QVector<int>(row.steps);
    }
    return {};
}

int CableRouting::placementFlags(const Ends& e)
{
    const QRectF& a = e.boxA;
    const QRectF& b = e.boxB;
    int flags = 0;
    if (rangesMeet(a.left(), a.right(), b.left(), b.right()))
        flags |= 1;
    if (rangesMeet(a.top(), a.bottom(), b.top(), b.bottom()))
        flags |= 2;
    if (within(e.start.x(), b.left(), b.right()))
        flags |= 4;
    if (within(e.end.x(), a.left(), a.right()))
        flags |= 8;
    if (within(e.start.y(), b.top(), b.bottom()))
        flags |= 16;
    if (within(e.end.y(), a.top(), a.bottom()))
        flags |= 32;
    return flags;
}

QVector<QPointF> CableRouting::route(const Ends& e)
{
    if (!Diagram::isValidSide(e.startSide) || !Diagram::isValidSide(e.endSide))
        return { e.start, e.end };

    const QRectF& a = e.boxA;
    const QRectF& b = e.boxB;
    const QRectF all = a.united(b);
    const bool upper = a.top() == all.top();
    const bool leftmost = a.left() == all.left();
    const int bClass = startClass(e.startSide, upper, leftmost);
    const int aClass = endClass(e.endSide, upper, leftmost);

    // Candidate coordinates, indexed by step code.
    double at[15] = {};
    at[1] = upper ? all.top() : all.bottom();
    at[2] = e.start.y();
    at[3] = upper ? a.bottom() : a.top();
    at[5] = upper ? b.top() : b.bottom();
    at[4] = (at[3] + at[5]) / 2;
    at[6] = e.end.y();
    at[7] = upper ? all.bottom() : all.top();
    at[8] = leftmost ? all.left() : all.right();
    at[9] = e.start.x();
    at[10] = leftmost ? a.right() : a.left();
    at[12] = leftmost ? b.left() : b.right();
    at[11] = (at[10] + at[12]) / 2;
    at[13] = e.end.x();
    at[14] = leftmost ? all.right() : all.left();

    const int flags = placementFlags(e);
    QVector<int> codes;
    for (int flag : { 32, 16, 8, 4, 2, 1 }) {
        if (flags & flag) {
            codes = steps(bClass, aClass, flag);
            if (!codes.isEmpty())
                break;
        }
    }
    if (codes.isEmpty())
        codes = steps(bClass, aClass, 0);

    QVector<QPointF> points;
    points.reserve(codes.size() + 2);
    points.append(e.start);
    for (int code : codes) {
        QPointF next = points.last();
        if (code <= 7)
            next.setY(at[code]);
        else
            next.setX(at[code]);
        points.append(next);
    }
    points.append(e.end);
    return points;
}

CableRouting::Offsets CableRouting::parallelOffsets(const QVector<QPointF>& route, double o)
{
    Offsets result;
    for (const QPointF& p : route) {
        if (result.points.isEmpty() || result.points.last() != p)
            result.points.append(p);
    }
    const int n = result.points.size();
    if (n < 2) {
        result.points.clear();
        return result;
    }
    result.offsets.resize(n);
    const QPointF& first = result.points.at(0);
    result.offsets[0] = normal(unit(first, result.points.at(1))) * o;
    for (int i = 1; i < n; ++i) {
        const QPointF in = unit(result.points.at(i - 1), result.points.at(i));
        const QPointF inNormal = normal(in);
        if (i == n - 1) {
            result.offsets[i] = inNormal * o;
            continue;
        }
        const QPointF out = unit(result.points.at(i), result.points.at(i + 1));
        const double dot = in.x() * out.x() + in.y() * out.y();
        if (qAbs(dot) < 1e-9) {
            // A right-angled corner: both legs shifted by o meet at the diagonal point.
            result.offsets[i] = (inNormal + normal(out)) * o;
        } else {
            // Straight on (or turning back): keep the distance of the incoming leg.
            result.offsets[i] = inNormal * o;
        }
    }
    return result;
}

int CableRouting::snapToEdge(const QRectF& rect, QPointF& point)
{
    const QPointF centre = rect.center();
    const double dx = point.x() - centre.x();
    const double dy = point.y() - centre.y();
    const double w = rect.width();
    const double h = rect.height();
    int side;
    if (qAbs(dx) < 0.1)
        side = dy > 0 ? Diagram::Bottom : Diagram::Top;
    else if (dy / dx > h / w)
        side = dx > 0 ? Diagram::Bottom : Diagram::Top;
    else if (-(dy / dx) > h / w)
        side = dx > 0 ? Diagram::Top : Diagram::Bottom;
    else
        side = dx > 0 ? Diagram::Right : Diagram::Left;
    switch (side) {
    case Diagram::Top:
        point.setY(rect.top());
        break;
    case Diagram::Bottom:
        point.setY(rect.bottom());
        break;
    case Diagram::Right:
        point.setX(rect.right());
        break;
    default:
        point.setX(rect.left());
        break;
    }
    return side;
}
