#pragma once

#include "CurveConstants.h"

#include <QHash>
#include <QList>
#include <array>
#include <qwt_plot.h>

class QwtPlotCurve;
class QwtPlotTextLabel;

namespace IVCurve {

class CurveGraphModel;
class CurveGraphSquishHelper;
class CurveLine;
class CurvePanner;
class CurveTracker;
class CurveTypeLegend;
class CurveZoomer;

// The IV graph of a curve document: current (left axis) and power (right axis) against
// voltage for the strings selected in the tree, as measured, translated to STC and nominal,
// as the tool bar's toggles ask.
class CurveGraph : public QwtPlot
{
    Q_OBJECT
public:
    enum Display { ShowIV, ShowPWR, ShowSTC, ShowNOM, ShowMEAS, DisplayCount };

    // The legend lists this many strings at most, and counts the others in one more entry.
    static constexpr int maxLegendStrings = 100;
    // Lines are drawn antialiased while at most this many are shown.
    static constexpr int maxSmoothLines = 1000;

    explicit CurveGraph(CurveGraphModel* model, QWidget* parent = nullptr);
    ~CurveGraph() override;

    int lineCount(SeriesKind kind) const { return m_lines[kind].size(); }
    int visibleLineCount() const;
    const CurveLine* line(uint curveID, SeriesKind kind) const { return m_lines[kind].value(curveID); }
    bool isShown(Display display) const { return m_display[display]; }
    double largestVoltage() const;
    double largestCurrent() const;
    double largestPower() const;
    QString titleText() const { return m_title; }
    CurveTypeLegend* typeLegend() const { return m_typeLegend; }
    CurveTracker* tracker() const { return m_tracker; }
    CurveZoomer* zoomer() const { return m_zoomer; }
    CurvePanner* panner() const { return m_panner; }
    // The lines the tracker reads off, in string order.
    QList<const CurveLine*> trackedLines() const;

    // Draws what changed and makes the shown scales the zoomer's base. Runs by itself after
    // the changes of one event; tests and measurements call it to have it at once.
    void refresh();
    // Renders the graph into a PNG or JPEG file at 280 × 216 mm and 600 dpi, replacing the file
    // only when the whole image was written.
    bool renderImage(const QString& path, QString* error);
    // A string's lines take a new colour.
    void setStringColour(uint curveID, const QColor& colour);

public slots:
    void slotInsertCurves(uint StringID);
    void slotRemoveCurves(uint StringID);
    void displayIVToggled(bool on);
    void displayMEASToggled(bool on);
    void displayPWRToggled(bool on);
    void displaySTCToggled(bool on);
    void displayNOMToggled(bool on);
    void updateLegend(const QString& newTitle);
    void exportimg();

private:
    bool addLine(uint curveID, SeriesKind kind);
    // Removes every line of the kinds; true when there was one.
    bool removeKinds(const QList<SeriesKind>& kinds);
    // Removing lines only marks the maxima stale: they are worked out again once, when the
    // graph is drawn or asked, not once for every line of a folder let go.
    void recomputeMaxima() const;
    void ensureMaxima() const;
    void applyScales();
    void scheduleRefresh();
    void kindToggled(Display display, bool on);
    void updateTypeLegend();

    CurveGraphModel* m_model;
    std::array<QHash<uint, CurveLine*>, SeriesKindCount> m_lines;
    mutable double m_maxVoltage = 0.0;
    mutable double m_maxCurrent = 0.0;
    mutable double m_maxPower = 0.0;
    mutable bool m_maximaStale = false;
    // The scales wait for the next drawing as well.
    bool m_scalesStale = false;
    std::array<bool, DisplayCount> m_display { { true, false, true, false, false } };
    CurveTracker* m_tracker;
    CurveZoomer* m_zoomer;
    CurvePanner* m_panner;
    QwtPlotTextLabel* m_titleItem;
    QwtPlotCurve* m_moreEntry;
    CurveTypeLegend* m_typeLegend;
    CurveGraphSquishHelper* m_helper;
    QString m_title;
    bool m_refreshPending = false;
    bool m_smooth = true;
};

} // namespace IVCurve
