#pragma once

#include "CurveNotice.h"
#include "ImportQuestions.h"

#include <QVector>

class QWidget;

namespace IVCurve {

// The curve imports' questions, asked of the user through the prompts seam over a window, and
// the notices of the curve core shown as message boxes.
class ImportPrompts : public ImportQuestions
{
public:
    explicit ImportPrompts(QWidget* parent)
        : m_parent(parent)
    { }

    bool checksumFailed(int lineNumber) override;
    bool stopAtDuplicateTime(int lineNumber) override;
    Replace replaceValue(Value value, const QString& stringLabel) override;

    // Shows each notice, in order, over the window.
    void tell(const QVector<CurveNotice>& notices) const;
    // Shows a notice over the main window.
    static void show(const CurveNotice& notice, QWidget* parent = nullptr);

private:
    QWidget* m_parent;
};

} // namespace IVCurve
