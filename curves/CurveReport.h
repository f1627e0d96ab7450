#pragma once

#include "Verdict.h"

#include <QList>
#include <QString>

class QWidget;

namespace IVCurve {

class CurveGraph;
class CurveGraphModel;

// The curve report: the selected strings as a PDF of tables and IV graphs.
namespace CurveReport {

struct Options
{
    int type = 0; // 0 summary, 1 one page per string
    int content = 2; // 0 tables, 1 graph, 2 both
    QString site;
    QString substation;
    QString inverter;
    QString combiner;
    QString logoFile;
    // What the strings' verdicts are judged by.
    VerdictTolerances tolerances;
    // A summary ends with a page comparing its strings.
    bool comparison = false;
};

// Writes the report of the strings to `pdfPath`. The PDF is written beside it under a
// temporary name and moved into place only when complete; false with *error otherwise.
bool write(const QString& pdfPath, const Options& options, CurveGraph* graph, CurveGraphModel* model,
    const QList<uint>& curveIDs, QString* error);

// The <img> element of a logo file; empty when the file is missing, not a picture or too
// large (checked before it is decoded).
QString logoHtml(const QString& path);

// The whole command: the options dialog, the file choice, the report and the viewer.
void run(QWidget* parent, CurveGraph* graph, CurveGraphModel* model, const QList<uint>& curveIDs,
    const VerdictTolerances& tolerances);

} // namespace CurveReport
} // namespace IVCurve
