#include "ReportSvg.h"

#include "FileNames.h"
#include "SvgPicture.h"

#include <QDomElement>
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

bool ReportSvg::load(const QDomElement& element, bool valuesOnly, const DocumentContainer& container)
{
    if (!AbstractReportItem::load(element, valuesOnly, container))
        return false;
    bool ok = true;
    const int dpi = readInt(element, QStringLiteral("dpi"), 96, &ok);
    m_dpi = ok && dpi > 0 && dpi <= 10000 ? dpi : 96;
    m_file = element.attribute(QStringLiteral("file"));

    prepareGeometryChange();
    delete m_drawing;
    m_drawing = nullptr;
    delete m_renderer;
    m_renderer = nullptr;

    // Only regular files, read with a bound: a named pipe or /dev/zero must not hang the program
    // or fill its memory.
    QByteArray data;
    if (m_file.isEmpty() || !readPlainFile(m_file, MaxFileSize, &data) || data.isEmpty())
        return true;
    // Drawn like the pictures of a report: from what the drawing itself carries.
    m_renderer = new QSvgRenderer(SvgPicture::safeDrawing(data));
    m_drawing = new QGraphicsSvgItem(this);
    m_drawing->setSharedRenderer(m_renderer);
    m_drawing->setCacheMode(NoCache);
    if (m_dpi != 96)
        m_drawing->setScale(96.0 / m_dpi);
    return true;
}

bool ReportSvg::save(QDomElement& element, bool valuesOnly, DocumentContainer& container)
{
    AbstractReportItem::save(element, valuesOnly, container);
    element.setAttribute(QStringLiteral("file"), m_file);
    element.setAttribute(QStringLiteral("dpi"), QString::number(m_dpi));
    return true;
}
