#pragma once

#include <QDialog>
#include <QVector>

class QCheckBox;

namespace IVCurve {

// Chooses the visible columns of the curve tree. The dialog's result is the column mask:
// bit 0 always, bit n for view column n when its box is ticked.
class ColumnConfigDlg : public QDialog
{
    Q_OBJECT
public:
    explicit ColumnConfigDlg(int mask, QWidget* parent = nullptr);

    QCheckBox* box(int column) const { return m_boxes.value(column - 1); }

public slots:
    void updateSA();
    void updateSN();
    void updateFlags();

private:
    QVector<QCheckBox*> m_boxes;
};

} // namespace IVCurve
