#pragma once

#include <QPointF>
#include <QRectF>
#include <QVector>

// The orthogonal route of a cable between two component sides, and the geometry the cable is
// drawn with. Pure functions: the scene items only call them.
namespace CableRouting {

struct Ends
{
    QRectF boxA; // endA's component (or the end itself), already grown by the cable's margin
    QRectF boxB;
    QPointF start; // endA's position
    QPointF end; // endB's position
    int startSide = 0;
    int endSide = 0;
};

// Distance of a cable kind's outer lines from its route: 0, 5 or 10.
double penOffset(int kind);
// How far the boxes around the end components are grown for a cable kind.
double margin(int kind);

// Start class of a route (1, 2, 8 or 9) and end class (6, 7, 13 or 14).
int startClass(int startSide, bool aUpper, bool aLeftmost);
int endClass(int endSide, bool aUpper, bool aLeftmost);

// The step codes for a start class, end class and flag, or an empty list when the table has no
// such row. Flag 0 always has a row for valid classes.
QVector<int> steps(int startClass, int endClass, int flag);

// The flags that describe how the boxes and ends lie to each other (bits 1 to 32).
int placementFlags(const Ends& ends);

// The polyline from start to end. Sides other than top, bottom, right and left give the
// straight segment.
QVector<QPointF> route(const Ends& ends);

// The offsets of a line drawn at distance o beside a route, one per route point: the point plus
// the offset gives one side, minus the offset the other. Corners get the diagonal offset so that
// both legs meet. Repeated points are dropped first, so the result belongs to the returned
// points.
struct Offsets
{
    QVector<QPointF> points;
    QVector<QPointF> offsets;
};
Offsets parallelOffsets(const QVector<QPointF>& route, double o);

// Which side of rect a cable end dropped at point attaches to, moving point onto that edge.
int snapToEdge(const QRectF& rect, QPointF& point);

} // namespace CableRouting
