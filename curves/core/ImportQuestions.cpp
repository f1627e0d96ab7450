#include "ImportQuestions.h"

namespace IVCurve {

ImportQuestions::~ImportQuestions() = default;

bool ImportQuestions::checksumFailed(int)
{
    return false;
}

bool ImportQuestions::stopAtDuplicateTime(int)
{
    return false;
}

ImportQuestions::Replace ImportQuestions::replaceValue(Value, const QString&)
{
    return Replace::No;
}

} // namespace IVCurve
