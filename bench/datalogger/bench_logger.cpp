// bench_logger: the data logger's download at full pseudo-terminal speed (time, longest stall of
// the window, memory), and its cost while it waits for a silent instrument.
//   bench_logger [answer size, default 1] [idle seconds, default 5]
// The size is in MiB ("8"), in decimal megabytes ("100MB"), or "endless" for an instrument that
// never falls silent (the download then ends at the logger's limit).
#include "DownloadData.h"
#include "HvGui/MainWindow.h"
#include "LoggerApplication.h"
#include "Prompts.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <memory>

namespace {
// Answers the save dialog with a fixed path and every question with its default.
class BenchPrompts : public Prompts
{
public:
    QString path;
    QElapsedTimer* clock = nullptr;
    qint64 askedAt = -1;
    PromptButton message(const MessageRequest& request) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(request.text));
        return QMessageBox::Ok;
    }
    QString existingDirectory(QWidget*, const QString&, const QString&) override { return QString(); }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return QString();
    }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        askedAt = clock ? clock->elapsed() : -1;
        return path;
    }
    QString text(QWidget*, const QString&, const QString&, const QString&, bool* ok) override
    {
        *ok = false;
        return QString();
    }
    QColor color(QWidget*, const QString&, const QColor&) override { return QColor(); }
    int execDialog(QDialog*) override { return 0; }
};

struct Simulator
{
    QProcess process;
    QString path;
    Simulator(const QString& answer, const QStringList& options)
    {
        process.start(QStringLiteral(INSTRUMENT_SIMULATOR), QStringList { answer } + options);
        process.waitForStarted();
        while (!process.canReadLine() && process.waitForReadyRead(5000)) { }
        path = QString::fromLocal8Bit(process.readLine()).trimmed();
    }
    ~Simulator()
    {
        process.kill();
        process.waitForFinished();
    }
};

// Resident memory of this process in KiB: now ("VmRSS") or at its peak ("VmHWM").
long memoryKiB(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field)) + 1).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// Starts a new peak: what came before no longer counts in VmHWM.
void resetPeakMemory()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double cpuSeconds()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

void choosePort(HvGui::MainWindow& window, const QString& path)
{
    auto* ports = window.findChild<QComboBox*>(QStringLiteral("comPorts"));
    ports->setCurrentIndex(ports->findData(path));
}
} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QApplication app(argc, argv);
    LoggerApplication::setIdentity();
    QCoreApplication::setApplicationName(QStringLiteral("Halvern DataLogger bench"));
    const QString sizeArgument = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("1");
    const bool endless = sizeArgument == QLatin1String("endless");
    const qint64 answerBytes = endless ? -1
        : sizeArgument.endsWith(QLatin1String("MB"))
        ? qMax<qint64>(1, sizeArgument.chopped(2).toLongLong()) * 1000 * 1000
        : qMax<qint64>(1, sizeArgument.toLongLong()) << 20;
    const int idleSeconds = argc > 2 ? qMax(1, atoi(argv[2])) : 5;
    QTemporaryDir dir;
    auto prompts = std::make_unique<BenchPrompts>();
    BenchPrompts* answers = prompts.get();
    Prompts::install(std::move(prompts));

    // A tester-like answer: short numeric lines, 1 MiB of them repeated by the simulator.
    QByteArray block;
    for (int i = 0; block.size() < (1 << 20); ++i)
        block += QByteArray::number(i) + ",15/06/2026,09:30:00,4,612.5,8.25,1000,25.0,45.2\r\n";
    block.truncate(1 << 20);
    const qint64 kept = endless ? DownloadData::DefaultLimit : qMin(answerBytes, DownloadData::DefaultLimit);
    QByteArray answer;
    answer.reserve(int(kept));
    while (answer.size() < kept)
        answer += block;
    answer.truncate(int(kept));
    const QString answerFile = dir.filePath(QStringLiteral("answer.csv"));
    {
        QFile f(answerFile);
        f.open(QIODevice::WriteOnly);
        f.write(block);
    }
    const QString sizeName
        = endless ? QStringLiteral("an endless answer") : QStringLiteral("%1 bytes").arg(answerBytes);
    QStringList sizeOptions = endless
        ? QStringList { QStringLiteral("--endless") }
        : QStringList { QStringLiteral("--size"), QString::number(answerBytes) };

    // 1. The whole answer at full speed, with the event loop's longest stall.
    {
        Simulator sim(answerFile,
            QStringList { QStringLiteral("--rate"), QStringLiteral("0"), QStringLiteral("--chunk"),
                QStringLiteral("4096") }
                + sizeOptions);
        qputenv("HALVERN_EXTRA_PORTS", sim.path.toLocal8Bit());
        answers->path = dir.filePath(QStringLiteral("saved.txt"));
        HvGui::MainWindow window;
        window.show();
        choosePort(window, sim.path);
        QElapsedTimer clock;
        qint64 lastTick = 0;
        qint64 longestStall = 0;
        qint64 stallEnd = 0;
        QTimer ticker;
        ticker.setInterval(5);
        QObject::connect(&ticker, &QTimer::timeout, [&]() {
            const qint64 now = clock.elapsed();
            if (answers->askedAt < 0 && now - lastTick > longestStall) {
                longestStall = now - lastTick;
                stallEnd = now;
            }
            lastTick = now;
        });
        answers->clock = &clock;
        const long rssBefore = memoryKiB("VmRSS:");
        resetPeakMemory();
        clock.start();
        ticker.start();
        window.findChild<QPushButton*>(QStringLiteral("downloadBtn"))->click();
        qint64 firstByte = -1;
        QEventLoop loop;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&]() {
            if (firstByte < 0 && !window.receivedData().isEmpty())
                firstByte = clock.elapsed();
            if (!window.isDownloading() || clock.elapsed() > 120000)
                loop.quit();
        });
        watch.start(10);
        loop.exec();
        const qint64 total = clock.elapsed();
        ticker.stop();
        const long peak = memoryKiB("VmHWM:");
        QFile saved(answers->path);
        const bool intact = saved.open(QIODevice::ReadOnly) && saved.readAll() == answer;
        std::printf("download of %s: first byte after %lld ms, save dialog after %lld ms (%.1f MiB/s), "
                    "saved %lld ms later\n",
            qPrintable(sizeName), firstByte, answers->askedAt,
            double(kept) / 1048576.0 * 1000.0 / double(qMax<qint64>(1, answers->askedAt)),
            total - answers->askedAt);
        std::printf("memory: %.1f MiB before, peak %.1f MiB (%.2f times the %lld MiB limit above it)\n",
            rssBefore / 1024.0, peak / 1024.0,
            double(peak - rssBefore) * 1024.0 / double(DownloadData::DefaultLimit),
            DownloadData::DefaultLimit >> 20);
        std::printf(
            "longest event-loop stall before the save dialog: %lld ms (limit 100 ms), ended %lld ms after "
            "the start\n",
            longestStall, stallEnd);
        std::printf("saved file intact: %s\n", intact ? "yes" : "NO");
        if (!intact || longestStall > 100)
            std::printf("FAILED\n");
    }

    // 2. Waiting for an instrument that never answers.
    {
        Simulator sim(answerFile, { QStringLiteral("--never-answer") });
        qputenv("HALVERN_EXTRA_PORTS", sim.path.toLocal8Bit());
        HvGui::MainWindow window;
        window.show();
        choosePort(window, sim.path);
        window.findChild<QPushButton*>(QStringLiteral("downloadBtn"))->click();
        auto runFor = [](int msecs) {
            QEventLoop loop;
            QTimer::singleShot(msecs, &loop, &QEventLoop::quit);
            loop.exec();
        };
        runFor(500);
        const double cpuBefore = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        runFor(idleSeconds * 1000);
        const double cpu = cpuSeconds() - cpuBefore;
        std::printf("waiting %d s for a silent instrument: %.3f s CPU (%.2f %% of one core)\n", idleSeconds,
            cpu, 100.0 * cpu / (wall.elapsed() / 1000.0));
        window.cancelDownload();
    }
    return 0;
}
