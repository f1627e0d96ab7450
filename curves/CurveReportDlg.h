#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;
class QStackedWidget;
class QPushButton;

namespace IVCurve {

// Asks for the kind of curve report, the site texts, the logo and, for a summary, what it holds.
class CurveReportDlg : public QDialog
{
    Q_OBJECT
public:
    enum Type { Summary = 0, StringReport = 1 };
    enum Content { Tables = 0, Graph = 1, Both = 2 };

    explicit CurveReportDlg(QWidget* parent = nullptr);

    int reportType() const;
    int content() const;
    QString site() const;
    QString substation() const;
    QString inverter() const;
    QString combiner() const;
    QString logoFile() const;
    // A summary gets a page comparing its strings.
    bool comparison() const;

public slots:
    void slotNext();
    void slotBrowseLogo();

private:
    QStackedWidget* m_pages;
    QRadioButton* m_summary;
    QRadioButton* m_string;
    QLineEdit* m_site;
    QLineEdit* m_substation;
    QLineEdit* m_inverter;
    QLineEdit* m_combiner;
    QLineEdit* m_logo;
    QRadioButton* m_tables;
    QRadioButton* m_graph;
    QRadioButton* m_both;
    QCheckBox* m_comparison;
};

} // namespace IVCurve
