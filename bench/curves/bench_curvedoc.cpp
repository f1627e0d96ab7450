// Curve document figures as a user meets them: importing a tester file of 5,000 curves (128
// points, format 2, so with dip removal) into a new document with its tree shown; selecting a
// folder of 500 strings until their STC and MEAS lines are drawn; the tracker read-out per mouse
// move with 50 strings shown; and exporting the graph image at 600 dpi (time and peak memory).
// Runs in a throw-away HOME. Build with RelWithDebInfo for meaningful figures; run under xvfb-run.
#include "CurveDocument.h"
#include "CurveGraph.h"
#include "CurveStore.h"
#include "CurveTree.h"
#include "CurveTreeModel.h"
#include "FileNames.h"
#include "Folders.h"
#include "KestrovanResources.h"
#include "TesterFileGenerator.h"
#include "TreeItem.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

using namespace IVCurve;

namespace {
long peakKilobytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Counts the paint events of the graph's canvas and the widgets on it (the tracker's read-out), so
// that each figure shows it includes the drawing and not just the request for it.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget* canvas)
        : m_canvas(canvas)
    {
        qApp->installEventFilter(this);
    }
    int take()
    {
        const int counted = m_paints;
        m_paints = 0;
        return counted;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()
            && (watched == m_canvas || m_canvas->isAncestorOf(static_cast<QWidget*>(watched))))
            ++m_paints;
        return false;
    }

private:
    QWidget* m_canvas;
    int m_paints = 0;
};

QString writeTesterFile(const QString& path, int rows)
{
    TesterFileOptions options;
    options.rows = rows;
    options.curvesOnly = true;
    options.curvePoints = 128;
    options.fileVersion = 2;
    options.failEvery = 0;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(generateTesterFile(options));
    return path;
}

void selectRows(CurveDocument& doc, TreeItem* parent, int first, int count)
{
    CurveTreeModel* model = doc.store()->treeModel();
    QItemSelection selection;
    for (int i = first; i < first + count && i < parent->childCount(); ++i) {
        const QModelIndex index = model->indexForItem(parent->child(i));
        selection.select(index, index.sibling(index.row(), ColumnCount - 1));
    }
    doc.tree()->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}
} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/.local/share").toUtf8());
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Halvern"));
    QCoreApplication::setApplicationName(QStringLiteral("Kestrovan Elements"));
    initKestrovanResources();
    const int curves = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 5000;

    const QString path = home.filePath(QStringLiteral("bench.kstcrv"));
    copyAsWritable(Folders::builtInTemplatePath(QStringLiteral("kstcrv")), path);
    const QString big = writeTesterFile(home.filePath(QStringLiteral("big.csv")), curves);
    const QString folder500 = writeTesterFile(home.filePath(QStringLiteral("five-hundred.csv")), 500);

    CurveDocument doc(path);
    doc.resize(1400, 900);
    doc.show();
    QCoreApplication::processEvents();

    QElapsedTimer timer;
    timer.start();
    doc.importTesterFile(big);
    doc.tree()->expandAll();
    QCoreApplication::processEvents();
    std::printf("import %d curves (128 points, format 2, dip removal, tree shown): %lld ms (limit 5000)\n",
        curves, timer.elapsed());

    doc.importTesterFile(folder500);
    QCoreApplication::processEvents();
    doc.findChild<QAction*>(QStringLiteral("actionShowMEAS"))->trigger();
    TreeItem* root = doc.store()->treeModel()->rootItem();
    PaintCounter paints(doc.graph()->canvas());
    timer.restart();
    selectRows(doc, root, 0, 1);
    doc.graph()->refresh();
    QCoreApplication::processEvents();
    std::printf(
        "select a folder of 500 strings, STC + MEAS lines drawn: %lld ms (limit 1000), %d lines, %d paints\n",
        timer.elapsed(), doc.graph()->visibleLineCount(), paints.take());

    selectRows(doc, root->child(0), 0, 50);
    doc.graph()->refresh();
    QCoreApplication::processEvents();
    QWidget* canvas = doc.graph()->canvas();
    const int moves = 400;
    // Both shown kinds (MEAS and STC), then STC alone as a new document shows them.
    for (int round = 0; round < 2; ++round) {
        paints.take();
        timer.restart();
        for (int i = 0; i < moves; ++i) {
            const QPoint at(20 + (i * 7) % (canvas->width() - 40), canvas->height() / 2);
            QMouseEvent move(
                QEvent::MouseMove, at, canvas->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(canvas, &move);
            QCoreApplication::processEvents();
        }
        std::printf(
            "tracker with %d lines of 50 strings: %.2f ms per mouse move (limit 5), %d paints in %d moves\n",
            doc.graph()->trackedLines().size(), double(timer.nsecsElapsed()) / 1e6 / moves, paints.take(),
            moves);
        doc.findChild<QAction*>(QStringLiteral("actionShowMEAS"))->trigger();
        doc.graph()->refresh();
    }

    const long before = peakKilobytes();
    for (const char* suffix : { "png", "jpeg" }) {
        QString error;
        timer.restart();
        const bool ok
            = doc.graph()->renderImage(home.filePath(QStringLiteral("graph.%1").arg(suffix)), &error);
        std::printf("export graph image (%s, 280 x 216 mm, 600 dpi): %lld ms, %s, file %lld kB\n", suffix,
            timer.elapsed(), ok ? "written" : qPrintable(error),
            QFileInfo(home.filePath(QStringLiteral("graph.%1").arg(suffix))).size() / 1024);
    }
    std::printf(
        "peak memory: %ld MB before the exports, %ld MB after\n", before / 1024, peakKilobytes() / 1024);
    doc.setModified(false);
    return 0;
}
