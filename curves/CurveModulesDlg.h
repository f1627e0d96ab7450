#pragma once

#include <QDialog>

class QTableWidget;

namespace IVCurve {

// Manages the module library: lists every module and adds, edits, copies and deletes them, and
// imports published module lists.
class CurveModulesDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CurveModulesDlg(QWidget* parent = nullptr);

    QTableWidget* table() const { return m_table; }

public slots:
    void clickAdd();
    void clickEdit();
    void clickCopy();
    void clickDelete();
    // Adds or updates modules from a published module list the user picks.
    void clickImport();
    void dblclickModules(int row, int col);

private:
    void fill();
    void editRow(int row);
    void putRow(int row, uint id, const QString& description);

    QTableWidget* m_table;
};

} // namespace IVCurve
