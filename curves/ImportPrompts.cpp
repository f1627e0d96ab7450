#include "ImportPrompts.h"

#include "Brand.h"
#include "Prompts.h"

#include <QCoreApplication>

namespace IVCurve {

bool ImportPrompts::checksumFailed(int lineNumber)
{
    bool keepTelling = true;
    MessageRequest request;
    request.parent = m_parent;
    request.icon = Prompt::Warning;
    request.title = Brand::productTitle();
    request.text
        = QCoreApplication::translate("Warning Message", "Checksum failed on line number %1").arg(lineNumber);
    request.checkBoxText
        = QCoreApplication::translate("Warning Message", "Continue showing errors during this import");
    request.checkBoxChecked = &keepTelling;
    Prompts::instance().message(request);
    return keepTelling;
}

bool ImportPrompts::stopAtDuplicateTime(int)
{
    return Prompts::show(Prompt::Question, m_parent,
               QCoreApplication::translate(
                   "User prompt", "Duplicate times detected in the input file, cancel processing?"),
               QString(), Prompt::Yes | Prompt::No, Brand::productTitle())
        == Prompt::Yes;
}

ImportQuestions::Replace ImportPrompts::replaceValue(Value value, const QString& stringLabel)
{
    MessageRequest request;
    request.parent = m_parent;
    request.icon = Prompt::Question;
    request.title = Brand::productTitle();
    request.text = value == Value::Irradiance
        ? QCoreApplication::translate("User prompt", "%1 contains irradiance data, replace the data?")
              .arg(stringLabel)
        : QCoreApplication::translate("User prompt", "%1 contains temperature data, replace the data?")
              .arg(stringLabel);
    request.buttons = Prompt::Yes | Prompt::YesToAll | Prompt::No;
    request.defaultButton = Prompt::Yes;
    switch (Prompts::instance().message(request)) {
    case Prompt::YesToAll:
        return Replace::YesToAll;
    case Prompt::Yes:
        return Replace::Yes;
    default:
        return Replace::No;
    }
}

void ImportPrompts::tell(const QVector<CurveNotice>& notices) const
{
    for (const CurveNotice& notice : notices)
        show(notice, m_parent);
}

void ImportPrompts::show(const CurveNotice& notice, QWidget* parent)
{
    const PromptIcon icons[] = { Prompt::Information, Prompt::Warning, Prompt::Critical };
    Prompts::show(icons[notice.kind], parent, notice.text, notice.details, Prompt::Ok, Brand::productTitle());
}

} // namespace IVCurve
