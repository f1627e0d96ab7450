#include "ContainerTestSupport.h"
#include "ContainsText.h"
#include "EntryMatcher.h"
#include "FolderWalk.h"
#include "SearchThread.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

using namespace ReportTestSupport;

// The rules that decide whether a file is a hit, the report content test and the folder walk,
// without any window.
class TestMatching : public QObject
{
    Q_OBJECT
private slots:
    void masksWrapTheTypedText();
    void namesMatchAsFileMasks_data();
    void namesMatchAsFileMasks();
    void sizeLimitPassesBothRules();
    void dateRangeIncludesBothDays();
    void elementTextIsFoundAttributesAreNot();
    void onlyTheThreeReportKindsAreSearched();
    void textNodesAreTestedWhole();
    void asciiCaseIsIgnoredWhereverThePhraseFalls();
    void damagedOrHostileReportsDoNotMatch();
    void cancelEndsTheScan();
    void walkOrderLinksAndHiddenEntries();
    void walkSkipsUnreadableFolders();
    void walkStopsWhenAsked();
    void threadHandsOverEveryHitInOrder();
    void threadStoppedBeforeStartFindsNothing();

private:
    static void makeFile(const QString& path, qint64 size = 1);
    static QString report(const QString& folder, const QString& name, const QByteArray& xml);
};

void TestMatching::makeFile(const QString& path, qint64 size)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(QByteArray(int(size), 'x')) == size);
}

QString TestMatching::report(const QString& folder, const QString& name, const QByteArray& xml)
{
    const QString path = folder + QLatin1Char('/') + name;
    if (!writeFile(path, handMadeContainer({ { "xml", xml } })))
        return QString();
    return path;
}

void TestMatching::masksWrapTheTypedText()
{
    QCOMPARE(SearchCriteria::nameMask(""), QString("*"));
    QCOMPARE(SearchCriteria::nameMask("*"), QString("*"));
    QCOMPARE(SearchCriteria::nameMask("site"), QString("*site*"));
    QCOMPARE(SearchCriteria::nameMask("*.kstir"), QString("*.kstir*"));
    QCOMPARE(SearchCriteria::nameMask("Site*"), QString("*Site*"));
    QCOMPARE(SearchCriteria::wordMask(""), QString());
    QCOMPARE(SearchCriteria::wordMask("Green Field"), QString("*Green Field*"));
    QCOMPARE(SearchCriteria::wordMask("*Field"), QString("*Field*"));
}

void TestMatching::namesMatchAsFileMasks_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("hit");

    QTest::newRow("empty lists everything") << "" << false << "anything.bin" << true;
    QTest::newRow("cert in a certificate") << "cert" << false << "Verification Certificate.kstvc" << true;
    QTest::newRow("cert in a folder name") << "cert" << false << "Certs" << true;
    QTest::newRow("case sensitive refuses") << "cert" << true << "Certs" << false;
    QTest::newRow("case sensitive accepts") << "Cert" << true << "Certs" << true;
    QTest::newRow("not contained") << "cert" << false << "Array Test Report.kstatr" << false;
    QTest::newRow("question mark is one character") << "site?.k" << false << "Site1.kstir" << true;
    QTest::newRow("question mark needs a character") << "site?.k" << false << "Site.kstir" << false;
    QTest::newRow("star inside") << "roof*east" << false << "Roof - south east.pdf" << true;
    QTest::newRow("bracket set hit") << "[AB]-" << false << "b-1.csv" << true;
    QTest::newRow("bracket set miss") << "[AB]-" << false << "c-1.csv" << false;
    QTest::newRow("dot is literal") << "a.b" << false << "axb" << false;
    QTest::newRow("suffix with star") << "*.kstir" << false << "Site A.kstir" << true;
    QTest::newRow("suffix is inside too") << "*.pdf" << false << "Site A.kstir" << false;
    // Brackets that form no set, and backslashes, are part of the name.
    QTest::newRow("bracket that opens no set") << "[draft" << false << "Site [draft.kstir" << true;
    QTest::newRow("bracket that opens no set misses") << "[draft" << false << "Site draft.kstir" << false;
    QTest::newRow("bracket that closes no set") << "old]" << false << "Site (old].pdf" << true;
    QTest::newRow("empty brackets") << "[]" << false << "list[].txt" << true;
    QTest::newRow("empty brackets are not a set") << "[]" << false << "list.txt" << false;
    QTest::newRow("backslash") << "back\\slash" << false << "back\\slash.txt" << true;
    QTest::newRow("backslash is no wildcard") << "back\\slash" << false << "backslash.txt" << false;
    QTest::newRow("backslash beside a set") << "c:\\[rs]ite" << false << "C:\\Site.csv" << true;
    QTest::newRow("backslash in a set") << "a[\\/]b" << false << "a\\b" << true;
    QTest::newRow("set after a lone bracket") << "[x [ab]" << false << "[x b" << true;
}

void TestMatching::namesMatchAsFileMasks()
{
    QFETCH(QString, typed);
    QFETCH(bool, caseSensitive);
    QFETCH(QString, fileName);
    QFETCH(bool, hit);
    SearchCriteria criteria;
    criteria.namePattern = SearchCriteria::nameMask(typed);
    criteria.nameCaseSensitive = caseSensitive;
    QCOMPARE(EntryMatcher(criteria).matchesName(fileName), hit);
}

void TestMatching::sizeLimitPassesBothRules()
{
    QTemporaryDir dir;
    const QString exact = dir.filePath("exact.bin");
    const QString above = dir.filePath("above.bin");
    const QString below = dir.filePath("below.bin");
    makeFile(exact, 10240);
    makeFile(above, 10241);
    makeFile(below, 10239);
    QVERIFY(QDir(dir.path()).mkdir("folder"));

    SearchCriteria criteria;
    criteria.sizeEnabled = true;
    criteria.sizeKB = 10;
    criteria.sizeRule = SearchCriteria::GreaterThan;
    EntryMatcher greater(criteria);
    criteria.sizeRule = SearchCriteria::LessThan;
    EntryMatcher less(criteria);

    QVERIFY(greater.matches(QFileInfo(exact)));
    QVERIFY(less.matches(QFileInfo(exact)));
    QVERIFY(greater.matches(QFileInfo(above)));
    QVERIFY(!less.matches(QFileInfo(above)));
    QVERIFY(!greater.matches(QFileInfo(below)));
    QVERIFY(less.matches(QFileInfo(below)));
    // A folder counts as empty, whatever its directory blocks take on disk.
    QVERIFY(!greater.matches(QFileInfo(dir.filePath("folder"))));
    QVERIFY(less.matches(QFileInfo(dir.filePath("folder"))));
    criteria.sizeRule = SearchCriteria::GreaterThan;
    criteria.sizeKB = 0;
    QVERIFY(EntryMatcher(criteria).matches(QFileInfo(dir.filePath("folder"))));
}

void TestMatching::dateRangeIncludesBothDays()
{
    QTemporaryDir dir;
    const QDate from(2024, 3, 10);
    const QDate to(2024, 3, 12);
    const auto stamped = [&](const QString& name, const QDateTime& modified, const QDateTime& read) {
        const QString path = dir.filePath(name);
        makeFile(path);
        QFile file(path);
        if (!file.open(QIODevice::ReadWrite) || !file.setFileTime(modified, QFileDevice::FileModificationTime)
            || !file.setFileTime(read, QFileDevice::FileAccessTime))
            return QFileInfo();
        file.close();
        return QFileInfo(path);
    };
    const QDateTime middle(QDate(2024, 3, 11), QTime(12, 0));
    const QFileInfo firstDay = stamped("first.txt", QDateTime(from, QTime(0, 0, 1)), middle);
    const QFileInfo lastDay = stamped("last.txt", QDateTime(to, QTime(23, 59, 30)), middle);
    const QFileInfo before = stamped("before.txt", QDateTime(from.addDays(-1), QTime(23, 59, 59)), middle);
    const QFileInfo after = stamped("after.txt", QDateTime(to.addDays(1), QTime(0, 0, 1)), middle);
    const QFileInfo readLate = stamped("late.txt", middle, QDateTime(to.addDays(5), QTime(10, 0)));

    SearchCriteria criteria;
    criteria.dateEnabled = true;
    criteria.dateFrom = from;
    criteria.dateTo = to;
    criteria.dateKind = SearchCriteria::ModifiedDate;
    const EntryMatcher modified(criteria);
    QVERIFY(modified.matches(firstDay));
    QVERIFY(modified.matches(lastDay));
    QVERIFY(!modified.matches(before));
    QVERIFY(!modified.matches(after));
    QVERIFY(modified.matches(readLate));

    criteria.dateKind = SearchCriteria::AccessedDate;
    const EntryMatcher accessed(criteria);
    QVERIFY(accessed.matches(before));
    QVERIFY(!accessed.matches(readLate));

    // A file made now was created today, not in 2024.
    criteria.dateKind = SearchCriteria::CreatedDate;
    QVERIFY(!EntryMatcher(criteria).matches(firstDay));
    criteria.dateFrom = criteria.dateTo = QDate::currentDate();
    QVERIFY(EntryMatcher(criteria).matches(firstDay));

    // A range given backwards holds no day.
    criteria.dateKind = SearchCriteria::ModifiedDate;
    criteria.dateFrom = to;
    criteria.dateTo = from;
    QVERIFY(!EntryMatcher(criteria).matches(QFileInfo(dir.filePath("first.txt"))));
}

void TestMatching::elementTextIsFoundAttributesAreNot()
{
    QTemporaryDir dir;
    const QString path = report(dir.path(), "Farm.kstvc",
        "<document resPak=\":res/reports/kstvc.pak\"><page id=\"page1\">"
        "<text id=\"client\" note=\"Green Meadow\">Owner: Green Field Farm</text>"
        "<checkBox id=\"c1\" checked=\"true\"/></page></document>");
    QVERIFY(!path.isEmpty());
    QVERIFY(containsText("*Field Farm*", false, path));
    QVERIFY(containsText("*field farm*", false, path));
    QVERIFY(!containsText("*field farm*", true, path));
    QVERIFY(!containsText("*Green Meadow*", false, path));
    QVERIFY(!containsText("*kstvc.pak*", false, path));
    QVERIFY(!containsText("*Orchard*", false, path));
    // The pattern is tested against the whole text: without stars only the exact text matches.
    QVERIFY(!containsText("Green Field", false, path));
    QVERIFY(containsText("Owner: Green Field Farm", true, path));
    // Wildcards inside the phrase.
    QVERIFY(containsText("*Green*Farm*", false, path));
    QVERIFY(containsText("*F?eld*", false, path));
    QVERIFY(containsText("*[GH]reen Field*", true, path));
    QVERIFY(!containsText("*[HJ]reen Field*", true, path));

    // Through the match rules, as the search applies them.
    SearchCriteria criteria;
    criteria.wordPattern = SearchCriteria::wordMask("green field");
    QVERIFY(EntryMatcher(criteria).matches(QFileInfo(path)));
    criteria.wordPattern = SearchCriteria::wordMask("green meadow");
    QVERIFY(!EntryMatcher(criteria).matches(QFileInfo(path)));
}

void TestMatching::onlyTheThreeReportKindsAreSearched()
{
    QTemporaryDir dir;
    const QByteArray xml(
        "<document><page id=\"page1\"><text id=\"t\">Inverter serial KX-100</text></page></document>");
    for (const char* name : { "a.kstir", "b.kstatr", "c.kstvc", "d.KSTIR" })
        QVERIFY2(containsText("*KX-100*", false, report(dir.path(), name, xml)), name);
    for (const char* name : { "e.kstchk", "f.kstreport", "g.kstid", "h.txt", "KX-100" })
        QVERIFY2(!containsText("*KX-100*", false, report(dir.path(), name, xml)), name);
    // Plain XML under a report's name is not a report.
    makeFile(dir.filePath("plain.kstir"));
    QFile plain(dir.filePath("plain.kstir"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write(xml);
    plain.close();
    QVERIFY(!containsText("*KX-100*", false, plain.fileName()));
    // Only the document's XML is searched, not the pictures stored after it.
    const QString withPicture = dir.filePath("pictures.kstir");
    QVERIFY(writeFile(withPicture,
        handMadeContainer({ { "xml", "<document><text>nothing here</text></document>" },
            { "1", "<svg><text>KX-100</text></svg>" } })));
    QVERIFY(!containsText("*KX-100*", false, withPicture));
}

void TestMatching::textNodesAreTestedWhole()
{
    const auto found = [](const char* xml, const char* pattern) {
        return xmlContainsText(QByteArray(xml), QString::fromUtf8(pattern), false);
    };
    QVERIFY(found("<d><t>Smith &amp; Sons</t></d>", "*Smith & Sons*"));
    QVERIFY(found("<d><t>Solar <![CDATA[Farm]]> Ltd</t></d>", "*Solar Farm Ltd*"));
    QVERIFY(found("<d><t>Line one\nLine two</t></d>", "*one*two*"));
    QVERIFY(found("<d><t>&#x53;&#x6f;lar</t></d>", "*solar*"));
    QVERIFY(found("<d><t>Größe 10 m²</t></d>", "*GRÖßE*"));
    QVERIFY(found("<d><t>Größe 10 m²</t></d>", "*10 m²*"));
    // Documents the quick look cannot judge are parsed: other encodings, line ends, references.
    QVERIFY(xmlContainsText(QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><d><t>Gr\xf6\xdf"
                                       "e</t></d>"),
        QString::fromUtf8("*größe*"), false));
    QVERIFY(xmlContainsText(QByteArray("<?xml version='1.0' encoding = 'utf-8'?><d><t>Gr\xc3\xb6\xc3\x9f"
                                       "e</t></d>"),
        QString::fromUtf8("*GRÖßE*"), false));
    const QString utf16 = QString::fromUtf8("<d><t>Größe</t></d>");
    QByteArray utf16Bytes("\xff\xfe");
    utf16Bytes.append(reinterpret_cast<const char*>(utf16.utf16()), utf16.size() * 2);
    QVERIFY(xmlContainsText(utf16Bytes, QString::fromUtf8("*größe*"), false));
    QVERIFY(found("<d><t>one\r\ntwo</t></d>", "*one\ntwo*"));
    QVERIFY(found("<d><t>&#x47;reen</t></d>", "*green*"));
    QVERIFY(!found("<d><t>Green</t><u>Field</u></d>", "*green field*"));
    // The quick look and the parse agree on characters that fold to ASCII letters.
    for (const char* text : { "5 \xe2\x84\xaa"
                              "elvin",
             "Cla\xc5\xbf"
             "s",
             "\xc4\xb0"
             "nverter" }) {
        for (const char* phrase : { "kelvin", "class", "inverter" }) {
            const QString whole = QString::fromUtf8(text);
            const bool expected = whole.contains(QLatin1String(phrase), Qt::CaseInsensitive);
            const QByteArray xml = QByteArray("<d><t>") + text + "</t></d>";
            QCOMPARE(found(xml.constData(), (QByteArray("*") + phrase + "*").constData()), expected);
        }
    }
    // Case-sensitive phrases outside ASCII.
    QVERIFY(found("<d><t>Prüfung bestanden</t></d>", "*Prüfung*"));
    QVERIFY(xmlContainsText("<d><t>Prüfung bestanden</t></d>", QString::fromUtf8("*Prüfung*"), true));
    QVERIFY(!xmlContainsText("<d><t>Prüfung bestanden</t></d>", QString::fromUtf8("*PRÜFUNG*"), true));
    // Text on both sides of a child element are two texts.
    QVERIFY(!found("<d><t>alpha<b/>beta</t></d>", "*alphabeta*"));
    QVERIFY(found("<d><t>alpha<b/>beta</t></d>", "*beta*"));
    // Comments and processing instructions are not text.
    QVERIFY(!found("<d><!-- secret --><?pi secret?></d>", "*secret*"));
    QVERIFY(!found("<d secret=\"secret\"/>", "*secret*"));
    // Brackets that form no set, and backslashes, are searched for as they are.
    QVERIFY(found("<d><t>Rev. [draft 2</t></d>", "*[draft*"));
    QVERIFY(found("<d><t>Rev. draft 2] of 3</t></d>", "*draft 2]*"));
    QVERIFY(!found("<d><t>Rev. draft 2 of 3</t></d>", "*draft 2]*"));
    QVERIFY(found("<d><t>see C:\\Reports\\2024</t></d>", "*c:\\rep?rts*"));
    QVERIFY(found("<d><t>see C:\\Reports\\2024</t></d>", "*[bc]:\\reports*"));
}

void TestMatching::asciiCaseIsIgnoredWhereverThePhraseFalls()
{
    // The quick look lowers the document's letters eight bytes at a time: a phrase in capitals,
    // in small letters or mixed must be found at every offset, across those eight-byte steps and
    // in the bytes left over at the end, beside characters outside ASCII.
    const QStringList writings
        = { QStringLiteral("AZURE ZEBRA"), QStringLiteral("azure zebra"), QStringLiteral("AzUrE zEbRa") };
    for (int offset = 0; offset < 19; ++offset) {
        for (const QString& writing : writings) {
            const QByteArray text = QByteArray(offset, 'x') + writing.toUtf8();
            for (const QByteArray& xml : { QByteArray("<d>" + text + "</d>"),
                     QByteArray("<d><t>\xc3\x84" + text + "\xc3\x96</t></d>") }) {
                for (const char* phrase : { "*azure zebra*", "*AZURE ZEBRA*", "*Azure Zebra*" }) {
                    QVERIFY2(xmlContainsText(xml, QLatin1String(phrase), false), xml.constData());
                    QCOMPARE(xmlContainsText(xml, QLatin1String(phrase), true),
                        writing.contains(QLatin1String(phrase).mid(1, 11)));
                }
            }
        }
    }
    // A zero byte ahead of the text (the reader lets one pass in a name) must not end the look.
    const QByteArray withZero("<d><u a\x0b\0\0\0=\"x\">KELVIN \xe2\x84\xaa</u></d>", 34);
    QVERIFY(xmlContainsText(withZero, QStringLiteral("*kelvin*"), false));
    // The characters next to the alphabet's ends ('@' before 'A', '^' after 'Z') are not letters.
    QVERIFY(!xmlContainsText("<d><t>x@^x</t></d>", QStringLiteral("*x`~x*"), false));
    QVERIFY(xmlContainsText("<d><t>x@^x</t></d>", QStringLiteral("*X@^X*"), false));
}

void TestMatching::damagedOrHostileReportsDoNotMatch()
{
    QTemporaryDir dir;
    const QByteArray good("<document><text>needle</text></document>");
    QVERIFY(containsText("*needle*", false, report(dir.path(), "good.kstir", good)));

    const QByteArray container = handMadeContainer({ { "xml", good } });
    QVERIFY(writeFile(dir.filePath("truncated.kstir"), container.left(container.size() - 5)));
    QVERIFY(!containsText("*needle*", false, dir.filePath("truncated.kstir")));
    QVERIFY(writeFile(dir.filePath("empty.kstir"), QByteArray()));
    QVERIFY(!containsText("*needle*", false, dir.filePath("empty.kstir")));
    QVERIFY(writeFile(dir.filePath("noentries.kstir"), compressWithHeader(QByteArray(), 0)));
    QVERIFY(!containsText("*needle*", false, dir.filePath("noentries.kstir")));
    // A header that promises far more than the stream can hold is refused before allocating.
    QVERIFY(writeFile(
        dir.filePath("bomb.kstir"), compressWithHeader(handMadePayload({ { "xml", good } }), 0xF0000000u)));
    QVERIFY(!containsText("*needle*", false, dir.filePath("bomb.kstir")));
    // A folder or a named pipe under a report's name: refused without waiting for a writer.
    QVERIFY(QDir(dir.path()).mkdir("folder.kstvc"));
    QVERIFY(!containsText("*needle*", false, dir.filePath("folder.kstvc")));
    QVERIFY(::mkfifo(QFile::encodeName(dir.filePath("pipe.kstatr")).constData(), 0600) == 0);
    QVERIFY(!containsText("*needle*", false, dir.filePath("pipe.kstatr")));
    QVERIFY(!containsText("*needle*", false, dir.filePath("missing.kstir")));

    // XML the report reader refuses: a DTD (entity expansion) and nesting past its limit.
    const QByteArray laughs("<?xml version=\"1.0\"?><!DOCTYPE d [<!ENTITY a \"needle\">"
                            "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]><d><t>&b;</t></d>");
    QVERIFY(!containsText("*needle*", false, report(dir.path(), "laughs.kstir", laughs)));
    QByteArray deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<a>";
    deep += "needle";
    QVERIFY(!containsText("*needle*", false, report(dir.path(), "deep.kstir", deep)));
    QByteArray shallow = "<document>" + QByteArray("<a>").repeated(50) + "needle"
        + QByteArray("</a>").repeated(50) + "</document>";
    QVERIFY(containsText("*needle*", false, report(dir.path(), "shallow.kstir", shallow)));
    // Malformed XML: a hit before the damage still counts, as the scan stops there.
    QVERIFY(containsText("*needle*", false, report(dir.path(), "tail.kstir", "<d><t>needle</t><x>")));
    QVERIFY(!containsText("*needle*", false, report(dir.path(), "head.kstir", "<d><t<>needle</t></d>")));
    // One text node larger than any field is damage.
    const QByteArray huge = "<d><t>" + QByteArray(MaxSearchedTextLength + 10, 'x') + "needle</t></d>";
    QVERIFY(!xmlContainsText(huge, "*needle*", false));
}

void TestMatching::cancelEndsTheScan()
{
    const QByteArray xml("<d><t>first</t><t>needle</t></d>");
    std::atomic_bool cancel { false };
    QVERIFY(xmlContainsText(xml, "*needle*", false, &cancel));
    cancel = true;
    QVERIFY(!xmlContainsText(xml, "*needle*", false, &cancel));
}

void TestMatching::walkOrderLinksAndHiddenEntries()
{
    QTemporaryDir dir;
    const QString root = dir.path();
    makeFile(root + "/b.txt");
    makeFile(root + "/A.txt");
    makeFile(root + "/sub2/x.pdf");
    makeFile(root + "/Sub1/y.kstir");
    makeFile(root + "/Sub1/deep/z.csv");
    makeFile(root + "/.hidden");
    QVERIFY(QFile::link(root, root + "/loop"));
    QVERIFY(QFile::link(root + "/A.txt", root + "/link.txt"));
    QVERIFY(QFile::link(root + "/gone", root + "/dangling"));

    QStringList visited;
    QVERIFY(FolderWalk::walk(root, [&](const QFileInfo& entry) {
        visited << entry.absoluteFilePath().mid(root.size() + 1);
        return true;
    }));
    QCOMPARE(visited,
        QStringList({ "A.txt", "b.txt", "Sub1", "Sub1/y.kstir", "Sub1/deep", "Sub1/deep/z.csv", "sub2",
            "sub2/x.pdf" }));

    // Deep folder trees are walked on the walk's own stack.
    QString path = root + "/deep";
    for (int i = 0; i < 300; ++i)
        path += "/d";
    makeFile(path + "/bottom.txt");
    bool reachedBottom = false;
    QVERIFY(FolderWalk::walk(root + "/deep", [&](const QFileInfo& entry) {
        reachedBottom = reachedBottom || entry.fileName() == "bottom.txt";
        return true;
    }));
    QVERIFY(reachedBottom);

    // A root that does not exist, or none at all, holds nothing.
    int count = 0;
    QVERIFY(FolderWalk::walk(root + "/missing", [&](const QFileInfo&) { return ++count > 0; }));
    QVERIFY(FolderWalk::walk(QString(), [&](const QFileInfo&) { return ++count > 0; }));
    QCOMPARE(count, 0);
}

void TestMatching::walkSkipsUnreadableFolders()
{
    if (::geteuid() == 0)
        QSKIP("File permissions do not bind the superuser");
    QTemporaryDir dir;
    const QString root = dir.path();
    makeFile(root + "/locked/secret.txt");
    makeFile(root + "/open/visible.txt");
    QVERIFY(::chmod(QFile::encodeName(root + "/locked").constData(), 0) == 0);
    QStringList visited;
    const bool completed = FolderWalk::walk(root, [&](const QFileInfo& entry) {
        visited << entry.fileName();
        return true;
    });
    ::chmod(QFile::encodeName(root + "/locked").constData(), 0700);
    QVERIFY(completed);
    QCOMPARE(visited, QStringList({ "locked", "open", "visible.txt" }));
}

void TestMatching::walkStopsWhenAsked()
{
    QTemporaryDir dir;
    for (int i = 0; i < 10; ++i)
        makeFile(dir.filePath(QString("f%1.txt").arg(i)));
    int visits = 0;
    QVERIFY(!FolderWalk::walk(dir.path(), [&](const QFileInfo&) { return ++visits < 3; }));
    QCOMPARE(visits, 3);
}

void TestMatching::threadHandsOverEveryHitInOrder()
{
    QTemporaryDir dir;
    const QString root = dir.path();
    QStringList expected;
    for (int folder = 0; folder < 3; ++folder) {
        for (int file = 0; file < 400; ++file)
            makeFile(root + QString("/Site %1/report %2.txt").arg(folder).arg(file, 3, 10, QChar('0')));
    }
    makeFile(root + "/other.pdf");
    QVERIFY(FolderWalk::walk(root, [&](const QFileInfo& entry) {
        if (entry.fileName().contains("report"))
            expected << entry.absoluteFilePath();
        return true;
    }));

    SearchCriteria criteria;
    criteria.namePattern = SearchCriteria::nameMask("report");
    {
        // Taking hits as they are announced: all arrive, in the walk's order, the last before
        // walkFinished.
        SearchThread thread(root, criteria);
        QStringList handed;
        int notices = 0;
        connect(&thread, &SearchThread::hitsAvailable, this, [&] {
            ++notices;
            for (const QFileInfo& hit : thread.takeHits())
                handed << hit.absoluteFilePath();
        });
        QSignalSpy finished(&thread, &SearchThread::walkFinished);
        thread.start();
        // The spy records in the walk's thread; the notices reach this thread's event loop.
        QVERIFY(thread.wait(60000));
        QCOMPARE(finished.count(), 1);
        QTRY_COMPARE(handed.size(), expected.size());
        QCOMPARE(handed, expected);
        QCOMPARE(finished.at(0).at(0).toBool(), true);
        QVERIFY(notices >= 1);
        QVERIFY(thread.takeHits().isEmpty());
    }
    {
        // A GUI thread that is busy gets one notice, however many batches were put aside.
        SearchThread thread(root, criteria);
        int notices = 0;
        connect(&thread, &SearchThread::hitsAvailable, this, [&] { ++notices; });
        thread.start();
        QVERIFY(thread.wait(60000));
        QCoreApplication::processEvents();
        QCOMPARE(notices, 1);
        QStringList handed;
        for (const QFileInfo& hit : thread.takeHits())
            handed << hit.absoluteFilePath();
        QCOMPARE(handed, expected);
    }
}

void TestMatching::threadStoppedBeforeStartFindsNothing()
{
    QTemporaryDir dir;
    makeFile(dir.filePath("a.txt"));
    SearchThread thread(dir.path(), SearchCriteria());
    QSignalSpy hits(&thread, &SearchThread::hitsAvailable);
    QSignalSpy finished(&thread, &SearchThread::walkFinished);
    thread.requestStop();
    thread.start();
    QVERIFY(thread.wait(10000));
    QCOMPARE(finished.count(), 1);
    QCoreApplication::processEvents();
    QCOMPARE(hits.count(), 0);
    QCOMPARE(finished.at(0).at(0).toBool(), false);
}

KESTROVAN_TEST_MAIN(TestMatching)
#include "tst_matching.moc"
