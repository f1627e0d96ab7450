#include "CsvResultsModel.h"
#include "DataLoggerProgram.h"
#include "HvGui/MainWindow.h"
#include "Instrument.h"
#include "LoggerApplication.h"
#include "LoggerResources.h"
#include "TestSupport.h"
#include "TesterFileGenerator.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>

// The whole road once: a tester's results file in the simulated instrument, the logger program
// run as it runs for the user, the file saved, and Kestrovan's side of the hand-over finding and
// reading it.
class TestEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void downloadIsHandedToKestrovan();
};

namespace {
HvGui::MainWindow* loggerWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<HvGui::MainWindow*>(widget); window && window->isVisible())
            return window;
    }
    return nullptr;
}
} // namespace

void TestEndToEnd::downloadIsHandedToKestrovan()
{
    TesterFileOptions options;
    options.rows = 40;
    const QByteArray results = generateTesterFile(options);
    Instrument instrument(results, { "--rate", "0", "--chunk", "64", "--crlf" });
    QVERIFY(!instrument.path().isEmpty());
    qputenv("HALVERN_EXTRA_PORTS", instrument.path().toLocal8Bit());

    QTemporaryDir dir;
    const QString target = dir.filePath("download.csv");
    ScriptedPrompts::get().paths << target;
    const QDateTime started = QDateTime::currentDateTime().addSecs(-1);

    // What the user does once the window is up: choose the instrument's port, download, and
    // leave through File > Exit once the file is saved.
    QStringList steps;
    QTimer driver;
    driver.setInterval(20);
    connect(&driver, &QTimer::timeout, [&]() {
        HvGui::MainWindow* window = loggerWindow();
        if (!window)
            return;
        auto* ports = window->findChild<QComboBox*>("comPorts");
        if (steps.isEmpty()) {
            ports->setCurrentIndex(ports->findData(instrument.path()));
            window->findChild<QPushButton*>("downloadBtn")->click();
            steps << "download";
        } else if (steps.size() == 1 && !window->isDownloading() && !window->lastSavedFilePath().isEmpty()) {
            steps << "saved";
            window->findChild<QAction*>("actionExit")->trigger();
        }
    });
    QTimer::singleShot(60000, qApp, &QCoreApplication::quit); // never hang the suite
    driver.start();

    LoggerApplication::setIdentity();
    initLoggerResources();
    QCOMPARE(LoggerApplication::run(*qobject_cast<QApplication*>(qApp)), 0);
    driver.stop();
    QCOMPARE(steps, QStringList({ "download", "saved" }));

    // The logger's own settings: the port for next time.
    QCOMPARE(QSettings().value("Device/PortName").toString(), instrument.path());

    // Kestrovan's side: the path in the hand-over setting, a file newer than the start, the
    // bytes as the instrument sent them, and results its import reads.
    QCOMPARE(DataLoggerProgram::lastSavedFilePath(), target);
    QVERIFY(QFileInfo(target).lastModified() > started);
    QFile saved(target);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QByteArray expected = results;
    expected.replace("\r\n", "\n").replace("\n", "\r\n");
    QCOMPARE(saved.readAll(), expected);
    saved.seek(0);
    CsvResultsModel model;
    QVERIFY(model.load(saved));
    QCOMPARE(model.rowCount(), options.rows);
}

KESTROVAN_TEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
