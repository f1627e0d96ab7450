#include "ContainsText.h"

#include "DocumentContainer.h"
#include "DocumentType.h"
#include "ReportXml.h"

#include <QRegExp>
#include <QXmlStreamReader>
#include <algorithm>

namespace {
// True when the XML is certainly UTF-8: no byte-order mark or zero byte of UTF-16 or UTF-32 at its
// start, and an XML declaration, if any, that names no other encoding.
bool declaresUtf8(const QByteArray& xml)
{
    if (xml.size() < 2 || xml.at(0) == 0 || xml.at(1) == 0 || uchar(xml.at(0)) >= 0xFE)
        return false;
    if (!xml.startsWith("<?xml"))
        return true;
    const int end = xml.indexOf("?>");
    const QByteArray declaration = xml.left(end < 0 ? 200 : end).toLower();
    const int encoding = declaration.indexOf("encoding");
    if (encoding < 0)
        return true;
    QByteArray value = declaration.mid(encoding + 8).trimmed();
    if (!value.startsWith('='))
        return false;
    value = value.mid(1).trimmed();
    return value.startsWith("\"utf-8\"") || value.startsWith("'utf-8'");
}

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
                m_literalUtf8 = inner.toUtf8();
                m_ascii
                    = std::all_of(inner.cbegin(), inner.cend(), [](QChar c) { return c.unicode() < 0x80; });
                m_literalLowerAscii = m_ascii ? m_literalUtf8.toLower() : QByteArray();
                return;
            }
        }
        m_regExp = QRegExp(pattern, m_case, QRegExp::Wildcard);
    }

    bool operator()(const QString& text) const
    {
        return m_plain ? text.contains(m_literal, m_case) : m_regExp.exactMatch(text);
    }

    // False only when no text of the document can hold the phrase, judged without parsing: when
    // the XML is UTF-8 and has no references (&...;), CDATA sections or carriage returns, every
    // text is a run of the document's own characters, so a text holding the phrase means the
    // whole document holds it. Most reports do not hold it, and this spares them the parse.
    bool mayMatch(const QByteArray& xml) const
    {
        if (!m_plain)
            return true;
        // One pass tells whether the document has references or carriage returns, and whether it
        // holds one of the few characters outside ASCII that fold to ASCII letters (Kelvin sign,
        // long s, capital I with dot).
        bool foldsToAscii = false;
        const int size = xml.size();
        const uchar* bytes = reinterpret_cast<const uchar*>(xml.constData());
        for (int i = 0; i < size; ++i) {
            const uchar c = bytes[i];
            if (c < 0x80) {
                if (c == '&' || c == '\r')
                    return true;
                continue;
            }
            if ((c == 0xE2 && i + 2 < size && bytes[i + 1] == 0x84 && bytes[i + 2] == 0xAA)
                || (c == 0xC5 && i + 1 < size && bytes[i + 1] == 0xBF)
                || (c == 0xC4 && i + 1 < size && bytes[i + 1] == 0xB0))
                foldsToAscii = true;
        }
        if (xml.contains("<![CDATA[") || !declaresUtf8(xml))
            return true;
        // In UTF-8 the bytes of a phrase occur exactly where its characters do.
        if (m_case == Qt::CaseSensitive && !m_literal.contains(QChar::ReplacementCharacter))
            return xml.contains(m_literalUtf8);
        // An ASCII phrase ignoring case can be looked for in the bytes with their ASCII letters
        // lowered, unless another character could stand for one of its letters.
        if (m_ascii && !foldsToAscii)
            return xml.toLower().contains(m_literalLowerAscii);
        return QString::fromUtf8(xml).contains(m_literal, m_case);
    }

private:
    Qt::CaseSensitivity m_case;
    bool m_plain = false;
    QString m_literal;
    QByteArray m_literalUtf8;
    bool m_ascii = false;
    QByteArray m_literalLowerAscii;
    QRegExp m_regExp;
};
} // namespace

bool xmlContainsText(
    const QByteArray& xml, const QString& pattern, bool caseSensitive, const std::atomic_bool* cancel)
{
    const TextTest test(pattern, caseSensitive);
    if (!test.mayMatch(xml))
        return false;
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
