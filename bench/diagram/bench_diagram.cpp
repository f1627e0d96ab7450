// Installation diagram timings on a drawing of 500 components and 1,000 cables: opening the
// file as a document, moving one component that has 20 cables attached (the re-route of those
// cables, and the re-route plus the repaint of the view), saving, and exporting to PDF. Medians
// of several runs (the move: of 200 moves).
// Then many cables on one component: an inverter with 22, 1,000 and 2,000 cables to a board is
// dragged with the mouse (each drag step with the view repainted) and the drag undone; a file
// with 10,000 cables on one inverter is opened and shown.
//   bench_diagram [--keep <folder>]   keeps the drawing and the PDF for a look.
#include "ConnectionPoint.h"
#include "DiagramComponent.h"
#include "DiagramConnection.h"
#include "DiagramGraphicsScene.h"
#include "InstallationDiagramDocument.h"
#include "KestrovanResources.h"
#include "Prompts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsSceneMouseEvent>
#include <QPrinter>
#include <QTemporaryDir>
#include <QThread>
#include <QUndoStack>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct Kind
{
    const char* tag;
    double w;
    double h;
};
const Kind kinds[] = { { "inverter", 150, 100 }, { "panel", 30, 40 }, { "dc_isolator", 40, 40 },
    { "ac_isolator", 55, 55 }, { "distribution_board", 140, 80 }, { "generation_meter", 120, 60 } };

// 500 components on a 25 x 20 grid; component 0 (an inverter in the middle of the top row) has 20
// cables, the other 980 cables join neighbours right-to-left and bottom-to-top.
QByteArray drawingXml()
{
    QByteArray xml = "<installation_diagram>\n";
    const int columns = 25;
    auto position = [&](int i) { return QPointF((i % columns) * 250.0, (i / columns) * 200.0); };
    auto kindOf = [](int i) { return kinds[i == 0 ? 0 : i % 6]; };
    for (int i = 0; i < 500; ++i) {
        const Kind k = kindOf(i);
        const QPointF p = position(i);
        xml += QStringLiteral("  <%1 id=\"id%2\" x=\"%3\" y=\"%4\">\n")
                   .arg(k.tag)
                   .arg(i + 1)
                   .arg(p.x())
                   .arg(p.y())
                   .toUtf8();
        if (QByteArray(k.tag) != "panel")
            xml += QStringLiteral(
                "    <label x=\"%1\" y=\"%2\" width=\"90\" height=\"25\" text=\"%3 %4\"/>\n")
                       .arg(p.x() - 95)
                       .arg(p.y())
                       .arg(k.tag)
                       .arg(i + 1)
                       .toUtf8();
        xml += QStringLiteral("  </%1>\n").arg(k.tag).toUtf8();
    }
    int id = 501;
    auto cable
        = [&](int from, int fromSide, QPointF fromOffset, int to, int toSide, QPointF toOffset, int kind) {
              const char* type = kind == 1 ? "Single" : kind == 2 ? "DC" : "AC";
              xml += QStringLiteral("  <connection type=\"%1\" id=\"id%2\">\n").arg(type).arg(id++).toUtf8();
              xml += QStringLiteral(
                  "    <connectionA connectedItemId=\"id%1\" connectedPosX=\"%2\" connectedPosY=\"%3\" "
                  "direction=\"%4\"/>\n")
                         .arg(from + 1)
                         .arg(fromOffset.x())
                         .arg(fromOffset.y())
                         .arg(fromSide)
                         .toUtf8();
              xml += QStringLiteral(
                  "    <connectionB connectedItemId=\"id%1\" connectedPosX=\"%2\" connectedPosY=\"%3\" "
                  "direction=\"%4\"/>\n")
                         .arg(to + 1)
                         .arg(toOffset.x())
                         .arg(toOffset.y())
                         .arg(toSide)
                         .toUtf8();
              xml += "  </connection>\n";
          };
    // The hub: 20 cables from its bottom to the tops of components in the rows below.
    for (int j = 0; j < 20; ++j) {
        const int to = columns * (1 + j % 3) + j;
        cable(0, 2, QPointF(5 + j * 7, 100), to, 1, QPointF(kindOf(to).w / 2, 0), 1 + j % 3);
    }
    int made = 20;
    for (int i = 1; made < 1000; i = i % 499 + 1) {
        const Kind k = kindOf(i);
        const int right = i + 1;
        const int below = i + columns;
        if (i % columns != columns - 1 && right < 500 && made < 1000) {
            cable(i, 4, QPointF(k.w, k.h / 2 - 5 + made % 10), right, 8, QPointF(0, kindOf(right).h / 2),
                1 + made % 3);
            ++made;
        }
        if (below < 500 && made < 1000) {
            cable(i, 2, QPointF(k.w / 2 - 5 + made % 10, k.h), below, 1, QPointF(kindOf(below).w / 2, 0),
                1 + made % 3);
            ++made;
        }
    }
    xml += "</installation_diagram>\n";
    return xml;
}

// An inverter at (0, 0) and a distribution board below it with cables cables between them, of
// the three kinds in turn, spread along the inverter's bottom and the board's top.
QByteArray hubXml(int cables)
{
    QByteArray xml = "<installation_diagram>\n"
                     "  <inverter id=\"id1\" x=\"0\" y=\"0\">\n"
                     "    <label x=\"15\" y=\"30\" width=\"120\" height=\"40\" text=\"Hub\"/>\n"
                     "  </inverter>\n"
                     "  <distribution_board id=\"id2\" x=\"5\" y=\"400\"/>\n";
    for (int i = 0; i < cables; ++i) {
        const char* type = i % 3 == 0 ? "Single" : i % 3 == 1 ? "DC" : "AC";
        const double x = 5 + (i % 140);
        xml += QStringLiteral("  <connection type=\"%1\" id=\"id%2\">\n"
                              "    <connectionA connectedItemId=\"id1\" connectedPosX=\"%3\" "
                              "connectedPosY=\"100\" direction=\"2\"/>\n"
                              "    <connectionB connectedItemId=\"id2\" connectedPosX=\"%4\" "
                              "connectedPosY=\"0\" direction=\"1\"/>\n"
                              "  </connection>\n")
                   .arg(type)
                   .arg(i + 3)
                   .arg(qMin(x, 145.0))
                   .arg(qMin(x, 135.0))
                   .toUtf8();
    }
    xml += "</installation_diagram>\n";
    return xml;
}

void mouse(QGraphicsScene* scene, QEvent::Type type, const QPointF& point)
{
    QGraphicsSceneMouseEvent event(type);
    event.setScenePos(point);
    event.setButtonDownScenePos(Qt::LeftButton, QPointF(20, 10));
    event.setButton(type == QEvent::GraphicsSceneMouseMove ? Qt::NoButton : Qt::LeftButton);
    event.setButtons(type == QEvent::GraphicsSceneMouseRelease ? Qt::NoButton : Qt::LeftButton);
    QCoreApplication::sendEvent(scene, &event);
}

// Painting only happens once the window is on the screen.
bool waitExposed(QWidget* widget)
{
    QElapsedTimer timer;
    timer.start();
    while (!(widget->windowHandle() && widget->windowHandle()->isExposed()) && timer.elapsed() < 5000) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    QCoreApplication::processEvents();
    return widget->windowHandle() && widget->windowHandle()->isExposed();
}

int fail(int where)
{
    std::fprintf(stderr, "bench_diagram: check %d failed\n", where);
    return 1;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

template <typename F> double timeMs(F&& f)
{
    QElapsedTimer timer;
    timer.start();
    f();
    return timer.nsecsElapsed() / 1.0e6;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("KestrovanBench"));
    QCoreApplication::setApplicationName(QStringLiteral("bench_diagram"));
    initKestrovanResources();

    QTemporaryDir temporary;
    QString folder = temporary.path();
    const QStringList arguments = QCoreApplication::arguments();
    const int keep = arguments.indexOf(QStringLiteral("--keep"));
    if (keep > 0 && keep + 1 < arguments.size()) {
        folder = arguments.at(keep + 1);
        QDir().mkpath(folder);
    }
    const QString path = folder + QStringLiteral("/bench.kstid");
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(drawingXml()) < 0)
            return fail(1);
    }

    std::vector<double> open;
    for (int run = 0; run < 5; ++run) {
        open.push_back(timeMs([&] {
            InstallationDiagramDocument doc(path);
            if (!doc.isValid())
                std::exit(1);
        }));
    }

    InstallationDiagramDocument doc(path);
    DiagramGraphicsScene* scene = doc.scene();
    int components = 0;
    int cables = 0;
    DiagramComponent* hub = nullptr;
    for (DiagramGraphicsItem* item : scene->diagramItems()) {
        if (Diagram::isComponentType(item->type())) {
            ++components;
            if (item->id() == QLatin1String("id1"))
                hub = static_cast<DiagramComponent*>(item);
        } else {
            ++cables;
        }
    }
    if (!hub || hub->connections().size() != 20)
        return fail(2);

    std::vector<double> move;
    for (int i = 0; i < 200; ++i)
        move.push_back(timeMs([&] { hub->setPos(hub->pos() + QPointF(i % 2 ? -7 : 7, i % 2 ? -3 : 3)); }));

    // The moves must really have carried the cables along.
    for (ConnectionPoint* end : hub->connections()) {
        if (end->pos() != hub->pos() + end->offset() || end->connection()->route().first() != end->pos())
            return fail(3);
    }

    doc.resize(1280, 800);
    doc.show();
    if (!waitExposed(&doc))
        return 1;
    doc.view()->centerOn(hub);
    QCoreApplication::processEvents();
    std::vector<double> moveAndPaint;
    for (int i = 0; i < 50; ++i) {
        moveAndPaint.push_back(timeMs([&] {
            hub->setPos(hub->pos() + QPointF(i % 2 ? -7 : 7, i % 2 ? -3 : 3));
            doc.view()->viewport()->repaint();
        }));
    }

    std::vector<double> save;
    for (int run = 0; run < 5; ++run)
        save.push_back(timeMs([&] {
            if (!scene->save(path))
                std::exit(1);
        }));

    std::vector<double> pdf;
    const QString pdfPath = folder + QStringLiteral("/bench.pdf");
    for (int run = 0; run < 3; ++run) {
        pdf.push_back(timeMs([&] {
            QPrinter printer(QPrinter::HighResolution);
            printer.setPageSize(QPageSize(QPageSize::A4));
            printer.setPageOrientation(QPageLayout::Landscape);
            printer.setFullPage(true);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdfPath);
            if (!scene->paint(&printer))
                std::exit(1);
        }));
    }

    struct HubRun
    {
        int cables;
        double step;
        double paint;
        double undo;
    };
    std::vector<HubRun> hubRuns;
    for (int count : { 22, 1000, 2000 }) {
        const QString hubPath = folder + QStringLiteral("/hub%1.kstid").arg(count);
        {
            QFile file(hubPath);
            if (!file.open(QIODevice::WriteOnly) || file.write(hubXml(count)) < 0)
                return fail(4);
        }
        InstallationDiagramDocument hubDoc(hubPath);
        DiagramGraphicsScene* hubScene = hubDoc.scene();
        hubDoc.resize(1280, 800);
        hubDoc.show();
        if (!waitExposed(&hubDoc))
            return 1;
        hubDoc.view()->centerOn(QPointF(75, 200));
        std::vector<double> steps;
        std::vector<double> undos;
        std::vector<double> paints;
        for (int drag = 0; drag < 3; ++drag) {
            // Pressed on the inverter's top left corner, clear of its caption and cable ends.
            mouse(hubScene, QEvent::GraphicsSceneMousePress, QPointF(20, 10));
            for (int i = 1; i <= 20; ++i) {
                steps.push_back(timeMs([&] {
                    mouse(hubScene, QEvent::GraphicsSceneMouseMove, QPointF(20 + 3 * i, 10 + 2 * i));
                }));
                paints.push_back(timeMs([&] { hubDoc.view()->viewport()->repaint(); }));
            }
            mouse(hubScene, QEvent::GraphicsSceneMouseRelease, QPointF(80, 50));
            if (hubDoc.undoStack()->index() != 1)
                return fail(8);
            undos.push_back(timeMs([&] {
                hubDoc.undoStack()->undo();
                hubDoc.view()->viewport()->repaint();
            }));
        }
        DiagramComponent* hubComponent = nullptr;
        for (DiagramGraphicsItem* item : hubScene->diagramItems()) {
            if (item->id() == QLatin1String("id1"))
                hubComponent = static_cast<DiagramComponent*>(item);
        }
        // The drags were undo steps, and undo took the inverter back with every cable.
        if (!hubComponent || hubComponent->connections().size() != count
            || hubComponent->pos() != QPointF(0, 0) || hubDoc.undoStack()->index() != 0)
            return fail(5);
        hubRuns.push_back({ count, median(steps), median(paints), median(undos) });
    }

    const QString bigPath = folder + QStringLiteral("/hub10000.kstid");
    {
        QFile file(bigPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(hubXml(10000)) < 0)
            return fail(6);
    }
    std::vector<double> show;
    for (int run = 0; run < 3; ++run) {
        std::unique_ptr<InstallationDiagramDocument> big;
        show.push_back(timeMs([&] {
            big = std::make_unique<InstallationDiagramDocument>(bigPath);
            big->resize(1280, 800);
            big->show();
            big->view()->centerOn(QPointF(75, 200));
            big->view()->viewport()->repaint();
        }));
        if (!big->isValid() || big->scene()->diagramItems().size() != 10002)
            return fail(7);
    }

    std::printf("drawing: %d components, %d cables, %lld bytes\n", components, cables,
        static_cast<long long>(QFileInfo(path).size()));
    std::printf("open (document)          %8.2f ms   (limit 500)\n", median(open));
    std::printf("move, 20 cables re-route %8.3f ms   (limit 16)\n", median(move));
    std::printf("move + repaint of view   %8.2f ms\n", median(moveAndPaint));
    std::printf("save                     %8.2f ms   (limit 200)\n", median(save));
    std::printf("PDF export               %8.2f ms   (limit 2000), %lld bytes\n", median(pdf),
        static_cast<long long>(QFileInfo(pdfPath).size()));
    for (const HubRun& run : hubRuns) {
        std::printf("%5d cables on one: drag step %7.2f ms, repaint %7.2f ms (step + repaint: limit 16), "
                    "undo %7.2f ms\n",
            run.cables, run.step, run.paint, run.undo);
    }
    std::printf("open and show 10,000 cables on one  %8.2f ms\n", median(show));
    return 0;
}
