#include "ReportPictures.h"

#include "SvgPicture.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QHash>
#include <QImageReader>
#include <QPixmap>
#include <QSvgRenderer>

namespace {
// Pictures are told apart by their bytes; the size makes a clash of digests harmless in practice.
QByteArray keyOf(const QByteArray& data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Sha1) + QByteArray::number(data.size());
}

// A picture stays in the cache only while some image shows it.
template <typename T> class SharedCache
{
public:
    std::shared_ptr<T> find(const QByteArray& key) { return m_entries.value(key).lock(); }
    void insert(const QByteArray& key, const std::shared_ptr<T>& value)
    {
        for (auto it = m_entries.begin(); it != m_entries.end();) {
            if (it.value().expired())
                it = m_entries.erase(it);
            else
                ++it;
        }
        m_entries.insert(key, value);
    }

private:
    QHash<QByteArray, std::weak_ptr<T>> m_entries;
};

struct Bitmap
{
    QPixmap pixmap;
    QSize natural;
};

SharedCache<const Bitmap>& bitmaps()
{
    static SharedCache<const Bitmap> cache;
    return cache;
}

SharedCache<QSvgRenderer>& drawings()
{
    static SharedCache<QSvgRenderer> cache;
    return cache;
}
} // namespace

QImage ReportPictures::decodeScaled(const QByteArray& data, int maxSide, QSize* naturalSize)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize natural = reader.size();
    if (naturalSize)
        *naturalSize = natural;
    // The size comes from the header, before anything is decoded: a small file can hold a picture
    // that would need gigabytes.
    if (!natural.isValid() || natural.width() > MaxPictureSide || natural.height() > MaxPictureSide)
        return QImage();
    const bool tooLarge = std::max(natural.width(), natural.height()) > maxSide;
    const QSize drawn = natural.scaled(maxSide, maxSide, Qt::KeepAspectRatio);
    // JPEG decodes straight to a smaller size. Other decoders that offer it (PNG) decode in
    // full and scale smoothly at 32 bits a pixel; they are scaled here instead.
    const bool decodesScaled
        = reader.format() == "jpeg" && reader.supportsOption(QImageIOHandler::ScaledSize);
    if (tooLarge && decodesScaled)
        reader.setScaledSize(drawn);
    QImage image = reader.read();
    if (image.isNull())
        return QImage();
    if (tooLarge && !decodesScaled) {
        // Smooth scaling works on 32 bits a pixel: a picture of few colours (a scanned
        // drawing of one bit a pixel) is first thinned in its own format, so that it is never
        // converted at full size.
        if (image.depth() < 32)
            image = image.scaled(drawn * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        image = image.scaled(drawn, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return image;
}

std::shared_ptr<const QPixmap> ReportPictures::bitmap(const QByteArray& data, QSize* naturalSize)
{
    const QByteArray key = keyOf(data);
    std::shared_ptr<const Bitmap> found = bitmaps().find(key);
    if (!found) {
        QSize natural;
        const QImage image = decodeScaled(data, MaxDrawnSide, &natural);
        if (image.isNull())
            return nullptr;
        found = std::make_shared<const Bitmap>(Bitmap { QPixmap::fromImage(image), natural });
        bitmaps().insert(key, found);
    }
    if (naturalSize)
        *naturalSize = found->natural;
    // The pixmap lives as long as the cache entry that holds it.
    return std::shared_ptr<const QPixmap>(found, &found->pixmap);
}

std::shared_ptr<QSvgRenderer> ReportPictures::drawing(const QByteArray& data)
{
    const QByteArray key = keyOf(data);
    std::shared_ptr<QSvgRenderer> found = drawings().find(key);
    if (!found) {
        // Only what the report carries is drawn: the drawing is rendered from a copy without
        // references outside itself and with its embedded pictures within the picture limits.
        const QByteArray safe = SvgPicture::safeDrawing(data);
        if (safe.isEmpty())
            return nullptr;
        found = std::make_shared<QSvgRenderer>(safe);
        if (!found->isValid() || SvgPicture::isTooLarge(found->defaultSize()))
            return nullptr;
        drawings().insert(key, found);
    }
    return found;
}
