// libFuzzer target: SVG pictures of a report. Each input is a drawing as a report may carry it;
// the copy that gets rendered must refer to nothing outside itself and embed no picture above
// the limits, whatever the input. A broken promise aborts, so that the fuzzer keeps the input.
#include "FuzzSupport.h"
#include "ReportPictures.h"
#include "ReportResizableImage.h"
#include "SvgPicture.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <cstdio>
#include <cstdlib>

namespace {
[[noreturn]] void broken(const char* what, const QString& detail)
{
    std::fprintf(stderr, "fuzz_svg: %s: %s\n", what, qPrintable(detail.left(200)));
    std::abort();
}

void checkEmbedded(const QString& uri)
{
    const int comma = uri.indexOf(QLatin1Char(','));
    QBuffer buffer;
    buffer.setData(QByteArray::fromBase64(uri.mid(comma + 1).toLatin1()));
    buffer.open(QIODevice::ReadOnly);
    const QSize size = QImageReader(&buffer).size();
    if (!size.isValid() || size.width() > ReportPictures::MaxDrawnSide
        || size.height() > ReportPictures::MaxDrawnSide)
        broken("embedded picture above the limits", uri);
}

// What the renderer is given holds no reference outside the drawing.
void checkSafe(const QByteArray& safe)
{
    QXmlStreamReader reader(safe);
    int depth = 0;
    int styleDepth = 0;
    QString styleText;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement:
            if (++depth > SvgPicture::MaxDepth)
                broken("nested too deeply", reader.name().toString());
            if (styleDepth > 0)
                broken("element inside a style sheet", reader.name().toString());
            if (reader.name() == QLatin1String("style"))
                styleDepth = depth;
            for (const QXmlStreamAttribute& attribute : reader.attributes()) {
                const QString value = attribute.value().toString();
                if (attribute.name() == QLatin1String("href")) {
                    const QString trimmed = value.trimmed();
                    if (trimmed.startsWith(QLatin1String("data:"), Qt::CaseInsensitive)
                        && reader.name() == QLatin1String("image"))
                        checkEmbedded(trimmed);
                    else if (!trimmed.startsWith(QLatin1Char('#')))
                        broken("outside reference", value);
                } else if (SvgPicture::hasOutsideUrl(value)) {
                    broken("outside url()", value);
                }
            }
            break;
        case QXmlStreamReader::EndElement:
            if (depth-- == styleDepth) {
                if (styleText.contains(QLatin1String("@import"), Qt::CaseInsensitive)
                    || SvgPicture::hasOutsideUrl(styleText))
                    broken("style sheet reaching outside", styleText);
                styleDepth = 0;
                styleText.clear();
            }
            break;
        case QXmlStreamReader::ProcessingInstruction:
            broken("processing instruction", reader.processingInstructionTarget().toString());
        case QXmlStreamReader::DTD:
            broken("document type", reader.dtdName().toString());
        case QXmlStreamReader::Characters:
            if (styleDepth > 0)
                styleText += reader.text();
            break;
        default:
            break;
        }
    }
    if (reader.hasError())
        broken("the safe drawing does not read back", reader.errorString());
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    Prompts::install(std::make_unique<SilentPrompts>());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    const QByteArray safe = SvgPicture::safeDrawing(bytes);
    if (safe.isEmpty())
        return 0;
    checkSafe(safe);
    // The drawing as a report draws it, and the check made when a user adds one.
    ReportResizableImage::pictureProblem(QStringLiteral("svg"), bytes);
    if (const std::shared_ptr<QSvgRenderer> drawing = ReportPictures::drawing(bytes)) {
        QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        drawing->render(&painter);
    }
    return 0;
}
