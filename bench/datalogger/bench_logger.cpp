// bench_logger: the data logger's download at full pseudo-terminal speed, and its cost while it
// waits for a silent instrument.
//   bench_logger [answer MiB, default 1] [idle seconds, default 5]
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
    const int mebibytes = argc > 1 ? qMax(1, atoi(argv[1])) : 1;
    const int idleSeconds = argc > 2 ? qMax(1, atoi(argv[2])) : 5;
    QTemporaryDir dir;
    auto prompts = std::make_unique<BenchPrompts>();
    BenchPrompts* answers = prompts.get();
    Prompts::install(std::move(prompts));

    // A tester-like answer: short numeric lines.
    QByteArray answer;
    answer.reserve(mebibytes << 20);
    for (int i = 0; answer.size() < (mebibytes << 20); ++i)
        answer += QByteArray::number(i) + ",15/06/2026,09:30:00,4,612.5,8.25,1000,25.0,45.2\r\n";
    answer.truncate(mebibytes << 20);
    const QString answerFile = dir.filePath(QStringLiteral("answer.csv"));
    {
        QFile f(answerFile);
        f.open(QIODevice::WriteOnly);
        f.write(answer);
    }

    // 1. The whole answer at full speed, with the event loop's longest stall.
    {
        Simulator sim(answerFile,
            { QStringLiteral("--rate"), QStringLiteral("0"), QStringLiteral("--chunk"),
                QStringLiteral("4096") });
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
        QFile saved(answers->path);
        const bool intact = saved.open(QIODevice::ReadOnly) && saved.readAll() == answer;
        std::printf("download of %d MiB: first byte after %lld ms, save dialog after %lld ms (%.1f MiB/s), "
                    "saved %lld ms later\n",
            mebibytes, firstByte, answers->askedAt, mebibytes * 1000.0 / qMax<qint64>(1, answers->askedAt),
            total - answers->askedAt);
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
