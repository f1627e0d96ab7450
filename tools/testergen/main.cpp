// testergen: writes a tester results file.
//   testergen <out.csv> [--rows N] [--semicolon] [--points N] [--seed N] [--version N] [--no-failures]
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
    parser.addOptions({ rows, semicolon, points, seed, version, noFailures });
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

    QSaveFile out(files.first());
    if (!out.open(QIODevice::WriteOnly) || out.write(generateTesterFile(options)) < 0 || !out.commit()) {
        std::fprintf(stderr, "testergen: cannot write %s\n", qPrintable(files.first()));
        return 1;
    }
    return 0;
}
