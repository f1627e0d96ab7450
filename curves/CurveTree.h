#pragma once

#include <QTreeView>

namespace IVCurve {

// The tree of folders and strings of a curve document. Which columns show is the user's
// choice (right click on the header), kept in the settings.
class CurveTree : public QTreeView
{
    Q_OBJECT
public:
    explicit CurveTree(QWidget* parent = nullptr);

    int columnMask() const { return m_columnMask; }
    void setColumnMask(int mask);
    void applyColumnMask();

public slots:
    void slotHeaderMenu(const QPoint& position);

signals:
    void columnMaskChanged(int mask);

protected:
    void showEvent(QShowEvent* event) override;

private:
    int m_columnMask;
    bool m_shownBefore = false;
};

} // namespace IVCurve
