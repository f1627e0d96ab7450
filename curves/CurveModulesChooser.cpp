#include "CurveModulesChooser.h"

#include "CurveConstants.h"
#include "ModuleLibrary.h"
#include "SettingsKeys.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QToolButton>
#include <QVBoxLayout>

namespace IVCurve {

// Keeps the empty first row (no module) and the modules whose description holds every word of
// the filter, in any case and order. The words are split once per keystroke, not per row.
class ModuleFilter : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setWords(const QString& text)
    {
        m_words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        if (row == 0 || m_words.isEmpty())
            return true;
        const QString description = sourceModel()->index(row, 0, parent).data().toString();
        for (const QString& word : m_words) {
            if (!description.contains(word, Qt::CaseInsensitive))
                return false;
        }
        return true;
    }

private:
    QStringList m_words;
};

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
    , m_filter(new QLineEdit(this))
    , m_modules(new QStandardItemModel(this))
    , m_shown(new ModuleFilter(this))
    , m_favourites(new QToolButton(this))
    , m_spin(new QSpinBox(this))
{
    setObjectName(QStringLiteral("CurveModulesChooser"));
    setWindowTitle(tr("Choose Module"));
    setWindowIcon(QIcon(QStringLiteral(":res/toolButtons/module32.png")));

    m_filter->setObjectName(QStringLiteral("editFilter"));
    m_filter->setPlaceholderText(tr("Type to search modules"));
    m_shown->setSourceModel(m_modules);
    m_combo->setModel(m_shown);
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
    form->addRow(tr("Search:"), m_filter);
    form->addRow(tr("Module:"), moduleRow);
    form->addRow(tr("Number of modules in series:"), m_spin);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    const bool favouritesOnly
        = QSettings()
              .value(SettingsKeys::curvesFavouritesOnly(), SettingsKeys::DefaultCurvesFavouritesOnly)
              .toBool();
    m_favourites->setChecked(favouritesOnly);
    m_favourites->setIcon(favouritesIcon(favouritesOnly));
    fill(favouritesOnly);

    connect(m_favourites, &QToolButton::toggled, this, &CurveModulesChooser::slotFavouritesToggled);
    connect(m_filter, &QLineEdit::textChanged, this, &CurveModulesChooser::slotFilterChanged);
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
    ModuleLibrary& library = ModuleLibrary::instance();
    const QList<CurveModuleRow> rows = favouritesOnly ? library.favourites() : library.all();
    // Filled while the filter looks away: row by row it would re-sort its mapping for each of
    // tens of thousands of modules.
    m_shown->setSourceModel(nullptr);
    m_modules->clear();
    QList<QStandardItem*> items;
    items.reserve(rows.size() + 1);
    items.append(new QStandardItem);
    for (const CurveModuleRow& row : rows) {
        auto* item = new QStandardItem(row.value(CurveModuleRow::Description).toString());
        item->setData(row.id, Qt::UserRole);
        items.append(item);
    }
    m_modules->appendColumn(items);
    m_shown->setSourceModel(m_modules);
    m_combo->setCurrentIndex(0);
    m_moduleID = 0;
}

void CurveModulesChooser::slotFavouritesToggled(bool val)
{
    m_favourites->setIcon(favouritesIcon(val));
    QSettings().setValue(SettingsKeys::curvesFavouritesOnly(), val);
    fill(val);
}

void CurveModulesChooser::slotModuleSelected(int idx)
{
    m_moduleID = m_combo->itemData(idx).toUInt();
}

void CurveModulesChooser::slotFilterChanged(const QString& text)
{
    m_shown->setWords(text);
    // The first module found is offered at once; with nothing found, no module is chosen.
    m_combo->setCurrentIndex(m_combo->count() > 1 ? 1 : 0);
    slotModuleSelected(m_combo->currentIndex());
}

void CurveModulesChooser::slotSeriesChanged(int val)
{
    m_series = unsigned(val);
}

} // namespace IVCurve
