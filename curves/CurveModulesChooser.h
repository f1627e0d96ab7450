#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QStandardItemModel;
class QSpinBox;
class QToolButton;

namespace IVCurve {

class ModuleFilter;

// Picks a module of the library and the number of modules in series for the chosen strings.
class CurveModulesChooser : public QDialog
{
    Q_OBJECT
public:
    explicit CurveModulesChooser(QWidget* parent = nullptr);

    // The chosen module, 0 for none.
    uint moduleID() const { return m_moduleID; }
    unsigned seriesCount() const { return m_series; }
    QComboBox* combo() const { return m_combo; }
    QLineEdit* filter() const { return m_filter; }

public slots:
    void slotFavouritesToggled(bool val);
    void slotModuleSelected(int idx);
    void slotSeriesChanged(int val);
    // Narrows the list to the modules whose description holds every word typed.
    void slotFilterChanged(const QString& text);

private:
    void fill(bool favouritesOnly);

    QComboBox* m_combo;
    QLineEdit* m_filter;
    QStandardItemModel* m_modules;
    ModuleFilter* m_shown;
    QToolButton* m_favourites;
    QSpinBox* m_spin;
    uint m_moduleID = 0;
    unsigned m_series = 1;
};

} // namespace IVCurve
