#include "CurveModulesEditDlg.h"
#include "Brand.h"

#include "CurveConstants.h"
#include "ModuleLibrary.h"
#include "NumberText.h"
#include "Prompts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>

namespace IVCurve {

namespace {
QString favouriteIcon(bool favourite)
{
    return favourite ? QStringLiteral(":res/images/FavouritesStar32x32.png")
                     : QStringLiteral(":res/images/FavouritesStar32x32toggled.png");
}
} // namespace

CurveModulesEditDlg::CurveModulesEditDlg(uint moduleID, QWidget* parent)
    : QDialog(parent)
    , m_new(moduleID == 0)
{
    setObjectName(QStringLiteral("CurveModulesEditDlg"));
    setWindowTitle(tr("Edit Module"));
    setWindowIcon(QIcon(QStringLiteral(":res/toolButtons/module32.png")));

    m_description = addEdit("editDescription", QString());
    m_description->setMinimumWidth(320);
    m_isc = addEdit("editIsc", tr("Current at short-circuit"));
    m_voc = addEdit("editVoc", tr("Voltage at open-circuit"));
    m_impp = addEdit("editImpp", tr("Current at maximum power point"));
    m_vmpp = addEdit("editVmpp", tr("Voltage at maximum power point"));
    m_alpha = addEdit("editAlpha", tr("Current-Temperature coefficient e.g. 0.003"));
    m_beta = addEdit("editBeta", tr("Voltage-Temperature coefficient e.g. -0.14"));
    m_delta = addEdit("editDelta",
        tr("Anderson's delta coefficient:\nmono-Crystalline 0.085\nmulti-Crystalline "
           "0.110\nThin-Film 0.063"));
    m_rs = addEdit("editRs", tr("series resistance e.g. 0.3"));

    auto* alphaPercent = new QPushButton(tr("%/°C ..."), this);
    alphaPercent->setObjectName(QStringLiteral("btnAlphaPercent"));
    alphaPercent->setToolTip(tr("Enter value as a percentage of Isc"));
    alphaPercent->setAutoDefault(false);
    auto* betaPercent = new QPushButton(tr("%/°C ..."), this);
    betaPercent->setObjectName(QStringLiteral("btnBetaPercent"));
    betaPercent->setToolTip(tr("Enter value as a percentage of Voc"));
    betaPercent->setAutoDefault(false);
    auto withButton = [this](QLineEdit* edit, QPushButton* button) {
        auto* row = new QHBoxLayout;
        row->addWidget(edit, 1);
        row->addWidget(button);
        return row;
    };

    m_favourite = new QToolButton(this);
    m_favourite->setObjectName(QStringLiteral("toggleFavourite"));
    m_favourite->setCheckable(true);
    m_favourite->setText(tr("Favourite"));
    m_favourite->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_favourite->setIconSize(QSize(20, 20));

    auto* form = new QFormLayout;
    form->addRow(tr("Description:"), m_description);
    form->addRow(tr("Isc: (A)"), m_isc);
    form->addRow(tr("Voc: (V)"), m_voc);
    form->addRow(tr("Impp: (A)"), m_impp);
    form->addRow(tr("Vmpp: (V)"), m_vmpp);
    form->addRow(tr("α: (A/°C)"), withButton(m_alpha, alphaPercent));
    form->addRow(tr("β: (V/°C)"), withButton(m_beta, betaPercent));
    form->addRow(tr("delta:"), m_delta);
    form->addRow(tr("Rs: (Ω)"), m_rs);
    form->addRow(QString(), m_favourite);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    if (!m_new && ModuleLibrary::instance().module(moduleID, &m_row)) {
        m_description->setText(m_row.value(CurveModuleRow::Description).toString());
        m_isc->setText(NumberText::toDisplay(m_row.value(CurveModuleRow::Isc)));
        m_voc->setText(NumberText::toDisplay(m_row.value(CurveModuleRow::Voc)));
        m_impp->setText(NumberText::toDisplay(m_row.value(CurveModuleRow::Imp)));
        m_vmpp->setText(NumberText::toDisplay(m_row.value(CurveModuleRow::Vmp)));
        m_alpha->setText(NumberText::toDisplay(m_row.value(CurveModuleRow::Alpha)));
        m_beta->setText(NumberText::toDisplay(m_row.value(CurveModuleRow::Beta)));
        m_delta->setText(NumberText::toDisplay(m_row.value(CurveModuleRow::Delta)));
        m_rs->setText(NumberText::toDisplay(m_row.value(CurveModuleRow::Rs)));
        m_favourite->setChecked(m_row.value(CurveModuleRow::Favourite).toBool());
    } else {
        m_row.id = 0;
    }
    slotFavouriteToggled(m_favourite->isChecked());

    connect(buttons, &QDialogButtonBox::accepted, this, &CurveModulesEditDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CurveModulesEditDlg::reject);
    connect(m_favourite, &QToolButton::toggled, this, &CurveModulesEditDlg::slotFavouriteToggled);
    connect(alphaPercent, &QPushButton::clicked, this, &CurveModulesEditDlg::slotAlphaPercentClicked);
    connect(betaPercent, &QPushButton::clicked, this, &CurveModulesEditDlg::slotBetaPercentClicked);
}

QLineEdit* CurveModulesEditDlg::addEdit(const char* name, const QString& hint)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QLatin1String(name));
    edit->setToolTip(hint);
    return edit;
}

QString CurveModulesEditDlg::description() const
{
    return m_description->text();
}

void CurveModulesEditDlg::slotFavouriteToggled(bool checked)
{
    m_favourite->setIcon(QIcon(favouriteIcon(checked)));
}

void CurveModulesEditDlg::percentEntry(
    QLineEdit* reference, QLineEdit* target, const QString& missing, double minimum, double maximum)
{
    bool ok = false;
    const double base = NumberText::parse(reference->text(), &ok);
    if (!ok || base == 0.0) {
        Prompts::show(QMessageBox::Warning, this, missing, QString(), QMessageBox::Ok, Brand::productTitle());
        return;
    }
    QInputDialog input(this);
    input.setWindowTitle(QString());
    input.setInputMode(QInputDialog::DoubleInput);
    input.setLabelText(tr("Enter value in percent per centigrade"));
    input.setDoubleDecimals(4);
    input.setDoubleRange(minimum, maximum);
    input.setDoubleValue(NumberText::parse(target->text(), nullptr) / base * 100.0);
    if (Prompts::instance().execDialog(&input) != QDialog::Accepted)
        return;
    target->setText(NumberText::format(input.doubleValue() / 100.0 * base));
}

void CurveModulesEditDlg::slotAlphaPercentClicked()
{
    percentEntry(m_isc, m_alpha, tr("Isc is missing or zero"), 0.0, 100.0);
}

void CurveModulesEditDlg::slotBetaPercentClicked()
{
    percentEntry(m_voc, m_beta, tr("Voc is missing or zero"), -100.0, 0.0);
}

void CurveModulesEditDlg::accept()
{
    m_row.setValue(CurveModuleRow::Description, m_description->text());
    m_row.setValue(CurveModuleRow::Voc, m_voc->text());
    m_row.setValue(CurveModuleRow::Isc, m_isc->text());
    m_row.setValue(CurveModuleRow::Vmp, m_vmpp->text());
    m_row.setValue(CurveModuleRow::Imp, m_impp->text());
    m_row.setValue(CurveModuleRow::Alpha, m_alpha->text());
    m_row.setValue(CurveModuleRow::Beta, m_beta->text());
    m_row.setValue(CurveModuleRow::Delta, m_delta->text());
    m_row.setValue(CurveModuleRow::Rs, m_rs->text());
    m_row.setValue(CurveModuleRow::Favourite, m_favourite->isChecked());
    if (m_new) {
        m_row.setValue(CurveModuleRow::UserModule, true);
        m_row.id = ModuleLibrary::instance().insert(m_row);
        m_row.setValue(CurveModuleRow::Id, m_row.id);
        if (m_row.id != 0)
            QDialog::accept();
        else
            QDialog::reject();
        return;
    }
    if (ModuleLibrary::instance().update(m_row))
        QDialog::accept();
    else
        QDialog::reject();
}

void CurveModulesEditDlg::reject()
{
    QDialog::reject();
}

} // namespace IVCurve
