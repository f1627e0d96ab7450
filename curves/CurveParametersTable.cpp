#include "CurveParametersTable.h"

#include "CurveParameters.h"
#include "CurveRecord.h"
#include "NumberText.h"

#include <QHeaderView>

namespace IVCurve {

namespace {
enum Row { RowIsc, RowVoc, RowImp, RowVmp, RowPmp, RowFF, RowRsh, RowRs, RowCount };
} // namespace

CurveParametersTable::CurveParametersTable(QWidget* parent)
    : QTableWidget(RowCount, 2, parent)
{
    setObjectName(QStringLiteral("tableParameters"));
    setHorizontalHeaderLabels({ tr("MEAS"), tr("STC") });
    setVerticalHeaderLabels({ tr("Isc (A)"), tr("Voc (V)"), tr("Imp (A)"), tr("Vmp (V)"), tr("Pmp (W)"),
        tr("Fill factor"), tr("Rsh (Ω)"), tr("Rs (Ω)") });
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    setToolTip(tr("* estimated: fewer points than the fit needs lie near this value"));
}

void CurveParametersTable::showRecord(CurveRecord& record)
{
    const CurveParameters figures[2] = { CurveParameters::fromPoints(record.measured().points()),
        CurveParameters::fromPoints(record.stc().points()) };
    for (int column = 0; column < 2; ++column) {
        const CurveParameters& p = figures[column];
        const double values[RowCount] = { p.isc, p.voc, p.imp, p.vmp, p.pmp, p.fillFactor, p.rsh, p.rs };
        const bool estimated[RowCount] = { p.iscEstimated, p.vocEstimated, p.mppEstimated, p.mppEstimated,
            p.mppEstimated, p.estimated(), p.iscEstimated, p.vocEstimated };
        for (int row = 0; row < RowCount; ++row) {
            QString text;
            // A resistance of 0 means the slope gave none.
            if (p.valid && !((row == RowRsh || row == RowRs) && values[row] == 0.0))
                text = NumberText::format(values[row]) + (estimated[row] ? QStringLiteral(" *") : QString());
            auto* item = new QTableWidgetItem(text);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            setItem(row, column, item);
        }
    }
}

} // namespace IVCurve
