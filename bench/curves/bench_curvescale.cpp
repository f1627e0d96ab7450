// Curve documents at the size of a utility site: a tester file of N curves (128 points, format 2)
// imported into a new document; its folder of N strings selected until the STC lines are drawn,
// and deselected until they are gone; the survey meter's readings imported for the N shown
// strings until they are drawn again. Each figure is the median of the given number of runs,
// each run on a fresh copy of the empty document. Runs in a throw-away HOME, under xvfb-run or
// with QT_QPA_PLATFORM=offscreen.
#include "CurveDocument.h"
#include "CurveGraph.h"
#include "CurveStore.h"
#include "CurveTree.h"
#include "CurveTreeModel.h"
#include "FileNames.h"
#include "Folders.h"
#include "KestrovanResources.h"
#include "MeterFileImporter.h"
#include "Prompts.h"
#include "TesterFileGenerator.h"
#include "TreeItem.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace IVCurve;

namespace {
// The user answers Yes to All when asked whether to replace values, and acknowledges notices.
class YesToAllPrompts : public UnattendedPrompts
{
public:
    PromptButton message(const MessageRequest& request) override
    {
        if (request.buttons & Prompt::YesToAll)
            return Prompt::YesToAll;
        return request.buttons & Prompt::Ok ? PromptButton(Prompt::Ok) : cautiousAnswer(request.buttons);
    }
};

void write(const QString& path, const QByteArray& content)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double elapsedMs(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// Draws what changed, once (the graph's own deferred drawing is then not needed), and lets the
// window handle what that posted.
void drawNow(CurveDocument& doc)
{
    doc.graph()->refresh();
    QCoreApplication::processEvents();
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
    Prompts::install(std::make_unique<YesToAllPrompts>());
    const int strings = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 5000;
    const int runs = argc > 2 ? QString::fromLatin1(argv[2]).toInt() : 5;

    TesterFileOptions options;
    options.rows = strings;
    options.curvesOnly = true;
    options.curvePoints = 128;
    options.fileVersion = 2;
    options.failEvery = 0;
    const QByteArray testerFile = generateTesterFile(options);
    const QString testerPath = home.filePath(QStringLiteral("site.csv"));
    write(testerPath, testerFile);
    const QString meterPath = home.filePath(QStringLiteral("meter.csv"));
    write(meterPath, generateMeterFile(testerFile, MeterFileOptions()));

    std::vector<double> imports, selects, deselects, meters;
    int lines = 0;
    for (int run = 0; run < runs; ++run) {
        const QString path = home.filePath(QStringLiteral("run%1.kstcrv").arg(run));
        copyAsWritable(Folders::builtInTemplatePath(QStringLiteral("kstcrv")), path);
        CurveDocument doc(path);
        doc.resize(1400, 900);
        doc.show();
        QCoreApplication::processEvents();

        QElapsedTimer timer;
        timer.start();
        doc.importTesterFile(testerPath);
        QCoreApplication::processEvents();
        imports.push_back(elapsedMs(timer));

        CurveTreeModel* model = doc.store()->treeModel();
        const QModelIndex folder = model->indexForItem(model->rootItem()->child(0));
        QItemSelectionModel* selection = doc.tree()->selectionModel();
        timer.restart();
        selection->select(folder, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        drawNow(doc);
        selects.push_back(elapsedMs(timer));
        lines = doc.graph()->visibleLineCount();

        timer.restart();
        selection->clearSelection();
        drawNow(doc);
        deselects.push_back(elapsedMs(timer));

        selection->select(folder, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        drawNow(doc);
        timer.restart();
        MeterFileImporter(*doc.store(), &doc).importFile(meterPath, selection->selectedRows(0));
        drawNow(doc);
        meters.push_back(elapsedMs(timer));
        std::printf(
            "run %d: import %.0f ms, select %.0f ms (%d lines), deselect %.0f ms, meter import %.0f ms\n",
            run + 1, imports.back(), selects.back(), lines, deselects.back(), meters.back());
        std::fflush(stdout);
        doc.setModified(false);
    }
    std::printf("%d strings, median of %d runs:\n", strings, runs);
    std::printf("  import of a %d-curve tester file: %.0f ms (limit 1000)\n", strings, median(imports));
    std::printf("  select the folder, STC lines drawn: %.0f ms (limit 1000)\n", median(selects));
    std::printf("  deselect the folder, lines gone: %.0f ms (limit 1000)\n", median(deselects));
    std::printf(
        "  meter import for %d shown strings, drawn again: %.0f ms (limit 2000)\n", strings, median(meters));
    return 0;
}
