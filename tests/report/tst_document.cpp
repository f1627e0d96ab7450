#include "DialogSettings.h"
#include "DocumentContainer.h"
#include "DocumentFactory.h"
#include "Folders.h"
#include "GraphicalReportDocument.h"
#include "ReportCheckBox.h"
#include "ReportPage.h"
#include "ReportResizableImage.h"
#include "ReportScene.h"
#include "ReportTable.h"
#include "ReportTableCell.h"
#include "ReportTestSupport.h"
#include "ReportText.h"
#include "Startup.h"
#include "TestSupport.h"

#include <QAction>
#include <QBuffer>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUndoStack>

using namespace ReportTestSupport;

// The four built-in forms as documents: opening them from their templates, typing, saving,
// favourites and pictures.
class TestReportDocument : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { registerDocumentKinds(); }
    void init();

    void formsOpenFromTheirTemplates_data();
    void formsOpenFromTheirTemplates();
    void typedValueSurvivesSaveAndUndoClearsTheMark_data();
    void typedValueSurvivesSaveAndUndoClearsTheMark();
    void saveAsFavouriteWritesBothOrNothing();
    void picturesAreWrittenAfterTheXmlInOrder();
    void deletedPictureComesBackWithUndo();
    void undoneAdditionIsDiscardedAndNeverWritten();
    void unusablePicturesAreRefused();
    void largePictureStartsOnThePage();
    void hugePictureInsideAReportIsKeptButNotDecoded();

private:
    std::unique_ptr<GraphicalReportDocument> newReport(const QString& fileName);
    QString addPicture(ReportScene* scene, const QString& path);
    std::unique_ptr<QTemporaryDir> m_project;
};

void TestReportDocument::init()
{
    TestSupport::resetState();
    m_project = std::make_unique<QTemporaryDir>();
}

std::unique_ptr<GraphicalReportDocument> TestReportDocument::newReport(const QString& fileName)
{
    const QString path = createNewDocument(m_project->path(), fileName);
    if (path.isEmpty())
        return nullptr;
    return std::make_unique<GraphicalReportDocument>(path);
}

void TestReportDocument::formsOpenFromTheirTemplates_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("checkBoxes");
    QTest::newRow("inspection report") << "Inspection Report.kstir" << 2
                                       << QStringList { "installation_address", "circuits_inspected",
                                              "report_ref_id", "inspection_date", "inspector_name" }
                                       << QStringList { "initial_verification", "periodic_verification",
                                              "iec_60364-7-712_433_a", "equipot_bonding", "labels_durable" };
    QTest::newRow("array test report")
        << "Array Test Report.kstatr" << 1
        << QStringList { "installation_address", "description_of_work", "report_ref_id", "DD/MM/YYYY",
               "inspector", "test_instruments", "comments" }
        << QStringList { "initial", "periodic" };
    QTest::newRow("verification certificate")
        << "Verification Certificate.kstvc" << 1
        << QStringList { "client", "installation_address", "test_date", "contractor",
               "installation_description", "rated_power", "location", "circuits_tested", "iec_inspection_ref",
               "pv_array_inspection_ref", "iec_test_ref", "pv_array_test_ref",
               "design_construction_testing_inspection", "next_inspection", "comments", "signature_names",
               "signature_date" }
        << QStringList { "initial", "periodic" };
    QTest::newRow("checklist") << "Checklist.kstchk" << 1 << QStringList()
                               << QStringList { "basic_system_info", "installation_diagram",
                                      "warranty_info" };
}

void TestReportDocument::formsOpenFromTheirTemplates()
{
    QFETCH(QString, fileName);
    QFETCH(int, pages);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, checkBoxes);
    auto doc = newReport(fileName);
    QVERIFY(doc);
    QVERIFY(doc->isValid());
    QVERIFY(!doc->isModified());
    for (const char* name : { "actionUndo", "actionRedo", "actionSave" })
        QVERIFY2(!doc->findChild<QAction*>(name)->isEnabled(), name);
    QVERIFY(doc->findChild<QAction*>("actionSaveFavourite")->isEnabled());
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());

    ReportScene* scene = doc->scene();
    QCOMPARE(scene->pages().size(), pages);
    for (int p = 0; p < pages; ++p) {
        auto* page = qgraphicsitem_cast<ReportPage*>(scene->itemById(QString("page%1").arg(p + 1)));
        QVERIFY(page);
        QCOMPARE(page->pageNumber(), p + 1);
    }
    for (const QString& id : texts) {
        AbstractReportItem* item = scene->itemById(id);
        QVERIFY2(item && item->type() == ReportText::Type, qPrintable(id));
        QVERIFY2(item->isEditable(), qPrintable(id));
    }
    for (const QString& id : checkBoxes)
        QVERIFY2(qgraphicsitem_cast<ReportCheckBox*>(scene->itemById(id)), qPrintable(id));
    if (fileName.endsWith("kstatr")) {
        auto* table = qgraphicsitem_cast<ReportTable*>(scene->itemById("test_table"));
        QVERIFY(table);
        QCOMPARE(table->columnCount(), 8);
        QCOMPARE(table->rowCount(), 26);
        const QList<QPair<QString, int>> labels
            = { { "Voc (VDC)", 12 }, { "Isc (ADC)", 13 }, { "Irr (W/m2)", 14 }, { "Viso (V)", 16 },
                  { "Riso (MOhm)", 17 }, { "-Riso (MOhm)", 18 }, { "Rpe (Ohm)", 19 } };
        for (const auto& label : labels) {
            auto* cell = qgraphicsitem_cast<ReportTableCell*>(scene->itemById(label.first));
            QVERIFY2(cell && cell->table() == table && cell->row() == label.second, qPrintable(label.first));
        }
        QCOMPARE(scene->packPath(), QString(":res/reports/kstatr_rev3.pak"));
    }
    // Every editable field has an id, or its value could not be kept.
    for (QGraphicsItem* item : scene->items()) {
        auto* text = qgraphicsitem_cast<ReportText*>(item);
        if (text && text->isEditable())
            QVERIFY2(!text->reportId().isEmpty(), qPrintable(text->plainText()));
    }
    // The logo of the template is a picture the user may move or delete.
    int pictures = 0;
    for (QGraphicsItem* item : scene->items())
        pictures += qgraphicsitem_cast<ReportResizableImage*>(item) ? 1 : 0;
    QCOMPARE(pictures, 1);
}

void TestReportDocument::typedValueSurvivesSaveAndUndoClearsTheMark_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("field");
    QTest::newRow("inspection report") << "Inspection Report.kstir"
                                       << "inspector_name";
    QTest::newRow("array test report") << "Array Test Report.kstatr"
                                       << "inspector";
    QTest::newRow("verification certificate") << "Verification Certificate.kstvc"
                                              << "client";
    QTest::newRow("checklist") << "Checklist.kstchk"
                               << "handover_date";
}

void TestReportDocument::typedValueSurvivesSaveAndUndoClearsTheMark()
{
    QFETCH(QString, fileName);
    QFETCH(QString, field);
    auto doc = newReport(fileName);
    QVERIFY(doc);
    ReportScene* scene = doc->scene();
    activate(scene);
    auto* text = static_cast<ReportText*>(scene->itemById(field));
    text->setFocus();
    typeText(scene, "Ann");
    QCOMPARE(text->plainText(), QString("Ann"));
    QVERIFY(doc->isModified());
    QVERIFY(doc->findChild<QAction*>("actionSave")->isEnabled());
    QVERIFY(doc->findChild<QAction*>("actionUndo")->isEnabled());

    doc->undo();
    QCOMPARE(text->plainText(), QString());
    QVERIFY(!doc->isModified());
    QVERIFY(!doc->findChild<QAction*>("actionSave")->isEnabled());
    doc->redo();
    QVERIFY(doc->isModified());

    doc->save();
    QVERIFY(!doc->isModified());
    const QString path = doc->filePath();
    doc.reset();
    GraphicalReportDocument reopened(path);
    QVERIFY(reopened.isValid());
    QCOMPARE(static_cast<ReportText*>(reopened.scene()->itemById(field))->plainText(), QString("Ann"));
    QVERIFY(!reopened.isModified());
}

void TestReportDocument::saveAsFavouriteWritesBothOrNothing()
{
    auto doc = newReport("Checklist.kstchk");
    auto* box = static_cast<ReportCheckBox*>(doc->scene()->itemById("warranty_info"));
    box->setChecked(true);
    doc->setModified(true);
    const QString favourite = Folders::instance()->favouriteTemplatePath("kstchk");
    const QByteArray before = readFile(favourite);
    const QByteArray document = readFile(doc->filePath());

    auto& prompts = ScriptedPrompts::get();
    prompts.buttons << QMessageBox::No;
    doc->saveAsFavourite();
    QCOMPARE(prompts.asked.last().message.defaultButton, QMessageBox::No);
    QCOMPARE(readFile(favourite), before);
    QCOMPARE(readFile(doc->filePath()), document);

    prompts.buttons << QMessageBox::Yes;
    doc->saveAsFavourite();
    QVERIFY(!doc->isModified());
    QVERIFY(readFile(favourite) != before);
    // The next checklist starts from the favourite.
    GraphicalReportDocument next(createNewDocument(m_project->path(), "Checklist.kstchk"));
    QVERIFY(static_cast<ReportCheckBox*>(next.scene()->itemById("warranty_info"))->isChecked());

    // The settings dialog now offers to restore the built-in checklist.
    QSettings().setValue("Directories/RootDir", m_project->path());
    DialogSettings settings;
    QVERIFY(settings.findChild<QPushButton*>("restoreCHKbutton")->isEnabled());
}

QString TestReportDocument::addPicture(ReportScene* scene, const QString& path)
{
    ScriptedPrompts::get().paths << path;
    scene->pages().first()->addImageAt(QPointF(100, 200));
    return path;
}

static QString writeImage(const QString& path, const QSize& size, const char* format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    image.save(path, format);
    return path;
}

void TestReportDocument::picturesAreWrittenAfterTheXmlInOrder()
{
    auto doc = newReport("Checklist.kstchk");
    addPicture(doc->scene(), writeImage(m_project->filePath("photo.PNG"), QSize(40, 30), "PNG"));
    QCOMPARE(doc->undoStack()->count(), 1);
    QVERIFY(doc->isModified());
    doc->save();

    DocumentContainer container;
    QVERIFY(container.load(doc->filePath()));
    QCOMPARE(container.count(), 3);
    QCOMPARE(container.at(0).name, QString("xml"));
    QCOMPARE(container.at(1).name, QString("svg"));
    QCOMPARE(container.at(2).name, QString("PNG")); // the suffix as chosen, capitals kept
    const QByteArray xml = container.at(0).data;
    QVERIFY(xml.contains("index=\"1\""));
    QVERIFY(xml.contains("index=\"2\""));

    GraphicalReportDocument reopened(doc->filePath());
    QList<ReportResizableImage*> images;
    for (QGraphicsItem* item : reopened.scene()->items()) {
        if (auto* image = qgraphicsitem_cast<ReportResizableImage*>(item))
            images << image;
    }
    QCOMPARE(images.size(), 2);
    for (ReportResizableImage* image : images)
        QVERIFY(!image->isPlaceholder());
}

void TestReportDocument::deletedPictureComesBackWithUndo()
{
    auto doc = newReport("Checklist.kstchk");
    ReportResizableImage* logo = nullptr;
    for (QGraphicsItem* item : doc->scene()->items())
        logo = logo ? logo : qgraphicsitem_cast<ReportResizableImage*>(item);
    QVERIFY(logo);
    activate(doc->scene());
    logo->setFocus();
    key(doc->scene(), Qt::Key_Delete);
    QVERIFY(!logo->isVisible());
    QVERIFY(doc->isModified());
    doc->undo();
    QVERIFY(logo->isVisible());
    doc->save();
    DocumentContainer container;
    QVERIFY(container.load(doc->filePath()));
    QCOMPARE(container.count(), 2);

    // Deleted and saved, the logo is gone from the file.
    logo->setFocus();
    key(doc->scene(), Qt::Key_Delete);
    doc->save();
    DocumentContainer after;
    QVERIFY(after.load(doc->filePath()));
    QCOMPARE(after.count(), 1);
}

void TestReportDocument::undoneAdditionIsDiscardedAndNeverWritten()
{
    auto doc = newReport("Checklist.kstchk");
    addPicture(doc->scene(), writeImage(m_project->filePath("a.png"), QSize(20, 20), "PNG"));
    QCOMPARE(doc->undoStack()->count(), 1);
    doc->undo();
    // Another edit drops the undone addition from the history, and the picture with it.
    static_cast<ReportCheckBox*>(doc->scene()->itemById("warranty_info"))->setFocus();
    activate(doc->scene());
    key(doc->scene(), Qt::Key_Space);
    QCOMPARE(doc->undoStack()->count(), 1);
    doc->save();
    DocumentContainer container;
    QVERIFY(container.load(doc->filePath()));
    QCOMPARE(container.count(), 2); // the XML and the template's logo only

    // Cancelling the file chooser leaves no item and no undo step.
    ScriptedPrompts::get().paths << QString();
    doc->scene()->pages().first()->addImageAt(QPointF(10, 10));
    QCOMPARE(doc->undoStack()->count(), 1);
}

void TestReportDocument::unusablePicturesAreRefused()
{
    auto doc = newReport("Checklist.kstchk");
    const int itemsBefore = doc->scene()->items().size();
    const QString notAPicture = m_project->filePath("notes.png");
    writeFile(notAPicture, "this is not a picture");
    addPicture(doc->scene(), notAPicture);
    const QString wide = writeImage(m_project->filePath("wide.png"), QSize(10001, 2), "PNG");
    addPicture(doc->scene(), wide);
    const QString brokenSvg = m_project->filePath("drawing.svg");
    writeFile(brokenSvg, "<svg");
    addPicture(doc->scene(), brokenSvg);

    QCOMPARE(doc->undoStack()->count(), 0);
    QCOMPARE(doc->scene()->items().size(), itemsBefore);
    const QStringList texts = ScriptedPrompts::get().messageTexts();
    QCOMPARE(texts.size(), 3);
    QCOMPARE(texts.at(0), QString("%1 cannot be added to the report.").arg(notAPicture));
    QCOMPARE(texts.at(1), QString("%1 cannot be added to the report.").arg(wide));
    QList<MessageRequest> messages;
    for (const auto& asked : ScriptedPrompts::get().asked) {
        if (asked.kind == "message")
            messages << asked.message;
    }
    QVERIFY(messages.at(1).informativeText.contains("10001"));
}

void TestReportDocument::largePictureStartsOnThePage()
{
    auto doc = newReport("Checklist.kstchk");
    const QString photo = writeImage(m_project->filePath("photo.jpg"), QSize(2000, 1000), "JPG");
    ScriptedPrompts::get().paths << photo;
    ReportPage* page = doc->scene()->pages().first();
    page->addImageAt(QPointF(700, 1100)); // near the bottom right corner
    ReportResizableImage* added = nullptr;
    for (QGraphicsItem* item : page->childItems()) {
        auto* image = qgraphicsitem_cast<ReportResizableImage*>(item);
        if (image && image->suffix() == "jpg")
            added = image;
    }
    QVERIFY(added);
    QCOMPARE(added->rect().width(), 793.0 / 2);
    QCOMPARE(added->rect().height(), 793.0 / 4);
    const QRectF onPage(added->pos(), added->rect().size());
    QVERIFY2(QRectF(0, 0, 793, 1123).contains(onPage), "the picture must start wholly on the page");
    QCOMPARE(onPage.bottomRight(), QPointF(793, 1123));
}

void TestReportDocument::hugePictureInsideAReportIsKeptButNotDecoded()
{
    // A report whose picture claims 12000 x 12000 pixels opens, shows a placeholder, and writes
    // the picture back unchanged.
    QImage small(12000, 1, QImage::Format_Mono);
    small.fill(0);
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        small.save(&buffer, "PNG");
    }
    const QString path = writeReport(m_project->path(), "big.kstchk",
        R"(<document resPak=":res/reports/kstchk.pak"><page id="page1">
<image index="1" x="10" y="10" width="100" height="50" resizable="1" scale="1"/></page></document>)",
        { { "png", bytes } });
    GraphicalReportDocument doc(path);
    QVERIFY(doc.isValid());
    ReportResizableImage* image = nullptr;
    for (QGraphicsItem* item : doc.scene()->items())
        image = image ? image : qgraphicsitem_cast<ReportResizableImage*>(item);
    QVERIFY(image);
    QVERIFY(image->isPlaceholder());
    doc.setModified(true);
    doc.save();
    DocumentContainer container;
    QVERIFY(container.load(path));
    QCOMPARE(container.at(1).data, bytes);
}

KESTROVAN_TEST_MAIN(TestReportDocument)
#include "tst_document.moc"
