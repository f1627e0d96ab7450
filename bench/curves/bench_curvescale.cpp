// Curve documents at the size of a utility site: a tester file of N curves (128 points, format 2)
// imported into a new document; its folder of N strings selected until the STC lines are drawn,
// and deselected until they are gone; the survey meter's readings imported for the N shown
// strings until they are drawn again. Each figure is the median of the given number of runs,
// each run on a fresh copy of the empty document. With --file <path>, that tester file alone is
// imported, with its time and the peak memory. Runs in a throw-away HOME, under xvfb-run or with
// QT_QPA_PLATFORM=offscreen.
#include "CurveDocument.h"
#include "CurveGraph.h"
#include "CurveStore.h"
#include "CurveTree.h"
#include "CurveTreeModel.h"
#include "FileNames.h"
#include "Folders.h"
#include "ImportPrompts.h"
#include "KestrovanResources.h"
#include "MeterFileImporter.h"
#include "Prompts.h"
#include "TesterFileGenerator.h"
#include "TesterFileImporter.h"
#include "TreeItem.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sys/resource.h>
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

long peakKilobytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
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

// The CPU time of the GUI thread: on a machine shared with other work the wall time of a step
// can be several times what the step itself spends.
double cpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// A step's wall and CPU time.
struct Step
{
    std::vector<double> wall;
    std::vector<double> cpu;
    QElapsedTimer timer;
    double cpuStart = 0;
    void start()
    {
        cpuStart = cpuMs();
        timer.restart();
    }
    void stop()
    {
        wall.push_back(elapsedMs(timer));
        cpu.push_back(cpuMs() - cpuStart);
    }
};

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
    // --file <tester file>: that file imported alone, with the time and the peak memory, for
    // files that must be refused (one line of hundreds of megabytes) as much as for real ones.
    if (argc == 3 && qstrcmp(argv[1], "--file") == 0) {
        const QString path = home.filePath(QStringLiteral("one.kstcrv"));
        copyAsWritable(Folders::builtInTemplatePath(QStringLiteral("kstcrv")), path);
        CurveStore store(path);
        const long before = peakKilobytes();
        QElapsedTimer timer;
        timer.start();
        TesterFileImporter importer(store);
        const bool imported = importer.importFile(QString::fromLocal8Bit(argv[2]));
        std::printf("%s: %s in %.0f ms; %d folders in the document; peak memory %ld MB (%ld MB before)\n",
            argv[2],
            imported ? "imported" : qPrintable(QStringLiteral("refused (%1)").arg(importer.refusal())),
            elapsedMs(timer), store.treeModel()->rootItem()->childCount(), peakKilobytes() / 1024,
            before / 1024);
        return 0;
    }
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

    Step imports, selects, deselects, meters;
    int lines = 0;
    for (int run = 0; run < runs; ++run) {
        const QString path = home.filePath(QStringLiteral("run%1.kstcrv").arg(run));
        copyAsWritable(Folders::builtInTemplatePath(QStringLiteral("kstcrv")), path);
        CurveDocument doc(path);
        doc.resize(1400, 900);
        doc.show();
        QCoreApplication::processEvents();

        imports.start();
        doc.importTesterFile(testerPath);
        QCoreApplication::processEvents();
        imports.stop();

        CurveTreeModel* model = doc.store()->treeModel();
        const QModelIndex folder = model->indexForItem(model->rootItem()->child(0));
        QItemSelectionModel* selection = doc.tree()->selectionModel();
        selects.start();
        selection->select(folder, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        drawNow(doc);
        selects.stop();
        lines = doc.graph()->visibleLineCount();

        deselects.start();
        selection->clearSelection();
        drawNow(doc);
        deselects.stop();

        selection->select(folder, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        drawNow(doc);
        meters.start();
        ImportPrompts prompts(&doc);
        MeterFileImporter meter(*doc.store(), &prompts);
        meter.importFile(meterPath, selection->selectedRows(0));
        prompts.tell(meter.takeNotices());
        drawNow(doc);
        meters.stop();
        std::printf(
            "run %d: import %.0f ms, select %.0f ms (%d lines), deselect %.0f ms, meter import %.0f ms "
            "(wall)\n",
            run + 1, imports.wall.back(), selects.wall.back(), lines, deselects.wall.back(),
            meters.wall.back());
        std::fflush(stdout);
        doc.setModified(false);
    }
    std::printf("%d strings, median of %d runs, wall (CPU of the GUI thread):\n", strings, runs);
    auto line = [](const char* what, const Step& step, int limit) {
        std::printf(
            "  %s: %.0f ms (%.0f ms CPU), limit %d\n", what, median(step.wall), median(step.cpu), limit);
    };
    line("import of the tester file", imports, 1000);
    line("select the folder, STC lines drawn", selects, 1000);
    line("deselect the folder, lines gone", deselects, 1000);
    line("meter import for the shown strings, drawn again", meters, 2000);
    return 0;
}
