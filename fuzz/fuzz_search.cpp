// libFuzzer target: the word search's test of a report's XML. Most documents are judged by a quick
// look at their bytes before any parse; that look may only ever pass a document on to the parse,
// never miss a text that holds the phrase. The oracle is the parse alone, written out here: the
// whole text of each element tested, nothing found in a document the report reader would refuse.
#include "ContainsText.h"
#include "ReportXml.h"

#include <QRegExp>
#include <QXmlStreamReader>

namespace {
bool parsedContains(const QByteArray& xml, const QString& pattern, bool caseSensitive)
{
    // "*phrase*" is a substring test (full case folding), other masks the wildcard match.
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const QRegExp mask(pattern, cs, QRegExp::Wildcard);
    const QString inner = pattern.mid(1, pattern.size() - 2);
    const bool plain = !inner.contains(QRegExp(QStringLiteral("[*?\\[\\]]")));
    const auto holds
        = [&](const QString& text) { return plain ? text.contains(inner, cs) : mask.exactMatch(text); };
    QXmlStreamReader reader(xml);
    QString text;
    int depth = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::Characters) {
            if (text.size() + reader.text().size() > MaxSearchedTextLength)
                return false;
            text.append(reader.text());
            continue;
        }
        if (!text.isEmpty()) {
            if (holds(text))
                return true;
            text.clear();
        }
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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray xml = QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    // Phrases in ASCII and beyond, with letters that fold across the two, and one general mask.
    static const char* const phrases[] = { "*solar*", "*KELVIN*", "*class*",
        "*Gr\xc3\xb6\xc3\x9f"
        "e*",
        "*inverter 7*", "*a?c*" };
    for (const char* phrase : phrases) {
        const QString pattern = QString::fromUtf8(phrase);
        for (const bool caseSensitive : { false, true }) {
            if (xmlContainsText(xml, pattern, caseSensitive) != parsedContains(xml, pattern, caseSensitive))
                __builtin_trap();
        }
    }
    return 0;
}
