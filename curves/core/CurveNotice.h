#pragma once

#include <QString>
#include <functional>

namespace IVCurve {

// Something the curve core could not do, or wants the user to know. The core shows nothing
// itself: it hands its notices to whoever shows them (the curve window shows each as a
// message box; a program without windows may log them).
struct CurveNotice
{
    enum Kind { Information, Warning, Critical };

    CurveNotice(Kind kind = Warning, const QString& text = QString(), const QString& details = QString())
        : kind(kind)
        , text(text)
        , details(details)
    { }

    Kind kind;
    QString text;
    // What it means for the user, under the text; may be empty.
    QString details;

    bool operator==(const CurveNotice& other) const
    {
        return kind == other.kind && text == other.text && details == other.details;
    }
};

using CurveNoticeHandler = std::function<void(const CurveNotice&)>;

} // namespace IVCurve
