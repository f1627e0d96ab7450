#include "CurveGraph.h"

#include "AbstractDocument.h"
#include "Brand.h"
#include "CurveGraphModel.h"
#include "CurveGraphSquishHelper.h"
#include "CurveLine.h"
#include "CurvePanner.h"
#include "CurveRecord.h"
#include "CurveTracker.h"
#include "CurveTypeLegend.h"
#include "CurveZoomer.h"
#include "Prompts.h"
#include "SafeWrite.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <iterator>
#include <qwt_legend.h>
#include <qwt_plot_canvas.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_layout.h>
#include <qwt_plot_renderer.h>
#include <qwt_plot_textlabel.h>
#include <qwt_scale_widget.h>

namespace IVCurve {

namespace {
const SeriesKind ivKinds[] = { SeriesMEAS, SeriesSTC, SeriesNOM };

SeriesKind powerKind(SeriesKind iv)
{
    return SeriesKind(iv + 1);
}

CurveGraph::Display displayOf(SeriesKind iv)
{
    switch (iv) {
    case SeriesMEAS:
        return CurveGraph::ShowMEAS;
    case SeriesSTC:
        return CurveGraph::ShowSTC;
    default:
        return CurveGraph::ShowNOM;
    }
}

// The exported image: 280 × 216 mm at 600 dots per inch.
const QSizeF exportSizeMM(280.0, 216.0);
const int exportDpi = 600;
} // namespace

CurveGraph::CurveGraph(CurveGraphModel* model, QWidget* parent)
    : QwtPlot(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("CurveGraph"));
    setAutoReplot(false);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);
    plotLayout()->setAlignCanvasToScales(true);
    if (auto* canvas = qobject_cast<QwtPlotCanvas*>(this->canvas())) {
        canvas->setFrameStyle(QFrame::NoFrame);
        canvas->setAutoFillBackground(false);
    }
    setAxisTitle(xBottom, tr("Voltage (V)"));
    setAxisTitle(yLeft, tr("Current (A)"));
    setAxisTitle(yRight, tr("Power (W)"));
    enableAxis(yLeft, true);
    enableAxis(yRight, false);
    for (int axis = 0; axis < axisCnt; ++axis)
        axisWidget(axis)->setMargin(0);
    setTitle(tr("IV Curve"));

    auto* grid = new QwtPlotGrid;
    grid->enableXMin(true);
    grid->enableYMin(true);
    grid->setMajorPen(Qt::black, 0, Qt::DotLine);
    grid->setMinorPen(Qt::gray, 0, Qt::DotLine);
    grid->attach(this);

    auto* legend = new QwtLegend;
    legend->setFrameStyle(QFrame::Box | QFrame::Sunken);
    insertLegend(legend, QwtPlot::BottomLegend);

    m_titleItem = new QwtPlotTextLabel;
    m_titleItem->setItemAttribute(QwtPlotItem::Legend, false);
    m_titleItem->attach(this);
    // Stands in the legend for the strings beyond those it lists; draws nothing itself.
    m_moreEntry = new QwtPlotCurve;
    m_moreEntry->setPen(QPen(Qt::NoPen));
    m_moreEntry->setItemAttribute(QwtPlotItem::Legend, false);
    m_moreEntry->setItemAttribute(QwtPlotItem::AutoScale, false);
    m_moreEntry->attach(this);
    m_typeLegend = new CurveTypeLegend;
    m_typeLegend->attach(this);

    m_tracker = new CurveTracker(canvas(), [this] { return trackedLines(); });
    m_zoomer = new CurveZoomer(canvas());
    m_panner = new CurvePanner(canvas());
    m_helper = new CurveGraphSquishHelper(this);
    // A zoom or a pan puts another voltage under the mouse: the read-out follows at once.
    for (int axis : { xBottom, yLeft, yRight })
        connect(axisWidget(axis), &QwtScaleWidget::scaleDivChanged, this,
            [this] { m_tracker->invalidate(true); });
    updateTypeLegend();
    applyScales();

    if (m_model) {
        connect(m_model, &CurveGraphModel::signalStringSelected, this, &CurveGraph::slotInsertCurves);
        connect(m_model, &CurveGraphModel::signalStringDeselected, this, &CurveGraph::slotRemoveCurves);
        connect(m_model, &CurveGraphModel::signalUpdateLegend, this, &CurveGraph::updateLegend);
    }
}

CurveGraph::~CurveGraph()
{
    for (auto& lines : m_lines) {
        qDeleteAll(lines);
        lines.clear();
    }
}

int CurveGraph::visibleLineCount() const
{
    int count = 0;
    for (const auto& lines : m_lines)
        count += lines.size();
    return count;
}

QList<const CurveLine*> CurveGraph::trackedLines() const
{
    QList<const CurveLine*> result;
    if (!m_model)
        return result;
    const bool iv = m_display[ShowIV];
    const bool power = m_display[ShowPWR];
    for (uint id : m_model->cachedCurveIDs()) {
        for (SeriesKind kind : ivKinds) {
            if (!m_display[displayOf(kind)])
                continue;
            const CurveLine* line = iv ? m_lines[kind].value(id)
                : power                ? m_lines[powerKind(kind)].value(id)
                                       : nullptr;
            if (line)
                result << line;
        }
    }
    return result;
}

bool CurveGraph::addLine(uint curveID, SeriesKind kind)
{
    if (m_lines[kind].contains(curveID))
        return false;
    CurveRecord* record = m_model->cached(curveID);
    if (!record)
        return false;
    const CurveSeries& series = record->series(kind);
    // A string without a module has no nominal curve; nothing to draw is no line.
    if (series.isEmpty())
        return false;
    auto* line = new CurveLine(series, record->label, record->colour);
    line->setSmooth(m_smooth);
    line->attachLine(this);
    m_lines[kind].insert(curveID, line);
    m_maxVoltage = qMax(m_maxVoltage, series.maxVoltage());
    if (line->isPower())
        m_maxPower = qMax(m_maxPower, series.maxCurrent());
    else
        m_maxCurrent = qMax(m_maxCurrent, series.maxCurrent());
    return true;
}

void CurveGraph::slotInsertCurves(uint StringID)
{
    if (!m_model || !m_model->cached(StringID))
        return;
    bool added = false;
    for (SeriesKind kind : ivKinds) {
        if (!m_display[displayOf(kind)])
            continue;
        if (m_display[ShowIV])
            added |= addLine(StringID, kind);
        if (m_display[ShowPWR])
            added |= addLine(StringID, powerKind(kind));
    }
    if (added) {
        m_scalesStale = true;
        scheduleRefresh();
    }
}

void CurveGraph::slotRemoveCurves(uint StringID)
{
    bool removed = false;
    for (auto& lines : m_lines) {
        if (CurveLine* line = lines.take(StringID)) {
            delete line;
            removed = true;
        }
    }
    if (!removed)
        return;
    m_maximaStale = true;
    m_scalesStale = true;
    scheduleRefresh();
}

bool CurveGraph::removeKinds(const QList<SeriesKind>& kinds)
{
    bool removed = false;
    for (SeriesKind kind : kinds) {
        removed |= !m_lines[kind].isEmpty();
        qDeleteAll(m_lines[kind]);
        m_lines[kind].clear();
    }
    if (removed) {
        m_maximaStale = true;
        m_scalesStale = true;
    }
    return removed;
}

double CurveGraph::largestVoltage() const
{
    ensureMaxima();
    return m_maxVoltage;
}

double CurveGraph::largestCurrent() const
{
    ensureMaxima();
    return m_maxCurrent;
}

double CurveGraph::largestPower() const
{
    ensureMaxima();
    return m_maxPower;
}

void CurveGraph::ensureMaxima() const
{
    if (m_maximaStale)
        recomputeMaxima();
}

void CurveGraph::recomputeMaxima() const
{
    m_maximaStale = false;
    m_maxVoltage = m_maxCurrent = m_maxPower = 0.0;
    for (const auto& lines : m_lines) {
        for (const CurveLine* line : lines) {
            const QRectF bounds = line->boundingRect();
            m_maxVoltage = qMax(m_maxVoltage, bounds.right());
            if (line->isPower())
                m_maxPower = qMax(m_maxPower, bounds.bottom());
            else
                m_maxCurrent = qMax(m_maxCurrent, bounds.bottom());
        }
    }
}

void CurveGraph::applyScales()
{
    ensureMaxima();
    m_scalesStale = false;
    setAxisScale(xBottom, 0.0, 1.1 * m_maxVoltage);
    setAxisScale(yLeft, 0.0, 1.1 * m_maxCurrent);
    setAxisScale(yRight, 0.0, 1.1 * m_maxPower);
}

void CurveGraph::scheduleRefresh()
{
    m_tracker->invalidate(false);
    // Selecting a folder adds hundreds of strings in one go: they are drawn once, afterwards.
    if (m_refreshPending)
        return;
    m_refreshPending = true;
    QTimer::singleShot(0, this, [this] {
        if (m_refreshPending)
            refresh();
    });
}

void CurveGraph::refresh()
{
    m_refreshPending = false;
    if (m_scalesStale)
        applyScales();
    // Thousands of lines are a band in which smoothing shows nothing, yet smoothing them costs
    // most of the drawing: lines are smoothed while there are few enough to tell apart.
    const bool smooth = visibleLineCount() <= maxSmoothLines;
    if (smooth != m_smooth) {
        m_smooth = smooth;
        for (const auto& lines : m_lines) {
            for (CurveLine* line : lines)
                line->setSmooth(smooth);
        }
    }
    replot();
    m_tracker->invalidate(true);
    m_zoomer->setZoomBase(false);
}

void CurveGraph::kindToggled(Display display, bool on)
{
    m_display[display] = on;
    QList<SeriesKind> kinds;
    switch (display) {
    case ShowIV:
        enableAxis(yLeft, on);
        kinds = { SeriesMEAS, SeriesSTC, SeriesNOM };
        break;
    case ShowPWR:
        enableAxis(yRight, on);
        kinds = { SeriesMEASPower, SeriesSTCPower, SeriesNOMPower };
        break;
    case ShowSTC:
        kinds = { SeriesSTC, SeriesSTCPower };
        break;
    case ShowNOM:
        kinds = { SeriesNOM, SeriesNOMPower };
        break;
    default:
        kinds = { SeriesMEAS, SeriesMEASPower };
        break;
    }
    if (on) {
        if (m_model) {
            for (uint id : m_model->cachedCurveIDs())
                slotInsertCurves(id);
        }
    } else if (removeKinds(kinds)) {
        scheduleRefresh();
    }
    updateTypeLegend();
    updateLegend(m_title);
}

void CurveGraph::displayIVToggled(bool on)
{
    kindToggled(ShowIV, on);
}

void CurveGraph::displayMEASToggled(bool on)
{
    kindToggled(ShowMEAS, on);
}

void CurveGraph::displayPWRToggled(bool on)
{
    kindToggled(ShowPWR, on);
}

void CurveGraph::displaySTCToggled(bool on)
{
    kindToggled(ShowSTC, on);
}

void CurveGraph::displayNOMToggled(bool on)
{
    kindToggled(ShowNOM, on);
}

void CurveGraph::updateTypeLegend()
{
    m_typeLegend->setShown(m_display[ShowSTC], m_display[ShowMEAS], m_display[ShowNOM]);
}

void CurveGraph::updateLegend(const QString& newTitle)
{
    m_title = newTitle;
    // Each string is listed once, through its first shown line.
    const SeriesKind order[]
        = { SeriesMEAS, SeriesSTC, SeriesNOM, SeriesMEASPower, SeriesSTCPower, SeriesNOMPower };
    // The legend adds entries in the order they are switched on: strings in the order the tree
    // and the tracker list them.
    const QList<uint> strings = m_model ? m_model->cachedCurveIDs() : QList<uint>();
    // The legend's own bookkeeping grows with the square of its entries, and thousands of them
    // would leave no room for the graph: the first strings are listed, the others counted.
    QSet<uint> listable;
    int unlisted = 0;
    for (uint id : strings) {
        const bool drawn = std::any_of(std::begin(order), std::end(order),
            [this, id](SeriesKind kind) { return m_lines[kind].contains(id); });
        if (!drawn)
            continue;
        if (listable.size() < maxLegendStrings)
            listable.insert(id);
        else
            ++unlisted;
    }
    QSet<uint> listed;
    bool switchedOn = false;
    // Entries switched off leave the legend only when it is told about them.
    QVector<const QwtPlotItem*> switchedOff;
    for (SeriesKind kind : order) {
        for (uint id : strings) {
            CurveLine* line = m_lines[kind].value(id);
            if (!line)
                continue;
            const bool first = !listed.contains(id) && listable.contains(id);
            // Changing the attribute rebuilds the entry: only real changes are made.
            if (line->testItemAttribute(QwtPlotItem::Legend) != first) {
                line->setItemAttribute(QwtPlotItem::Legend, first);
                switchedOn |= first;
                if (!first)
                    switchedOff.append(line);
            }
            listed.insert(id);
        }
    }
    // The count of the others comes last: switched on again after any new entry.
    if (unlisted > 0) {
        m_moreEntry->setTitle(tr("and %1 more strings").arg(unlisted));
        if (switchedOn && m_moreEntry->testItemAttribute(QwtPlotItem::Legend)) {
            m_moreEntry->setItemAttribute(QwtPlotItem::Legend, false);
            QwtPlot::updateLegend(m_moreEntry);
        }
        m_moreEntry->setItemAttribute(QwtPlotItem::Legend, true);
    } else if (m_moreEntry->testItemAttribute(QwtPlotItem::Legend)) {
        m_moreEntry->setItemAttribute(QwtPlotItem::Legend, false);
        switchedOff.append(m_moreEntry);
    }
    QwtText title(newTitle, QwtText::PlainText);
    QFont font = title.font();
    font.setBold(true);
    title.setFont(font);
    title.setRenderFlags(Qt::AlignHCenter | Qt::AlignTop);
    m_titleItem->setText(title);
    // Only the listed entries are brought up to date: the plot's own update of every item would
    // tell the legend about each of thousands of lines, and each telling visits every item.
    for (const auto& lines : m_lines) {
        for (const CurveLine* line : lines) {
            if (line->testItemAttribute(QwtPlotItem::Legend))
                QwtPlot::updateLegend(line);
        }
    }
    if (m_moreEntry->testItemAttribute(QwtPlotItem::Legend))
        QwtPlot::updateLegend(m_moreEntry);
    for (const QwtPlotItem* item : qAsConst(switchedOff))
        QwtPlot::updateLegend(item);
    scheduleRefresh();
}

bool CurveGraph::renderImage(const QString& path, QString* error)
{
    const double mmToInch = 1.0 / 25.4;
    const QSize size = (exportSizeMM * mmToInch * exportDpi).toSize();
    QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    if (format == "jpg")
        format = "jpeg";
    if (format.isEmpty()) {
        *error = tr("The file name has no ending: name the image .png or .jpeg");
        return false;
    }
    if (format != "png" && format != "jpeg") {
        *error = tr("Unsupported image type: %1").arg(QFileInfo(path).suffix());
        return false;
    }
    QImage image(size, QImage::Format_ARGB32);
    if (image.isNull()) {
        *error = tr("Not enough memory for an image of %1 × %2 pixels").arg(size.width()).arg(size.height());
        return false;
    }
    const int dotsPerMeter = qRound(exportDpi * mmToInch * 1000.0);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QwtPlotRenderer renderer;
        renderer.render(this, &painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    return SafeWrite::writeFile(
        path,
        [&image, &format](QIODevice& device) {
            QImageWriter writer(&device, format);
            return writer.write(image);
        },
        error);
}

void CurveGraph::exportimg()
{
    // The document holding the graph stays until the file dialog and the message have returned.
    DocumentDialogScope dialogs(this);
    const QString path = Prompts::instance().saveFileName(this,
        QCoreApplication::translate("File Save Dialog", "Save Image"), QString(),
        QCoreApplication::translate("File Save Dialog", "Images (*.jpeg *.png)"));
    if (path.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString error;
    const bool written = renderImage(path, &error);
    QApplication::restoreOverrideCursor();
    if (written)
        return;
    Prompts::show(QMessageBox::Critical, this,
        QCoreApplication::translate("Error Message", "There was an problem trying to save the image %1")
            .arg(path),
        QCoreApplication::translate("Error message informative text", "Exception details: %1").arg(error),
        QMessageBox::Ok, Brand::productTitle());
}

void CurveGraph::setStringColour(uint curveID, const QColor& colour)
{
    if (!colour.isValid() || !m_model)
        return;
    CurveRecord* record = m_model->cached(curveID);
    if (!record)
        return;
    record->colour = colour;
    slotRemoveCurves(curveID);
    slotInsertCurves(curveID);
    updateLegend(m_title);
}

} // namespace IVCurve
