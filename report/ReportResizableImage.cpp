#include "ReportResizableImage.h"

#include "MainWindowRef.h"
#include "Prompts.h"
#include "SvgPicture.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsPixmapItem>
#include <QGraphicsSceneContextMenuEvent>
#include <QGraphicsSvgItem>
#include <QImageReader>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPen>
#include <QSvgRenderer>

#include <cmath>

namespace {
QString tooManyBytes()
{
    return QCoreApplication::translate("Error Message", "The picture is larger than %1 MB.")
        .arg(ReportResizableImage::MaxPictureBytes / (1024 * 1024));
}

QSize rasterSize(const QByteArray& data)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return reader.canRead() ? reader.size() : QSize();
}
} // namespace

ReportResizableImage::ReportResizableImage(QGraphicsItem* parent)
    : ReportResizableItem(true, parent)
{ }

ReportResizableImage::~ReportResizableImage()
{
    // The SVG item draws with the renderer; it must go first.
    delete m_picture;
}

QString ReportResizableImage::pictureProblem(const QString& suffix, const QByteArray& data)
{
    if (data.isEmpty())
        return QCoreApplication::translate("Error Message", "The file holds no picture.");
    if (data.size() > MaxPictureBytes)
        return tooManyBytes();
    if (suffix == QLatin1String("svg")) {
        QString problem;
        const QByteArray safe = SvgPicture::safeDrawing(data, &problem);
        if (safe.isEmpty())
            return problem;
        QSvgRenderer renderer(safe);
        if (!renderer.isValid())
            return QCoreApplication::translate("Error Message", "The drawing cannot be read.");
        if (SvgPicture::isTooLarge(renderer.defaultSize()))
            return QCoreApplication::translate(
                "Error Message", "The drawing is %1 × %2 pixels; at most %3 pixels on a side can be shown.")
                .arg(renderer.defaultSize().width())
                .arg(renderer.defaultSize().height())
                .arg(MaxPictureSide);
        return QString();
    }
    // The size comes from the header, before anything is decoded: a small file can hold a picture
    // that would need hundreds of megabytes.
    const QSize size = rasterSize(data);
    if (!size.isValid())
        return QCoreApplication::translate("Error Message", "The file is not a picture that can be shown.");
    if (size.width() > MaxPictureSide || size.height() > MaxPictureSide)
        return QCoreApplication::translate(
            "Error Message", "The picture is %1 × %2 pixels; at most %3 pixels on a side can be shown.")
            .arg(size.width())
            .arg(size.height())
            .arg(MaxPictureSide);
    return QString();
}

void ReportResizableImage::buildPicture()
{
    delete m_picture;
    m_picture = nullptr;
    m_renderer.reset();
    m_bitmap.reset();
    m_placeholder = false;
    if (m_suffix == QLatin1String("svg")) {
        if (!m_data.isEmpty() && m_data.size() <= MaxPictureBytes)
            m_renderer = ReportPictures::drawing(m_data);
        if (m_renderer) {
            auto* svg = new QGraphicsSvgItem(this);
            svg->setSharedRenderer(m_renderer.get());
            svg->setCacheMode(QGraphicsItem::NoCache);
            m_picture = svg;
            m_naturalRect = svg->boundingRect();
        }
    } else if (pictureProblem(m_suffix, m_data).isEmpty()) {
        QSize natural;
        m_bitmap = ReportPictures::bitmap(m_data, &natural);
        if (m_bitmap && !m_bitmap->isNull()) {
            auto* pixmap = new QGraphicsPixmapItem(*m_bitmap, this);
            // A smaller copy stands in for the picture at the picture's own size.
            pixmap->setTransformationMode(Qt::SmoothTransformation);
            pixmap->setTransform(QTransform::fromScale(
                qreal(natural.width()) / m_bitmap->width(), qreal(natural.height()) / m_bitmap->height()));
            m_picture = pixmap;
            m_naturalRect = QRectF(QPointF(0, 0), QSizeF(natural));
        }
    }
    if (!m_picture) {
        // Kept in the report unchanged, but not drawn: it is too large or damaged to show.
        auto* box = new QGraphicsRectItem(0, 0, 200, 150, this);
        box->setPen(QPen(Qt::gray, 1, Qt::DashLine));
        box->setBrush(QColor(0xee, 0xee, 0xee));
        auto* note = new QGraphicsSimpleTextItem(
            QCoreApplication::translate("Report", "This picture cannot be shown"), box);
        note->setPos(10, 65);
        m_picture = box;
        m_naturalRect = box->boundingRect();
        m_placeholder = true;
    }
    m_picture->setScale(m_scale);
}

QRectF ReportResizableImage::rect() const
{
    if (!m_picture)
        return QRectF();
    return QRectF(m_naturalRect.topLeft(), m_naturalRect.size() * m_scale);
}

void ReportResizableImage::setSize(const QSizeF& size, int handle)
{
    if (!m_picture)
        return;
    const QSizeF natural = m_naturalRect.size();
    if (natural.width() <= 0 || natural.height() <= 0)
        return;
    // The left edge, inside and right edge handles follow the width; all others the height.
    const bool byWidth = handle == 33 || handle == 34 || handle == 36;
    const qreal scale = byWidth ? size.width() / natural.width() : size.height() / natural.height();
    if (scale > 0 && std::isfinite(scale)) {
        prepareGeometryChange();
        m_scale = scale;
        m_picture->setScale(m_scale);
    }
}

bool ReportResizableImage::selectPicture()
{
    if (hasPicture())
        return false;
    const QString path = Prompts::instance().openFileName(currentMainWindow(),
        QCoreApplication::translate("File Open Dialog", "Select Image"), QString(),
        QCoreApplication::translate(
            "File Open Dialog", "Images (*.png *.jpg *.jpeg *.bmp *.tif *.tiff *.svg)"));
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString suffix = QFileInfo(path).suffix();
    // Checked before the whole file is read.
    QString problem;
    QByteArray data;
    if (file.size() > MaxPictureBytes) {
        problem = tooManyBytes();
    } else {
        data = file.readAll();
        problem = pictureProblem(suffix, data);
    }
    if (!problem.isEmpty()) {
        Prompts::show(QMessageBox::Warning, currentMainWindow(),
            QCoreApplication::translate("Error Message", "%1 cannot be added to the report.").arg(path),
            problem);
        return false;
    }
    m_suffix = suffix;
    m_data = data;
    prepareGeometryChange();
    buildPicture();
    updateBand();
    return true;
}

bool ReportResizableImage::toModel(ReportItem& item) const
{
    if (!hasPicture())
        return false;
    item.scale = m_scale;
    item.suffix = m_suffix;
    item.data = m_data;
    return ReportResizableItem::toModel(item);
}

void ReportResizableImage::fromModel(const ReportItem& item)
{
    m_scale = item.scale;
    m_suffix = item.suffix;
    m_data = item.data;
    prepareGeometryChange();
    buildPicture();
    // A size given in the file sets the scale, by the picture's own size.
    ReportResizableItem::fromModel(item);
    updateBand();
}

void ReportResizableImage::deleteWithUndo()
{
    emit deleteRequested(this);
}

void ReportResizableImage::contextMenuEvent(QGraphicsSceneContextMenuEvent* event)
{
    QMenu menu;
    QAction* remove = menu.addAction(QCoreApplication::translate("Menu option", "Delete Image"));
    if (menu.exec(event->screenPos()) == remove)
        deleteWithUndo();
    event->accept();
}

void ReportResizableImage::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete) {
        deleteWithUndo();
        event->accept();
        return;
    }
    event->ignore();
}
