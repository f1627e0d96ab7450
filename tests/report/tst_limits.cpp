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
#include "TestSupport.h"

#include <QBuffer>
#include <QClipboard>
#include <QGraphicsPixmapItem>
#include <QImage>
#include <QMainWindow>
#include <QSet>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QtEndian>
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
    QTest::newRow("20000 digits") << "comments" << QString(20000, '7').left(ReportText::MaxFieldLength);
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
    const int cap = ReportText::MaxFieldLength;
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
    const int cap = ReportText::MaxFieldLength;
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

KESTROVAN_TEST_MAIN(TestLimits)
#include "tst_limits.moc"
