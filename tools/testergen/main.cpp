// testergen: writes a tester results file, and on request survey-meter readings matched to it.
//   testergen <out.csv> [--rows N] [--semicolon] [--points N] [--seed N] [--version N] [--no-failures]
//             [--curves] [--meter <meter.csv> [--imperial] [--meter-semicolon] [--err N] [--dup N]]
#include "TesterFileGenerator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSaveFile>
#include <cstdio>

namespace {
// The option's value as a whole number of at least `minimum`; false (after saying so) otherwise.
bool readNumber(const QCommandLineParser& parser, const QCommandLineOption& option, qint64 minimum,
    qint64 maximum, qint64* value)
{
    if (!parser.isSet(option))
        return true;
    bool ok = false;
    const QString text = parser.value(option);
    const qint64 number = text.toLongLong(&ok);
    if (!ok || number < minimum || number > maximum) {
        std::fprintf(stderr, "testergen: --%s needs a whole number from %lld to %lld, not \"%s\"\n",
            qPrintable(option.names().constFirst()), minimum, maximum, qPrintable(text));
        return false;
    }
    *value = number;
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes a PV tester's results file."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("out.csv"), QStringLiteral("The file to write."));
    const QCommandLineOption rows(
        QStringLiteral("rows"), QStringLiteral("Number of results."), QStringLiteral("N"));
    const QCommandLineOption semicolon(
        QStringLiteral("semicolon"), QStringLiteral("Separate with ';' and write decimal commas."));
    const QCommandLineOption points(QStringLiteral("points"),
        QStringLiteral("Points of each IV curve (at least 2)."), QStringLiteral("N"));
    const QCommandLineOption seed(
        QStringLiteral("seed"), QStringLiteral("Seed of the made-up values."), QStringLiteral("N"));
    const QCommandLineOption version(
        QStringLiteral("version"), QStringLiteral("File format version in line 1."), QStringLiteral("N"));
    const QCommandLineOption noFailures(QStringLiteral("no-failures"), QStringLiteral("No failed results."));
    const QCommandLineOption curves(QStringLiteral("curves"), QStringLiteral("Every line is an IV curve."));
    const QCommandLineOption meterFile(QStringLiteral("meter"),
        QStringLiteral("Also write survey-meter readings matched to the test times."),
        QStringLiteral("meter.csv"));
    const QCommandLineOption imperial(
        QStringLiteral("imperial"), QStringLiteral("Meter readings in imperial units."));
    const QCommandLineOption meterSemicolon(
        QStringLiteral("meter-semicolon"), QStringLiteral("Separate the meter readings with ';'."));
    const QCommandLineOption err(
        QStringLiteral("err"), QStringLiteral("Every Nth meter value reads ERR."), QStringLiteral("N"));
    const QCommandLineOption dup(
        QStringLiteral("dup"), QStringLiteral("Every Nth meter time is repeated."), QStringLiteral("N"));
    parser.addOptions({ rows, semicolon, points, seed, version, noFailures, curves, meterFile, imperial,
        meterSemicolon, err, dup });
    // Prints the usage for -h and --help and stops at an unknown option.
    parser.process(app);

    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) {
        std::fprintf(stderr, "testergen: name one output file\n\n%s", qPrintable(parser.helpText()));
        return 2;
    }
    TesterFileOptions options;
    qint64 value = 0;
    if (!readNumber(parser, rows, 0, 10000000, &value))
        return 2;
    options.rows = parser.isSet(rows) ? int(value) : options.rows;
    if (!readNumber(parser, points, 2, 1000000, &value))
        return 2;
    options.curvePoints = parser.isSet(points) ? int(value) : options.curvePoints;
    if (!readNumber(parser, seed, 0, 4294967295LL, &value))
        return 2;
    options.seed = parser.isSet(seed) ? quint32(value) : options.seed;
    if (!readNumber(parser, version, 0, 1000000, &value))
        return 2;
    options.fileVersion = parser.isSet(version) ? int(value) : options.fileVersion;
    if (parser.isSet(semicolon))
        options.separator = QLatin1Char(';');
    if (parser.isSet(noFailures))
        options.failEvery = 0;
    options.curvesOnly = parser.isSet(curves);
    MeterFileOptions meter;
    meter.imperialUnits = parser.isSet(imperial);
    if (parser.isSet(meterSemicolon))
        meter.separator = QLatin1Char(';');
    if (!readNumber(parser, err, 0, 1000000, &value))
        return 2;
    meter.errEvery = parser.isSet(err) ? int(value) : meter.errEvery;
    if (!readNumber(parser, dup, 0, 1000000, &value))
        return 2;
    meter.duplicateEvery = parser.isSet(dup) ? int(value) : meter.duplicateEvery;

    const QByteArray tester = generateTesterFile(options);
    QSaveFile out(files.first());
    if (!out.open(QIODevice::WriteOnly) || out.write(tester) < 0 || !out.commit()) {
        std::fprintf(stderr, "testergen: cannot write %s\n", qPrintable(files.first()));
        return 1;
    }
    const QString meterPath = parser.value(meterFile);
    if (!meterPath.isEmpty()) {
        QSaveFile meterOut(meterPath);
        if (!meterOut.open(QIODevice::WriteOnly) || meterOut.write(generateMeterFile(tester, meter)) < 0
            || !meterOut.commit()) {
            std::fprintf(stderr, "testergen: cannot write %s\n", qPrintable(meterPath));
            return 1;
        }
    }
    return 0;
}
