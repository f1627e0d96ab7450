// Find in files, timed as a user meets it: the search panel driving its worker, the hits shown in
// a visible results table, the event loop watched for stalls all the while.
//   1. Name search over a projects folder of 20,000 files in 2,000 folders (limit 1 s).
//   2. Word search over 2,000 two-page reports with filled fields, the phrase in 1% of them,
//      against a plain Python scan (inflate each report, look for the phrase) of the same tree,
//      run here in turn with ours (target: ratio of at most 1).
// The event loop is sampled by a 2 ms timer; the longest gap between its ticks is the stall
// (limit 100 ms).
//   bench_search [--keep <folder>]   keeps the generated tree.
//   bench_search --scan <folder> <phrase>
//       the word search alone, without a window: the search worker over a folder, printing the
//       hits and the milliseconds, so that it can be timed as a whole process against the Python
//       scan (scan_reports.py takes the same arguments).
#include "DocumentContainer.h"
#include "FindInFiles.h"
#include "Folders.h"
#include "FoundFilesModel.h"
#include "KestrovanResources.h"
#include "Prompts.h"
#include "ReportScene.h"
#include "SearchResultsDocument.h"
#include "SearchThread.h"
#include "SettingsKeys.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {
const char* Phrase = "Meadowbrook Solar Cooperative";

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Two pages of 150 fields each (every fifth a check box) and a 26 x 8 results table on page 1.
QByteArray packXml()
{
    QString xml = QStringLiteral("<document>\n");
    for (int page = 1; page <= 2; ++page) {
        xml += QStringLiteral("<page id=\"page%1\" pageNumber=\"%1\" font=\"Arial\" fontSize=\"8.5\">\n")
                   .arg(page);
        for (int field = 1; field <= 150; ++field) {
            const double x = 40 + (field % 3) * 245;
            const double y = 80 + (field / 3) * 19.5;
            if (field % 5 == 0)
                xml += QStringLiteral("<checkBox id=\"f%1_%2\" x=\"%3\" y=\"%4\">Check %1.%2</checkBox>\n")
                           .arg(page)
                           .arg(field)
                           .arg(x)
                           .arg(y);
            else
                xml += QStringLiteral("<text id=\"f%1_%2\" x=\"%3\" y=\"%4\" width=\"150\" height=\"17\" "
                                      "editable=\"1\"/>\n")
                           .arg(page)
                           .arg(field)
                           .arg(x + 80)
                           .arg(y);
        }
        if (page == 1)
            xml += QStringLiteral("<table id=\"results\" x=\"38\" y=\"600\" width=\"716\" height=\"420\" "
                                  "numCols=\"8\" numRows=\"26\" editable=\"1\"/>\n");
        xml += QStringLiteral("</page>\n");
    }
    xml += QStringLiteral("</document>\n");
    return xml.toUtf8();
}

// The saved form of one filled report, in the shape the program writes it.
QByteArray reportXml(const QString& packPath, int number, bool withPhrase)
{
    static const char* words[] = { "Inverter", "String", "Isolator", "Roof east", "Roof west", "Meter",
        "Cable 6 mm²", "RCD type B", "Earth bond", "Array frame", "Surge device", "Combiner" };
    QString xml = QStringLiteral("<document resPak=\"%1\">\n").arg(packPath);
    for (int page = 1; page <= 2; ++page) {
        xml += QStringLiteral("<page id=\"page%1\">\n").arg(page);
        for (int field = 1; field <= 150; ++field) {
            if (field % 5 == 0) {
                xml += QStringLiteral("<checkBox id=\"f%1_%2\" checked=\"%3\"/>\n")
                           .arg(page)
                           .arg(field)
                           .arg((number + field) % 2 ? "true" : "false");
                continue;
            }
            QString value = QStringLiteral("%1 %2, site %3, reading %4 V")
                                .arg(QLatin1String(words[(number + field) % 12]))
                                .arg(field)
                                .arg(number)
                                .arg(400 + (number * 7 + field) % 300);
            if (withPhrase && page == 2 && field == 121)
                value = QStringLiteral("Client: %1, unit %2").arg(QLatin1String(Phrase)).arg(number);
            xml += QStringLiteral("<text id=\"f%1_%2\">%3</text>\n")
                       .arg(page)
                       .arg(field)
                       .arg(value.toHtmlEscaped());
        }
        if (page == 1) {
            xml += QStringLiteral("<table id=\"results\">\n");
            for (int row = 1; row < 26; ++row) {
                for (int column = 0; column < 8; ++column)
                    xml += QStringLiteral("<cell col=\"%1\" row=\"%2\">%3</cell>\n")
                               .arg(column)
                               .arg(row)
                               .arg(row * 10.5 + column * 0.25 + number % 10);
            }
            xml += QStringLiteral("</table>\n");
        }
        xml += QStringLiteral("</page>\n");
    }
    xml += QStringLiteral("</document>\n");
    return xml.toUtf8();
}

// Samples the event loop while it runs: the longest time between two ticks of a 2 ms timer.
class StallMeter : public QObject
{
public:
    StallMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(2);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            m_longest = std::max(m_longest, m_clock.nsecsElapsed() / 1e6);
            m_clock.restart();
        });
    }
    void start()
    {
        m_longest = 0;
        m_clock.start();
        m_timer.start();
    }
    double stop()
    {
        m_timer.stop();
        return m_longest;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_longest = 0;
};

double cpuMs()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

struct Run
{
    double ms = 0;
    double cpuMs = 0;
    double stallMs = 0;
    int hits = 0;
};

Run runSearch(FindInFiles* panel, StallMeter* meter)
{
    QEventLoop loop;
    QObject::connect(panel, &FindInFiles::searchFinished, &loop, &QEventLoop::quit);
    QElapsedTimer timer;
    meter->start();
    const double cpuBefore = cpuMs();
    timer.start();
    panel->search();
    loop.exec();
    Run run;
    run.ms = timer.nsecsElapsed() / 1e6;
    run.cpuMs = cpuMs() - cpuBefore;
    run.stallMs = meter->stop();
    run.hits = panel->model()->entries().size();
    return run;
}

// The worker of the search panel on a word search, run to its end.
int scanOnly(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QElapsedTimer timer;
    timer.start();
    SearchCriteria criteria;
    criteria.wordPattern = SearchCriteria::wordMask(QString::fromLocal8Bit(argv[3]));
    SearchThread walk(QString::fromLocal8Bit(argv[2]), criteria);
    walk.start();
    walk.wait();
    std::printf("%d %.1f\n", walk.takeHits().size(), timer.nsecsElapsed() / 1e6);
    return 0;
}

// Debian's Python where it is, so that the peer is the same program from run to run.
QString pythonProgram()
{
    return QFileInfo::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                                 : QStringLiteral("python3");
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && qstrcmp(argv[1], "--scan") == 0)
        return scanOnly(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    app.setOrganizationName(QStringLiteral("KestrovanBench"));
    app.setApplicationName(QStringLiteral("bench_search"));
    QStandardPaths::setTestModeEnabled(true);
    initKestrovanResources();

    QTemporaryDir temp;
    QString base = temp.path();
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--keep")) {
        base = args.at(2);
        QDir().mkpath(base);
    }

    // 1. The name search tree: 2,000 folders of 10 files.
    const QString names = base + QStringLiteral("/names");
    for (int folder = 0; folder < 2000; ++folder) {
        const QString dir = names + QStringLiteral("/Client %1/Site %2").arg(folder / 20).arg(folder % 20);
        QDir().mkpath(dir);
        for (int file = 0; file < 10; ++file) {
            static const char* kinds[]
                = { "kstir", "kstatr", "kstvc", "kstchk", "pdf", "csv", "jpg", "kstcrv", "txt", "kstid" };
            if (!writeBytes(
                    dir + QStringLiteral("/Document %1.%2").arg(file).arg(QLatin1String(kinds[file])), "x"))
                return 1;
        }
    }

    // 2. The word search tree: 2,000 reports in 100 folders, the phrase in every hundredth.
    const QString reports = base + QStringLiteral("/reports");
    const QString packPath = base + QStringLiteral("/bench.pak");
    DocumentContainer pack;
    pack.append(QString(), packXml());
    if (!pack.save(packPath))
        return 1;
    static const char* suffixes[] = { "kstir", "kstatr", "kstvc" };
    qint64 xmlBytes = 0;
    for (int number = 0; number < 2000; ++number) {
        const QString dir = reports + QStringLiteral("/Project %1").arg(number / 20);
        QDir().mkpath(dir);
        DocumentContainer report;
        const QByteArray xml = reportXml(packPath, number, number % 100 == 37);
        xmlBytes += xml.size();
        report.append(QStringLiteral("xml"), xml);
        if (!report.save(
                dir + QStringLiteral("/Report %1.%2").arg(number).arg(QLatin1String(suffixes[number % 3]))))
            return 1;
    }
    {
        // The generated reports are real ones: the report engine opens them.
        QUndoStack stack;
        ReportScene scene(&stack);
        if (!scene.load(reports + QStringLiteral("/Project 1/Report 37.kstatr"))) {
            std::fprintf(stderr, "a generated report does not load\n");
            return 1;
        }
    }
    std::printf("reports: 2000, %.1f KB of XML each on average\n", xmlBytes / 2000.0 / 1024.0);

    FindInFiles panel;
    SearchResultsDocument results(base + QStringLiteral("/Search Results"));
    results.setModel(panel.model());
    QObject::connect(&panel, &FindInFiles::searchFinished, &results, &SearchResultsDocument::resizeColumns);
    results.resize(900, 600);
    results.show();
    panel.show();
    StallMeter meter;
    const int runs = 5;
    bool ok = true;

    QSettings().setValue(SettingsKeys::rootDir(), names);
    Folders::instance(true);
    const struct
    {
        const char* title;
        const char* name;
    } nameCases[] = { { "name search listing everything (22,000 hits)", "" },
        { "name search \"document 7\" (2,000 hits)", "document 7" }, { "name search without hits", "zz" } };
    for (const auto& nameCase : nameCases) {
        panel.findChild<QLineEdit*>(QStringLiteral("fileEdit"))->setText(QLatin1String(nameCase.name));
        std::vector<double> times, cpu, stalls;
        int hits = 0;
        for (int i = 0; i < runs; ++i) {
            const Run run = runSearch(&panel, &meter);
            times.push_back(run.ms);
            cpu.push_back(run.cpuMs);
            stalls.push_back(run.stallMs);
            hits = run.hits;
        }
        const double worstStall = *std::max_element(stalls.begin(), stalls.end());
        std::printf("%s: %d hits, %.0f ms (limit 1000; %.0f ms of CPU), longest event-loop stall %.1f ms "
                    "(limit 100)\n",
            nameCase.title, hits, median(times), median(cpu), worstStall);
        ok = ok && median(times) < 1000 && worstStall < 100;
    }

    {
        // A list of 174,000 hits as a search hands them over at its end, filled into the shown
        // results document, and emptied again by the next search.
        FoundFilesModel* model = panel.model();
        QList<QFileInfo> hits;
        for (int i = 0; i < 174000; ++i)
            hits << QFileInfo(
                names + QStringLiteral("/Client %1/Site %2/hit %3.pdf").arg(i % 100).arg(i % 20).arg(i));
        std::vector<double> times, stalls;
        for (int i = 0; i < runs; ++i) {
            QEventLoop loop;
            const QMetaObject::Connection done
                = QObject::connect(model, &FoundFilesModel::searchFinished, &loop, &QEventLoop::quit);
            QElapsedTimer timer;
            meter.start();
            timer.start();
            model->clear();
            model->add(hits);
            model->finish();
            loop.exec();
            times.push_back(timer.nsecsElapsed() / 1e6);
            // The former list is let go while the next one fills; wait for the last slice.
            while (model->hasPendingSlices())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            stalls.push_back(meter.stop());
            QObject::disconnect(done);
        }
        const double worstStall = *std::max_element(stalls.begin(), stalls.end());
        std::printf(
            "results list of %d hits filled after the previous one: %.0f ms, longest event-loop stall "
            "%.1f ms (limit 100)\n",
            model->rowCount(), median(times), worstStall);
        ok = ok && worstStall < 100;
    }

    QSettings().setValue(SettingsKeys::rootDir(), reports);
    Folders::instance(true);
    panel.findChild<QLineEdit*>(QStringLiteral("fileEdit"))->clear();
    panel.findChild<QGroupBox*>(QStringLiteral("wordSearchGroup"))->setChecked(true);
    panel.findChild<QLineEdit*>(QStringLiteral("wordEdit"))->setText(QString::fromUtf8(Phrase).toLower());
    const QString script = QStringLiteral(KESTROVAN_BENCH_SOURCE_DIR "/search/scan_reports.py");
    std::vector<double> ours, oursCpu, theirs, theirsInside, theirsCpu, stalls;
    int ourHits = 0, theirHits = -1;
    for (int i = 0; i < runs; ++i) {
        const Run run = runSearch(&panel, &meter);
        ours.push_back(run.ms);
        oursCpu.push_back(run.cpuMs);
        stalls.push_back(run.stallMs);
        ourHits = run.hits;

        QProcess python;
        QElapsedTimer timer;
        timer.start();
        python.start(pythonProgram(), { script, reports, QString::fromUtf8(Phrase) });
        if (!python.waitForFinished(120000) || python.exitCode() != 0) {
            std::fprintf(stderr, "the Python scan failed: %s\n", python.readAllStandardError().constData());
            return 1;
        }
        theirs.push_back(timer.nsecsElapsed() / 1e6);
        const QList<QByteArray> out = python.readAllStandardOutput().trimmed().split(' ');
        theirHits = out.value(0).toInt();
        theirsInside.push_back(out.value(1).toDouble());
        theirsCpu.push_back(out.value(2).toDouble());
    }
    const double worstStall = *std::max_element(stalls.begin(), stalls.end());
    std::printf(
        "word search over 2,000 reports: %d hits, %.0f ms (%.0f ms of CPU), longest event-loop stall %.1f ms "
        "(limit 100)\n",
        ourHits, median(ours), median(oursCpu), worstStall);
    std::printf(
        "Python scan of the same tree: %d hits, %.0f ms as a process (%.0f ms scanning, %.0f ms of CPU)\n",
        theirHits, median(theirs), median(theirsInside), median(theirsCpu));
    std::printf(
        "ratio ours / Python: %.2f (process), %.2f (scanning only), %.2f (CPU of the scan); target at "
        "most 1\n",
        median(ours) / median(theirs), median(ours) / median(theirsInside),
        median(oursCpu) / median(theirsCpu));
    ok = ok && ourHits == 20 && theirHits == 20 && worstStall < 100;
    return ok ? 0 : 1;
}
