#pragma once

#include <QSpinBox>

namespace IVCurve {

// A spin box that remembers whether its value was ever set, by the user or by the program
// filling it, so that a dialog writes back only what was touched.
class CurveQSpinBox : public QSpinBox
{
    Q_OBJECT
public:
    explicit CurveQSpinBox(QWidget* parent = nullptr);
    bool isChanged() const { return m_changed; }
    void setChanged(bool changed) { m_changed = changed; }

private:
    bool m_changed = false;
};

} // namespace IVCurve
