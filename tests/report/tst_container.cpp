#include "ContainerTestSupport.h"
#include "DocumentContainer.h"
#include "ReportPack.h"
#include "ReportReader.h"
#include "ReportXml.h"
#include "TestSupport.h"

#include <QDataStream>
#include <QDomDocument>
#include <QTemporaryDir>
#include <QtEndian>
#include <sys/stat.h>

using namespace ReportTestSupport;

class TestContainer : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { initTestData(); }

    void readsEntriesOfAnIndependentWriter();
    void writesTheBytesOthersRead();
    void emptyAndNullNamesAndArrays();
    void packsCompiledAtBuildTimeLoad();
    void damagedContainersAreRefused_data();
    void damagedContainersAreRefused();
    void oversizedFilesAreRefusedUnread();
    void xmlWithoutDtdParses();
    void xmlWithEntitiesOrDeepNestingIsRefused_data();
    void xmlWithEntitiesOrDeepNestingIsRefused();
    void packsAreFoundAndNamedWithoutTheScene();
    void imageElementsNameOnlyPictureEntries();
};

// The format library alone finds the built-in packs, reads the pack a report names and refuses
// what is not a pack.
void TestContainer::packsAreFoundAndNamedWithoutTheScene()
{
    for (const char* suffix : { "kstatr", "kstir", "kstvc", "kstchk" }) {
        DocumentContainer pack;
        QDomDocument layout;
        QVERIFY2(ReportPack::load(ReportPack::defaultPath(suffix), &pack, &layout), suffix);
        QVERIFY(!layout.documentElement().isNull());
    }
    DocumentContainer pack;
    QDomDocument layout;
    QVERIFY(!ReportPack::load(ReportPack::defaultPath("nosuchkind"), &pack, &layout));

    QTemporaryDir dir;
    const QString notXml = dir.filePath("broken.pak");
    QVERIFY(writeFile(notXml, handMadeContainer({ { "xml", "<document" } })));
    QVERIFY(!ReportPack::load(notXml, &pack, &layout));

    QString packPath = "unchanged";
    const QString named
        = writeReport(dir.path(), "named.kstir", "<document resPak=\":/testpacks/twopage.pak\"/>");
    QVERIFY(ReportReader::readPackPath(named, &packPath));
    QCOMPARE(packPath, QString(":/testpacks/twopage.pak"));
    const QString unnamed = writeReport(dir.path(), "unnamed.kstir", "<document/>");
    QVERIFY(ReportReader::readPackPath(unnamed, &packPath));
    QVERIFY(packPath.isEmpty());
    packPath = "unchanged";
    QVERIFY(!ReportReader::readPackPath(notXml + ".missing", &packPath));
    QVERIFY(!ReportReader::readPackPath(notXml, &packPath));
    QCOMPARE(packPath, QString("unchanged"));
}

void TestContainer::imageElementsNameOnlyPictureEntries()
{
    // A generic report is its pictures alone: it reads when its image element names entry 1.
    QTemporaryDir dir;
    const QList<QPair<QString, bool>> cases { { "index=\"1\"", true }, { "index=\"0\"", false },
        { "index=\"2\"", false }, { "index=\"-1\"", false }, { "index=\"\"", false },
        { "index=\"one\"", false }, { "index=\"4294967297\"", false }, { "", false } };
    for (const auto& c : cases) {
        const QString path = writeReport(dir.path(), "pictures.kstreport",
            "<document><image " + c.first.toUtf8() + "/></document>", { { "png", "picture" } });
        const ReportReadResult result = ReportReader::read(path, "en_GB");
        QVERIFY2(bool(result.document) == c.second, qPrintable(c.first));
        if (c.second) {
            QCOMPARE(result.document->items.size(), size_t(1));
            QCOMPARE(result.document->items.front()->data, QByteArray("picture"));
        }
    }
}

void TestContainer::readsEntriesOfAnIndependentWriter()
{
    const QByteArray xml("<document resPak=\":res/reports/kstir.pak\"/>");
    const QByteArray picture("<svg xmlns=\"http://www.w3.org/2000/svg\"/>");
    QTemporaryDir dir;
    const QString path = dir.filePath("two.kstir");
    QVERIFY(writeFile(path, handMadeContainer({ { "xml", xml }, { "svg", picture } })));

    DocumentContainer container;
    QVERIFY(container.load(path));
    QCOMPARE(container.count(), 2);
    QCOMPARE(container.at(0).name, QString("xml"));
    QCOMPARE(container.at(0).data, xml);
    QCOMPARE(container.at(1).name, QString("svg"));
    QCOMPARE(container.at(1).data, picture);
}

void TestContainer::writesTheBytesOthersRead()
{
    DocumentContainer container;
    container.append("xml", QByteArray("<document/>"));
    container.append("png", QByteArray("\x89PNG\r\n\x1a\n", 8));
    const QByteArray bytes = container.toBytes();

    // The header is the payload's size, and the payload is the hand-made entry run exactly.
    const QByteArray expectedPayload
        = handMadePayload({ { "xml", "<document/>" }, { "png", QByteArray("\x89PNG\r\n\x1a\n", 8) } });
    QCOMPARE(qFromBigEndian<quint32>(bytes.constData()), quint32(expectedPayload.size()));
    QCOMPARE(qUncompress(bytes), expectedPayload);

    // Read back by a plain QDataStream reader as another program would.
    QDataStream stream(qUncompress(bytes));
    stream.setVersion(QDataStream::Qt_4_3);
    QString name;
    QByteArray data;
    stream >> name >> data;
    QCOMPARE(name, QString("xml"));
    QCOMPARE(data, QByteArray("<document/>"));
    stream >> name >> data;
    QCOMPARE(name, QString("png"));
    QVERIFY(stream.atEnd());

    // And a save goes through the same bytes.
    QTemporaryDir dir;
    QVERIFY(container.save(dir.filePath("a.kstvc")));
    DocumentContainer again;
    QVERIFY(again.load(dir.filePath("a.kstvc")));
    QCOMPARE(again.count(), 2);
    QCOMPARE(again.at(1).data, container.at(1).data);
}

void TestContainer::emptyAndNullNamesAndArrays()
{
    // A pack's single entry has an empty, not a null, name: four zero bytes open the payload.
    DocumentContainer pack;
    pack.append(QStringLiteral(""), QByteArray("<document/>"));
    const QByteArray payload = qUncompress(pack.toBytes());
    QCOMPARE(payload.left(4), QByteArray(4, '\0'));
    QCOMPARE(qFromBigEndian<quint32>(payload.constData() + 4), quint32(11));

    DocumentContainer withNulls;
    withNulls.append(QString(), QByteArray());
    const QByteArray nullPayload = qUncompress(withNulls.toBytes());
    QCOMPARE(nullPayload, QByteArray(8, '\xff'));

    // Read back, null stays null and empty stays empty.
    DocumentContainer read;
    QVERIFY(read.fromBytes(handMadeContainer({ { "xml", "<a/>" } }, true, true)));
    QCOMPARE(read.count(), 2);
    QVERIFY(read.at(1).name.isNull());
    QVERIFY(read.at(1).data.isNull());
    QVERIFY(read.fromBytes(handMadeContainer({ { "", "" } })));
    QVERIFY(!read.at(0).name.isNull());
    QVERIFY(read.at(0).name.isEmpty());
    QVERIFY(!read.at(0).data.isNull());
    QCOMPARE(qUncompress(read.toBytes()), QByteArray(8, '\0'));
}

void TestContainer::packsCompiledAtBuildTimeLoad()
{
    DocumentContainer pack;
    QVERIFY(pack.load(":/testpacks/twopage.pak"));
    QCOMPARE(pack.count(), 1);
    QVERIFY(pack.at(0).name.isEmpty() && !pack.at(0).name.isNull());
    QVERIFY(pack.at(0).data.contains("<document>"));

    DocumentContainer templ;
    QVERIFY(templ.load(":/testpacks/template.kstreport"));
    QCOMPARE(templ.count(), 2);
    QCOMPARE(templ.at(0).name, QString("xml"));
    QCOMPARE(templ.at(1).name, QString("svg"));
    QVERIFY(templ.at(1).data.contains("<svg"));
}

void TestContainer::damagedContainersAreRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good = handMadeContainer({ { "xml", "<document/>" }, { "svg", QByteArray(300, 'x') } });
    const QByteArray payload = handMadePayload({ { "xml", "<document/>" } });

    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("header only") << QByteArray("\0\0\0\x10", 4);
    QTest::newRow("empty payload") << compressWithHeader(QByteArray(), 0);
    QTest::newRow("truncated zlib stream") << good.left(good.size() - 6);
    QTest::newRow("garbage after the header") << QByteArray("\0\0\0\x20not a zlib stream at all", 28);
    QTest::newRow("declared size too large for the data") << compressWithHeader(payload, 0x7FFFFFF0);
    QTest::newRow("declared size above the data by one")
        << compressWithHeader(payload, quint32(payload.size() + 1));
    QTest::newRow("declared size below the data") << compressWithHeader(payload, quint32(payload.size() - 1));
    QTest::newRow("declared size above the limit") << compressWithHeader(payload, 0xFFFFFFFF);

    QByteArray longName = payload;
    qToBigEndian(quint32(0x7FFFFFFE), longName.data());
    QTest::newRow("name length beyond the payload") << compressWithHeader(longName, quint32(longName.size()));
    QByteArray oddName = payload;
    qToBigEndian(quint32(5), oddName.data());
    QTest::newRow("name length odd") << compressWithHeader(oddName, quint32(oddName.size()));
    QByteArray longData = payload;
    qToBigEndian(quint32(0x7FFFFFFF), longData.data() + 4 + 6);
    QTest::newRow("data length beyond the payload") << compressWithHeader(longData, quint32(longData.size()));
    const QByteArray truncatedEntry = payload.left(payload.size() - 3);
    QTest::newRow("truncated entry") << compressWithHeader(truncatedEntry, quint32(truncatedEntry.size()));
    const QByteArray halfLength = payload + QByteArray("\0\0", 2);
    QTest::newRow("length cut short") << compressWithHeader(halfLength, quint32(halfLength.size()));
}

void TestContainer::damagedContainersAreRefused()
{
    QFETCH(QByteArray, bytes);
    DocumentContainer container;
    container.append("left", "over");
    QVERIFY(!container.fromBytes(bytes));
    QCOMPARE(container.count(), 0);
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("x.kstir"), bytes));
    QVERIFY(!container.load(dir.filePath("x.kstir")));
}

void TestContainer::oversizedFilesAreRefusedUnread()
{
    DocumentContainer container;
    QVERIFY(!container.load("/dev/zero"));
    QVERIFY(!container.load("/no/such/file.kstir"));
    QTemporaryDir dir;
    const QString sparse = dir.filePath("huge.kstir");
    QFile f(sparse);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QVERIFY(f.resize(DocumentContainer::MaxFileSize + 1));
    f.close();
    QVERIFY(!container.load(sparse));
    // A named pipe would block the reader until somebody writes to it.
    const QString fifo = dir.filePath("pipe.kstir");
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY(!container.load(fifo));
    QVERIFY(!container.load(dir.path()));

    // The payload limit itself: a well-formed stream whose size is just above it is refused.
    QByteArray payload;
    QVERIFY(!DocumentContainer::uncompress(compressWithHeader(QByteArray(5000, 'a'), 5000), &payload, 4999));
    QVERIFY(DocumentContainer::uncompress(compressWithHeader(QByteArray(5000, 'a'), 5000), &payload, 5000));
    QCOMPARE(payload, QByteArray(5000, 'a'));
}

void TestContainer::xmlWithoutDtdParses()
{
    QDomDocument document;
    QVERIFY(ReportXml::parse(
        "<?xml version=\"1.0\"?>\n<document resPak=\"p\"><text id=\"a\">x &amp; y</text></document>",
        &document));
    QCOMPARE(document.documentElement().firstChildElement("text").text(), QString("x & y"));

    QString message;
    int line = 0;
    int column = 0;
    QVERIFY(!ReportXml::parse("<document>\n  <text>\n</document>", &document, &message, &line, &column));
    QCOMPARE(line, 3);
    QVERIFY(column > 0);
    QVERIFY(!message.isEmpty());
}

void TestContainer::xmlWithEntitiesOrDeepNestingIsRefused_data()
{
    QTest::addColumn<QByteArray>("xml");
    QByteArray bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE d [\n<!ENTITY a "
                      "\"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">\n";
    char previous = 'a';
    for (char c = 'b'; c <= 'k'; ++c) {
        bomb += QByteArray("<!ENTITY ") + c + " \""
            + QByteArray(10, '&').replace("&", QByteArray("&") + previous + ";") + "\">\n";
        previous = c;
    }
    bomb += "]>\n<document><text>&k;</text></document>";
    QTest::newRow("nested entities") << bomb;
    QTest::newRow("external entity") << QByteArray(
        "<!DOCTYPE d [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><document><text>&x;</text></document>");
    QTest::newRow("undeclared entity") << QByteArray("<document><text>&x;</text></document>");
    QTest::newRow("deep nesting") << QByteArray("<document>") + QByteArray("<page>").repeated(100000);
    QTest::newRow("deep but well formed") << QByteArray("<document>") + QByteArray("<page>").repeated(1000)
            + QByteArray("</page>").repeated(1000) + "</document>";
}

void TestContainer::xmlWithEntitiesOrDeepNestingIsRefused()
{
    QFETCH(QByteArray, xml);
    QDomDocument document;
    QString message;
    QVERIFY(!ReportXml::parse(xml, &document, &message));
    QVERIFY(!message.isEmpty());
}

KESTROVAN_TEST_MAIN(TestContainer)
#include "tst_container.moc"
