#include "SvgPicture.h"

#include "ReportPictures.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {
// What the embedded pictures of one drawing may cost together: decoding, as much as one raster
// picture at its largest; keeping, as much as four pictures at the largest size a page uses.
constexpr qint64 MaxDecodedPixels = qint64(ReportPictures::MaxPictureSide) * ReportPictures::MaxPictureSide;
constexpr qint64 MaxKeptPixels = qint64(4) * ReportPictures::MaxDrawnSide * ReportPictures::MaxDrawnSide;

bool isHref(const QXmlStreamAttribute& attribute)
{
    return attribute.name() == QLatin1String("href");
}

class Sanitizer
{
public:
    QByteArray run(const QByteArray& data, QString* problem);

private:
    // The data: URI of an embedded picture as it may be drawn; empty when it may not.
    QString embeddedPicture(const QString& uri);

    qint64 m_decodedPixels = 0;
    qint64 m_keptPixels = 0;
};

QString Sanitizer::embeddedPicture(const QString& uri)
{
    const QString trimmed = uri.trimmed();
    if (!trimmed.startsWith(QLatin1String("data:"), Qt::CaseInsensitive))
        return QString();
    const int comma = trimmed.indexOf(QLatin1Char(','));
    // The renderer reads base64 data only.
    if (comma < 0 || !trimmed.leftRef(comma).endsWith(QLatin1String(";base64"), Qt::CaseInsensitive))
        return QString();
    // Base64 takes four characters for three bytes.
    if (trimmed.size() - comma - 1 > ReportPictures::MaxPictureBytes / 3 * 4 + 4)
        return QString();
    const QByteArray bytes = QByteArray::fromBase64(trimmed.midRef(comma + 1).toLatin1());
    if (bytes.isEmpty() || bytes.size() > ReportPictures::MaxPictureBytes)
        return QString();

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // Raster pictures only: an embedded drawing would be rendered as it is, references and all.
    static const QSet<QByteArray> raster = { "png", "jpeg", "jpg", "bmp", "gif", "tiff", "webp" };
    if (!raster.contains(reader.format()))
        return QString();
    const QSize natural = reader.size();
    if (!natural.isValid() || natural.width() > ReportPictures::MaxPictureSide
        || natural.height() > ReportPictures::MaxPictureSide)
        return QString();
    const qint64 pixels = qint64(natural.width()) * natural.height();
    const QSize kept
        = natural.boundedTo(QSize(ReportPictures::MaxDrawnSide, ReportPictures::MaxDrawnSide)) == natural
        ? natural
        : natural.scaled(ReportPictures::MaxDrawnSide, ReportPictures::MaxDrawnSide, Qt::KeepAspectRatio);
    const qint64 keptPixels = qint64(kept.width()) * kept.height();
    if (m_decodedPixels + pixels > MaxDecodedPixels || m_keptPixels + keptPixels > MaxKeptPixels)
        return QString();
    m_decodedPixels += pixels;
    m_keptPixels += keptPixels;
    if (kept == natural)
        return trimmed;
    // The renderer keeps a picture at its own size: a larger one than a page can use is
    // replaced by a copy at that size, as raster pictures are drawn.
    const QImage image = ReportPictures::decodeScaled(bytes, ReportPictures::MaxDrawnSide, nullptr);
    if (image.isNull())
        return QString();
    QBuffer scaled;
    scaled.open(QIODevice::WriteOnly);
    if (!QImageWriter(&scaled, "png").write(image))
        return QString();
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(scaled.data().toBase64());
}

QByteArray Sanitizer::run(const QByteArray& data, QString* problem)
{
    const auto fail = [problem](const char* text) {
        if (problem)
            *problem = QCoreApplication::translate("Error Message", text);
        return QByteArray();
    };
    QXmlStreamReader reader(data);
    QByteArray result;
    QXmlStreamWriter writer(&result);
    writer.writeStartDocument();
    int depth = 0;
    // Inside a style element: the depth it began at, and its whole text, judged once it is
    // complete (the parts of a text split by CDATA sections are one style sheet to the renderer).
    int styleDepth = 0;
    QString styleText;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            // Entities could expand the text without bound or stand for anything.
            if (!reader.entityDeclarations().isEmpty())
                return fail(QT_TRANSLATE_NOOP("Error Message",
                    "The drawing declares entities, which pictures of a report may not use."));
            break;
        case QXmlStreamReader::StartElement: {
            if (++depth > SvgPicture::MaxDepth)
                return fail(
                    QT_TRANSLATE_NOOP("Error Message", "The drawing is nested too deeply to be shown."));
            // A style sheet holds text only.
            if (styleDepth > 0)
                break;
            const bool image = reader.name() == QLatin1String("image");
            if (reader.name() == QLatin1String("style"))
                styleDepth = depth;
            writer.writeStartElement(reader.qualifiedName().toString());
            for (const QXmlStreamNamespaceDeclaration& declaration : reader.namespaceDeclarations()) {
                const QString prefix = declaration.prefix().toString();
                writer.writeAttribute(
                    prefix.isEmpty() ? QStringLiteral("xmlns") : QStringLiteral("xmlns:") + prefix,
                    declaration.namespaceUri().toString());
            }
            for (const QXmlStreamAttribute& attribute : reader.attributes()) {
                QString value = attribute.value().toString();
                if (isHref(attribute)) {
                    // Elements of the drawing itself, and pictures it carries, nothing else.
                    if (image)
                        value = embeddedPicture(value);
                    else if (!value.trimmed().startsWith(QLatin1Char('#')))
                        value.clear();
                    if (value.isEmpty())
                        continue;
                } else if (SvgPicture::hasOutsideUrl(value)) {
                    continue;
                }
                writer.writeAttribute(attribute.qualifiedName().toString(), value);
            }
            break;
        }
        case QXmlStreamReader::EndElement:
            if (styleDepth > 0 && depth > styleDepth) {
                --depth;
                break;
            }
            if (depth == styleDepth) {
                // A style sheet may not pull in others or name pictures outside the drawing.
                if (!styleText.contains(QLatin1String("@import"), Qt::CaseInsensitive)
                    && !SvgPicture::hasOutsideUrl(styleText))
                    writer.writeCharacters(styleText);
                styleText.clear();
                styleDepth = 0;
            }
            --depth;
            writer.writeEndElement();
            break;
        case QXmlStreamReader::Characters:
            if (styleDepth > 0)
                styleText += reader.text();
            else if (reader.isCDATA())
                writer.writeCDATA(reader.text().toString());
            else
                writer.writeCharacters(reader.text().toString());
            break;
        default:
            // Comments, processing instructions (a style sheet link among them) and entity
            // references are left out.
            break;
        }
    }
    if (reader.hasError())
        return fail(QT_TRANSLATE_NOOP("Error Message", "The drawing cannot be read."));
    writer.writeEndDocument();
    return result;
}
} // namespace

QByteArray SvgPicture::safeDrawing(const QByteArray& data, QString* problem)
{
    if (problem)
        problem->clear();
    return Sanitizer().run(data, problem);
}

bool SvgPicture::isTooLarge(const QSizeF& size)
{
    return size.width() > ReportPictures::MaxPictureSide || size.height() > ReportPictures::MaxPictureSide;
}

bool SvgPicture::hasOutsideUrl(const QString& value)
{
    static const QRegularExpression url(
        QStringLiteral("url\\s*\\(\\s*['\"]?\\s*([^'\"\\s)]?)"), QRegularExpression::CaseInsensitiveOption);
    QRegularExpressionMatchIterator it = url.globalMatch(value);
    while (it.hasNext()) {
        if (it.next().captured(1) != QLatin1String("#"))
            return true;
    }
    return false;
}
