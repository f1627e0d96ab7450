// Installation diagram timings on a drawing of 500 components and 1,000 cables: opening the
// file as a document, moving one component that has 20 cables attached (the re-route of those
// cables, and the re-route plus the repaint of the view), saving, and exporting to PDF. Medians
// of several runs (the move: of 200 moves).
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
#include <QPrinter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
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
            return 1;
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
        return 1;

    std::vector<double> move;
    for (int i = 0; i < 200; ++i)
        move.push_back(timeMs([&] { hub->setPos(hub->pos() + QPointF(i % 2 ? -7 : 7, i % 2 ? -3 : 3)); }));

    // The moves must really have carried the cables along.
    for (ConnectionPoint* end : hub->connections()) {
        if (end->pos() != hub->pos() + end->offset() || end->connection()->route().first() != end->pos())
            return 1;
    }

    doc.resize(1280, 800);
    doc.show();
    QCoreApplication::processEvents();
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

    std::printf("drawing: %d components, %d cables, %lld bytes\n", components, cables,
        static_cast<long long>(QFileInfo(path).size()));
    std::printf("open (document)          %8.2f ms   (limit 500)\n", median(open));
    std::printf("move, 20 cables re-route %8.3f ms   (limit 16)\n", median(move));
    std::printf("move + repaint of view   %8.2f ms\n", median(moveAndPaint));
    std::printf("save                     %8.2f ms   (limit 200)\n", median(save));
    std::printf("PDF export               %8.2f ms   (limit 2000), %lld bytes\n", median(pdf),
        static_cast<long long>(QFileInfo(pdfPath).size()));
    return 0;
}
