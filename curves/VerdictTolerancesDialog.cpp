#include "VerdictTolerancesDialog.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QVBoxLayout>

namespace IVCurve {

VerdictTolerancesDialog::VerdictTolerancesDialog(const VerdictTolerances& tolerances, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("VerdictTolerancesDialog"));
    setWindowTitle(tr("Verdict Tolerances"));
    const double values[] = { tolerances.pmpBelow, tolerances.voc, tolerances.isc };
    const char* const names[] = { "spinPmp", "spinVoc", "spinIsc" };
    const QStringList labels { tr("STC Pmp at most this far below nominal (%):"),
        tr("STC Voc within ± of nominal (%):"), tr("STC Isc within ± of nominal (%):") };
    auto* form = new QFormLayout;
    for (int i = 0; i < 3; ++i) {
        m_spins[i] = new QDoubleSpinBox(this);
        m_spins[i]->setObjectName(QLatin1String(names[i]));
        m_spins[i]->setRange(0.0, 100.0);
        m_spins[i]->setDecimals(1);
        m_spins[i]->setSingleStep(0.5);
        m_spins[i]->setValue(values[i]);
        form->addRow(labels.at(i), m_spins[i]);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

VerdictTolerances VerdictTolerancesDialog::tolerances() const
{
    return { m_spins[0]->value(), m_spins[1]->value(), m_spins[2]->value() };
}

} // namespace IVCurve
