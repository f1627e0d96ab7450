// The curve graph: lines drawn for the selected strings by series kind and toggle, folders,
// colours, axes, the curve-type box, the tracker read-out and the image export.
#include "CurveGraph.h"
#include "CurveGraphModel.h"
#include "CurveLine.h"
#include "CurveRecord.h"
#include "CurveStore.h"
#include "CurveTestSupport.h"
#include "CurveTracker.h"
#include "CurveTreeModel.h"
#include "CurveTypeLegend.h"
#include "CurveZoomer.h"
#include "FileNames.h"
#include "Folders.h"
#include "StringColours.h"
#include "TestSupport.h"
#include "TesterFileImporter.h"
#include "TreeItem.h"

#include <QItemSelectionModel>
#include <QLayout>
#include <QMessageBox>
#include <QSet>
#include <QTemporaryDir>
#include <QTextDocument>
#include <qwt_legend.h>
#include <qwt_legend_data.h>
#include <qwt_legend_label.h>
#include <qwt_plot_marker.h>
#include <qwt_plot_textlabel.h>
#include <qwt_scale_div.h>

using namespace IVCurve;
using namespace CurveTestSupport;

namespace {
// Strings n = 1..count: a straight falling curve from (0, n) to (10·n, 0) in 11 points, measured
// at 1000 W/m² and 25 °C so that STC equals MEAS.
QByteArray curveFile(int count)
{
    QByteArray out = "PV,SN,x,1\nIndex,Irr (W/m2),Tpv (C),IVCurve\n";
    for (int n = 1; n <= count; ++n) {
        QByteArray line = QByteArray::number(n) + ",1000,25,";
        for (int p = 0; p <= 10; ++p)
            line += QByteArray::number(p * n) + ':' + QByteArray::number(n * (10 - p) / 10.0) + ',';
        out += line + "0,0\n";
    }
    return out;
}

int invokeCount(QObject* helper, const char* method)
{
    int result = -1;
    QMetaObject::invokeMethod(helper, method, Qt::DirectConnection, Q_RETURN_ARG(int, result));
    return result;
}
} // namespace

class TestGraph : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void linesByToggle();
    void foldersSelectAndDeselect();
    void legendInTreeOrder();
    void colourAllocatorWraps();
    void axesFollowTheLines();
    void typeBoxHeight();
    void trackerText();
    void trackerBoxFollowsTheMouse();
    void trackerFollowsZoomAndPan();
    void manyLinesAreDrawnPlain();
    void colourChangeRedraws();
    void exportImage();
    void labelsShowAsTyped();

private:
    void select(TreeItem* item, QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::Select);

    QTemporaryDir m_dir;
    std::unique_ptr<CurveStore> m_store;
    std::unique_ptr<CurveGraph> m_graph;
    std::unique_ptr<QItemSelectionModel> m_selection;
    TreeItem* m_folder = nullptr;
};

void TestGraph::init()
{
    TestSupport::resetState();
    ScriptedPrompts::get().reset();
    StringColours::instance().reset();
    const QString path = m_dir.filePath(QStringLiteral("graph.kstcrv"));
    QFile::remove(path);
    QVERIFY(copyTemplate(path));
    m_store = std::make_unique<CurveStore>(path);
    QVERIFY(m_store->isOpen());
    TesterFileImporter importer(*m_store);
    m_folder = importer.importData(curveFile(3), QStringLiteral("three.csv"));
    QCOMPARE(m_folder->childCount(), 3);
    // The lines carry no checksums; those questions are not what these tests look at.
    ScriptedPrompts::get().reset();
    m_graph = std::make_unique<CurveGraph>(m_store->graphModel());
    m_selection = std::make_unique<QItemSelectionModel>(m_store->treeModel());
    connect(m_selection.get(), &QItemSelectionModel::selectionChanged, m_store->graphModel(),
        &CurveGraphModel::slotTreeSelectionChanged);
}

void TestGraph::cleanup()
{
    m_selection.reset();
    m_graph.reset();
    m_store.reset();
}

void TestGraph::select(TreeItem* item, QItemSelectionModel::SelectionFlags flags)
{
    m_selection->select(m_store->treeModel()->indexForItem(item), flags | QItemSelectionModel::Rows);
}

void TestGraph::linesByToggle()
{
    QObject* helper = m_graph->findChild<QObject*>(QStringLiteral("SquishGraphHelper"));
    QVERIFY(helper);
    select(m_folder->child(0));
    select(m_folder->child(2));
    // At first IV and STC are on: one STC line per string.
    QCOMPARE(invokeCount(helper, "STCLineCount"), 2);
    QCOMPARE(invokeCount(helper, "MEASLineCount"), 0);
    QCOMPARE(invokeCount(helper, "VisibleLineCount"), 2);

    m_graph->displayMEASToggled(true);
    m_graph->displayPWRToggled(true);
    QCOMPARE(invokeCount(helper, "MEASLineCount"), 2);
    QCOMPARE(invokeCount(helper, "MEASPWRLineCount"), 2);
    QCOMPARE(invokeCount(helper, "STCPWRLineCount"), 2);
    QCOMPARE(invokeCount(helper, "VisibleLineCount"), 8);
    QVERIFY(m_graph->axisEnabled(QwtPlot::yRight));

    // Without a module there is no nominal curve to draw.
    m_graph->displayNOMToggled(true);
    QCOMPARE(invokeCount(helper, "NOMLineCount"), 0);
    QCOMPARE(invokeCount(helper, "NOMPWRLineCount"), 0);

    m_graph->displayIVToggled(false);
    QCOMPARE(invokeCount(helper, "VisibleLineCount"), 4);
    QVERIFY(!m_graph->axisEnabled(QwtPlot::yLeft));
    m_graph->displayIVToggled(true);
    m_graph->displaySTCToggled(false);
    QCOMPARE(invokeCount(helper, "STCLineCount"), 0);
    QCOMPARE(invokeCount(helper, "STCPWRLineCount"), 0);
    QCOMPARE(invokeCount(helper, "VisibleLineCount"), 4);

    // Pens and axes by series kind; IV lines carry their maximum-power marker.
    const CurveLine* meas = m_graph->line(m_folder->child(0)->data(TreeCurveID).toUInt(), SeriesMEAS);
    QVERIFY(meas);
    QCOMPARE(meas->pen().style(), Qt::DashLine);
    QCOMPARE(meas->pen().widthF(), 2.0);
    QCOMPARE(meas->yAxis(), int(QwtPlot::yLeft));
    QVERIFY(meas->marker());
    // String 1: V = p, I = (10 − p)/10; the largest V·I is at p = 5.
    QCOMPARE(meas->marker()->value(), QPointF(5, 0.5));
    const CurveLine* power = m_graph->line(m_folder->child(0)->data(TreeCurveID).toUInt(), SeriesMEASPower);
    QCOMPARE(power->yAxis(), int(QwtPlot::yRight));
    QVERIFY(!power->marker());

    // Each string appears once in the legend, through its first shown line.
    m_graph->updateLegend(QStringLiteral("String 1, String 3"));
    QVERIFY(meas->testItemAttribute(QwtPlotItem::Legend));
    QVERIFY(!power->testItemAttribute(QwtPlotItem::Legend));
    const QList<QwtLegendData> entry = meas->legendData();
    QCOMPARE(entry.size(), 1);
    QCOMPARE(entry.at(0).title().text(), QString("String 1"));
    QCOMPARE(entry.at(0).value(QwtLegendData::UserRole).toInt(), int(Qt::DashLine));
    QCOMPARE(m_graph->titleText(), QString("String 1, String 3"));
}

void TestGraph::foldersSelectAndDeselect()
{
    QSignalSpy legend(m_store->graphModel(), &CurveGraphModel::signalUpdateLegend);
    select(m_folder);
    QCOMPARE(m_graph->lineCount(SeriesSTC), 3);
    // In tree order, whatever order the curve rows were written in (an import writes the
    // last line first): the tracker lists the strings in this order.
    QCOMPARE(m_store->graphModel()->cachedCurveIDs(),
        QList<uint>(
            { m_folder->child(0)->data(TreeCurveID).toUInt(), m_folder->child(1)->data(TreeCurveID).toUInt(),
                m_folder->child(2)->data(TreeCurveID).toUInt() }));
    QCOMPARE(legend.last().at(0).toString(), QString("three.csv"));
    // Each string got its colour, in tree order, and keeps it.
    QCOMPARE(m_folder->child(0)->colour().name(), QColor("tomato").name());
    QCOMPARE(m_folder->child(2)->colour().name(), QColor("cadetblue").name());

    // A string selected on its own stays when its folder is deselected.
    select(m_folder->child(1));
    select(m_folder, QItemSelectionModel::Deselect);
    QCOMPARE(m_graph->lineCount(SeriesSTC), 1);
    QCOMPARE(m_store->graphModel()->cachedCurveIDs(),
        QList<uint>({ m_folder->child(1)->data(TreeCurveID).toUInt() }));
    QCOMPARE(legend.last().at(0).toString(), QString("String 2"));
    m_selection->clearSelection();
    QCOMPARE(m_graph->visibleLineCount(), 0);
    QVERIFY(m_store->graphModel()->cachedCurveIDs().isEmpty());

    // Removing rows from the tree takes their lines away.
    connect(m_store->treeModel(), &QAbstractItemModel::rowsAboutToBeRemoved, m_store->graphModel(),
        &CurveGraphModel::slotRowRemoved);
    select(m_folder);
    QCOMPARE(m_graph->lineCount(SeriesSTC), 3);
    m_store->treeModel()->removeRows(0, 1, QModelIndex());
    QCOMPARE(m_graph->visibleLineCount(), 0);
    QVERIFY(m_store->graphModel()->cachedCurveIDs().isEmpty());
}

void TestGraph::legendInTreeOrder()
{
    // The legend lists the strings as the tree and the tracker do, not in the order of a hash.
    TesterFileImporter importer(*m_store);
    TreeItem* folder = importer.importData(curveFile(12), QStringLiteral("twelve.csv"));
    select(folder);
    m_graph->refresh();
    auto* legend = qobject_cast<QwtLegend*>(m_graph->legend());
    QVERIFY(legend);
    QStringList shown;
    QLayout* layout = legend->contentsWidget()->layout();
    for (int i = 0; i < layout->count(); ++i) {
        if (auto* label = qobject_cast<QwtLegendLabel*>(layout->itemAt(i)->widget()))
            shown << label->data().title().text();
    }
    QStringList expected;
    for (int n = 1; n <= 12; ++n)
        expected << QStringLiteral("String %1").arg(n);
    QCOMPARE(shown, expected);

    // Lines shown later (MEAS on) keep the strings in that order.
    m_graph->displayMEASToggled(true);
    m_graph->refresh();
    auto legendTitles = [layout] {
        QStringList titles;
        for (int i = 0; i < layout->count(); ++i) {
            if (auto* label = qobject_cast<QwtLegendLabel*>(layout->itemAt(i)->widget()))
                titles << label->data().title().text();
        }
        return titles;
    };
    QCOMPARE(legendTitles(), expected);

    // A folder of more strings than the legend lists: the first ones in tree order, then the
    // count of the others, last also when more strings are added to the graph.
    const int many = CurveGraph::maxLegendStrings + 3;
    TreeItem* big = importer.importData(curveFile(many), QStringLiteral("many.csv"));
    m_selection->clearSelection();
    select(big);
    m_graph->refresh();
    expected.clear();
    for (int n = 1; n <= CurveGraph::maxLegendStrings; ++n)
        expected << QStringLiteral("String %1").arg(n);
    QCOMPARE(legendTitles(), expected + QStringList({ "and 3 more strings" }));
    select(folder);
    m_graph->refresh();
    QCOMPARE(legendTitles(), expected + QStringList({ "and 15 more strings" }));
    m_selection->select(
        m_store->treeModel()->indexForItem(big), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    m_graph->refresh();
    QCOMPARE(legendTitles().size(), 12);
    QCOMPARE(legendTitles().last(), QString("String 12"));
}

void TestGraph::colourAllocatorWraps()
{
    StringColours& colours = StringColours::instance();
    colours.reset();
    QList<QColor> first;
    for (int i = 0; i < 15; ++i)
        first << colours.next();
    QCOMPARE(first.at(0), QColor("tomato"));
    QCOMPARE(first.at(7), QColor("darkorchid"));
    QCOMPARE(first.at(14), QColor(Qt::gray));
    QCOMPARE(colours.next(), QColor("tomato").darker(120));
    for (int i = 1; i < 15; ++i)
        colours.next();
    QCOMPARE(colours.next(), QColor("tomato").darker(140));
    colours.reset();
    for (int round = 0; round < 10; ++round)
        for (int i = 0; i < 15; ++i)
            colours.next();
    // After the factor passes 280 it starts again at 100: rounds use factors 100, 120, ..., 280 (ten rounds);
    // the eleventh is back at 100.
    QCOMPARE(colours.next(), QColor("tomato"));
}

void TestGraph::axesFollowTheLines()
{
    select(m_folder->child(2));
    select(m_folder->child(0));
    m_graph->refresh();
    // String 3 reaches 30 V and 3 A.
    QCOMPARE(m_graph->axisScaleDiv(QwtPlot::xBottom).upperBound(), 33.0);
    QCOMPARE(m_graph->axisScaleDiv(QwtPlot::yLeft).upperBound(), 1.1 * 3);
    m_graph->displayPWRToggled(true);
    m_graph->refresh();
    // Its largest power: V·I = 3p·(10 − p)·0.3, largest at p = 5: 22.5 W.
    QVERIFY(qAbs(m_graph->axisScaleDiv(QwtPlot::yRight).upperBound() - 1.1 * 22.5) < 1e-9);

    select(m_folder->child(2), QItemSelectionModel::Deselect);
    m_graph->refresh();
    QCOMPARE(m_graph->axisScaleDiv(QwtPlot::xBottom).upperBound(), 11.0);
    QCOMPARE(m_graph->axisScaleDiv(QwtPlot::yLeft).upperBound(), 1.1);
    QCOMPARE(m_graph->largestPower(), 2.5);
    // The zoomer's base follows.
    QCOMPARE(m_graph->largestVoltage(), 10.0);
    m_selection->clearSelection();
    QCOMPARE(m_graph->largestVoltage(), 0.0);
    QCOMPARE(m_graph->largestCurrent(), 0.0);
}

void TestGraph::typeBoxHeight()
{
    const QRectF canvas(0, 0, 400, 300);
    CurveTypeLegend* box = m_graph->typeLegend();
    // STC on, MEAS and NOM off at first.
    QCOMPARE(box->boxRect(canvas), QRectF(160, 300 - 10 - 20, 80, 20));
    m_graph->displayMEASToggled(true);
    m_graph->displayNOMToggled(true);
    QCOMPARE(box->boxRect(canvas).height(), 50.0);
    m_graph->displaySTCToggled(false);
    m_graph->displayMEASToggled(false);
    m_graph->displayNOMToggled(false);
    QCOMPARE(box->boxRect(canvas).height(), 5.0);
    QCOMPARE(box->boxRect(canvas).bottom(), 290.0);
}

void TestGraph::trackerText()
{
    select(m_folder->child(0));
    m_graph->displayMEASToggled(true);
    const uint id = m_folder->child(0)->data(TreeCurveID).toUInt();
    const QString colour = m_folder->child(0)->colour().name();
    // IV on: IV read-outs with the power, interpolated along the segment.
    QCOMPARE(CurveTracker::readout(m_graph->trackedLines(), 2),
        QString("<font color=%1>String 1: 2.0V, 0.8A, 1.6W</font><br>"
                "<font color=%1>String 1: 2.0V<sub>STC</sub>, 0.8A<sub>STC</sub>, 1.6W<sub>STC</sub></font>")
            .arg(colour));
    QVERIFY(CurveTracker::readout(m_graph->trackedLines(), 2.4)
                .startsWith(QString("<font color=%1>String 1: 2.4V, 0.8A, 1.8W</font>").arg(colour)));
    // Beyond the line no read-out; the last sample's own x reads the last segment.
    QCOMPARE(CurveTracker::readout(m_graph->trackedLines(), 10.5), QString());
    QVERIFY(CurveTracker::readout(m_graph->trackedLines(), 10.0)
                .startsWith(QString("<font color=%1>String 1: 10.0V, 0.0A").arg(colour)));
    // IV and PWR on: still only IV read-outs.
    m_graph->displayPWRToggled(true);
    QCOMPARE(m_graph->trackedLines().size(), 2);
    QCOMPARE(m_graph->trackedLines().first(), m_graph->line(id, SeriesMEAS));
    // Only PWR on: power read-outs.
    m_graph->displayIVToggled(false);
    m_graph->displaySTCToggled(false);
    QCOMPARE(CurveTracker::readout(m_graph->trackedLines(), 5),
        QString("<font color=%1>String 1: 5.0V, 2.5W</font>").arg(colour));
    // Titles are escaped; numbers follow the user's locale.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    m_folder->child(0)->setData(TreeLabel, "A<b>");
    m_store->graphModel()->cached(id)->label = "A<b>";
    m_graph->setStringColour(id, QColor(Qt::red));
    QCOMPARE(CurveTracker::readout(m_graph->trackedLines(), 2),
        QString("<font color=#ff0000>A&lt;b&gt;: 2,0V, 1,6W</font>"));
    QLocale::setDefault(QLocale::c());
}

void TestGraph::trackerBoxFollowsTheMouse()
{
    select(m_folder);
    m_graph->resize(800, 600);
    m_graph->show();
    m_graph->refresh();
    QWidget* canvas = m_graph->canvas();
    CurveTracker* tracker = m_graph->tracker();
    // Before the mouse is on the canvas there is nothing to read.
    QVERIFY(tracker->trackerRect(tracker->trackerFont()).isEmpty());
    const QPoint near(canvas->width() / 10, canvas->height() / 2);
    QMouseEvent move(
        QEvent::MouseMove, near, canvas->mapToGlobal(near), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &move);
    const QRect box = tracker->trackerRect(tracker->trackerFont());
    QVERIFY(!box.isEmpty());
    // One row per string: three STC lines, on the right of the mouse, inside the canvas.
    QVERIFY(box.height() >= 3 * QFontMetrics(tracker->trackerFont()).height());
    QVERIFY(box.height() < 4 * QFontMetrics(tracker->trackerFont()).height() + 10);
    QVERIFY(box.left() > near.x());
    QVERIFY(canvas->rect().contains(box));
    // A string added while the mouse stays adds its row.
    const int rowHeight = QFontMetrics(tracker->trackerFont()).height();
    m_graph->displayMEASToggled(true);
    QCOMPARE(tracker->trackerRect(tracker->trackerFont()).height(), box.height() + 3 * rowHeight);
    m_graph->displayMEASToggled(false);
    // Near the right edge the box moves to the left of the mouse.
    const QPoint farRight(canvas->width() - 5, canvas->height() / 2);
    QMouseEvent right(QEvent::MouseMove, farRight, canvas->mapToGlobal(farRight), Qt::NoButton, Qt::NoButton,
        Qt::NoModifier);
    QApplication::sendEvent(canvas, &right);
    const QRect moved = tracker->trackerRect(tracker->trackerFont());
    if (!moved.isEmpty())
        QVERIFY(moved.right() < farRight.x());
}

void TestGraph::trackerFollowsZoomAndPan()
{
    // The mouse stays where it is while the axes change under it (zoom keys, the panner):
    // the read-out gives the voltage now under the mouse, not the one before.
    select(m_folder);
    m_graph->resize(800, 600);
    m_graph->show();
    m_graph->refresh();
    QWidget* canvas = m_graph->canvas();
    CurveTracker* tracker = m_graph->tracker();
    const QPoint at(canvas->width() / 2, canvas->height() / 2);
    QMouseEvent move(
        QEvent::MouseMove, at, canvas->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(canvas, &move);
    auto voltageShown = [tracker] {
        const QString first = tracker->shownText().section('\n', 0, 0);
        return first.section(": ", 1).section('V', 0, 0).toDouble();
    };
    auto voltageUnderMouse = [this, at] { return m_graph->invTransform(QwtPlot::xBottom, at.x()); };
    QVERIFY(!tracker->shownText().isEmpty());
    QVERIFY(qAbs(voltageShown() - voltageUnderMouse()) <= 0.05);
    const double before = voltageShown();

    // Zoomed into the left half: the voltage under the mouse halves.
    const QRectF scales(0, 0, 0.55 * m_graph->largestVoltage(), 1.1 * m_graph->largestCurrent());
    m_graph->zoomer()->zoom(scales);
    QVERIFY(qAbs(voltageUnderMouse() - before / 2) < 0.5);
    QVERIFY(qAbs(voltageShown() - voltageUnderMouse()) <= 0.05);
    // Panned to the right, as the panner does it: the scale moves, the mouse stays.
    const QwtScaleDiv shown = m_graph->axisScaleDiv(QwtPlot::xBottom);
    m_graph->setAxisScale(QwtPlot::xBottom, shown.lowerBound() + 3, shown.upperBound() + 3);
    m_graph->replot();
    QVERIFY(qAbs(voltageShown() - voltageUnderMouse()) <= 0.05);
    QVERIFY(voltageShown() > before / 2 + 1);
}

void TestGraph::manyLinesAreDrawnPlain()
{
    // Smoothing thousands of lines costs most of their drawing and shows nothing in the band
    // they make: past the limit every line and marker is drawn plain, below it smooth again.
    TesterFileImporter importer(*m_store);
    TreeItem* many
        = importer.importData(curveFile(CurveGraph::maxSmoothLines / 2 + 1), QStringLiteral("m.csv"));
    auto smoothness = [this] {
        QSet<bool> seen;
        for (QwtPlotItem* item : m_graph->itemList()) {
            if (item->rtti() == QwtPlotItem::Rtti_PlotCurve || item->rtti() == QwtPlotItem::Rtti_PlotMarker) {
                if (item->title().text().startsWith("and "))
                    continue;
                seen.insert(item->testRenderHint(QwtPlotItem::RenderAntialiased));
            }
        }
        return seen;
    };
    select(many);
    m_graph->refresh();
    QCOMPARE(smoothness(), QSet<bool>({ true }));
    m_graph->displayMEASToggled(true);
    m_graph->refresh();
    QVERIFY(m_graph->visibleLineCount() > CurveGraph::maxSmoothLines);
    QCOMPARE(smoothness(), QSet<bool>({ false }));
    m_graph->displayMEASToggled(false);
    m_graph->refresh();
    QCOMPARE(smoothness(), QSet<bool>({ true }));
}

void TestGraph::colourChangeRedraws()
{
    select(m_folder->child(1));
    const uint id = m_folder->child(1)->data(TreeCurveID).toUInt();
    const CurveLine* before = m_graph->line(id, SeriesSTC);
    QVERIFY(before);
    m_graph->setStringColour(id, QColor(Qt::darkBlue));
    QCOMPARE(m_graph->line(id, SeriesSTC)->pen().color(), QColor(Qt::darkBlue));
    QCOMPARE(m_store->graphModel()->cached(id)->colour, QColor(Qt::darkBlue));
    QCOMPARE(m_graph->lineCount(SeriesSTC), 1);
    // An invalid colour (the dialog was cancelled) changes nothing.
    m_graph->setStringColour(id, QColor());
    QCOMPARE(m_graph->line(id, SeriesSTC)->pen().color(), QColor(Qt::darkBlue));
}

void TestGraph::exportImage()
{
    select(m_folder);
    m_graph->resize(800, 600);
    m_graph->refresh();
    const QString path = m_dir.filePath("graph.png");
    ScriptedPrompts& prompts = ScriptedPrompts::get();
    prompts.paths = QStringList { path };
    m_graph->exportimg();
    QCOMPARE(prompts.asked.at(0).caption, QString("Save Image"));
    QCOMPARE(prompts.asked.at(0).filter, QString("Images (*.jpeg *.png)"));
    QImage image(path);
    QCOMPARE(image.size(), QSize(6614, 5102));
    QCOMPARE(qRound(image.dotsPerMeterX() * 0.0254), 600);

    // A write that fails (the name is taken by a folder) says so, naming the file.
    const QString taken = m_dir.filePath("taken.png");
    QVERIFY(QDir().mkpath(taken));
    prompts.reset();
    prompts.paths = QStringList { taken };
    m_graph->exportimg();
    QCOMPARE(
        prompts.messageTexts(), QStringList({ "There was an problem trying to save the image " + taken }));
    QVERIFY(prompts.asked.last().message.informativeText.startsWith("Exception details: "));
    QVERIFY(prompts.asked.last().message.informativeText.size() > QString("Exception details: ").size());
    QCOMPARE(prompts.asked.last().message.icon, QMessageBox::Critical);
    QVERIFY(QFileInfo(taken).isDir());
    // A name that is neither PNG nor JPEG is refused before anything is drawn.
    QString error;
    QVERIFY(!m_graph->renderImage(m_dir.filePath("graph.bmp"), &error));
    QVERIFY(!QFile::exists(m_dir.filePath("graph.bmp")));
    QCOMPARE(error, QString("Unsupported image type: bmp"));
    // A name typed without an ending is told what ending to give, not that "" is unsupported.
    prompts.reset();
    prompts.paths = QStringList { m_dir.filePath("graph") };
    m_graph->exportimg();
    QCOMPARE(prompts.asked.last().message.informativeText,
        QString("Exception details: The file name has no ending: name the image .png or .jpeg"));
    QVERIFY(!QFile::exists(m_dir.filePath("graph")));
}

KESTROVAN_TEST_MAIN(TestGraph)
void TestGraph::labelsShowAsTyped()
{
    // Labels that read as markup take the room of every character they hold: shown as typed, not
    // as a bold word or a picture of some file.
    const QString folderLabel = QStringLiteral("<font size=7>Site</font>");
    m_folder->setData(TreeLabel, folderLabel);
    QStringList labels;
    for (int row = 0; row < m_folder->childCount(); ++row) {
        labels << QStringLiteral("<img src=\"/dev/null\"><b>S%1</b>").arg(row);
        m_folder->child(row)->setData(TreeLabel, labels.last());
    }
    select(m_folder);
    m_graph->refresh();
    const auto showsAsTyped = [](const QwtText& text, const QString& typed) {
        const qreal typedWidth = QFontMetricsF(text.font()).horizontalAdvance(typed);
        return text.text() == typed && text.textSize(text.font()).width() >= typedWidth - 1;
    };
    const QwtPlotItemList titles = m_graph->itemList(QwtPlotItem::Rtti_PlotTextLabel);
    QCOMPARE(titles.size(), 1);
    const QwtText title = static_cast<QwtPlotTextLabel*>(titles.first())->text();
    QVERIFY2(showsAsTyped(title, folderLabel), qPrintable(title.text()));

    auto* legend = qobject_cast<QwtLegend*>(m_graph->legend());
    QVERIFY(legend);
    QStringList shown;
    QLayout* layout = legend->contentsWidget()->layout();
    for (int i = 0; i < layout->count(); ++i) {
        if (auto* label = qobject_cast<QwtLegendLabel*>(layout->itemAt(i)->widget())) {
            QVERIFY2(showsAsTyped(label->data().title(), label->data().title().text()),
                qPrintable(label->data().title().text()));
            shown << label->data().title().text();
        }
    }
    QCOMPARE(shown, labels);

    // The tree's tool tip shows the label as typed too.
    const QModelIndex folder = m_store->treeModel()->indexForItem(m_folder);
    QTextDocument tip;
    tip.setHtml(folder.data(Qt::ToolTipRole).toString());
    QCOMPARE(tip.toPlainText(), folderLabel);
}

#include "tst_graph.moc"
