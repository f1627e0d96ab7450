#pragma once

#include "CurveModuleRow.h"

#include <QDialog>

class QLineEdit;
class QToolButton;

namespace IVCurve {

// Edits one module of the library: a new one (id 0) or an existing one. OK writes it.
class CurveModulesEditDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CurveModulesEditDlg(uint moduleID = 0, QWidget* parent = nullptr);

    // The id of the module written (the new id after adding).
    uint moduleID() const { return m_row.id; }
    QString description() const;

public slots:
    void accept() override;
    void reject() override;
    void slotFavouriteToggled(bool checked);
    void slotAlphaPercentClicked();
    void slotBetaPercentClicked();

private:
    QLineEdit* addEdit(const char* name, const QString& hint);
    // Asks for a coefficient as a percentage of the module's Isc or Voc.
    void percentEntry(
        QLineEdit* reference, QLineEdit* target, const QString& missing, double minimum, double maximum);

    CurveModuleRow m_row;
    bool m_new;
    QLineEdit* m_description;
    QLineEdit* m_isc;
    QLineEdit* m_voc;
    QLineEdit* m_impp;
    QLineEdit* m_vmpp;
    QLineEdit* m_alpha;
    QLineEdit* m_beta;
    QLineEdit* m_delta;
    QLineEdit* m_rs;
    QToolButton* m_favourite;
};

} // namespace IVCurve
