#pragma once

#include "CurveRecord.h"

#include <QDialog>
#include <QList>

class QButtonGroup;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QStackedWidget;
class QToolButton;

namespace IVCurve {

class CurveQSpinBox;

// One string's measured values, its measurement conditions, translation method and module.
// It edits a copy of the string's record; the caller takes the copy when the dialog is accepted.
class CurveDetailsDialog : public QDialog
{
    Q_OBJECT
public:
    // The title is the string's label in the tree, the status its node's status bits.
    CurveDetailsDialog(
        const CurveRecord& record, const QString& title, quint32 status, QWidget* parent = nullptr);
    ~CurveDetailsDialog() override;

    const CurveRecord& record() const { return m_record; }
    quint32 status() const { return m_status; }

public slots:
    void accept() override;
    void slotBlaesserToggled(bool on);
    void slotIECToggled(bool on);
    void slotModulesComboSelected(int selected);
    void slotFavouritesToggled(bool on);
    void slotAndersonToggled(bool on);
    void slotIEC2Toggled(bool on);
    void slotIEC4Toggled(bool on);
    void slotAlphaPercentClicked();
    void slotBetaPercentClicked();

private:
    QWidget* buildTestTab(const QString& title);
    QWidget* buildModuleTab();
    QWidget* buildSTCGroup();
    void buildProcedurePages(const STCparameters& p);
    // The coefficients of the selected method's page; α and β in A/°C and V/°C serve the
    // older methods only.
    void showPage(QWidget* page, bool absoluteCoefficients);
    void fillModules(bool favouritesOnly);
    void showModuleValues(const CurveModuleRow* row);
    // The percentage entry of alpha (of Isc) or beta (of Voc).
    void percentEntry(QDoubleSpinBox* spin, QLabel* reference, bool negative);
    bool confirmSave();

    CurveRecord m_record;
    quint32 m_status;
    QLineEdit* m_irradiance = nullptr;
    QLineEdit* m_cellTemp = nullptr;
    QLineEdit* m_ambientTemp = nullptr;
    QComboBox* m_comboModule = nullptr;
    QToolButton* m_favourites = nullptr;
    CurveQSpinBox* m_series = nullptr;
    CurveQSpinBox* m_parallel = nullptr;
    QLabel* m_lblVoc = nullptr;
    QLabel* m_lblIsc = nullptr;
    QLabel* m_lblVmpp = nullptr;
    QLabel* m_lblImpp = nullptr;
    QRadioButton* m_radioAnderson = nullptr;
    QRadioButton* m_radioIEC = nullptr;
    QRadioButton* m_radioBlaesser = nullptr;
    QRadioButton* m_radioIEC2 = nullptr;
    QRadioButton* m_radioIEC4 = nullptr;
    QWidget* m_absoluteCoefficients = nullptr;
    QStackedWidget* m_stack = nullptr;
    QWidget* m_pageAnderson = nullptr;
    QWidget* m_pageIEC = nullptr;
    QWidget* m_pageBlaesser = nullptr;
    QWidget* m_pageIEC2 = nullptr;
    QWidget* m_pageIEC4 = nullptr;
    // The coefficients of IEC 60891 procedures 2 and 4, in the order of procedureEdits().
    QList<QLineEdit*> m_procedureEdits;
    QDoubleSpinBox* m_alpha = nullptr;
    QDoubleSpinBox* m_beta = nullptr;
    QDoubleSpinBox* m_Rs = nullptr;
    QLineEdit* m_delta = nullptr;
    QLineEdit* m_a = nullptr;
    QLineEdit* m_b = nullptr;
    QLineEdit* m_K = nullptr;
};

} // namespace IVCurve
