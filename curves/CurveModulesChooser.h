#pragma once

#include <QDialog>

class QComboBox;
class QSpinBox;
class QToolButton;

namespace IVCurve {

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

public slots:
    void slotFavouritesToggled(bool val);
    void slotModuleSelected(int idx);
    void slotSeriesChanged(int val);

private:
    void fill(bool favouritesOnly);

    QComboBox* m_combo;
    QToolButton* m_favourites;
    QSpinBox* m_spin;
    uint m_moduleID = 0;
    unsigned m_series = 1;
};

} // namespace IVCurve
