#include "ReportSvg.h"

#include "FileNames.h"
#include "SvgPicture.h"

#include <QFile>
#include <QFileInfo>
#include <QGraphicsSvgItem>
#include <QSvgRenderer>

ReportSvg::ReportSvg(QGraphicsItem* parent)
    : AbstractReportItem(parent)
{
    setFlag(ItemHasNoContents);
}

ReportSvg::~ReportSvg()
{
    delete m_drawing;
    delete m_renderer;
}

QRectF ReportSvg::boundingRect() const
{
    return m_drawing ? m_drawing->mapRectToParent(m_drawing->boundingRect()) : QRectF();
}

void ReportSvg::fromModel(const ReportItem& item)
{
    AbstractReportItem::fromModel(item);
    m_dpi = item.dpi;
    m_file = item.file;

    prepareGeometryChange();
    delete m_drawing;
    m_drawing = nullptr;
    delete m_renderer;
    m_renderer = nullptr;

    // Only regular files, read with a bound: a named pipe or /dev/zero must not hang the program
    // or fill its memory.
    QByteArray data;
    if (m_file.isEmpty() || !readPlainFile(m_file, MaxFileSize, &data) || data.isEmpty())
        return;
    // Drawn like the pictures of a report: from what the drawing itself carries.
    m_renderer = new QSvgRenderer(SvgPicture::safeDrawing(data));
    m_drawing = new QGraphicsSvgItem(this);
    m_drawing->setSharedRenderer(m_renderer);
    m_drawing->setCacheMode(NoCache);
    if (m_dpi != 96)
        m_drawing->setScale(96.0 / m_dpi);
}

bool ReportSvg::toModel(ReportItem& item) const
{
    item.file = m_file;
    item.dpi = m_dpi;
    return AbstractReportItem::toModel(item);
}
