// The built-in forms as a user meets them: a new report made from its template, opened and shown,
// exported to PDF; and six test results imported into an array test report.
#include "CsvResultsModel.h"
#include "DocumentFactory.h"
#include "GraphicalReportDocument.h"
#include "KestrovanResources.h"
#include "ReportScene.h"
#include "ResultsColumnMap.h"
#include "Startup.h"
#include "TesterFileGenerator.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QUndoStack>
#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/.local/share")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toUtf8());
    QApplication app(argc, argv);
    setApplicationIdentity();
    initKestrovanResources();
    registerDocumentKinds();
    const QString keep
        = argc > 2 && QByteArray(argv[1]) == "--keep" ? QString::fromLocal8Bit(argv[2]) : QString();

    for (const char* name : { "Inspection Report.kstir", "Array Test Report.kstatr",
             "Verification Certificate.kstvc", "Checklist.kstchk" }) {
        const QString path = createNewDocument(home.path(), QString::fromLatin1(name));
        double openMs = 1e9, pdfMs = 1e9;
        qint64 pdfSize = 0;
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer timer;
            timer.start();
            GraphicalReportDocument doc(path);
            doc.resize(1000, 800);
            doc.show();
            QCoreApplication::processEvents();
            openMs = qMin(openMs, timer.nsecsElapsed() / 1e6);

            const QString pdf = keep.isEmpty()
                ? home.filePath(QStringLiteral("out.pdf"))
                : QStringLiteral("%1/%2.pdf").arg(keep, QFileInfo(path).completeBaseName());
            timer.restart();
            QPrinter printer(QPrinter::HighResolution);
            printer.setPageSize(QPageSize(QPageSize::A4));
            printer.setFullPage(true);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            doc.scene()->paint(&printer);
            pdfMs = qMin(pdfMs, timer.nsecsElapsed() / 1e6);
            pdfSize = QFileInfo(pdf).size();
        }
        std::printf(
            "%-32s open and show %6.1f ms   PDF %6.1f ms, %5.0f KB\n", name, openMs, pdfMs, pdfSize / 1024.0);
    }

    // Six rows, one per string, into a fresh array test report.
    TesterFileOptions options;
    options.rows = 30;
    CsvResultsModel model;
    QBuffer buffer;
    buffer.setData(generateTesterFile(options));
    buffer.open(QIODevice::ReadOnly);
    model.load(buffer);
    QModelIndexList rows;
    for (int r = 0; r < 6; ++r)
        rows << model.index(r, 0);
    double importMs = 1e9;
    int steps = 0;
    for (int run = 0; run < 5; ++run) {
        GraphicalReportDocument doc(
            createNewDocument(home.path(), QStringLiteral("Array Test Report.kstatr")));
        QElapsedTimer timer;
        timer.start();
        ResultsColumnMap(doc.scene(), &model).importRows(rows);
        importMs = qMin(importMs, timer.nsecsElapsed() / 1e6);
        steps = doc.undoStack()->count();
    }
    std::printf("import of 6 rows into an array test report: %.2f ms, %d undo step(s)\n", importMs, steps);
    return 0;
}
