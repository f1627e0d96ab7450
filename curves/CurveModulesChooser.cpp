#include "CurveModulesChooser.h"

#include "CurveConstants.h"
#include "ModuleLibrary.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QSettings>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace IVCurve {

namespace {
QIcon favouritesIcon(bool favouritesOnly)
{
    return QIcon(favouritesOnly ? QStringLiteral(":res/images/FavouritesStar32x32.png")
                                : QStringLiteral(":res/images/FavouritesStar32x32toggled.png"));
}
} // namespace

CurveModulesChooser::CurveModulesChooser(QWidget* parent)
    : QDialog(parent)
    , m_combo(new QComboBox(this))
    , m_favourites(new QToolButton(this))
    , m_spin(new QSpinBox(this))
{
    setObjectName(QStringLiteral("CurveModulesChooser"));
    setWindowTitle(tr("Choose Module"));
    setWindowIcon(QIcon(QStringLiteral(":res/toolButtons/module32.png")));

    m_combo->setObjectName(QStringLiteral("comboModule"));
    m_combo->setMinimumContentsLength(32);
    m_combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_favourites->setObjectName(QStringLiteral("toggleFavourites"));
    m_favourites->setCheckable(true);
    m_favourites->setIconSize(QSize(20, 20));
    m_favourites->setToolTip(tr("Show favourite modules only"));
    m_spin->setObjectName(QStringLiteral("spinTotalInSeries"));
    m_spin->setRange(1, 999);
    m_spin->setValue(1);

    auto* moduleRow = new QHBoxLayout;
    moduleRow->addWidget(m_combo, 1);
    moduleRow->addWidget(m_favourites);
    auto* form = new QFormLayout;
    form->addRow(tr("Module:"), moduleRow);
    form->addRow(tr("Number of modules in series:"), m_spin);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    const bool favouritesOnly = QSettings().value(favouritesOnlyKey(), false).toBool();
    m_favourites->setChecked(favouritesOnly);
    m_favourites->setIcon(favouritesIcon(favouritesOnly));
    fill(favouritesOnly);

    connect(m_favourites, &QToolButton::toggled, this, &CurveModulesChooser::slotFavouritesToggled);
    connect(m_combo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
        &CurveModulesChooser::slotModuleSelected);
    connect(
        m_spin, QOverload<int>::of(&QSpinBox::valueChanged), this, &CurveModulesChooser::slotSeriesChanged);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CurveModulesChooser::fill(bool favouritesOnly)
{
    const QSignalBlocker blocker(m_combo);
    m_combo->clear();
    m_combo->addItem(QString());
    ModuleLibrary& library = ModuleLibrary::instance();
    const QList<CurveModuleRow> rows = favouritesOnly ? library.favourites() : library.all();
    for (const CurveModuleRow& row : rows)
        m_combo->addItem(row.value(CurveModuleRow::Description).toString(), row.id);
    m_combo->setCurrentIndex(0);
    m_moduleID = 0;
}

void CurveModulesChooser::slotFavouritesToggled(bool val)
{
    m_favourites->setIcon(favouritesIcon(val));
    QSettings().setValue(favouritesOnlyKey(), val);
    fill(val);
}

void CurveModulesChooser::slotModuleSelected(int idx)
{
    m_moduleID = m_combo->itemData(idx).toUInt();
}

void CurveModulesChooser::slotSeriesChanged(int val)
{
    m_series = unsigned(val);
}

} // namespace IVCurve
