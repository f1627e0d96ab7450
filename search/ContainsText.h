#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <memory>

// Does a report hold the text? Only inspection reports, array test reports and verification
// certificates qualify (by extension). The file is read with the report container reader, so its
// limits apply; an unreadable or damaged file does not match. The pattern is a wildcard mask tested
// against the whole text of each element ("*word*" finds word anywhere in it); attribute values are
// not searched, and the scan ends at the first hit. XML the report reader would refuse (a DTD,
// nesting deeper than its limit) does not match. cancel, when set, ends the scan as a miss.
bool containsText(const QString& pattern, bool caseSensitive, const QString& path,
    const std::atomic_bool* cancel = nullptr);

// The element-text half of containsText, on a report's XML.
bool xmlContainsText(const QByteArray& xml, const QString& pattern, bool caseSensitive,
    const std::atomic_bool* cancel = nullptr);

// The test of containsText with its mask made ready once, for the report after report of one
// search.
class ReportTextTest
{
public:
    ReportTextTest(const QString& pattern, bool caseSensitive);
    ~ReportTextTest();
    ReportTextTest(const ReportTextTest&) = delete;
    ReportTextTest& operator=(const ReportTextTest&) = delete;

    bool inReport(const QString& path, const std::atomic_bool* cancel = nullptr) const;
    bool inXml(const QByteArray& xml, const std::atomic_bool* cancel = nullptr) const;
    // The same answer reached without the quick look at the bytes that spares most documents
    // their parse: every document is parsed. What the fuzzer checks that quick look against.
    bool inXmlByParsing(const QByteArray& xml) const;

private:
    class Mask;
    std::unique_ptr<const Mask> m_mask;
};

// A text node longer than this (in characters) is damage, not a form field: the file does not match.
constexpr int MaxSearchedTextLength = 16 * 1024 * 1024;
