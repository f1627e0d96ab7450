// Renders one SVG source to a raster resource: svgrender <in.svg> <out.png|out.ico|out.jpg> [size].
// The picture gets the size the SVG declares, times a factor ("2x") or as a square ("48px"); the
// output format follows the output suffix.
#include <QCommandLineParser>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Renders an SVG picture at the size it declares."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("in.svg"), QStringLiteral("The SVG source."));
    parser.addPositionalArgument(QStringLiteral("out"),
        QStringLiteral("The picture to write; .png, .ico or .jpg chooses the format."));
    parser.addPositionalArgument(QStringLiteral("size"),
        QStringLiteral("Optional: a factor of the declared size (\"2x\") or a square side (\"48px\")."),
        QStringLiteral("[size]"));
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    if (args.size() != 2 && args.size() != 3) {
        std::fprintf(stderr, "%s", qPrintable(parser.helpText()));
        return 2;
    }
    QSvgRenderer renderer(args.at(0));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "svgrender: cannot parse %s\n", qPrintable(args.at(0)));
        return 1;
    }
    QSize size = renderer.defaultSize();
    if (args.size() == 3) {
        const QString wanted = args.at(2);
        bool ok = false;
        if (wanted.endsWith(QLatin1String("px"))) {
            const int side = wanted.chopped(2).toInt(&ok);
            size = QSize(side, side);
        } else if (wanted.endsWith(QLatin1Char('x'))) {
            size *= wanted.chopped(1).toInt(&ok);
        }
        if (!ok || size.isEmpty() || size.width() > 4096 || size.height() > 4096) {
            std::fprintf(stderr, "svgrender: bad size %s\n", qPrintable(wanted));
            return 2;
        }
    }
    const QString suffix = QFileInfo(args.at(1)).suffix().toLower();
    const bool opaque = suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg");

    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(opaque ? Qt::white : Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHints(
            QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        renderer.render(&painter);
    }
    QImageWriter writer(args.at(1), suffix.toLatin1());
    if (opaque)
        writer.setQuality(92);
    if (!writer.write(opaque ? image.convertToFormat(QImage::Format_RGB32) : image)) {
        std::fprintf(stderr, "svgrender: cannot write %s: %s\n", qPrintable(args.at(1)),
            qPrintable(writer.errorString()));
        return 1;
    }
    return 0;
}
