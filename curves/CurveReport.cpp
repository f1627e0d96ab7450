#include "CurveReport.h"

#include "Brand.h"
#include "CurveGraph.h"
#include "CurveGraphModel.h"
#include "CurveLine.h"
#include "CurveRecord.h"
#include "CurveReportDlg.h"
#include "CurveReportTable.h"
#include "CurveTreeModel.h"
#include "Desktop.h"
#include "Prompts.h"
#include "SettingsKeys.h"
#include "StringComparison.h"

#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QSettings>
#include <QTemporaryFile>
#include <QTextDocument>
#include <QUrl>
#include <qwt_legend.h>
#include <qwt_plot_grid.h>
#include <qwt_plot_renderer.h>
#include <qwt_scale_engine.h>
#include <qwt_text.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace IVCurve {
namespace CurveReport {

namespace {
// The same limits as pictures placed on report forms.
constexpr qint64 MaxLogoBytes = 20 * 1024 * 1024;
constexpr int MaxLogoSide = 10000;

// One centimetre in device pixels.
double marginOf(const QPrinter& printer)
{
    return printer.resolution() * 0.3937007874015748;
}

// Lays out the HTML on the printer's page and paints it from the painter's current page on;
// returns the height (device pixels, from the top of the last page) that the text takes on
// its last page.
double paintHtml(QPainter& painter, QPrinter& printer, const QString& html)
{
    const double margin = marginOf(printer);
    // The text is laid out at the resolution of an ordinary printer and painted scaled up.
    const double layoutDpi = QPrinter(QPrinter::ScreenResolution).resolution();
    const double scale = printer.resolution() / layoutDpi;
    const QRectF page = printer.pageRect(QPrinter::DevicePixel);
    QTextDocument document;
    document.setDocumentMargin(margin / scale);
    document.setPageSize(QSizeF(page.width() / scale, page.height() / scale));
    document.setHtml(html);
    const int pages = std::max(1, document.pageCount());
    const double pageHeight = document.pageSize().height();
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            printer.newPage();
        painter.save();
        painter.scale(scale, scale);
        painter.translate(0, -i * pageHeight);
        const QRectF clip(0, i * pageHeight, document.pageSize().width(), pageHeight);
        document.drawContents(&painter, clip);
        painter.restore();
    }
    const double lastPageText = document.size().height() - (pages - 1) * pageHeight;
    return std::min(page.height(), lastPageText * scale - margin);
}

void setUpRenderer(QwtPlotRenderer& renderer, const QPrinter& printer)
{
    if (printer.colorMode() != QPrinter::Color) {
        renderer.setDiscardFlag(QwtPlotRenderer::DiscardBackground);
        renderer.setDiscardFlag(QwtPlotRenderer::DiscardCanvasBackground);
        renderer.setDiscardFlag(QwtPlotRenderer::DiscardCanvasFrame);
        renderer.setLayoutFlag(QwtPlotRenderer::FrameWithScales);
    }
}

void renderPlot(QwtPlot* plot, QPainter& painter, const QPrinter& printer, const QRectF& area)
{
    QwtPlotRenderer renderer;
    setUpRenderer(renderer, printer);
    renderer.render(plot, &painter, area);
}

// A graph of one string alone: its measured, STC and nominal IV curves. The lines own their
// markers, so they are taken off the plot before either goes.
struct StringPlot
{
    ~StringPlot()
    {
        for (const std::unique_ptr<CurveLine>& line : lines)
            line->attachLine(nullptr);
    }
    std::unique_ptr<QwtPlot> plot = std::make_unique<QwtPlot>();
    std::vector<std::unique_ptr<CurveLine>> lines;
};

std::unique_ptr<StringPlot> stringPlot(CurveRecord& record)
{
    auto owner = std::make_unique<StringPlot>();
    QwtPlot* plot = owner->plot.get();
    plot->setCanvasBackground(Qt::white);
    plot->setAutoFillBackground(true);
    plot->setPalette(QPalette(Qt::white));
    QwtText title(record.label, QwtText::PlainText);
    QFont titleFont = title.font();
    titleFont.setPointSize(11);
    titleFont.setBold(true);
    title.setFont(titleFont);
    plot->setTitle(title);
    plot->setAxisTitle(QwtPlot::xBottom, QCoreApplication::translate("CurveGraph", "Voltage (V)"));
    plot->setAxisTitle(QwtPlot::yLeft, QCoreApplication::translate("CurveGraph", "Current (A)"));
    auto* grid = new QwtPlotGrid;
    grid->setMajorPen(QColor(200, 200, 200), 0.0, Qt::DotLine);
    grid->attach(plot);
    const QColor colour = record.colour.isValid() ? record.colour : QColor(Qt::darkBlue);
    double maxVoltage = 0.0;
    double maxCurrent = 0.0;
    const struct
    {
        const CurveSeries* series;
        const char* name;
    } lines[] = { { &record.measured(), "MEAS" }, { &record.stc(), "STC" }, { &record.nominal(), "NOM" } };
    for (const auto& line : lines) {
        if (line.series->isEmpty())
            continue;
        owner->lines.push_back(std::make_unique<CurveLine>(*line.series, QLatin1String(line.name), colour));
        CurveLine* curve = owner->lines.back().get();
        curve->setItemAttribute(QwtPlotItem::Legend, true);
        curve->attachLine(plot);
        maxVoltage = std::max(maxVoltage, line.series->maxVoltage());
        maxCurrent = std::max(maxCurrent, line.series->maxCurrent());
    }
    plot->setAxisScale(QwtPlot::xBottom, 0.0, maxVoltage > 0.0 ? maxVoltage * 1.05 : 1.0);
    plot->setAxisScale(QwtPlot::yLeft, 0.0, maxCurrent > 0.0 ? maxCurrent * 1.1 : 1.0);
    plot->insertLegend(new QwtLegend, QwtPlot::BottomLegend);
    plot->resize(1000, 700);
    plot->replot();
    return owner;
}

QString headerError(const QString& path)
{
    return QCoreApplication::translate("CurveReport", "The report could not be written to %1.")
        .arg(QDir::toNativeSeparators(path));
}
} // namespace

QString logoHtml(const QString& path)
{
    if (path.isEmpty())
        return QString();
    const QFileInfo info(path);
    if (!info.isFile() || info.size() <= 0 || info.size() > MaxLogoBytes)
        return QString();
    QImageReader reader(path);
    if (!reader.canRead())
        return QString();
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > MaxLogoSide || size.height() > MaxLogoSide))
        return QString();
    // Vector pictures report no size; draw them at a size a title bar can hold.
    if (!size.isValid() || size.isEmpty())
        reader.setScaledSize(QSize(400, 200));
    const QImage image = reader.read();
    if (image.isNull() || image.width() > MaxLogoSide || image.height() > MaxLogoSide)
        return QString();
    // At most 60 points high in the title bar.
    const QImage shown = image.height() > 240 ? image.scaledToHeight(240, Qt::SmoothTransformation) : image;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!shown.save(&buffer, "PNG"))
        return QString();
    const int height = std::min(60, shown.height());
    return QStringLiteral("<img height=\"%1\" src=\"data:image/png;base64,").arg(height)
        + QString::fromLatin1(png.toBase64()) + QStringLiteral("\"/>");
}

// The report's strings side by side, each against the median of its own folder.
QVector<ComparisonRow> comparisonRows(
    CurveGraphModel* model, const QList<CurveRecord*>& records, const Options& options)
{
    QHash<uint, int> folderOf;
    if (model->treeModel()) {
        for (const StringComparison::StringRef& string :
            StringComparison::stringsUnder({ model->treeModel()->rootItem() }))
            folderOf.insert(string.curveID, string.folder);
    }
    QVector<ComparisonRow> rows;
    for (CurveRecord* record : records) {
        const StringComparison::StringRef string { folderOf.value(record->curveID), record->curveID,
            record->label };
        rows.append(StringComparison::rowFor(string, *record, options.tolerances));
    }
    StringComparison::rank(rows);
    return rows;
}

bool write(const QString& pdfPath, const Options& options, CurveGraph* graph, CurveGraphModel* model,
    const QList<uint>& curveIDs, QString* error)
{
    QList<CurveRecord*> records;
    for (uint id : curveIDs) {
        if (CurveRecord* record = model->cached(id))
            records.append(record);
    }
    if (records.isEmpty()) {
        *error = QCoreApplication::translate("Error Message", "No data selected");
        return false;
    }
    const QFileInfo target(pdfPath);
    QTemporaryFile partial(target.absolutePath() + QStringLiteral("/.") + target.completeBaseName()
        + QStringLiteral(".XXXXXX.pdf"));
    if (!partial.open()) {
        *error = headerError(pdfPath) + QLatin1Char('\n') + partial.errorString();
        return false;
    }
    partial.close();

    QPrinter printer(QPrinter::HighResolution);
    printer.setResolution(1200);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    printer.setPageOrientation(options.type == 1 ? QPageLayout::Portrait : QPageLayout::Landscape);
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setColorMode(QPrinter::Color);
    printer.setCreator(Brand::productTitle());
    printer.setDocName(target.completeBaseName());
    printer.setOutputFileName(partial.fileName());

    const QString page = CurveReportTable::pageTemplate();
    CurveReportTable::Header header;
    header.site = options.site;
    header.substation = options.substation;
    header.inverter = options.inverter;
    header.combiner = options.combiner;
    header.logoHtml = logoHtml(options.logoFile);
    header.tolerances = options.tolerances;

    QPainter painter;
    if (!painter.begin(&printer)) {
        *error = headerError(pdfPath);
        return false;
    }
    const double margin = marginOf(printer);
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    if (options.type == 0) {
        const bool tables = options.content != 1;
        const bool plot = options.content != 0;
        bool tablesDone = false;
        if (tables && !page.isEmpty()) {
            paintHtml(painter, printer, CurveReportTable::fill(page, header, records, *records.last()));
            tablesDone = true;
        }
        if (plot) {
            if (tablesDone)
                printer.newPage();
            renderPlot(graph, painter, printer, paper.adjusted(margin, margin, -margin, -margin));
        }
        if (options.comparison) {
            if (tablesDone || plot)
                printer.newPage();
            paintHtml(
                painter, printer, CurveReportTable::comparisonPage(comparisonRows(model, records, options)));
        }
    } else {
        bool first = true;
        for (CurveRecord* record : qAsConst(records)) {
            if (!first)
                printer.newPage();
            first = false;
            double top = margin;
            if (!page.isEmpty())
                top = paintHtml(painter, printer, CurveReportTable::fill(page, header, { record }, *record))
                    + margin;
            QRectF area(margin, top, paper.width() - 2 * margin, paper.bottom() - margin - top);
            // Too little room left under the text: the graph takes the next page.
            if (area.height() < paper.height() / 4) {
                printer.newPage();
                area = paper.adjusted(margin, margin, -margin, -margin);
            }
            const std::unique_ptr<StringPlot> plot = stringPlot(*record);
            renderPlot(plot->plot.get(), painter, printer, area);
        }
    }
    if (!painter.end()) {
        *error = headerError(pdfPath);
        return false;
    }
    if (QFileInfo(partial.fileName()).size() <= 0) {
        *error = headerError(pdfPath);
        return false;
    }
    // rename() replaces an existing report in one step.
    if (std::rename(QFile::encodeName(partial.fileName()).constData(), QFile::encodeName(pdfPath).constData())
        != 0) {
        *error = headerError(pdfPath);
        return false;
    }
    partial.setAutoRemove(false);
    QFile::setPermissions(
        pdfPath, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return true;
}

void run(QWidget* parent, CurveGraph* graph, CurveGraphModel* model, const QList<uint>& curveIDs,
    const VerdictTolerances& tolerances)
{
    QList<uint> ids;
    for (uint id : curveIDs) {
        if (model->cached(id))
            ids.append(id);
    }
    if (ids.isEmpty()) {
        Prompts::show(QMessageBox::Warning, parent,
            QCoreApplication::translate("Error Message", "No data selected"), QString(), QMessageBox::Ok,
            Brand::productTitle());
        return;
    }
    CurveReportDlg dialog(parent);
    if (Prompts::instance().execDialog(&dialog) != QDialog::Accepted)
        return;
    Options options;
    options.type = dialog.reportType();
    options.content = dialog.content();
    options.site = dialog.site();
    options.substation = dialog.substation();
    options.inverter = dialog.inverter();
    options.combiner = dialog.combiner();
    options.logoFile = dialog.logoFile();
    options.tolerances = tolerances;
    options.comparison = dialog.comparison();

    QSettings settings;
    const QString folder
        = settings.value(SettingsKeys::lastExportDir(), settings.value(SettingsKeys::rootDir())).toString();
    QString path = Prompts::instance().saveFileName(parent,
        QCoreApplication::translate("File Save Dialog", "Save PDF file"), folder,
        QCoreApplication::translate("File Save Dialog", "PDF file (*.pdf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    settings.setValue(SettingsKeys::lastExportDir(), QFileInfo(path).absolutePath());

    QString error;
    bool written = false;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        written = write(path, options, graph, model, ids, &error);
        QApplication::restoreOverrideCursor();
    }
    if (!written) {
        Prompts::show(QMessageBox::Warning, parent, error, QString(), QMessageBox::Ok, Brand::productTitle());
        return;
    }
    if (!Desktop::openUrl(QUrl::fromLocalFile(path))) {
        Prompts::show(QMessageBox::Warning, parent,
            QCoreApplication::translate(
                "CurveReport", "The report was saved as %1, but no program could be found to show it.")
                .arg(QDir::toNativeSeparators(path)),
            QString(), QMessageBox::Ok, Brand::productTitle());
    }
}

} // namespace CurveReport
} // namespace IVCurve
