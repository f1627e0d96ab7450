#pragma once

#include "ContainsText.h"
#include "SearchCriteria.h"

#include <QRegExp>
#include <atomic>
#include <memory>

class QFileInfo;

// The test of one file or folder against a search's criteria. Holds compiled patterns, so one
// matcher belongs to one thread.
class EntryMatcher
{
public:
    explicit EntryMatcher(const SearchCriteria& criteria);

    // cancel, when given, lets a long content test end early (the entry then does not match).
    bool matches(const QFileInfo& entry, const std::atomic_bool* cancel = nullptr) const;

    bool matchesName(const QString& fileName) const;
    bool matchesDate(const QFileInfo& entry) const;
    bool matchesSize(const QFileInfo& entry) const;

private:
    SearchCriteria m_criteria;
    QRegExp m_name;
    // The word test, made ready once; none without a word or phrase.
    std::unique_ptr<const ReportTextTest> m_words;
};
