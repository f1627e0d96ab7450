#pragma once

#include "StringComparison.h"

#include <QDialog>

class QLabel;
class QTableWidget;

namespace IVCurve {

// The strings under the chosen folders side by side: conditions, STC figures, how far each
// string's STC maximum power lies from its folder's median, and its verdict. Outliers are
// highlighted; the table sorts by any column and exports to CSV.
class StringComparisonDialog : public QDialog
{
    Q_OBJECT
public:
    StringComparisonDialog(
        const QVector<ComparisonRow>& rows, const QString& documentName, QWidget* parent = nullptr);

    QTableWidget* table() const { return m_table; }

public slots:
    void slotExport();

private:
    void fill();

    QVector<ComparisonRow> m_rows;
    QString m_documentName;
    QTableWidget* m_table;
    QLabel* m_summary;
};

} // namespace IVCurve
