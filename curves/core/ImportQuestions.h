#pragma once

#include <QString>

namespace IVCurve {

// The decisions an import needs from its user while it reads, at the point where it needs them.
// The importers ask these and nothing else; what they found they return. This base gives the
// answers of nobody being there (tell no more, read on, replace nothing); the curve window
// asks the user instead.
class ImportQuestions
{
public:
    enum class Value { Irradiance, Temperature };
    enum class Replace { Yes, YesToAll, No };

    virtual ~ImportQuestions();

    // A line of a tester file whose checksum does not match what it holds (the line is imported,
    // marked). Whether to tell of further failures during this import.
    virtual bool checksumFailed(int lineNumber);
    // A meter reading at a time already read. True stops reading the file: the readings before
    // it are matched.
    virtual bool stopAtDuplicateTime(int lineNumber);
    // A string that already shows a value of this kind; YesToAll replaces without asking for
    // the rest of the import.
    virtual Replace replaceValue(Value value, const QString& stringLabel);
};

} // namespace IVCurve
