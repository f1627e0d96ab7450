// Opening a tester's results file of 10,000 rows in the import dialog.
#include "CsvResultsModel.h"
#include "DialogImportResults.h"
#include "TesterFileGenerator.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = argc > 1 ? atoi(argv[1]) : 10000;
    QTemporaryDir dir;
    const QString path = dir.filePath("results.csv");
    TesterFileOptions options;
    options.rows = rows;
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(generateTesterFile(options));
    }
    const qint64 size = QFileInfo(path).size();
    for (int run = 0; run < 3; ++run) {
        DialogImportResults dialog;
        QElapsedTimer timer;
        timer.start();
        dialog.load(path);
        const qint64 loaded = timer.elapsed();
        dialog.show();
        QCoreApplication::processEvents();
        std::printf("import dialog: %d rows (%.1f MB): parsed in %lld ms, shown in %lld ms\n",
            dialog.model()->rowCount(), size / 1e6, loaded, timer.elapsed());
    }
    // A file of one 50 MB line without a line end: read once, not again with every slice.
    const QString oneLine = dir.filePath("oneline.csv");
    {
        QFile f(oneLine);
        f.open(QIODevice::WriteOnly);
        const QByteArray piece = QByteArray("1:2,").repeated(1 << 16);
        for (qint64 written = 0; written < 50'000'000; written += piece.size())
            f.write(piece);
    }
    for (int run = 0; run < 3; ++run) {
        DialogImportResults dialog;
        QElapsedTimer timer;
        timer.start();
        dialog.load(oneLine);
        std::printf("one line of %.1f MB without a line end: parsed in %lld ms\n",
            QFileInfo(oneLine).size() / 1e6, timer.elapsed());
    }
    return 0;
}
