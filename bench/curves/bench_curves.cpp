// Curve document figures: inserting curves as an import does, saving the tree, opening a
// document and loading its tree, and loading and translating every curve by all three methods.
// Runs for 500 and 5,000 strings of 128 points in 100 folders (or the counts given), in a
// throw-away HOME, then saves a tree of 100,000 nodes side by side. Build with RelWithDebInfo
// for meaningful figures.
//
//   bench_curves [strings ...]          the table of figures
//   bench_curves --make FILE STRINGS    writes a curve file (and modules.db beside it) for a peer
//   bench_curves --translate FILE       opens FILE and translates every curve by all three
//                                       methods: the job peer_translate.py does the same way
//   bench_curves --translate-procedures FILE
//                                       the same by IEC 60891 procedures 2 and 4
//                                       (peer_translate.py --procedures)
//   bench_curves --compare FILE         the string comparison of every string in FILE
//   bench_curves --modules ROWS         imports a generated module list of ROWS rows, then
//                                       types a search into the module chooser
#include "CurveGraphModel.h"
#include "CurveModulesChooser.h"
#include "CurveRecord.h"
#include "CurveStore.h"
#include "CurveTreeModel.h"
#include "FileNames.h"
#include "Folders.h"
#include "InsertBatch.h"
#include "KestrovanResources.h"
#include "ModuleLibrary.h"
#include "ModuleListFile.h"
#include "StringComparison.h"
#include "TreeItem.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

using namespace IVCurve;

namespace {
const int folderCount = 100;

CurveRecord makeRecord(int n)
{
    CurveRecord record;
    record.memLocation = uint(n);
    record.testDate = QStringLiteral("2024-06-01T10:%1:00").arg(n % 60, 2, 10, QLatin1Char('0'));
    record.testerSerNo = QStringLiteral("SN-1042");
    record.fileVersion = 2;
    const double voc = 600.0 + n % 50;
    const double isc = 8.0 + (n % 7) * 0.1;
    for (int i = 0; i < 128; ++i) {
        const double v = voc * i / 127.0;
        const double current = isc * (1.0 - std::exp((v - voc) / 40.0));
        record.measured().addPoint(v, std::max(current, 0.0), 850.0 + i % 5, 0);
    }
    record.setValue(CurveRecord::Irradiance, QStringLiteral("852"));
    record.setValue(CurveRecord::AmbientTemp, QStringLiteral("24.5"));
    record.setValue(CurveRecord::CellTemp, QStringLiteral("41.3"));
    record.setValue(CurveRecord::Voc, QString::number(voc));
    record.setValue(CurveRecord::Isc, QString::number(isc));
    record.setValue(CurveRecord::Riso, QStringLiteral(">999"));
    record.setValue(CurveRecord::Viso, QStringLiteral("1000"));
    record.setValue(CurveRecord::FF, QStringLiteral("0.74"));
    record.setValue(CurveRecord::Vmp, QString::number(voc * 0.8));
    record.setValue(CurveRecord::Imp, QString::number(isc * 0.93));
    return record;
}

double ms(const QElapsedTimer& timer)
{
    return timer.nsecsElapsed() / 1e6;
}

struct Figures
{
    double insertAutoCommit = 0;
    double insertTransaction = 0;
    double save = 0;
    double openLoad = 0;
    double translate = 0;
    double resave = 0;
};

// Reads the curves in one pass and translates each by all three methods, with the nominal
// curve of its module; the sum of the curves' figures tells that the work was done.
double translateAll(CurveGraphModel* model, const QVector<uint>& ids)
{
    double check = 0;
    model->readEach(ids, [&check](int, std::unique_ptr<CurveRecord> record) {
        for (quint8 algorithm :
            { quint8(AlgorithmBlaesser), quint8(AlgorithmIEC60891), quint8(AlgorithmAnderson) }) {
            STCparameters parameters = record->stcParameters();
            parameters.algorithm = algorithm;
            record->setSTCparameters(parameters);
            check += record->stc().maxVoltage() + record->stcPower().maxCurrent();
        }
        check += record->nominal().maxCurrent();
    });
    return check;
}

// Translates each curve by IEC 60891 procedures 2 and 4 with its stored coefficients.
double translateByProcedures(CurveGraphModel* model, const QVector<uint>& ids)
{
    double check = 0;
    model->readEach(ids, [&check](int, std::unique_ptr<CurveRecord> record) {
        for (quint8 algorithm :
            { quint8(AlgorithmIEC60891Procedure2), quint8(AlgorithmIEC60891Procedure4) }) {
            STCparameters parameters = record->stcParameters();
            parameters.algorithm = algorithm;
            record->setSTCparameters(parameters);
            check += record->stc().maxVoltage() + record->stcPower().maxCurrent();
        }
    });
    return check;
}

// Opens a curve document and builds the comparison table of every string in it.
int compare(const QString& path)
{
    CurveStore store(path);
    if (!store.isOpen())
        return 1;
    QElapsedTimer timer;
    timer.start();
    const QVector<StringComparison::StringRef> strings
        = StringComparison::stringsUnder({ store.treeModel()->rootItem() });
    const QVector<ComparisonRow> rows
        = StringComparison::build(*store.graphModel(), strings, store.tolerances());
    const double elapsed = ms(timer);
    int counts[3] = {};
    int outliers = 0;
    for (const ComparisonRow& row : rows) {
        ++counts[row.verdict.outcome];
        outliers += row.outlier ? 1 : 0;
    }
    std::printf("comparison of %d strings: %.1f ms (%d pass, %d fail, %d without verdict, %d outliers)\n",
        int(rows.size()), elapsed, counts[Verdict::Pass], counts[Verdict::Fail], counts[Verdict::None],
        outliers);
    return 0;
}

// A published module list of the given number of rows, as the CEC list is laid out.
QByteArray moduleList(int rows)
{
    QByteArray list = "Name,Manufacturer,Technology,Bifacial,STC,PTC,A_c,Length,Width,N_s,I_sc_ref,V_oc_ref,"
                      "I_mp_ref,V_mp_ref,alpha_sc,beta_oc,T_NOCT,a_ref,I_L_ref,I_o_ref,R_s,R_sh_ref,Adjust,"
                      "gamma_r,BIPV,Version,Date\n,,,,W,W,m2,m,m,,A,V,A,V,A/K,V/K,C,V,A,A,Ohm,Ohm,%,%/K,,,\n"
                      "[0],[1],,,,,,,,,,,,,,,,,,,,,,,,,\n";
    const char* const makers[] = { "Aldmere Solar", "Brackwyn PV", "Corvane Energy", "Dunmore Cells" };
    for (int n = 0; n < rows; ++n) {
        const double isc = 8.0 + (n % 50) * 0.1;
        const double voc = 36.0 + (n % 30) * 0.3;
        list
            += QStringLiteral("\"%1 M%2-%3\",%1,%4,0,%5,%6,1.7,1.8,1,%7,%8,%9,%10,%11,0.004,-0.12,45,1.6,9.5,"
                              "1e-10,0.3,300,5,-0.4,N,2020.1,1/1/2020\n")
                   .arg(QLatin1String(makers[n % 4]))
                   .arg(n)
                   .arg(250 + n % 200)
                   .arg(QLatin1String(n % 3 ? "Mono-c-Si" : "Multi-c-Si"))
                   .arg(250 + n % 200)
                   .arg(230 + n % 200)
                   .arg(n % 2 ? 60 : 72)
                   .arg(isc)
                   .arg(voc)
                   .arg(isc * 0.94)
                   .arg(voc * 0.81)
                   .toUtf8();
    }
    return list;
}

// Imports a module list into the library and then types a search into the chooser, a
// keystroke at a time, as a user would.
int modules(int rows)
{
    const QByteArray content = moduleList(rows);
    QElapsedTimer timer;
    timer.start();
    const ModuleListFile list = ModuleListFile::parse(content);
    const double parsed = ms(timer);
    ModuleLibrary::ImportCount count;
    QString error;
    if (!ModuleLibrary::instance().importModules(list.modules, &count, &error)) {
        std::printf("import failed: %s\n", qPrintable(error));
        return 1;
    }
    const double imported = ms(timer);
    std::printf(
        "module list of %d rows: parse %.1f ms, parse+import %.1f ms (%d new, %d updated, %d skipped)\n",
        rows, parsed, imported, count.added, count.updated, list.skipped);

    timer.restart();
    CurveModulesChooser chooser;
    const double opened = ms(timer);
    const int listed = chooser.combo()->count() - 1;
    const QString typed = QStringLiteral("corvane m1234");
    QVector<double> keystrokes;
    for (int i = 1; i <= typed.size(); ++i) {
        timer.restart();
        chooser.filter()->setText(typed.left(i));
        keystrokes.append(ms(timer));
    }
    std::sort(keystrokes.begin(), keystrokes.end());
    std::printf(
        "chooser over %d modules: open %.1f ms; %d keystrokes, median %.2f ms, slowest %.2f ms; %d left\n",
        listed, opened, int(keystrokes.size()), keystrokes.at(keystrokes.size() / 2), keystrokes.last(),
        chooser.combo()->count() - 1);
    return 0;
}

// Opens a curve document, reads the curves of its tree in one go and translates them all.
double openAndTranslate(const QString& path, double* openMs, double* translateMs, bool procedures)
{
    QElapsedTimer timer;
    timer.start();
    CurveStore store(path);
    *openMs = ms(timer);
    timer.restart();
    QVector<uint> ids;
    QVector<const TreeItem*> walk { store.treeModel()->rootItem() };
    while (!walk.isEmpty()) {
        const TreeItem* item = walk.takeLast();
        for (int i = item->childCount() - 1; i >= 0; --i)
            walk.append(item->child(i));
        if (item->curveID() != 0)
            ids.append(item->curveID());
    }
    const double check
        = procedures ? translateByProcedures(store.graphModel(), ids) : translateAll(store.graphModel(), ids);
    *translateMs = ms(timer);
    return check;
}

// Saves a tree of the given number of nodes in one flat list of siblings.
double saveFlat(const QString& folder, int nodes)
{
    const QString path = QStringLiteral("%1/flat-%2.kstcrv").arg(folder).arg(nodes);
    QFile::remove(path);
    copyAsWritable(Folders::builtInTemplatePath(QStringLiteral("kstcrv")), path);
    double result = 0;
    {
        CurveStore store(path);
        CurveTreeModel* tree = store.treeModel();
        for (int n = 0; n < nodes; ++n)
            tree->newNode(QModelIndex())->setData(TreeLabel, QStringLiteral("String %1").arg(nodes - n));
        QElapsedTimer timer;
        timer.start();
        tree->slotSave();
        result = ms(timer);
    }
    QFile::remove(path);
    return result;
}

Figures run(const QString& folder, int strings, const QString& keepAs = QString())
{
    Figures figures;
    const QString path
        = keepAs.isEmpty() ? QStringLiteral("%1/bench-%2.kstcrv").arg(folder).arg(strings) : keepAs;
    QFile::remove(path);
    copyAsWritable(Folders::builtInTemplatePath(QStringLiteral("kstcrv")), path);
    QVector<uint> ids;
    {
        CurveStore store(path);
        // Each curve its own commit: every commit waits for the disk, so only a sample is
        // timed and the figure is scaled to the whole count.
        const int sample = std::min(strings, 100);
        QElapsedTimer timer;
        timer.start();
        for (int n = 0; n < sample; ++n)
            ids.append(store.graphModel()->insert(makeRecord(n)));
        figures.insertAutoCommit = ms(timer) * strings / sample;
        // The import's way: all curves of a file in one batch.
        timer.restart();
        {
            InsertBatch batch(store.database());
            for (int n = sample; n < strings; ++n)
                ids.append(store.graphModel()->insert(makeRecord(n)));
        }
        figures.insertTransaction = ms(timer) * strings / std::max(1, strings - sample);

        QSqlQuery(store.database()).exec(QStringLiteral("UPDATE Curves SET ModuleID = 3, ModuleSeries = 16"));
        CurveTreeModel* tree = store.treeModel();
        const int perFolder = strings / folderCount;
        for (int f = folderCount - 1; f >= 0; --f) {
            TreeItem* item = tree->newNode(QModelIndex());
            item->setData(TreeLabel, QStringLiteral("Inverter %1").arg(f + 1));
            const QModelIndex folderIndex = tree->indexForItem(item);
            for (int s = perFolder - 1; s >= 0; --s) {
                TreeItem* string = tree->newNode(folderIndex);
                string->setData(TreeLabel, QStringLiteral("String %1").arg(s + 1));
                string->setData(TreeCurveID, ids.at(f * perFolder + s));
                string->setData(TreeStatus, 0);
            }
        }
        timer.restart();
        tree->slotSave();
        figures.save = ms(timer);
    }
    if (!keepAs.isEmpty())
        return figures;
    {
        QElapsedTimer timer;
        timer.start();
        CurveStore store(path);
        figures.openLoad = ms(timer);
        if (store.treeModel()->rowCount() != folderCount)
            std::fprintf(stderr, "tree did not load\n");

        timer.restart();
        // Below 100 strings some curves get no node, and the save removed them.
        const double check = translateAll(store.graphModel(), ids);
        figures.translate = ms(timer);
        if (!std::isfinite(check))
            std::fprintf(stderr, "translation went wrong\n");

        store.treeModel()->rootItem()->child(0)->setData(TreeLabel, QStringLiteral("renamed"));
        timer.restart();
        store.treeModel()->slotSave();
        figures.resave = ms(timer);
    }
    QFile::remove(path);
    return figures;
}
} // namespace

int main(int argc, char** argv)
{
    // A throw-away home for the table. The two modes a peer is compared in share one beside the
    // curve file instead: the module library is installed there once, by --make, as it is on a
    // user's machine, and not again (with a wait for the disk) in every timed run.
    QTemporaryDir temporaryHome;
    QString home = temporaryHome.path();
    if ((argc == 4 && qstrcmp(argv[1], "--make") == 0) || (argc == 3 && qstrcmp(argv[1], "--translate") == 0)
        || (argc == 3 && qstrcmp(argv[1], "--translate-procedures") == 0)
        || (argc == 3 && qstrcmp(argv[1], "--compare") == 0)) {
        home = QFileInfo(QString::fromLocal8Bit(argv[2])).absolutePath() + QStringLiteral("/bench-home");
        QDir().mkpath(home);
    }
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/.config")).toUtf8());
    qputenv("XDG_DATA_HOME", (home + QStringLiteral("/.local/share")).toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Halvern"));
    QCoreApplication::setApplicationName(QStringLiteral("Kestrovan Elements"));
    initKestrovanResources();

    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 4 && arguments.at(1) == QLatin1String("--make")) {
        // The peer needs the module library the curves name: it is left beside the file.
        const QString path = QFileInfo(arguments.at(2)).absoluteFilePath();
        run(home, arguments.at(3).toInt(), path);
        const QString library = QFileInfo(path).absolutePath() + QStringLiteral("/modules.db");
        QFile::remove(library);
        ModuleLibrary::instance().open();
        QFile::copy(ModuleLibrary::libraryPath(), library);
        ModuleLibrary::shutdown();
        return QFileInfo::exists(path) ? 0 : 1;
    }
    if (arguments.size() == 3
        && (arguments.at(1) == QLatin1String("--translate")
            || arguments.at(1) == QLatin1String("--translate-procedures"))) {
        double openMs = 0;
        double translateMs = 0;
        const std::clock_t cpuStart = std::clock();
        const double check = openAndTranslate(arguments.at(2), &openMs, &translateMs,
            arguments.at(1) == QLatin1String("--translate-procedures"));
        const double cpuMs = double(std::clock() - cpuStart) * 1000.0 / CLOCKS_PER_SEC;
        std::printf("open+tree %.1f ms, load+3xSTC %.1f ms, total %.1f ms (cpu %.1f ms), check %.6f\n",
            openMs, translateMs, openMs + translateMs, cpuMs, check);
        ModuleLibrary::shutdown();
        return 0;
    }

    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--compare")) {
        const int result = compare(arguments.at(2));
        ModuleLibrary::shutdown();
        return result;
    }
    if (arguments.size() == 3 && arguments.at(1) == QLatin1String("--modules")) {
        const int result = modules(arguments.at(2).toInt());
        ModuleLibrary::shutdown();
        return result;
    }

    QVector<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.append(QByteArray(argv[i]).toInt());
    if (counts.isEmpty())
        counts = { 500, 5000 };

    std::printf("%8s %14s %14s %10s %12s %16s %10s\n", "strings", "1 by 1 (ms)", "batch (ms)", "save (ms)",
        "open+tree", "load+3xSTC (ms)", "resave");
    for (int strings : qAsConst(counts)) {
        const Figures f = run(home, strings);
        std::printf("%8d %14.1f %14.1f %10.1f %12.1f %16.1f %10.1f\n", strings, f.insertAutoCommit,
            f.insertTransaction, f.save, f.openLoad, f.translate, f.resave);
    }
    const int flatNodes = 100000;
    std::printf("save of %d sibling nodes: %.1f ms\n", flatNodes, saveFlat(home, flatNodes));
    ModuleLibrary::shutdown();
    return 0;
}
