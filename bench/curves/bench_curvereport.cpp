// Curve report figures: a summary report (tables and graph) of 50 strings and a string report
// of 20 strings, each of 128 points with a module assigned; time and size of each PDF. Build
// with RelWithDebInfo for meaningful figures.
//
//   bench_curvereport [summaryStrings stringReportStrings] [--keep FOLDER]
//                     --keep leaves the two PDFs in FOLDER to look at
#include "CurveGraph.h"
#include "CurveGraphModel.h"
#include "CurveReport.h"
#include "CurveStore.h"
#include "CurveTreeModel.h"
#include "FileNames.h"
#include "Folders.h"
#include "KestrovanResources.h"
#include "ModuleLibrary.h"
#include "TesterFileImporter.h"
#include "TreeItem.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QItemSelectionModel>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>

using namespace IVCurve;

namespace {
QByteArray testerFile(int count)
{
    QByteArray out = "PV,SN 1042,x,1,\nIndex,DD/MM/YYYY,HH:MM:SS,Irr (W/m2),Ta (C),Tpv (C),FF,IVCurve,\n";
    for (int n = 1; n <= count; ++n) {
        const double voc = 600.0 + n % 50;
        const double isc = 8.0 + (n % 7) * 0.1;
        QByteArray line = QByteArray::number(n) + ",01/06/2024,10:" + QByteArray::number(10 + n % 50)
            + ":00,852,24.5,41.3,74,";
        for (int i = 0; i < 128; ++i) {
            const double v = voc * i / 127.0;
            const double current = std::max(isc * (1.0 - std::exp((v - voc) / 40.0)), 0.0);
            line += QByteArray::number(v, 'f', 2) + ':' + QByteArray::number(current, 'f', 3) + ',';
        }
        out += line + "0,0,\n";
    }
    return out;
}

struct Figure
{
    double ms = 0;
    qint64 bytes = 0;
    bool ok = false;
};

Figure report(
    const QString& folder, const QString& name, int strings, int type, bool keep, const QString& keepDir)
{
    const QString path = folder + QStringLiteral("/bench.kstcrv");
    QFile::remove(path);
    copyAsWritable(Folders::builtInTemplatePath(QStringLiteral("kstcrv")), path);
    CurveStore store(path);
    TesterFileImporter importer(store);
    TreeItem* parent = importer.importData(testerFile(strings), QStringLiteral("bench"));
    if (!parent)
        return {};
    CurveGraph graph(store.graphModel());
    graph.resize(1100, 700);
    QItemSelectionModel selection(store.treeModel());
    QObject::connect(&selection, &QItemSelectionModel::selectionChanged, store.graphModel(),
        &CurveGraphModel::slotTreeSelectionChanged);
    selection.select(
        store.treeModel()->indexForItem(parent), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ModuleLibrary& library = ModuleLibrary::instance();
    library.open();
    const QList<CurveModuleRow> modules = library.all();
    const QList<uint> ids = store.graphModel()->cachedCurveIDs();
    if (!modules.isEmpty()) {
        for (uint id : ids)
            store.graphModel()->assignModule(id, modules.first(), 24);
    }
    graph.refresh();
    CurveReport::Options options;
    options.type = type;
    options.site = QStringLiteral("Bench Site");
    if (keep) {
        // A logo to look at in the kept PDFs.
        QImage logo(360, 120, QImage::Format_RGB32);
        logo.fill(QColor(30, 90, 160));
        QPainter painter(&logo);
        painter.setPen(Qt::white);
        painter.setFont(QFont(QStringLiteral("Sans"), 40, QFont::Bold));
        painter.drawText(logo.rect(), Qt::AlignCenter, QStringLiteral("LOGO"));
        painter.end();
        options.logoFile = keepDir + QStringLiteral("/logo.png");
        logo.save(options.logoFile);
    }
    const QString pdf = (keep ? keepDir : folder) + QLatin1Char('/') + name;
    QString error;
    QElapsedTimer timer;
    timer.start();
    Figure figure;
    figure.ok = CurveReport::write(pdf, options, &graph, store.graphModel(), ids, &error);
    figure.ms = timer.nsecsElapsed() / 1e6;
    figure.bytes = QFileInfo(pdf).size();
    if (!figure.ok)
        std::fprintf(stderr, "%s\n", qPrintable(error));
    return figure;
}
} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/.local/share")).toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Halvern"));
    QCoreApplication::setApplicationName(QStringLiteral("Kestrovan Elements"));
    initKestrovanResources();

    QStringList arguments = QCoreApplication::arguments().mid(1);
    QString keepDir;
    const int keep = arguments.indexOf(QStringLiteral("--keep"));
    if (keep >= 0 && keep + 1 < arguments.size()) {
        keepDir = arguments.at(keep + 1);
        arguments.erase(arguments.begin() + keep, arguments.begin() + keep + 2);
    }
    const int summaryCount = arguments.size() > 0 ? arguments.at(0).toInt() : 50;
    const int stringCount = arguments.size() > 1 ? arguments.at(1).toInt() : 20;
    const Figure summary
        = report(home.path(), QStringLiteral("summary.pdf"), summaryCount, 0, !keepDir.isEmpty(), keepDir);
    const Figure strings
        = report(home.path(), QStringLiteral("strings.pdf"), stringCount, 1, !keepDir.isEmpty(), keepDir);
    std::printf("%-40s %10s %10s\n", "report", "ms", "KiB");
    std::printf("%-40s %10.0f %10.0f%s\n",
        qPrintable(QStringLiteral("summary, tables and graph, %1 strings").arg(summaryCount)), summary.ms,
        summary.bytes / 1024.0, summary.ok ? "" : "  FAILED");
    std::printf("%-40s %10.0f %10.0f%s\n",
        qPrintable(QStringLiteral("string report, %1 strings").arg(stringCount)), strings.ms,
        strings.bytes / 1024.0, strings.ok ? "" : "  FAILED");
    ModuleLibrary::shutdown();
    return summary.ok && strings.ok ? 0 : 1;
}
