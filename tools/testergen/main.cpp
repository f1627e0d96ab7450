// testergen: writes a tester results file, and on request survey-meter readings matched to it.
//   testergen <out.csv> [--rows N] [--semicolon] [--points N] [--seed N] [--version N] [--no-failures]
//             [--curves] [--meter <meter.csv> [--imperial] [--meter-semicolon] [--err N] [--dup N]]
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
            "[--version N] [--no-failures] [--curves] [--meter <meter.csv> [--imperial] "
            "[--meter-semicolon] [--err N] [--dup N]]\n");
        return 2;
    }
    TesterFileOptions options;
    MeterFileOptions meter;
    QString meterPath;
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
        else if (a == QLatin1String("--curves"))
            options.curvesOnly = true;
        else if (a == QLatin1String("--meter"))
            meterPath = next, ++i;
        else if (a == QLatin1String("--imperial"))
            meter.imperialUnits = true;
        else if (a == QLatin1String("--meter-semicolon"))
            meter.separator = QLatin1Char(';');
        else if (a == QLatin1String("--err"))
            meter.errEvery = next.toInt(), ++i;
        else if (a == QLatin1String("--dup"))
            meter.duplicateEvery = next.toInt(), ++i;
    }
    const QByteArray tester = generateTesterFile(options);
    QFile out(args.at(1));
    if (!out.open(QIODevice::WriteOnly) || out.write(tester) < 0) {
        std::fprintf(stderr, "testergen: cannot write %s\n", qPrintable(args.at(1)));
        return 1;
    }
    if (!meterPath.isEmpty()) {
        QFile meterOut(meterPath);
        if (!meterOut.open(QIODevice::WriteOnly) || meterOut.write(generateMeterFile(tester, meter)) < 0) {
            std::fprintf(stderr, "testergen: cannot write %s\n", qPrintable(meterPath));
            return 1;
        }
    }
    return 0;
}
