#include "CurveDetailsDialog.h"

#include "Brand.h"
#include "CurveConstants.h"
#include "CurveGraphModel.h"
#include "CurveModuleRow.h"
#include "CurveParametersTable.h"
#include "CurveQSpinBox.h"
#include "ModuleLibrary.h"
#include "NumberText.h"
#include "Prompts.h"
#include "SettingsKeys.h"
#include "TestDate.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace IVCurve {

namespace {
QIcon favouritesIcon(bool favouritesOnly)
{
    return QIcon(favouritesOnly ? QStringLiteral(":res/images/FavouritesStar32x32.png")
                                : QStringLiteral(":res/images/FavouritesStar32x32toggled.png"));
}

QLineEdit* displayField(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(objectName);
    edit->setReadOnly(true);
    return edit;
}

QDoubleSpinBox* coefficientSpin(const QString& objectName, double minimum, double maximum, QWidget* parent)
{
    auto* spin = new QDoubleSpinBox(parent);
    spin->setObjectName(objectName);
    spin->setRange(minimum, maximum);
    spin->setDecimals(6);
    spin->setSingleStep(0.001);
    spin->setGroupSeparatorShown(false);
    return spin;
}

QLineEdit* coefficientEdit(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(objectName);
    return edit;
}

double numberOf(const QString& text, bool* ok)
{
    return NumberText::parse(text.trimmed(), ok);
}

// The coefficient texts of IEC 60891 procedures 2 and 4, in the order their edits are made.
QList<QString*> procedureTexts(STCparameters& p)
{
    return { &p.iec2AlphaRel, &p.iec2BetaRel, &p.iec2A, &p.iec2Rs, &p.iec2Kappa, &p.iec4Alpha, &p.iec4Rs,
        &p.iec4Cells, &p.iec4Epsilon };
}
} // namespace

CurveDetailsDialog::CurveDetailsDialog(
    const CurveRecord& record, const QString& title, quint32 status, QWidget* parent)
    : QDialog(parent)
    , m_record(record)
    , m_status(status)
{
    setObjectName(QStringLiteral("CurveDetailsDialog"));
    setWindowTitle(tr("Curve Details"));
    setWindowIcon(QIcon(QStringLiteral(":res/toolButtons/module32.png")));

    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabWidget"));
    tabs->addTab(buildTestTab(title), tr("Test Details"));
    tabs->addTab(buildModuleTab(), tr("Module Details"));
    auto* parameters = new CurveParametersTable;
    parameters->showRecord(m_record);
    tabs->addTab(parameters, tr("Parameters"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    buttons->button(QDialogButtonBox::Cancel)->setDefault(true);
    buttons->button(QDialogButtonBox::Ok)->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &CurveDetailsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buildSTCGroup());
    layout->addWidget(buttons);
}

CurveDetailsDialog::~CurveDetailsDialog() = default;

QWidget* CurveDetailsDialog::buildTestTab(const QString& title)
{
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("tabTest"));
    const CurveRecord& r = m_record;
    m_irradiance = coefficientEdit(QStringLiteral("Irradiance"), r.value(CurveRecord::Irradiance), tab);
    m_cellTemp = coefficientEdit(QStringLiteral("CellTemp"), r.value(CurveRecord::CellTemp), tab);
    m_ambientTemp = coefficientEdit(QStringLiteral("AmbientTemp"), r.value(CurveRecord::AmbientTemp), tab);

    auto* left = new QFormLayout;
    left->addRow(tr("Title:"), displayField(QStringLiteral("Title"), title, tab));
    left->addRow(tr("Tester Serial No:"), displayField(QStringLiteral("TesterSerNo"), r.testerSerNo, tab));
    left->addRow(tr("Tester Memory Location:"),
        displayField(QStringLiteral("MemoryLoc"), QString::number(r.memLocation), tab));
    left->addRow(
        tr("Test Date:"), displayField(QStringLiteral("TestDate"), TestDate::displayText(r.testDate), tab));
    left->addRow(tr("Irradiance: (W/m<sup>2</sup>)"), m_irradiance);
    left->addRow(tr("Cell Temperature: (°C)"), m_cellTemp);
    left->addRow(tr("Ambient Temperature: (°C)"), m_ambientTemp);

    auto* right = new QFormLayout;
    right->addRow(
        tr("Open Circuit Voltage (V):"), displayField(QStringLiteral("Voc"), r.value(CurveRecord::Voc), tab));
    right->addRow(tr("Short Circuit Current (A):"),
        displayField(QStringLiteral("Isc"), r.value(CurveRecord::Isc), tab));
    right->addRow(
        tr("Voltage at mpp (V):"), displayField(QStringLiteral("Vmpp"), r.value(CurveRecord::Vmp), tab));
    right->addRow(
        tr("Current at mpp (A):"), displayField(QStringLiteral("Impp"), r.value(CurveRecord::Imp), tab));
    right->addRow(tr("Fill Factor:"), displayField(QStringLiteral("FF"), r.value(CurveRecord::FF), tab));
    right->addRow(tr("Clamp Current at mpp: (A)"),
        displayField(QStringLiteral("Iclamp"), r.value(CurveRecord::Iclamp), tab));
    right->addRow(
        tr("Protective Earth R:  (Ω)"), displayField(QStringLiteral("Rpe"), r.value(CurveRecord::Rpe), tab));
    right->addRow(
        tr("Isolation Voltage (V):"), displayField(QStringLiteral("Viso"), r.value(CurveRecord::Viso), tab));
    right->addRow(tr("Isolation Resistance: (MΩ)"),
        displayField(QStringLiteral("Riso"), r.value(CurveRecord::Riso), tab));

    auto* layout = new QHBoxLayout(tab);
    layout->addLayout(left);
    layout->addSpacing(16);
    layout->addLayout(right);
    return tab;
}

QWidget* CurveDetailsDialog::buildModuleTab()
{
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("tabModule"));
    auto* group = new QGroupBox(tr("Choose Module"), tab);
    m_comboModule = new QComboBox(group);
    m_comboModule->setObjectName(QStringLiteral("comboModule"));
    m_comboModule->setMinimumContentsLength(32);
    m_comboModule->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_favourites = new QToolButton(group);
    m_favourites->setObjectName(QStringLiteral("toggleFavourites"));
    m_favourites->setCheckable(true);
    m_favourites->setIconSize(QSize(20, 20));
    m_favourites->setToolTip(tr("Show favourite modules only"));
    m_series = new CurveQSpinBox(group);
    m_series->setObjectName(QStringLiteral("spinTotalInSeries"));
    m_parallel = new CurveQSpinBox(group);
    m_parallel->setObjectName(QStringLiteral("spinTotalInParallel"));
    for (CurveQSpinBox* spin : { m_series, m_parallel })
        spin->setRange(1, 9999);
    m_lblVoc = new QLabel(group);
    m_lblVoc->setObjectName(QStringLiteral("lblVoc"));
    m_lblIsc = new QLabel(group);
    m_lblIsc->setObjectName(QStringLiteral("lblIsc"));
    m_lblVmpp = new QLabel(group);
    m_lblVmpp->setObjectName(QStringLiteral("lblVmpp"));
    m_lblImpp = new QLabel(group);
    m_lblImpp->setObjectName(QStringLiteral("lblImpp"));

    auto* grid = new QGridLayout(group);
    grid->addWidget(m_comboModule, 0, 0, 1, 3);
    grid->addWidget(m_favourites, 0, 3);
    grid->addWidget(new QLabel(tr("No. in Series:"), group), 1, 0);
    grid->addWidget(m_series, 1, 1);
    grid->addWidget(new QLabel(tr("No. in Parallel:"), group), 2, 0);
    grid->addWidget(m_parallel, 2, 1);
    grid->addWidget(new QLabel(tr("Voc:"), group), 3, 0);
    grid->addWidget(m_lblVoc, 3, 1);
    grid->addWidget(new QLabel(tr("Isc:"), group), 3, 2);
    grid->addWidget(m_lblIsc, 3, 3);
    grid->addWidget(new QLabel(tr("Vmpp:"), group), 4, 0);
    grid->addWidget(m_lblVmpp, 4, 1);
    grid->addWidget(new QLabel(tr("Impp:"), group), 4, 2);
    grid->addWidget(m_lblImpp, 4, 3);
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(group);
    layout->addStretch();

    const bool favouritesOnly
        = QSettings()
              .value(SettingsKeys::curvesFavouritesOnly(), SettingsKeys::DefaultCurvesFavouritesOnly)
              .toBool();
    m_favourites->setChecked(favouritesOnly);
    m_favourites->setIcon(favouritesIcon(favouritesOnly));
    fillModules(favouritesOnly);
    // Filling counts as a change: the counts shown are the counts written back.
    m_series->setValue(int(std::min(m_record.module().ns, 9999u)));
    m_parallel->setValue(int(std::min(m_record.module().np, 9999u)));
    m_series->setChanged(true);
    m_parallel->setChanged(true);

    connect(m_favourites, &QToolButton::toggled, this, &CurveDetailsDialog::slotFavouritesToggled);
    connect(m_comboModule, QOverload<int>::of(&QComboBox::activated), this,
        &CurveDetailsDialog::slotModulesComboSelected);
    return tab;
}

QWidget* CurveDetailsDialog::buildSTCGroup()
{
    auto* group = new QGroupBox(tr("STC Calculation"));
    group->setObjectName(QStringLiteral("groupSTC"));
    m_radioAnderson = new QRadioButton(tr("Anderson"), group);
    m_radioAnderson->setObjectName(QStringLiteral("radioAnderson"));
    m_radioIEC = new QRadioButton(tr("IEC60891 procedure 1"), group);
    m_radioIEC->setObjectName(QStringLiteral("radioIEC"));
    m_radioBlaesser = new QRadioButton(tr("Blässer"), group);
    m_radioBlaesser->setObjectName(QStringLiteral("radioBlaesser"));
    m_radioBlaesser->setVisible(false);
    m_radioBlaesser->setEnabled(false);
    m_radioIEC2 = new QRadioButton(tr("IEC 60891 procedure 2"), group);
    m_radioIEC2->setObjectName(QStringLiteral("radioIEC2"));
    m_radioIEC4 = new QRadioButton(tr("IEC 60891 procedure 4"), group);
    m_radioIEC4->setObjectName(QStringLiteral("radioIEC4"));

    const STCparameters& p = m_record.stcParameters();
    bool ok = false;
    m_alpha = coefficientSpin(QStringLiteral("input_alpha"), 0.0, 10.0, group);
    m_alpha->setToolTip(tr("Current-Temperature coefficient e.g. 0.003"));
    const double alpha = numberOf(p.alpha, &ok);
    m_alpha->setValue(ok ? alpha : 0.0);
    m_beta = coefficientSpin(QStringLiteral("input_beta"), -10.0, 0.0, group);
    m_beta->setToolTip(tr("Voltage-Temperature coefficient e.g. -0.14"));
    const double beta = numberOf(p.beta, &ok);
    m_beta->setValue(ok ? beta : 0.0);
    m_Rs = coefficientSpin(QStringLiteral("input_Rs"), -100.0, 100.0, group);
    const double rs = numberOf(p.Rs, &ok);
    m_Rs->setValue(ok ? rs : 0.0);
    m_delta = coefficientEdit(QStringLiteral("input_delta"), p.delta, group);
    m_delta->setToolTip(tr(
        "Anderson's delta coefficient:\nmono-Crystalline 0.085\nmulti-Crystalline 0.110\nThin-Film 0.063"));
    m_a = coefficientEdit(QStringLiteral("input_a"), p.a, group);
    m_b = coefficientEdit(QStringLiteral("input_b"), p.b, group);
    m_K = coefficientEdit(QStringLiteral("input_K"), p.K, group);

    auto* alphaPercent = new QPushButton(tr("%/°C ..."), group);
    alphaPercent->setObjectName(QStringLiteral("btnAlphaPercent"));
    alphaPercent->setToolTip(tr("Enter value as a percentage of Isc"));
    alphaPercent->setAutoDefault(false);
    auto* betaPercent = new QPushButton(tr("%/°C ..."), group);
    betaPercent->setObjectName(QStringLiteral("btnBetaPercent"));
    betaPercent->setToolTip(tr("Enter value as a percentage of Voc"));
    betaPercent->setAutoDefault(false);

    m_stack = new QStackedWidget(group);
    m_stack->setObjectName(QStringLiteral("stackSTCPages"));
    m_pageAnderson = new QWidget;
    m_pageAnderson->setObjectName(QStringLiteral("pageAnderson"));
    auto* anderson = new QFormLayout(m_pageAnderson);
    anderson->addRow(tr("delta:"), m_delta);
    m_pageIEC = new QWidget;
    m_pageIEC->setObjectName(QStringLiteral("pageIEC"));
    auto* iec = new QFormLayout(m_pageIEC);
    iec->addRow(tr("Rs: (Ω)"), m_Rs);
    iec->addRow(tr("K:"), m_K);
    m_pageBlaesser = new QWidget;
    m_pageBlaesser->setObjectName(QStringLiteral("pageBlaesser"));
    auto* blaesser = new QFormLayout(m_pageBlaesser);
    blaesser->addRow(tr("a:"), m_a);
    blaesser->addRow(tr("b:"), m_b);
    m_stack->addWidget(m_pageAnderson);
    m_stack->addWidget(m_pageIEC);
    m_stack->addWidget(m_pageBlaesser);
    buildProcedurePages(p);

    auto* radios = new QVBoxLayout;
    radios->addWidget(m_radioAnderson);
    radios->addWidget(m_radioIEC);
    radios->addWidget(m_radioBlaesser);
    radios->addWidget(m_radioIEC2);
    radios->addWidget(m_radioIEC4);
    radios->addStretch();
    m_absoluteCoefficients = new QWidget(group);
    auto* absolute = new QGridLayout(m_absoluteCoefficients);
    absolute->setContentsMargins(0, 0, 0, 0);
    absolute->addWidget(new QLabel(tr("α: (A/°C)"), group), 0, 0);
    absolute->addWidget(m_alpha, 0, 1);
    absolute->addWidget(alphaPercent, 0, 2);
    absolute->addWidget(new QLabel(tr("β: (V/°C)"), group), 1, 0);
    absolute->addWidget(m_beta, 1, 1);
    absolute->addWidget(betaPercent, 1, 2);
    auto* coefficients = new QVBoxLayout;
    coefficients->addWidget(m_absoluteCoefficients);
    coefficients->addWidget(m_stack);
    auto* layout = new QHBoxLayout(group);
    layout->addLayout(radios);
    layout->addLayout(coefficients, 1);

    connect(m_radioAnderson, &QRadioButton::toggled, this, &CurveDetailsDialog::slotAndersonToggled);
    connect(m_radioIEC, &QRadioButton::toggled, this, &CurveDetailsDialog::slotIECToggled);
    connect(m_radioBlaesser, &QRadioButton::toggled, this, &CurveDetailsDialog::slotBlaesserToggled);
    connect(m_radioIEC2, &QRadioButton::toggled, this, &CurveDetailsDialog::slotIEC2Toggled);
    connect(m_radioIEC4, &QRadioButton::toggled, this, &CurveDetailsDialog::slotIEC4Toggled);
    connect(alphaPercent, &QPushButton::clicked, this, &CurveDetailsDialog::slotAlphaPercentClicked);
    connect(betaPercent, &QPushButton::clicked, this, &CurveDetailsDialog::slotBetaPercentClicked);

    switch (p.algorithm) {
    case AlgorithmBlaesser:
        m_radioBlaesser->setChecked(true);
        break;
    case AlgorithmIEC60891:
        m_radioIEC->setChecked(true);
        break;
    case AlgorithmIEC60891Procedure2:
        m_radioIEC2->setChecked(true);
        break;
    case AlgorithmIEC60891Procedure4:
        m_radioIEC4->setChecked(true);
        break;
    default:
        m_radioAnderson->setChecked(true);
        break;
    }
    return group;
}

void CurveDetailsDialog::buildProcedurePages(const STCparameters& p)
{
    STCparameters texts = p;
    const QList<QString*> values = procedureTexts(texts);
    const char* const names[] = { "input_iec2_alpha", "input_iec2_beta", "input_iec2_a", "input_iec2_Rs",
        "input_iec2_kappa", "input_iec4_alpha", "input_iec4_Rs", "input_iec4_cells", "input_iec4_epsilon" };
    const QStringList labels { tr("α rel: (%/°C)"), tr("β rel: (%/°C)"), tr("a:"), tr("Rs': (Ω per module)"),
        tr("κ': (Ω/°C per module)"), tr("α: (A/°C per module)"), tr("Rs: (Ω per module)"),
        tr("Cells per module:"), tr("ε: (V per cell)") };
    m_pageIEC2 = new QWidget;
    m_pageIEC2->setObjectName(QStringLiteral("pageIEC2"));
    auto* iec2 = new QFormLayout(m_pageIEC2);
    m_pageIEC4 = new QWidget;
    m_pageIEC4->setObjectName(QStringLiteral("pageIEC4"));
    auto* iec4 = new QFormLayout(m_pageIEC4);
    for (int i = 0; i < values.size(); ++i) {
        QWidget* page = i < 5 ? m_pageIEC2 : m_pageIEC4;
        QLineEdit* edit = coefficientEdit(QLatin1String(names[i]), *values.at(i), page);
        m_procedureEdits.append(edit);
        (i < 5 ? iec2 : iec4)->addRow(labels.at(i), edit);
    }
    m_procedureEdits.at(2)->setToolTip(
        tr("Irradiance correction factor of the open-circuit voltage, e.g. 0.06"));
    m_procedureEdits.at(8)->setToolTip(tr("Band-gap voltage per cell: 1.232 for crystalline silicon"));
    m_stack->addWidget(m_pageIEC2);
    m_stack->addWidget(m_pageIEC4);
}

void CurveDetailsDialog::showPage(QWidget* page, bool absoluteCoefficients)
{
    m_stack->setCurrentWidget(page);
    m_absoluteCoefficients->setVisible(absoluteCoefficients);
}

void CurveDetailsDialog::fillModules(bool favouritesOnly)
{
    const QSignalBlocker blocker(m_comboModule);
    m_comboModule->clear();
    m_comboModule->addItem(QString());
    ModuleLibrary& library = ModuleLibrary::instance();
    QList<CurveModuleRow> rows;
    if (library.open())
        rows = favouritesOnly ? library.favourites() : library.all();
    const uint current = uint(std::max(0, m_record.module().moduleID));
    int selected = 0;
    const CurveModuleRow* shown = nullptr;
    for (const CurveModuleRow& row : qAsConst(rows)) {
        m_comboModule->addItem(row.value(CurveModuleRow::Description).toString(), row.id);
        if (row.id == current && current != 0) {
            selected = m_comboModule->count() - 1;
            shown = &row;
        }
    }
    // The string's module stays listed when the favourites leave it out.
    CurveModuleRow own;
    if (current != 0 && selected == 0 && library.isOpen() && library.module(current, &own)) {
        m_comboModule->addItem(own.value(CurveModuleRow::Description).toString(), own.id);
        selected = m_comboModule->count() - 1;
        shown = &own;
    }
    m_comboModule->setCurrentIndex(selected);
    showModuleValues(shown);
}

void CurveDetailsDialog::showModuleValues(const CurveModuleRow* row)
{
    const auto text = [row](CurveModuleRow::Field field) {
        if (!row)
            return QString();
        bool ok = false;
        const double value = NumberText::fromVariant(row->value(field), &ok);
        return ok ? NumberText::format(value) : QString();
    };
    m_lblVoc->setText(text(CurveModuleRow::Voc));
    m_lblIsc->setText(text(CurveModuleRow::Isc));
    m_lblVmpp->setText(text(CurveModuleRow::Vmp));
    m_lblImpp->setText(text(CurveModuleRow::Imp));
}

void CurveDetailsDialog::slotBlaesserToggled(bool on)
{
    if (on)
        showPage(m_pageBlaesser, true);
}

void CurveDetailsDialog::slotIECToggled(bool on)
{
    if (on)
        showPage(m_pageIEC, true);
}

void CurveDetailsDialog::slotAndersonToggled(bool on)
{
    if (on)
        showPage(m_pageAnderson, true);
}

void CurveDetailsDialog::slotIEC2Toggled(bool on)
{
    if (on)
        showPage(m_pageIEC2, false);
}

void CurveDetailsDialog::slotIEC4Toggled(bool on)
{
    if (on)
        showPage(m_pageIEC4, false);
}

void CurveDetailsDialog::slotModulesComboSelected(int selected)
{
    const uint id = m_comboModule->itemData(selected).toUInt();
    CurveModuleRow row;
    if (id == 0 || !ModuleLibrary::instance().module(id, &row)) {
        m_alpha->setValue(0.0);
        m_beta->setValue(0.0);
        m_Rs->setValue(0.0);
        m_delta->clear();
        m_delta->setModified(true);
        showModuleValues(nullptr);
        return;
    }
    bool ok = false;
    double value = NumberText::fromVariant(row.value(CurveModuleRow::Alpha), &ok);
    m_alpha->setValue(ok ? value : 0.0);
    value = NumberText::fromVariant(row.value(CurveModuleRow::Beta), &ok);
    m_beta->setValue(ok ? value : 0.0);
    value = NumberText::fromVariant(row.value(CurveModuleRow::Rs), &ok);
    m_Rs->setValue(ok ? value : 0.0);
    value = NumberText::fromVariant(row.value(CurveModuleRow::Delta), &ok);
    m_delta->setText(ok ? NumberText::format(value) : QString());
    m_delta->setModified(true);
    // The newer methods take what the data sheet gives and keep the rest.
    STCparameters defaults;
    for (QString* text : procedureTexts(defaults))
        text->clear();
    CurveGraphModel::takeModuleDefaults(row, &defaults);
    const QList<QString*> texts = procedureTexts(defaults);
    for (int i = 0; i < texts.size(); ++i) {
        if (!texts.at(i)->isEmpty()) {
            m_procedureEdits.at(i)->setText(*texts.at(i));
            m_procedureEdits.at(i)->setModified(true);
        }
    }
    showModuleValues(&row);
}

void CurveDetailsDialog::slotFavouritesToggled(bool on)
{
    m_favourites->setIcon(favouritesIcon(on));
    QSettings().setValue(SettingsKeys::curvesFavouritesOnly(), on);
    fillModules(on);
}

void CurveDetailsDialog::slotAlphaPercentClicked()
{
    percentEntry(m_alpha, m_lblIsc, false);
}

void CurveDetailsDialog::slotBetaPercentClicked()
{
    percentEntry(m_beta, m_lblVoc, true);
}

void CurveDetailsDialog::percentEntry(QDoubleSpinBox* spin, QLabel* reference, bool negative)
{
    bool ok = false;
    const double base = numberOf(reference->text(), &ok);
    if (!ok || base == 0.0) {
        Prompts::show(QMessageBox::Warning, this,
            negative ? tr("Voc is missing or zero") : tr("Isc is missing or zero"), QString(),
            QMessageBox::Ok, Brand::productTitle());
        return;
    }
    QInputDialog input(this);
    input.setObjectName(QStringLiteral("percentInput"));
    input.setWindowTitle(QString());
    input.setInputMode(QInputDialog::DoubleInput);
    input.setLabelText(tr("Enter value in percent per centigrade"));
    input.setDoubleDecimals(4);
    input.setDoubleRange(negative ? -100.0 : 0.0, negative ? 0.0 : 100.0);
    input.setDoubleValue(spin->value() / base * 100.0);
    if (Prompts::instance().execDialog(&input) != QDialog::Accepted)
        return;
    spin->setValue(input.doubleValue() / 100.0 * base);
}

bool CurveDetailsDialog::confirmSave()
{
    QSettings settings;
    if (settings.value(SettingsKeys::curvesHideSaveWarning(), SettingsKeys::DefaultCurvesHideSaveWarning)
            .toBool())
        return true;
    bool hide = false;
    MessageRequest request;
    request.parent = this;
    request.icon = QMessageBox::Information;
    request.title = Brand::productTitle();
    request.text = tr("Changes to the PV string data are automatically saved when OK is pressed.\n");
    request.buttons = QMessageBox::Ok | QMessageBox::Cancel;
    request.defaultButton = QMessageBox::Ok;
    request.checkBoxText = tr("Do not show this message again");
    request.checkBoxChecked = &hide;
    const PromptButton answer = Prompts::instance().message(request);
    settings.setValue(SettingsKeys::curvesHideSaveWarning(), hide);
    return answer == QMessageBox::Ok;
}

void CurveDetailsDialog::accept()
{
    if (!confirmSave())
        return;

    STCparameters p = m_record.stcParameters();
    p.alpha = NumberText::format(m_alpha->value());
    p.beta = NumberText::format(m_beta->value());
    p.Rs = NumberText::format(m_Rs->value());
    const auto takeEdit = [](QLineEdit* edit, QString* target) {
        bool ok = false;
        if (!edit->isModified())
            return;
        const QString text = edit->text().trimmed();
        numberOf(text, &ok);
        if (ok)
            *target = text;
        else if (text.isEmpty())
            target->clear();
    };
    takeEdit(m_delta, &p.delta);
    takeEdit(m_a, &p.a);
    takeEdit(m_b, &p.b);
    takeEdit(m_K, &p.K);
    const QList<QString*> procedure = procedureTexts(p);
    for (int i = 0; i < procedure.size(); ++i)
        takeEdit(m_procedureEdits.at(i), procedure.at(i));

    bool ok = false;
    if (m_irradiance->isModified()) {
        const QString text = m_irradiance->text().trimmed();
        numberOf(text, &ok);
        if (text.isEmpty()) {
            p.G1 = QStringLiteral("1000");
            m_record.setValue(CurveRecord::Irradiance, QString());
            m_status |= StatusNoIrradiance;
        } else if (ok) {
            p.G1 = text;
            m_record.setValue(CurveRecord::Irradiance, text);
            m_status &= ~quint32(StatusNoIrradiance);
        }
    }

    if (m_radioIEC->isChecked())
        p.algorithm = AlgorithmIEC60891;
    else if (m_radioBlaesser->isChecked())
        p.algorithm = AlgorithmBlaesser;
    else if (m_radioIEC2->isChecked())
        p.algorithm = AlgorithmIEC60891Procedure2;
    else if (m_radioIEC4->isChecked())
        p.algorithm = AlgorithmIEC60891Procedure4;
    else
        p.algorithm = AlgorithmAnderson;

    if (m_cellTemp->isModified()) {
        const QString text = m_cellTemp->text().trimmed();
        numberOf(text, &ok);
        if (text.isEmpty()) {
            m_record.setValue(CurveRecord::CellTemp, QString());
            m_status |= StatusNoCellTemperature;
        } else if (ok) {
            m_record.setValue(CurveRecord::CellTemp, text);
            m_status &= ~quint32(StatusNoCellTemperature);
        }
    }
    if (m_ambientTemp->isModified()) {
        const QString text = m_ambientTemp->text().trimmed();
        numberOf(text, &ok);
        if (ok)
            m_record.setValue(CurveRecord::AmbientTemp, text);
    }
    // The translation's temperature: the cell's for Anderson and IEC, the air's for the
    // older method; 25 °C when the one it needs is missing.
    const QString temperature = p.algorithm == AlgorithmBlaesser ? m_record.value(CurveRecord::AmbientTemp)
                                                                 : m_record.value(CurveRecord::CellTemp);
    numberOf(temperature, &ok);
    p.T1 = ok ? temperature : QStringLiteral("25");
    m_record.setSTCparameters(p);

    ModuleAssignment module = m_record.module();
    const uint chosen = m_comboModule->currentData().toUInt();
    if (int(chosen) != module.moduleID) {
        CurveModuleRow row;
        const unsigned ns = module.ns;
        const unsigned np = module.np;
        if (chosen != 0 && ModuleLibrary::instance().module(chosen, &row)) {
            module.setModule(row);
        } else {
            module = ModuleAssignment();
        }
        module.ns = ns;
        module.np = np;
    }
    bool counted = false;
    if (m_series->isChanged()) {
        const uint ns = m_series->text().toUInt(&counted);
        if (counted)
            module.ns = ns;
    }
    if (m_parallel->isChanged()) {
        const uint np = m_parallel->text().toUInt(&counted);
        if (counted)
            module.np = np;
    }
    m_record.setModuleAssignment(module);
    QDialog::accept();
}

} // namespace IVCurve
