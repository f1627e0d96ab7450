#pragma once

#include <QObject>

namespace IVCurve {

class CurveGraph;

// Lets a user-interface test tool count the graph's lines through the meta-object system; it
// is found as the graph's child named "SquishGraphHelper".
class CurveGraphSquishHelper : public QObject
{
    Q_OBJECT
public:
    explicit CurveGraphSquishHelper(CurveGraph* graph);

    Q_INVOKABLE int MEASLineCount() const;
    Q_INVOKABLE int STCLineCount() const;
    Q_INVOKABLE int NOMLineCount() const;
    Q_INVOKABLE int MEASPWRLineCount() const;
    Q_INVOKABLE int STCPWRLineCount() const;
    Q_INVOKABLE int NOMPWRLineCount() const;
    Q_INVOKABLE int VisibleLineCount() const;

private:
    CurveGraph* m_graph;
};

} // namespace IVCurve
