#include "ContainsText.h"

#include "DocumentContainer.h"
#include "DocumentType.h"
#include "ReportXml.h"

#include <QRegExp>
#include <QXmlStreamReader>
#include <algorithm>

namespace {
// The wildcard test of one text. "*phrase*" without other wildcards, what every typed word
// becomes, is a plain substring search, which is much cheaper than the general pattern.
class TextTest
{
public:
    TextTest(const QString& pattern, bool caseSensitive)
        : m_case(caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive)
    {
        if (pattern.size() >= 2 && pattern.startsWith(QLatin1Char('*'))
            && pattern.endsWith(QLatin1Char('*'))) {
            const QString inner = pattern.mid(1, pattern.size() - 2);
            const bool plain = std::none_of(inner.cbegin(), inner.cend(), [](QChar c) {
                return c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('[')
                    || c == QLatin1Char(']');
            });
            if (plain) {
                m_literal = inner;
                m_plain = true;
                return;
            }
        }
        m_regExp = QRegExp(pattern, m_case, QRegExp::Wildcard);
    }

    bool operator()(const QString& text) const
    {
        return m_plain ? text.contains(m_literal, m_case) : m_regExp.exactMatch(text);
    }

private:
    Qt::CaseSensitivity m_case;
    bool m_plain = false;
    QString m_literal;
    QRegExp m_regExp;
};
} // namespace

bool xmlContainsText(
    const QByteArray& xml, const QString& pattern, bool caseSensitive, const std::atomic_bool* cancel)
{
    const TextTest test(pattern, caseSensitive);
    QXmlStreamReader reader(xml);
    // One text node may arrive in several pieces (character data and CDATA sections); it is
    // tested whole, when the next markup ends it.
    QString text;
    int depth = 0;
    while (!reader.atEnd()) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return false;
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::Characters) {
            if (text.size() + reader.text().size() > MaxSearchedTextLength)
                return false;
            text.append(reader.text());
            continue;
        }
        if (!text.isEmpty()) {
            if (test(text))
                return true;
            text.clear();
        }
        // What the report reader refuses to open cannot match either: a DTD, or nesting deeper
        // than any form has.
        if (token == QXmlStreamReader::Invalid || token == QXmlStreamReader::DTD)
            return false;
        if (token == QXmlStreamReader::StartElement && ++depth > ReportXml::MaxDepth)
            return false;
        if (token == QXmlStreamReader::EndElement)
            --depth;
    }
    return false;
}

bool containsText(
    const QString& pattern, bool caseSensitive, const QString& path, const std::atomic_bool* cancel)
{
    switch (documentType(path)) {
    case InspectionReport:
    case ArrayTestReport:
    case VerificationCertificate:
        break;
    default:
        return false;
    }
    DocumentContainer container;
    if (!container.load(path) || container.count() == 0)
        return false;
    return xmlContainsText(container.at(0).data, pattern, caseSensitive, cancel);
}
