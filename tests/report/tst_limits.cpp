#include "DocumentContainer.h"
#include "GraphicalReportDocument.h"
#include "GraphicsTextItem.h"
#include "MainWindowRef.h"
#include "ReportCheckBox.h"
#include "ReportResizableImage.h"
#include "ReportScene.h"
#include "ReportTable.h"
#include "ReportTableCell.h"
#include "ReportTestSupport.h"
#include "ReportText.h"
#include "Startup.h"
#include "SvgPicture.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QClipboard>
#include <QGraphicsPixmapItem>
#include <QImage>
#include <QMainWindow>
#include <QPainter>
#include <QSet>
#include <QSignalSpy>
#include <QStatusBar>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QtEndian>
#include <sys/stat.h>
#include <zlib.h>

using namespace ReportTestSupport;

namespace {
const char* const ArrayPack = ":res/reports/kstatr_rev3.pak";

QByteArray arrayReport(const QByteArray& fields, const QByteArray& cells = QByteArray())
{
    return "<document resPak=\"" + QByteArray(ArrayPack) + "\"><page id=\"page1\">" + fields
        + "<table id=\"test_table\">" + cells + "</table></page></document>";
}

QByteArray pngBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A container whose payload is one entry named "xml" holding `size` zero bytes, compressed in
// pieces so that the test never holds the payload itself.
QByteArray zeroContainer(quint32 size)
{
    QByteArray head;
    const QString name = QStringLiteral("xml");
    head.resize(4 + name.size() * 2 + 4);
    qToBigEndian<quint32>(quint32(name.size() * 2), head.data());
    for (int i = 0; i < name.size(); ++i) {
        head[4 + 2 * i] = 0;
        head[5 + 2 * i] = char(name.at(i).unicode());
    }
    const quint32 dataSize = size - quint32(head.size());
    qToBigEndian<quint32>(dataSize, head.data() + 4 + name.size() * 2);

    QByteArray out(4, '\0');
    qToBigEndian<quint32>(size, out.data());
    z_stream zs {};
    deflateInit(&zs, Z_DEFAULT_COMPRESSION);
    QByteArray chunk(1 << 16, '\0');
    QByteArray buffer(1 << 16, '\0');
    auto pump = [&](const QByteArray& in, int flush) {
        zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
        zs.avail_in = uInt(in.size());
        do {
            zs.next_out = reinterpret_cast<Bytef*>(buffer.data());
            zs.avail_out = uInt(buffer.size());
            deflate(&zs, flush);
            out.append(buffer.constData(), buffer.size() - int(zs.avail_out));
        } while (zs.avail_out == 0);
    };
    pump(head, Z_NO_FLUSH);
    for (quint32 left = dataSize; left > 0;) {
        const quint32 n = std::min<quint32>(left, quint32(chunk.size()));
        pump(chunk.left(int(n)), Z_NO_FLUSH);
        left -= n;
    }
    pump(QByteArray(), Z_FINISH);
    deflateEnd(&zs);
    return out;
}

QString svgWith(const QString& body, const QString& size = QStringLiteral("width=\"40\" height=\"40\""))
{
    return QStringLiteral(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
        "%1><rect width=\"40\" height=\"20\" fill=\"#00ff00\"/>%2</svg>")
        .arg(size, body);
}

QString dataUri(const QByteArray& png)
{
    return "data:image/png;base64," + QString::fromLatin1(png.toBase64());
}

// The pixels of a drawing rendered at 40 x 40 that are pure red and pure green.
QPair<int, int> redAndGreen(QSvgRenderer& renderer)
{
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    int red = 0;
    int green = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            red += image.pixel(x, y) == qRgb(255, 0, 0) ? 1 : 0;
            green += image.pixel(x, y) == qRgb(0, 255, 0) ? 1 : 0;
        }
    }
    return { red, green };
}

// The embedded pictures of a drawing, in order.
QList<QImage> embeddedPictures(const QByteArray& drawing)
{
    QList<QImage> found;
    const QString text = QString::fromUtf8(drawing);
    const QString start = QStringLiteral("base64,");
    for (int at = text.indexOf(start); at >= 0; at = text.indexOf(start, at + 1)) {
        const int end = text.indexOf(QLatin1Char('"'), at);
        found << QImage::fromData(
            QByteArray::fromBase64(text.mid(at + start.size(), end - at - start.size()).toLatin1()));
    }
    return found;
}

// The text of a field fits its box the way it is drawn: all its lines, wrapped as the field wraps.
bool fitsItsField(GraphicsTextItem* text)
{
    const qreal s = text->scale();
    const qreal margin = text->document()->documentMargin();
    const qreal usedHeight = (text->document()->size().height() - margin) * s;
    const qreal usedWidth = text->document()->size().width() * s;
    return usedHeight <= text->fieldHeight() + 0.5 && usedWidth <= text->fieldWidth() + 0.5;
}
// Where a field's text stands on the page: inside the field's box, a whole margin from its
// top-left border however much the text is shrunk, and over no other text box of the page (the
// caption above it above all). Empty when it does; otherwise what is wrong.
QString placementFault(ReportText* field)
{
    const QRectF box = field->mapRectToScene(field->rect());
    GraphicsTextItem* text = field->textItem();
    const qreal m = text->document()->documentMargin();
    const QSizeF size = text->document()->size();
    const QRectF drawn = text->mapRectToScene(QRectF(m, m, size.width() - 2 * m, size.height() - 2 * m));
    if (qAbs(drawn.top() - box.top() - GraphicsTextItem::TextMargin) > 0.01
        || qAbs(drawn.left() - box.left() - GraphicsTextItem::TextMargin) > 0.01)
        return QString("margin %1, %2").arg(drawn.left() - box.left()).arg(drawn.top() - box.top());
    if (drawn.bottom() > box.bottom() + 0.5 || drawn.right() > box.right() + 0.5)
        return "beyond its box";
    for (QGraphicsItem* item : field->scene()->items(drawn)) {
        if (item != field && (item->type() == ReportText::Type || item->type() == ReportCheckBox::Type)) {
            auto* other = static_cast<ReportText*>(item);
            if (other->mapRectToScene(other->rect()).intersects(drawn))
                return "over \"" + other->plainText() + "\"";
        }
    }
    return QString();
}
} // namespace

// What a small or hostile file can make the program do: long values without spaces, values
// too long for any field, pictures that decode to huge bitmaps, containers that lie about size.
class TestLimits : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        initTestData();
        registerDocumentKinds();
    }
    void init()
    {
        TestSupport::resetState();
        m_dir = std::make_unique<QTemporaryDir>();
    }

    void valuesWithoutSpacesFitTheirBox_data();
    void valuesWithoutSpacesFitTheirBox();
    void longValuesAreCutOnLoadAndWhenTyped();
    void fieldLengthCountsCharactersAsTheUserSeesThem_data();
    void fieldLengthCountsCharactersAsTheUserSeesThem();
    void onePictureEntryIsDecodedOnceAndScaledDown();
    void containerDeclaringTooMuchIsRefused();
    void svgPicturesDrawOnlyWhatTheyCarry_data();
    void svgPicturesDrawOnlyWhatTheyCarry();
    void svgPicturesKeepThePictureLimits_data();
    void svgPicturesKeepThePictureLimits();
    void svgPictureInsideAReportReadsNoFile();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestLimits::valuesWithoutSpacesFitTheirBox_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("value");
    QTest::newRow("addresses") << "inspector"
                               << "tester@example.com,second.tester@example.com,third.person@example.com";
    QTest::newRow("500 x") << "test_instruments" << QString(500, 'x');
    QTest::newRow("20000 digits") << "comments" << QString(20000, '7').left(ReportLimits::MaxFieldLength);
    QTest::newRow("words and a long one") << "description_of_work"
                                          << "see " + QString(300, 'y') + " and more words after it";
    QTest::newRow("2000 characters of address")
        << "installation_address" << QString("Unit 4, Mill Lane Industrial Estate, ").repeated(60).left(2000);
}

void TestLimits::valuesWithoutSpacesFitTheirBox()
{
    QFETCH(QString, id);
    QFETCH(QString, value);
    const QString path = writeReport(m_dir->path(), "long.kstatr",
        arrayReport(QString("<text id=\"%1\">%2</text>").arg(id, value).toUtf8(),
            QString("<cell col=\"2\" row=\"21\">%1</cell>").arg(value).toUtf8()));
    GraphicalReportDocument doc(path);
    QVERIFY(doc.isValid());
    auto* text = static_cast<ReportText*>(doc.scene()->itemById(id));
    QCOMPARE(text->plainText(), value);
    QVERIFY(text->textItem()->scale() < 1);
    QVERIFY(fitsItsField(text->textItem()));
    QCOMPARE(placementFault(text), QString());
    auto* table = qgraphicsitem_cast<ReportTable*>(doc.scene()->itemById("test_table"));
    QVERIFY(fitsItsField(table->cellAt(2, 21)->textItem()));

    // Typed, it shrinks the same way.
    auto* other = static_cast<ReportText*>(doc.scene()->itemById("report_ref_id"));
    activate(doc.scene());
    other->setFocus();
    typeText(doc.scene(), value.left(120));
    QVERIFY(fitsItsField(other->textItem()));
}

void TestLimits::longValuesAreCutOnLoadAndWhenTyped()
{
    const int cap = ReportLimits::MaxFieldLength;
    QVERIFY(cap >= 1000);
    QByteArray cells;
    for (int row = 1; row < 25; ++row) {
        for (int col = 2; col < 8; ++col)
            cells += QString("<cell col=\"%1\" row=\"%2\">%3</cell>")
                         .arg(col)
                         .arg(row)
                         .arg(QString(100000, 'c'))
                         .toUtf8();
    }
    const QString path = writeReport(m_dir->path(), "cells.kstatr",
        arrayReport("<text id=\"comments\">" + QByteArray(100000, 'a') + "</text>", cells));
    GraphicalReportDocument doc(path);
    QVERIFY(doc.isValid());
    QCOMPARE(static_cast<ReportText*>(doc.scene()->itemById("comments"))->plainText(), QString(cap, 'a'));
    auto* table = qgraphicsitem_cast<ReportTable*>(doc.scene()->itemById("test_table"));
    QCOMPARE(table->cellAt(7, 24)->plainText(), QString(cap, 'c'));
    QVERIFY(fitsItsField(table->cellAt(7, 24)->textItem()));
    // The user is told once, naming the file; the file itself is left alone until saved.
    const QStringList messages = ScriptedPrompts::get().messageTexts();
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.first().contains(path));
    QVERIFY(!doc.isModified());

    // Typing or pasting stops at the same length, so that what is saved reads back whole.
    auto* field = static_cast<ReportText*>(doc.scene()->itemById("comments"));
    activate(doc.scene());
    field->setFocus();
    QTextCursor end = field->textItem()->textCursor();
    end.movePosition(QTextCursor::End);
    field->textItem()->setTextCursor(end);
    typeText(doc.scene(), "zz");
    QCOMPARE(field->plainText().size(), cap);
    auto* inspector = static_cast<ReportText*>(doc.scene()->itemById("inspector"));
    inspector->setFocus();
    typeText(doc.scene(), "ab");
    QApplication::clipboard()->setText(QString(cap, 'p'));
    key(doc.scene(), Qt::Key_V, QString(), Qt::ControlModifier);
    QCOMPARE(inspector->plainText(), "ab" + QString(cap - 2, 'p'));
}

void TestLimits::fieldLengthCountsCharactersAsTheUserSeesThem_data()
{
    const int cap = ReportLimits::MaxFieldLength;
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // two UTF-16 units
    const QString flag = QString::fromUtf8("\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA"); // four units
    const QString accented = QString("e") + QChar(0x0301); // a letter and its accent
    auto times = [](const QString& piece, int count) { return piece.repeated(count); };
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1500 emoji pasted") << "paste" << QString() << times(emoji, 1500) << times(emoji, 1500);
    QTest::newRow("2500 emoji pasted") << "paste" << QString() << times(emoji, 2500) << times(emoji, cap);
    QTest::newRow("accented letters pasted")
        << "paste" << QString() << times(accented, cap + 100) << times(accented, cap);
    QTest::newRow("flags pasted, one fits")
        << "paste" << QString(cap - 1, 'a') << times(flag, 2) << QString(cap - 1, 'a') + flag;
    QTest::newRow("typed into a field one short")
        << "type" << times(emoji, cap - 1) << "z" << times(emoji, cap - 1) + "z";
    QTest::newRow("typed into a full field") << "type" << times(emoji, cap) << "z" << times(emoji, cap);
    QTest::newRow("2500 emoji loaded") << "load" << QString() << times(emoji, 2500) << times(emoji, cap);
}

void TestLimits::fieldLengthCountsCharactersAsTheUserSeesThem()
{
    QFETCH(QString, how);
    QFETCH(QString, before);
    QFETCH(QString, input);
    QFETCH(QString, expected);
    const QString value = how == "load" ? input : before;
    const QString path = writeReport(m_dir->path(), "chars.kstatr",
        arrayReport(QString("<text id=\"comments\">%1</text>").arg(value).toUtf8()));
    // The status bar of the main window is where the user is told that input was cut.
    QMainWindow window;
    setCurrentMainWindow(&window);
    GraphicalReportDocument doc(path);
    QVERIFY(doc.isValid());
    auto* field = static_cast<ReportText*>(doc.scene()->itemById("comments"));
    QSignalSpy cuts(doc.scene(), &ReportScene::inputCut);
    if (how != "load") {
        activate(doc.scene());
        field->setFocus();
        QTextCursor end = field->textItem()->textCursor();
        end.movePosition(QTextCursor::End);
        field->textItem()->setTextCursor(end);
        if (how == "paste") {
            QApplication::clipboard()->setText(input);
            key(doc.scene(), Qt::Key_V, QString(), Qt::ControlModifier);
        } else {
            typeText(doc.scene(), input);
        }
    }
    setCurrentMainWindow(nullptr);
    QCOMPARE(field->plainText().size(), expected.size());
    QCOMPARE(field->plainText(), expected);
    if (how == "load")
        return;
    // Told once when something was left out, and not at all when everything fitted.
    const bool cut = expected != before + input;
    QCOMPARE(cuts.count(), cut ? 1 : 0);
    QCOMPARE(
        window.statusBar()->currentMessage(), cut ? GraphicalReportDocument::inputCutMessage() : QString());
}

void TestLimits::onePictureEntryIsDecodedOnceAndScaledDown()
{
    // Four pictures on one entry of a large, plain bitmap: a file of a few hundred bytes.
    QImage plain(5000, 4000, QImage::Format_Mono);
    plain.fill(1);
    const QByteArray png = pngBytes(plain);
    QByteArray images;
    for (int i = 0; i < 4; ++i)
        images += QString("<image index=\"1\" x=\"%1\" y=\"40\" scale=\"0.02\" resizable=\"1\"/>")
                      .arg(50 + 150 * i)
                      .toUtf8();
    const QString path = writeReport(m_dir->path(), "four.kstatr", arrayReport(images), { { "png", png } });
    QVERIFY(QFileInfo(path).size() < 4000);
    GraphicalReportDocument doc(path);
    QVERIFY(doc.isValid());
    QList<ReportResizableImage*> found;
    for (QGraphicsItem* item : doc.scene()->items()) {
        if (auto* image = qgraphicsitem_cast<ReportResizableImage*>(item); image && image->suffix() == "png")
            found << image;
    }
    QCOMPARE(found.size(), 4);
    QSet<qint64> bitmaps;
    for (ReportResizableImage* image : found) {
        QVERIFY(!image->isPlaceholder());
        // The box is the picture's own size times its scale, whatever the bitmap drawn.
        QCOMPARE(image->rect().size(), QSizeF(100, 80));
        QGraphicsPixmapItem* drawn = nullptr;
        for (QGraphicsItem* child : image->childItems())
            drawn = drawn ? drawn : qgraphicsitem_cast<QGraphicsPixmapItem*>(child);
        QVERIFY(drawn);
        const QSize bitmap = drawn->pixmap().size();
        QVERIFY2(std::max(bitmap.width(), bitmap.height()) <= ReportResizableImage::MaxDrawnSide,
            qPrintable(QString("%1 x %2").arg(bitmap.width()).arg(bitmap.height())));
        QVERIFY(bitmap.width() * 4 == bitmap.height() * 5);
        QCOMPARE(drawn->mapRectToParent(drawn->boundingRect()).size(), QSizeF(100, 80));
        bitmaps.insert(drawn->pixmap().cacheKey());
    }
    QCOMPARE(bitmaps.size(), 1);

    // Saved, every picture still carries the bytes of its entry unchanged.
    doc.setModified(true);
    doc.save();
    DocumentContainer container;
    QVERIFY(container.load(path));
    for (int i = 1; i < container.count(); ++i) {
        if (container.at(i).name == "png")
            QCOMPARE(container.at(i).data, png);
    }
}

void TestLimits::containerDeclaringTooMuchIsRefused()
{
    // About 200 KB of file that inflates honestly to 200 MB.
    const QByteArray bytes = zeroContainer(200u * 1024 * 1024);
    QVERIFY(bytes.size() < 400 * 1024);
    DocumentContainer container;
    QVERIFY(!container.fromBytes(bytes));
    QCOMPARE(container.count(), 0);
    const QString path = m_dir->filePath("bomb.kstatr");
    QVERIFY(writeFile(path, bytes));
    GraphicalReportDocument doc(path);
    QVERIFY(!doc.isValid());
    QCOMPARE(ScriptedPrompts::get().messageTexts(),
        QStringList { QString("Error opening %1 for reading").arg(path) });

    // Below the limit the same kind of file still reads.
    DocumentContainer small;
    QVERIFY(small.fromBytes(zeroContainer(1024 * 1024)));
    QCOMPARE(small.at(0).data.size(), 1024 * 1024 - 14);
}

void TestLimits::svgPicturesDrawOnlyWhatTheyCarry_data()
{
    // %1 a red picture of the recipient's, %2 a named pipe, %3 a drawing beside it with a red square.
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("gone");
    QTest::addColumn<QString>("kept");
    const QString image = QStringLiteral("<image x=\"0\" y=\"20\" width=\"40\" height=\"20\" %1/>");
    QTest::newRow("local file") << image.arg("xlink:href=\"%1\"") << "href"
                                << "<image";
    QTest::newRow("plain href") << image.arg("href=\"%1\"") << "href"
                                << "<image";
    QTest::newRow("file url") << image.arg("xlink:href=\"file://%1\"") << "file:"
                              << "<image";
    QTest::newRow("network url") << image.arg("xlink:href=\"http://example.com/x.png\"") << "example"
                                 << "<image";
    QTest::newRow("named pipe") << image.arg("xlink:href=\"%2\"") << "href"
                                << "<image";
    QTest::newRow("standard input") << image.arg("xlink:href=\"/dev/stdin\"") << "/dev/"
                                    << "<image";
    QTest::newRow("external use") << "<use xlink:href=\"%3#r\"/>"
                                  << "href"
                                  << "<use";
    QTest::newRow("own use") << "<defs><rect id=\"g\" width=\"40\" height=\"5\" fill=\"#00ff00\"/></defs>"
                                "<use xlink:href=\"#g\"/>"
                             << "%3"
                             << "xlink:href=\"#g\"";
    QTest::newRow("style sheet link") << "<rect y=\"20\" width=\"40\" height=\"20\" class=\"c\"/>"
                                      << "xml-stylesheet"
                                      << "class";
    QTest::newRow("imported style") << "<style>@import url(%3);</style>"
                                    << "@import"
                                    << "<style";
    QTest::newRow("style split by CDATA")
        << "<style>@imp<![CDATA[ort url(%3);]]><x/>rect { fill: red }</style>"
        << "ort url"
        << "<style";
    QTest::newRow("text that reads like a style sheet")
        << "<text y=\"30\" font-size=\"4\" fill=\"#00ff00\">@import url(site.css)</text>"
        << "%3"
        << "@import url(site.css)";
    QTest::newRow("outside paint") << "<rect y=\"20\" width=\"40\" height=\"20\" fill=\"url(%3#p)\"/>"
                                   << "url("
                                   << "<rect y";
    QTest::newRow("own paint") << "<defs><linearGradient id=\"p\"><stop offset=\"0\" stop-color=\"#00ff00\"/>"
                                  "</linearGradient></defs><rect y=\"20\" width=\"40\" height=\"20\" "
                                  "fill=\"url( '#p' )\"/>"
                               << "%3"
                               << "url( '#p' )";
    QTest::newRow("embedded picture") << image.arg("xlink:href=\"%4\"") << "%1"
                                      << "data:image/png;base64,";
}

void TestLimits::svgPicturesDrawOnlyWhatTheyCarry()
{
    QFETCH(QString, body);
    QFETCH(QString, gone);
    QFETCH(QString, kept);
    QImage red(40, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QString photo = m_dir->filePath("photo.png");
    QVERIFY(red.save(photo));
    const QString pipe = m_dir->filePath("pipe");
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString beside = m_dir->filePath("beside.svg");
    QVERIFY(writeFile(
        beside, svgWith("<rect id=\"r\" y=\"20\" width=\"40\" height=\"20\" fill=\"red\"/>").toUtf8()));
    QImage blue(4, 4, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    const auto filled = [&](QString text) {
        return text.replace("%1", photo)
            .replace("%2", pipe)
            .replace("%3", beside)
            .replace("%4", dataUri(pngBytes(blue)));
    };
    QString svg = svgWith(filled(body));
    if (QTest::currentDataTag() == QLatin1String("style sheet link"))
        svg.prepend(
            QString("<?xml-stylesheet type=\"text/css\" href=\"%1\"?>")
                .arg(writeFile(m_dir->filePath("red.css"), ".c { fill: red }") ? m_dir->filePath("red.css")
                                                                               : QString()));

    QString problem;
    const QByteArray safe = SvgPicture::safeDrawing(svg.toUtf8(), &problem);
    QVERIFY2(!safe.isEmpty(), qPrintable(problem));
    QVERIFY2(!QString::fromUtf8(safe).contains(filled(gone)), safe.constData());
    QVERIFY2(QString::fromUtf8(safe).contains(kept), safe.constData());
    // Drawn as a report draws it: its own parts show, nothing of the recipient's.
    const std::shared_ptr<QSvgRenderer> drawing = ReportPictures::drawing(svg.toUtf8());
    QVERIFY(drawing);
    const QPair<int, int> colours = redAndGreen(*drawing);
    QCOMPARE(colours.first, 0);
    QVERIFY(colours.second >= 40 * 20);
}

void TestLimits::svgPicturesKeepThePictureLimits_data()
{
    QTest::addColumn<QString>("svg");
    // The sides of the pictures the safe drawing embeds; empty with "problem" when it is refused.
    QTest::addColumn<QList<QSize>>("embedded");
    QTest::addColumn<QString>("problem");
    const QString image = QStringLiteral("<image width=\"40\" height=\"20\" xlink:href=\"%1\"/>");
    QImage small(30, 20, QImage::Format_Mono);
    small.fill(1);
    QImage large(5000, 4000, QImage::Format_Mono);
    large.fill(1);
    QImage huge(12000, 100, QImage::Format_Mono);
    huge.fill(1);
    QImage page(ReportPictures::MaxDrawnSide, ReportPictures::MaxDrawnSide, QImage::Format_Mono);
    page.fill(1);
    const QString pageImage = image.arg(dataUri(pngBytes(page)));
    QTest::newRow("small picture kept")
        << svgWith(image.arg(dataUri(pngBytes(small)))) << QList<QSize> { QSize(30, 20) } << QString();
    QTest::newRow("large picture scaled down")
        << svgWith(image.arg(dataUri(pngBytes(large)))) << QList<QSize> { QSize(2480, 1984) } << QString();
    QTest::newRow("too many pixels on a side")
        << svgWith(image.arg(dataUri(pngBytes(huge)))) << QList<QSize>() << QString();
    QTest::newRow("kept pictures stop at four pages")
        << svgWith(pageImage + pageImage + pageImage + pageImage + pageImage)
        << QVector<QSize>(4, QSize(ReportPictures::MaxDrawnSide, ReportPictures::MaxDrawnSide)).toList()
        << QString();
    QTest::newRow("not base64") << svgWith(image.arg("data:image/png,%89PNG")) << QList<QSize>() << QString();
    QTest::newRow("embedded drawing") << svgWith(image.arg("data:image/svg+xml;base64,"
        + QString::fromLatin1(
            svgWith("<image width=\"9\" height=\"9\" href=\"/dev/zero\"/>").toUtf8().toBase64())))
                                      << QList<QSize>() << QString();
    QTest::newRow("not a picture") << svgWith(image.arg("data:image/png;base64,aGVsbG8=")) << QList<QSize>()
                                   << QString();
    QTest::newRow("entities") << "<!DOCTYPE svg [<!ENTITY a \"aaaaaaaa\">]>" + svgWith("<text>&a;&a;</text>")
                              << QList<QSize>()
                              << "The drawing declares entities, which pictures of a report may not use.";
    QTest::newRow("nested too deeply") << svgWith(
        QString("<g>").repeated(SvgPicture::MaxDepth) + QString("</g>").repeated(SvgPicture::MaxDepth))
                                       << QList<QSize>() << "The drawing is nested too deeply to be shown.";
    QTest::newRow("not XML") << "<svg" << QList<QSize>() << "The drawing cannot be read.";
    QTest::newRow("drawn larger than a picture")
        << svgWith(QString(), "width=\"20000\" height=\"100\"") << QList<QSize>()
        << "The drawing is 20000 × 100 pixels; at most 10000 pixels on a side can be shown.";
}

void TestLimits::svgPicturesKeepThePictureLimits()
{
    QFETCH(QString, svg);
    QFETCH(QList<QSize>, embedded);
    QFETCH(QString, problem);
    const QByteArray safe = SvgPicture::safeDrawing(svg.toUtf8());
    QList<QSize> sizes;
    for (const QImage& picture : embeddedPictures(safe))
        sizes << picture.size();
    QCOMPARE(sizes, embedded);
    QCOMPARE(ReportResizableImage::pictureProblem("svg", svg.toUtf8()), problem);
    QCOMPARE(bool(ReportPictures::drawing(svg.toUtf8())), problem.isEmpty());
}

void TestLimits::svgPictureInsideAReportReadsNoFile()
{
    // A report mailed with a picture that names a pipe of the recipient's and a photo of theirs.
    const QString pipe = m_dir->filePath("pipe");
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    QImage red(40, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QString photo = m_dir->filePath("photo.png");
    QVERIFY(red.save(photo));
    const QByteArray svg = svgWith(QString("<image width=\"40\" height=\"20\" xlink:href=\"%1\"/>"
                                           "<image y=\"20\" width=\"40\" height=\"20\" href=\"%2\"/>")
                                       .arg(pipe, photo))
                               .toUtf8();
    const QString path = writeReport(m_dir->path(), "mailed.kstatr",
        arrayReport("<image index=\"1\" x=\"50\" y=\"40\" scale=\"1\" resizable=\"1\"/>"),
        { { "svg", svg } });
    GraphicalReportDocument doc(path);
    QVERIFY(doc.isValid());
    ReportResizableImage* picture = nullptr;
    for (QGraphicsItem* item : doc.scene()->items())
        picture = picture ? picture : qgraphicsitem_cast<ReportResizableImage*>(item);
    QVERIFY(picture);
    QVERIFY(!picture->isPlaceholder());
    QImage shown(40, 40, QImage::Format_RGB32);
    shown.fill(Qt::white);
    QPainter painter(&shown);
    doc.scene()->render(&painter, QRectF(0, 0, 40, 40), picture->mapRectToScene(picture->rect()));
    painter.end();
    int redPixels = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            redPixels += qRed(shown.pixel(x, y)) > 200 && qGreen(shown.pixel(x, y)) < 50 ? 1 : 0;
    QCOMPARE(redPixels, 0);
    // Saved, the picture keeps its bytes: the report is the sender's.
    doc.setModified(true);
    doc.save();
    DocumentContainer container;
    QVERIFY(container.load(path));
    QCOMPARE(container.at(1).data, svg);
}

KESTROVAN_TEST_MAIN(TestLimits)
#include "tst_limits.moc"
