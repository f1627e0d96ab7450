#include "EntryMatcher.h"

#include <QDateTime>
#include <QFileInfo>

EntryMatcher::EntryMatcher(const SearchCriteria& criteria)
    : m_criteria(criteria)
    , m_name(SearchCriteria::maskExpression(
          criteria.namePattern, criteria.nameCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive))
{
    if (!criteria.wordPattern.isEmpty())
        m_words = std::make_unique<const ReportTextTest>(criteria.wordPattern, criteria.wordCaseSensitive);
}

bool EntryMatcher::matches(const QFileInfo& entry, const std::atomic_bool* cancel) const
{
    if (!matchesName(entry.fileName()))
        return false;
    if (m_criteria.dateEnabled && !matchesDate(entry))
        return false;
    if (m_criteria.sizeEnabled && !matchesSize(entry))
        return false;
    if (m_words) {
        // Cheap tests first: only report files are opened, and only when everything else holds.
        return entry.isFile() && m_words->inReport(entry.absoluteFilePath(), cancel);
    }
    return true;
}

bool EntryMatcher::matchesName(const QString& fileName) const
{
    return m_name.exactMatch(fileName);
}

bool EntryMatcher::matchesDate(const QFileInfo& entry) const
{
    QDateTime when;
    switch (m_criteria.dateKind) {
    case SearchCriteria::CreatedDate:
        // Not every file system records a birth time; the status change time stands in for it then.
        when = entry.birthTime();
        if (!when.isValid())
            when = entry.metadataChangeTime();
        break;
    case SearchCriteria::ModifiedDate:
        when = entry.lastModified();
        break;
    case SearchCriteria::AccessedDate:
        when = entry.lastRead();
        break;
    }
    if (!when.isValid())
        return false;
    const QDate day = when.date();
    return day >= m_criteria.dateFrom && day <= m_criteria.dateTo;
}

bool EntryMatcher::matchesSize(const QFileInfo& entry) const
{
    // A folder counts as empty, whatever the file system says it occupies.
    const qint64 size = entry.isDir() ? 0 : entry.size();
    const qint64 limit = m_criteria.sizeKB * 1024;
    if (m_criteria.sizeRule == SearchCriteria::GreaterThan)
        return size >= limit;
    return size <= limit;
}
