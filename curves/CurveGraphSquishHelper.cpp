#include "CurveGraphSquishHelper.h"

#include "CurveGraph.h"

namespace IVCurve {

CurveGraphSquishHelper::CurveGraphSquishHelper(CurveGraph* graph)
    : QObject(graph)
    , m_graph(graph)
{
    setObjectName(QStringLiteral("SquishGraphHelper"));
}

int CurveGraphSquishHelper::MEASLineCount() const
{
    return m_graph->lineCount(SeriesMEAS);
}

int CurveGraphSquishHelper::STCLineCount() const
{
    return m_graph->lineCount(SeriesSTC);
}

int CurveGraphSquishHelper::NOMLineCount() const
{
    return m_graph->lineCount(SeriesNOM);
}

int CurveGraphSquishHelper::MEASPWRLineCount() const
{
    return m_graph->lineCount(SeriesMEASPower);
}

int CurveGraphSquishHelper::STCPWRLineCount() const
{
    return m_graph->lineCount(SeriesSTCPower);
}

int CurveGraphSquishHelper::NOMPWRLineCount() const
{
    return m_graph->lineCount(SeriesNOMPower);
}

int CurveGraphSquishHelper::VisibleLineCount() const
{
    return m_graph->visibleLineCount();
}

} // namespace IVCurve
