// Compiles the readable XML source of a report layout into its binary container:
//   packc pack <layout.xml> <out.pak>
//       a resource pack: one entry with an empty name holding the layout XML;
//   packc template <document.xml> <out> [<suffix>=<picture file> ...]
//       a report template: the entry "xml", then one entry per picture, named by its suffix,
//       in the order given (the document's image elements refer to them as index 1, 2, ...).
// The container is written with qCompress and QDataStream directly, so packs are made by a
// writer independent of the program's own reader.
#include <QBuffer>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <cstdio>

namespace {
bool readFile(const QString& path, QByteArray* data)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "packc: cannot read %s\n", qPrintable(path));
        return false;
    }
    *data = file.readAll();
    return true;
}

// A layout that does not parse would only fail when the program opens it; fail the build instead.
bool checkXml(const QString& path, const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    bool root = false;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::DTD) {
            std::fprintf(stderr, "%s: a document type declaration is not allowed\n", qPrintable(path));
            return false;
        }
        if (token == QXmlStreamReader::StartElement && !root) {
            root = true;
            if (reader.name() != QLatin1String("document")) {
                std::fprintf(stderr, "%s: the root element must be <document>\n", qPrintable(path));
                return false;
            }
        }
    }
    if (reader.hasError()) {
        std::fprintf(stderr, "%s:%lld:%lld: %s\n", qPrintable(path), reader.lineNumber(),
            reader.columnNumber(), qPrintable(reader.errorString()));
        return false;
    }
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Compiles a report layout into a resource pack, or a report document into a template."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("mode"), QStringLiteral("\"pack\" or \"template\"."));
    parser.addPositionalArgument(QStringLiteral("source.xml"), QStringLiteral("The layout or document XML."));
    parser.addPositionalArgument(QStringLiteral("out"), QStringLiteral("The container to write."));
    parser.addPositionalArgument(QStringLiteral("pictures"),
        QStringLiteral("A template's pictures as <suffix>=<file>, in the order the document uses them."),
        QStringLiteral("[<suffix>=<picture> ...]"));
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    const bool pack = args.size() == 3 && args.at(0) == QLatin1String("pack");
    const bool templ = args.size() >= 3 && args.at(0) == QLatin1String("template");
    if (!pack && !templ) {
        std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
        return 2;
    }
    QByteArray xml;
    if (!readFile(args.at(1), &xml) || !checkXml(args.at(1), xml))
        return 1;

    QByteArray payload;
    {
        QBuffer buffer(&payload);
        buffer.open(QIODevice::WriteOnly);
        QDataStream stream(&buffer);
        stream.setVersion(QDataStream::Qt_4_3);
        stream << (pack ? QStringLiteral("") : QStringLiteral("xml")) << xml;
        for (int i = 3; i < args.size(); ++i) {
            const int eq = args.at(i).indexOf(QLatin1Char('='));
            QByteArray picture;
            if (eq <= 0 || !readFile(args.at(i).mid(eq + 1), &picture)) {
                std::fprintf(stderr, "packc: bad picture argument %s\n", qPrintable(args.at(i)));
                return 1;
            }
            stream << args.at(i).left(eq) << picture;
        }
    }
    QSaveFile out(args.at(2));
    const QByteArray bytes = qCompress(payload, -1);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        std::fprintf(stderr, "packc: cannot write %s\n", qPrintable(args.at(2)));
        return 1;
    }
    return 0;
}
