#pragma once

#include <QTableWidget>

namespace IVCurve {

class CurveRecord;

// The figures of a string's measured and STC curves (Isc, Voc, the maximum-power point, fill
// factor and the slopes at both ends), read by fits from the points; a value from fewer points
// than its fit wants is marked with an asterisk.
class CurveParametersTable : public QTableWidget
{
    Q_OBJECT
public:
    explicit CurveParametersTable(QWidget* parent = nullptr);
    // Shows the record's figures; its STC curve is built with the record's stored settings.
    void showRecord(CurveRecord& record);
};

} // namespace IVCurve
