#include "CurveQSpinBox.h"

namespace IVCurve {

CurveQSpinBox::CurveQSpinBox(QWidget* parent)
    : QSpinBox(parent)
{
    connect(this, QOverload<int>::of(&QSpinBox::valueChanged), this, [this] { m_changed = true; });
}

} // namespace IVCurve
