// libFuzzer target: the word search's test of a report's XML. Most documents are judged by a quick
// look at their bytes before any parse; that look may only ever pass a document on to the parse,
// never miss a text that holds the phrase. The oracle is the same test with every document parsed.
#include "ContainsText.h"

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
            const ReportTextTest test(pattern, caseSensitive);
            if (test.inXml(xml) != test.inXmlByParsing(xml))
                __builtin_trap();
        }
    }
    return 0;
}
