#include "CableRouting.h"
#include "DiagramIds.h"
#include "DiagramTypes.h"

#include <QtTest>
#include <functional>
#include <limits>

using namespace Diagram;
using Points = QVector<QPointF>;

Q_DECLARE_METATYPE(Points)

namespace {

// The drawn shape: repeated points (steps that leave the point where it was) removed.
Points shape(const Points& route)
{
    Points out;
    for (const QPointF& p : route) {
        if (out.isEmpty() || out.last() != p)
            out.append(p);
    }
    return out;
}

// A point on a side of a 100 x 100 box at (x, y).
QPointF onSide(const QRectF& box, int side)
{
    switch (side) {
    case Top:
        return QPointF(box.left() + 50, box.top());
    case Bottom:
        return QPointF(box.left() + 50, box.bottom());
    case Right:
        return QPointF(box.right(), box.top() + 50);
    default:
        return QPointF(box.left(), box.top() + 50);
    }
}

int mirrorSide(int side, bool horizontal, bool vertical)
{
    if (horizontal && (side == Left || side == Right))
        return side == Left ? Right : Left;
    if (vertical && (side == Top || side == Bottom))
        return side == Top ? Bottom : Top;
    return side;
}

QString sideName(int side)
{
    switch (side) {
    case Top:
        return "top";
    case Bottom:
        return "bottom";
    case Right:
        return "right";
    default:
        return "left";
    }
}

} // namespace

class TestRouting : public QObject
{
    Q_OBJECT
private slots:
    void routesBetweenSeparateBoxes_data();
    void routesBetweenSeparateBoxes();
    void flaggedPlacements_data();
    void flaggedPlacements();
    void invalidSidesGiveTheStraightLine();
    void tableHasABaseRowForEveryClassPair();
    void marginsFollowTheCableKind();
    void parallelLinesMeetAtCorners();
    void snappingPicksTheEdgeTowardsThePoint();
    void idsAndNumbering();
};

// Box A at (0, 0) and box B at (300, 300), both 100 x 100, touching nothing: A is upper and
// leftmost, no flag is set. The routes were worked out by hand from the table. The other three
// placements (A lower and/or not leftmost) are the same drawing mirrored, so their routes are
// the mirrored routes with the sides mirrored too.
void TestRouting::routesBetweenSeparateBoxes_data()
{
    QTest::addColumn<QRectF>("boxA");
    QTest::addColumn<QRectF>("boxB");
    QTest::addColumn<int>("startSide");
    QTest::addColumn<int>("endSide");
    QTest::addColumn<Points>("expected");

    struct Case
    {
        int startSide;
        int endSide;
        Points route;
    };
    const QList<Case> cases = {
        { Top, Top, { { 50, 0 }, { 350, 0 }, { 350, 300 } } },
        { Top, Bottom, { { 50, 0 }, { 200, 0 }, { 200, 400 }, { 350, 400 } } },
        { Top, Right, { { 50, 0 }, { 400, 0 }, { 400, 350 } } },
        { Top, Left, { { 50, 0 }, { 200, 0 }, { 200, 350 }, { 300, 350 } } },
        { Bottom, Top, { { 50, 100 }, { 50, 200 }, { 350, 200 }, { 350, 300 } } },
        { Bottom, Bottom, { { 50, 100 }, { 50, 400 }, { 350, 400 } } },
        { Bottom, Right, { { 50, 100 }, { 50, 200 }, { 400, 200 }, { 400, 350 } } },
        { Bottom, Left, { { 50, 100 }, { 50, 350 }, { 300, 350 } } },
        { Right, Top, { { 100, 50 }, { 350, 50 }, { 350, 300 } } },
        { Right, Bottom, { { 100, 50 }, { 200, 50 }, { 200, 400 }, { 350, 400 } } },
        { Right, Right, { { 100, 50 }, { 400, 50 }, { 400, 350 } } },
        { Right, Left, { { 100, 50 }, { 200, 50 }, { 200, 350 }, { 300, 350 } } },
        { Left, Top, { { 0, 50 }, { 0, 200 }, { 350, 200 }, { 350, 300 } } },
        { Left, Bottom, { { 0, 50 }, { 0, 400 }, { 350, 400 } } },
        { Left, Right, { { 0, 50 }, { 0, 200 }, { 400, 200 }, { 400, 350 } } },
        { Left, Left, { { 0, 50 }, { 0, 350 }, { 300, 350 } } },
    };
    const QRectF a(0, 0, 100, 100);
    const QRectF b(300, 300, 100, 100);
    struct Placement
    {
        const char* name;
        bool flipX;
        bool flipY;
    };
    for (const Placement& placement :
        { Placement { "upper leftmost", false, false }, Placement { "upper right", true, false },
            Placement { "lower leftmost", false, true }, Placement { "lower right", true, true } }) {
        auto map = [&](const QPointF& p) {
            return QPointF(placement.flipX ? 400 - p.x() : p.x(), placement.flipY ? 400 - p.y() : p.y());
        };
        auto mapRect
            = [&](const QRectF& r) { return QRectF(map(r.topLeft()), map(r.bottomRight())).normalized(); };
        for (const Case& c : cases) {
            Points expected;
            for (const QPointF& p : c.route)
                expected.append(map(p));
            const int startSide = mirrorSide(c.startSide, placement.flipX, placement.flipY);
            const int endSide = mirrorSide(c.endSide, placement.flipX, placement.flipY);
            QTest::addRow(
                "%s %s-%s", placement.name, qPrintable(sideName(startSide)), qPrintable(sideName(endSide)))
                << mapRect(a) << mapRect(b) << startSide << endSide << expected;
        }
    }
}

void TestRouting::routesBetweenSeparateBoxes()
{
    QFETCH(QRectF, boxA);
    QFETCH(QRectF, boxB);
    QFETCH(int, startSide);
    QFETCH(int, endSide);
    QFETCH(Points, expected);
    CableRouting::Ends ends { boxA, boxB, onSide(boxA, startSide), onSide(boxB, endSide), startSide,
        endSide };
    QCOMPARE(CableRouting::placementFlags(ends), 0);
    const Points route = CableRouting::route(ends);
    QCOMPARE(shape(route), expected);
    QCOMPARE(route.first(), ends.start);
    QCOMPARE(route.last(), ends.end);
    // Every leg is horizontal or vertical.
    for (int i = 1; i < route.size(); ++i)
        QVERIFY(route.at(i).x() == route.at(i - 1).x() || route.at(i).y() == route.at(i - 1).y());
}

// Placements where a flag picks a row of its own, worked out by hand.
void TestRouting::flaggedPlacements_data()
{
    QTest::addColumn<QRectF>("boxA");
    QTest::addColumn<QRectF>("boxB");
    QTest::addColumn<QPointF>("start");
    QTest::addColumn<QPointF>("end");
    QTest::addColumn<int>("startSide");
    QTest::addColumn<int>("endSide");
    QTest::addColumn<int>("flags");
    QTest::addColumn<Points>("expected");

    const QRectF a(0, 0, 100, 100);
    // Side by side, overlapping vertically: no row for the flags, so the base row 11, 6.
    QTest::newRow("side by side, right to left")
        << a << QRectF(300, 20, 100, 100) << QPointF(100, 50) << QPointF(300, 70) << int(Right) << int(Left)
        << (2 | 16 | 32) << Points { { 100, 50 }, { 200, 50 }, { 200, 70 }, { 300, 70 } };
    // B below A, overlapping horizontally: row (2, 6, 1) goes down between the boxes.
    QTest::newRow("overlapping x, right to left")
        << a << QRectF(50, 300, 100, 100) << QPointF(100, 50) << QPointF(50, 350) << int(Right) << int(Left)
        << (1 | 4 | 8) << Points { { 100, 50 }, { 100, 200 }, { 50, 200 }, { 50, 350 } };
    // Row (9, 13, 2): bottom of A into the top of B beside it.
    QTest::newRow("overlapping y, bottom to top")
        << a << QRectF(200, 50, 100, 100) << QPointF(50, 100) << QPointF(250, 50) << int(Bottom) << int(Top)
        << (2 | 16 | 32) << Points { { 50, 100 }, { 150, 100 }, { 150, 50 }, { 250, 50 } };
    // Row (9, 6, 32) wins over the rows of the smaller flags.
    QTest::newRow("end y within A, bottom to left")
        << a << QRectF(200, 50, 100, 100) << QPointF(50, 100) << QPointF(200, 80) << int(Bottom) << int(Left)
        << (2 | 16 | 32) << Points { { 50, 100 }, { 150, 100 }, { 150, 80 }, { 200, 80 } };
    // Row (9, 7, 4): around B's far side into its bottom (flag 8 has no row for this pair).
    QTest::newRow("start x within B, bottom to bottom")
        << a << QRectF(50, 300, 100, 100) << QPointF(80, 100) << QPointF(100, 400) << int(Bottom)
        << int(Bottom) << (1 | 4 | 8)
        << Points { { 80, 100 }, { 80, 200 }, { 0, 200 }, { 0, 400 }, { 100, 400 } };
    // Row (1, 13, 8).
    QTest::newRow("end x within A, top to top")
        << a << QRectF(50, 300, 100, 100) << QPointF(20, 0) << QPointF(80, 300) << int(Top) << int(Top)
        << (1 | 8) << Points { { 20, 0 }, { 150, 0 }, { 150, 200 }, { 80, 200 }, { 80, 300 } };
    // Row (2, 13, 16).
    QTest::newRow("start y within B, right to top")
        << a << QRectF(200, 50, 100, 100) << QPointF(100, 80) << QPointF(250, 50) << int(Right) << int(Top)
        << (2 | 16 | 32) << Points { { 100, 80 }, { 150, 80 }, { 150, 0 }, { 250, 0 }, { 250, 50 } };
}

void TestRouting::flaggedPlacements()
{
    QFETCH(QRectF, boxA);
    QFETCH(QRectF, boxB);
    QFETCH(QPointF, start);
    QFETCH(QPointF, end);
    QFETCH(int, startSide);
    QFETCH(int, endSide);
    QFETCH(int, flags);
    QFETCH(Points, expected);
    CableRouting::Ends ends { boxA, boxB, start, end, startSide, endSide };
    QCOMPARE(CableRouting::placementFlags(ends), flags);
    QCOMPARE(shape(CableRouting::route(ends)), expected);
}

void TestRouting::invalidSidesGiveTheStraightLine()
{
    const QRectF a(0, 0, 100, 100);
    const QRectF b(300, 300, 100, 100);
    const QPointF start(100, 50);
    const QPointF end(300, 350);
    for (const auto& sides : { qMakePair(0, int(Left)), qMakePair(int(Right), 0), qMakePair(3, int(Left)),
             qMakePair(int(Right), 16), qMakePair(-1, -1) }) {
        const Points route = CableRouting::route({ a, b, start, end, sides.first, sides.second });
        QCOMPARE(route, (Points { start, end }));
    }
    QCOMPARE(CableRouting::startClass(0, true, true), 0);
    QCOMPARE(CableRouting::endClass(5, true, true), 0);
}

void TestRouting::tableHasABaseRowForEveryClassPair()
{
    for (int b : { 1, 2, 8, 9 }) {
        for (int a : { 6, 7, 13, 14 })
            QVERIFY2(!CableRouting::steps(b, a, 0).isEmpty(), qPrintable(QString("%1 %2").arg(b).arg(a)));
    }
    QCOMPARE(CableRouting::steps(2, 6, 1), (QVector<int> { 10, 4, 12, 6 }));
    QCOMPARE(CableRouting::steps(8, 14, 0), (QVector<int> { 8, 4, 14, 6 }));
    QVERIFY(CableRouting::steps(2, 6, 2).isEmpty());
    QVERIFY(CableRouting::steps(0, 6, 0).isEmpty());
}

void TestRouting::marginsFollowTheCableKind()
{
    QCOMPARE(CableRouting::margin(SingleWire), 2.5);
    QCOMPARE(CableRouting::margin(DcCable), 7.5);
    QCOMPARE(CableRouting::margin(AcCable), 12.5);
    QCOMPARE(CableRouting::margin(0), 2.5);
    QCOMPARE(CableRouting::penOffset(7), 0.0);
}

void TestRouting::parallelLinesMeetAtCorners()
{
    // Right, then down: the inner line turns at (95, 5), the outer one at (105, -5).
    const auto result = CableRouting::parallelOffsets({ { 0, 0 }, { 100, 0 }, { 100, 0 }, { 100, 100 } }, 5);
    QCOMPARE(result.points, (Points { { 0, 0 }, { 100, 0 }, { 100, 100 } }));
    Points plus, minus;
    for (int i = 0; i < result.points.size(); ++i) {
        plus << result.points.at(i) + result.offsets.at(i);
        minus << result.points.at(i) - result.offsets.at(i);
    }
    QCOMPARE(plus, (Points { { 0, 5 }, { 95, 5 }, { 95, 100 } }));
    QCOMPARE(minus, (Points { { 0, -5 }, { 105, -5 }, { 105, 100 } }));

    // Straight on keeps the plain distance; up then left turns the other way.
    const auto straight = CableRouting::parallelOffsets({ { 0, 0 }, { 50, 0 }, { 100, 0 } }, 10);
    QCOMPARE(straight.offsets.at(1), QPointF(0, 10));
    const auto upLeft = CableRouting::parallelOffsets({ { 0, 0 }, { 0, -100 }, { -100, -100 } }, 10);
    QCOMPARE(upLeft.offsets.at(0), QPointF(10, 0));
    QCOMPARE(upLeft.offsets.at(1), QPointF(10, -10)); // legs at x = 10 and y = -110 meet there
    QCOMPARE(upLeft.offsets.at(2), QPointF(0, -10));

    // A route that never leaves its start has nothing to draw.
    QVERIFY(CableRouting::parallelOffsets({ { 3, 3 }, { 3, 3 } }, 5).points.isEmpty());
    QVERIFY(CableRouting::parallelOffsets({}, 5).points.isEmpty());
}

void TestRouting::snappingPicksTheEdgeTowardsThePoint()
{
    const QRectF rect(0, 0, 100, 50);
    struct Case
    {
        QPointF point;
        int side;
        QPointF snapped;
    };
    const QList<Case> cases = {
        { { 50, 80 }, Bottom, { 50, 50 } },
        { { 50, -10 }, Top, { 50, 0 } },
        { { 50.05, 25 }, Top, { 50.05, 0 } }, // centre: |dx| < 0.1, dy not positive
        { { 90, 30 }, Right, { 100, 30 } },
        { { 10, 30 }, Left, { 0, 30 } },
        { { 60, 60 }, Bottom, { 60, 50 } },
        { { 40, 60 }, Bottom, { 40, 50 } },
        { { 40, 0 }, Top, { 40, 0 } },
        { { 60, -10 }, Top, { 60, 0 } },
        { { 150, 49 }, Right, { 100, 49 } },
    };
    for (const Case& c : cases) {
        QPointF point = c.point;
        QCOMPARE(CableRouting::snapToEdge(rect, point), c.side);
        QCOMPARE(point, c.snapped);
    }
}

void TestRouting::idsAndNumbering()
{
    QCOMPARE(DiagramIds::number("id17"), 17);
    QCOMPARE(DiagramIds::number("id"), 0);
    QCOMPARE(DiagramIds::number("idx"), 0);
    QCOMPARE(DiagramIds::number(""), 0);
    QCOMPARE(DiagramIds::number("xy5"), 5);
    QCOMPARE(DiagramIds::number("id-3"), 0);
    QCOMPARE(DiagramIds::number("id2147483646"), 2147483646);
    QCOMPARE(DiagramIds::number("id2147483647"), 0);
    QCOMPARE(DiagramIds::number("id99999999999999999999"), 0);
    QCOMPARE(DiagramIds::make(18), QString("id18"));

    DiagramIdCounter counter;
    for (const char* id : { "id3", "id17", "id5", "junk", "id99999999999" })
        counter.note(id);
    QCOMPARE(counter.take(), QString("id18"));
    QCOMPARE(counter.take(), QString("id19"));

    // At the end of the numbers the lowest free one is used, and the counter never wraps.
    DiagramIdCounter full;
    full.note("id2147483646");
    QCOMPARE(full.next(), std::numeric_limits<int>::max());
    auto used = [] { return QSet<int> { 1, 2, 4 }; };
    QCOMPARE(full.take(used), QString("id3"));
    QCOMPARE(full.take(used), QString("id3"));
    QCOMPARE(full.next(), std::numeric_limits<int>::max());
}

QTEST_GUILESS_MAIN(TestRouting)
#include "tst_routing.moc"
