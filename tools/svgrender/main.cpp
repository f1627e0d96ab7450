// Renders one SVG source to a raster resource: svgrender <in.svg> <out.png|out.ico|out.jpg> [size].
// The picture gets the size the SVG declares, times the factor "2x" or as "<n>px" square; the
// output format follows the output suffix.
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
    const QStringList args = app.arguments();
    if (args.size() != 3 && args.size() != 4) {
        std::fprintf(stderr, "usage: svgrender <in.svg> <out.png|out.ico|out.jpg> [<n>x|<n>px]\n");
        return 2;
    }
    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "svgrender: cannot parse %s\n", qPrintable(args.at(1)));
        return 1;
    }
    QSize size = renderer.defaultSize();
    if (args.size() == 4) {
        QString spec = args.at(3);
        bool ok = false;
        if (spec.endsWith(QLatin1String("px"))) {
            const int side = spec.chopped(2).toInt(&ok);
            size = QSize(side, side);
        } else if (spec.endsWith(QLatin1Char('x'))) {
            size *= spec.chopped(1).toInt(&ok);
        }
        if (!ok || size.isEmpty() || size.width() > 4096 || size.height() > 4096) {
            std::fprintf(stderr, "svgrender: bad size %s\n", qPrintable(spec));
            return 2;
        }
    }
    const QString suffix = QFileInfo(args.at(2)).suffix().toLower();
    const bool opaque = suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg");

    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(opaque ? Qt::white : Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHints(
            QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
        renderer.render(&painter);
    }
    QImageWriter writer(args.at(2), suffix.toLatin1());
    if (opaque)
        writer.setQuality(92);
    if (!writer.write(opaque ? image.convertToFormat(QImage::Format_RGB32) : image)) {
        std::fprintf(stderr, "svgrender: cannot write %s: %s\n", qPrintable(args.at(2)),
            qPrintable(writer.errorString()));
        return 1;
    }
    return 0;
}
