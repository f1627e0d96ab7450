#pragma once

#include "Verdict.h"

#include <QDialog>

class QDoubleSpinBox;

namespace IVCurve {

// Edits the verdict tolerances of a curve document; the caller stores them.
class VerdictTolerancesDialog : public QDialog
{
    Q_OBJECT
public:
    explicit VerdictTolerancesDialog(const VerdictTolerances& tolerances, QWidget* parent = nullptr);
    VerdictTolerances tolerances() const;

private:
    QDoubleSpinBox* m_spins[3];
};

} // namespace IVCurve
