// testergen: writes a tester results file.
//   testergen <out.csv> [--rows N] [--semicolon] [--points N] [--seed N] [--version N] [--no-failures]
#include "TesterFileGenerator.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr,
            "usage: testergen <out.csv> [--rows N] [--semicolon] [--points N] [--seed N] "
            "[--version N] [--no-failures]\n");
        return 2;
    }
    TesterFileOptions options;
    for (int i = 2; i < args.size(); ++i) {
        const QString& a = args.at(i);
        const QString next = i + 1 < args.size() ? args.at(i + 1) : QString();
        if (a == QLatin1String("--rows"))
            options.rows = next.toInt(), ++i;
        else if (a == QLatin1String("--points"))
            options.curvePoints = qMax(2, next.toInt()), ++i;
        else if (a == QLatin1String("--seed"))
            options.seed = next.toUInt(), ++i;
        else if (a == QLatin1String("--version"))
            options.fileVersion = next.toInt(), ++i;
        else if (a == QLatin1String("--semicolon"))
            options.separator = QLatin1Char(';');
        else if (a == QLatin1String("--no-failures"))
            options.failEvery = 0;
    }
    QFile out(args.at(1));
    if (!out.open(QIODevice::WriteOnly) || out.write(generateTesterFile(options)) < 0) {
        std::fprintf(stderr, "testergen: cannot write %s\n", qPrintable(args.at(1)));
        return 1;
    }
    return 0;
}
