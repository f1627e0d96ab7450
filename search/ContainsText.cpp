#include "ContainsText.h"

#include "DocumentContainer.h"
#include "DocumentType.h"
#include "ReportXml.h"
#include "SearchCriteria.h"

#include <QRegExp>
#include <QXmlStreamReader>
#include <algorithm>
#include <cstring>
#include <string>

namespace {
bool holds(const char* data, size_t size, const QByteArray& bytes)
{
    return memmem(data, size, bytes.constData(), size_t(bytes.size())) != nullptr;
}

template <size_t N> bool holds(const char* data, size_t size, const char (&bytes)[N])
{
    return memmem(data, size, bytes, N - 1) != nullptr;
}

// Does UTF-8 text hold one of the characters outside ASCII whose case folding is an ASCII letter:
// the Kelvin sign (E2 84 AA), long s (C5 BF) or capital I with dot (C4 B0)? Lead bytes are found with
// memchr, which is many times faster than memmem on such short needles.
bool holdsAsciiFolding(const char* data, size_t size)
{
    const auto follows = [&](const char* lead, const char* tail, size_t length) {
        const char* end = data + size;
        for (const char* at = data; (at = static_cast<const char*>(std::memchr(at, *lead, size_t(end - at))));
             ++at) {
            if (size_t(end - at) > length && std::memcmp(at + 1, tail, length) == 0)
                return true;
        }
        return false;
    };
    return follows("\xE2", "\x84\xAA", 2) || follows("\xC5", "\xBF", 1) || follows("\xC4", "\xB0", 1);
}

// The bytes with their ASCII capitals lowered, eight at a time: in each byte below 0x80, adding
// 0x80 - 'A' sets the top bit from 'A' up and adding 0x80 - 'Z' - 1 sets it past 'Z'; a capital
// gets 0x20 added. Other bytes, UTF-8 sequences included, are left alone.
std::string asciiLowered(const char* data, size_t size)
{
    std::string lowered(size, '\0');
    constexpr quint64 Ones = 0x0101010101010101ull;
    constexpr quint64 Tops = Ones * 0x80;
    size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, data + i, 8);
        const quint64 low = word & ~Tops;
        const quint64 capitals
            = (low + (0x80 - 'A') * Ones) & ~(low + (0x80 - 'Z' - 1) * Ones) & ~word & Tops;
        word |= capitals >> 2;
        std::memcpy(&lowered[i], &word, 8);
    }
    for (; i < size; ++i) {
        const uchar c = uchar(data[i]);
        lowered[i] = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    return lowered;
}

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

} // namespace

// The wildcard test of one text. "*phrase*" without other wildcards, what every typed word
// becomes, is a plain substring search, which is much cheaper than the general pattern.
class ReportTextTest::Mask
{
public:
    Mask(const QString& pattern, bool caseSensitive)
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
        m_regExp = SearchCriteria::maskExpression(pattern, m_case);
    }

    bool operator()(const QString& text) const
    {
        return m_plain ? text.contains(m_literal, m_case) : m_regExp.exactMatch(text);
    }

    // False only when no text of the document can hold the phrase, judged without parsing: when
    // the XML is UTF-8 and has no references (&...;), CDATA sections or carriage returns, every
    // text is a run of the document's own characters, so a text holding the phrase means the
    // whole document holds it. Most reports do not hold it, and this spares them the parse. Each
    // test is a library scan of the bytes (memchr, memmem), which is what makes this cheap.
    bool mayMatch(const QByteArray& xml) const
    {
        if (!m_plain)
            return true;
        const char* data = xml.constData();
        const size_t size = size_t(xml.size());
        if (std::memchr(data, '&', size) || std::memchr(data, '\r', size) || holds(data, size, "<![CDATA[")
            || !declaresUtf8(xml))
            return true;
        // In UTF-8 the bytes of a phrase occur exactly where its characters do.
        if (m_case == Qt::CaseSensitive && !m_literal.contains(QChar::ReplacementCharacter))
            return holds(data, size, m_literalUtf8);
        // An ASCII phrase ignoring case can be looked for in the bytes with their ASCII letters
        // lowered, unless the document holds one of the few characters outside ASCII that fold to
        // ASCII letters.
        if (m_ascii && !holdsAsciiFolding(data, size))
            return holds(asciiLowered(data, size).data(), size, m_literalLowerAscii);
        // The whole array: fromUtf8 of a QByteArray would stop at a zero byte.
        return QString::fromUtf8(xml.constData(), xml.size()).contains(m_literal, m_case);
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

namespace {
// The parse: does the whole text of any element pass the test?
template <typename Test>
bool anyTextPasses(const QByteArray& xml, const Test& test, const std::atomic_bool* cancel)
{
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
} // namespace

ReportTextTest::ReportTextTest(const QString& pattern, bool caseSensitive)
    : m_mask(std::make_unique<const Mask>(pattern, caseSensitive))
{ }

ReportTextTest::~ReportTextTest() = default;

bool ReportTextTest::inXml(const QByteArray& xml, const std::atomic_bool* cancel) const
{
    return m_mask->mayMatch(xml) && anyTextPasses(xml, *m_mask, cancel);
}

bool ReportTextTest::inXmlByParsing(const QByteArray& xml) const
{
    return anyTextPasses(xml, *m_mask, nullptr);
}

bool ReportTextTest::inReport(const QString& path, const std::atomic_bool* cancel) const
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
    return inXml(container.at(0).data, cancel);
}

bool xmlContainsText(
    const QByteArray& xml, const QString& pattern, bool caseSensitive, const std::atomic_bool* cancel)
{
    return ReportTextTest(pattern, caseSensitive).inXml(xml, cancel);
}

bool containsText(
    const QString& pattern, bool caseSensitive, const QString& path, const std::atomic_bool* cancel)
{
    return ReportTextTest(pattern, caseSensitive).inReport(path, cancel);
}
