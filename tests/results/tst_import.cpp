#include "CsvResultsModel.h"
#include "DialogImportResults.h"
#include "DocumentFactory.h"
#include "GraphicalReportDocument.h"
#include "GraphicsTextItem.h"
#include "MainWindow.h"
#include "MainWindowRef.h"
#include "ReportScene.h"
#include "ReportTable.h"
#include "ReportTableCell.h"
#include "ReportTestSupport.h"
#include "ReportText.h"
#include "ResultsColumnMap.h"
#include "ResultsImport.h"
#include "ResultsImporterCommand.h"
#include "Startup.h"
#include "TestSupport.h"

#include <QAction>
#include <QBuffer>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QUndoStack>

// Results of a tester's file going into the array test report's table and fields.
class TestImport : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { registerDocumentKinds(); }
    void init();

    void firstAndSecondImportFillTheNextColumns();
    void insulationTestsShareOneColumn();
    void fieldsTitleAndCommentsAndOneUndoStep();
    void seventhImportFindsTheTableFull();
    void oldReportsAndOtherKindsHaveNoPlace();
    void invalidRowsAreRefused();
    void mainWindowReportsEachResult();
    void hugeValuesAreCutToWhatACellShows();
    void theCommandEditsTheModelWithoutViews();
    void fieldsKeepTheirLimitAndFixedTextsTheirWords_data();
    void fieldsKeepTheirLimitAndFixedTextsTheirWords();

private:
    std::unique_ptr<GraphicalReportDocument> newReport(const QString& fileName = "Array Test Report.kstatr");
    QString cell(GraphicalReportDocument* doc, int column, int row) const;
    QString field(GraphicalReportDocument* doc, const QString& id) const;
    QModelIndexList rows(std::initializer_list<int> numbers) const;

    std::unique_ptr<QTemporaryDir> m_project;
    CsvResultsModel m_model;
};

static const QByteArray Results
    = "PV Tester Results,PVT1600 SN:42,Export,2\n"
      "Index,DD/MM/YYYY,TestType,Voc (VDC),Isc (ADC),Irr (W/m2),Viso (V),Riso (MOhm),Rpe (Ohm),IVCurve\n"
      "1,07/12/2026,16,612.4,9.81,812,,,,1:2,0,ABCD\n" // row 0: curve
      "2,07/12/2026,4,,,,1000,120.5,,0,ABCD\n" // row 1: positive earth
      "3,07/12/2026,8,,,,1000,98.2,,0,ABCD\n" // row 2: negative earth
      "4,08/12/2026,4,,,,1000,77.7,,0,ABCD\n" // row 3: positive earth
      "5,08/12/2026,1,,,,,,0.21,0,ABCD\n"; // row 4: continuity

void TestImport::init()
{
    TestSupport::resetState();
    m_project = std::make_unique<QTemporaryDir>();
    QBuffer buffer;
    buffer.setData(Results);
    buffer.open(QIODevice::ReadOnly);
    m_model.load(buffer);
}

std::unique_ptr<GraphicalReportDocument> TestImport::newReport(const QString& fileName)
{
    return std::make_unique<GraphicalReportDocument>(createNewDocument(m_project->path(), fileName));
}

namespace {
// What a field shows, when its model item holds the same; both otherwise.
QString shownAndKept(const QString& shown, const ReportItem* kept)
{
    return kept && kept->text == shown
        ? shown
        : QString("shown \"%1\", kept \"%2\"").arg(shown, kept ? kept->text : "-");
}
} // namespace

QString TestImport::cell(GraphicalReportDocument* doc, int column, int row) const
{
    auto* table = qgraphicsitem_cast<ReportTable*>(doc->scene()->itemById("test_table"));
    return shownAndKept(table->cellAt(column, row)->plainText(),
        doc->scene()->document()->itemById("test_table")->cellAt(column, row));
}

QString TestImport::field(GraphicalReportDocument* doc, const QString& id) const
{
    return shownAndKept(static_cast<ReportText*>(doc->scene()->itemById(id))->plainText(),
        doc->scene()->document()->itemById(id));
}

QModelIndexList TestImport::rows(std::initializer_list<int> numbers) const
{
    QModelIndexList indexes;
    for (int row : numbers)
        indexes << m_model.index(row, 0);
    return indexes;
}

void TestImport::firstAndSecondImportFillTheNextColumns()
{
    auto doc = newReport();
    QCOMPARE(ResultsColumnMap(doc->scene(), &m_model).importRows(rows({ 0 })), ResultsColumnMap::Imported);
    QCOMPARE(cell(doc.get(), 2, 12), QString("612.4"));
    QCOMPARE(cell(doc.get(), 2, 13), QString("9.81"));
    QCOMPARE(cell(doc.get(), 2, 14), QString("812"));
    QCOMPARE(cell(doc.get(), 2, 16), QString()); // empty values are left out
    QCOMPARE(cell(doc.get(), 1, 12), QString("Voc (V)"));

    QCOMPARE(ResultsColumnMap(doc->scene(), &m_model).importRows(rows({ 4 })), ResultsColumnMap::Imported);
    QCOMPARE(cell(doc.get(), 3, 19), QString("0.21"));
    QCOMPARE(cell(doc.get(), 2, 19), QString());
}

void TestImport::insulationTestsShareOneColumn()
{
    auto doc = newReport();
    // Positive and negative earth of one string land in one column, rows 17 and 18.
    QCOMPARE(ResultsColumnMap(doc->scene(), &m_model).importRows(rows({ 1, 2 })), ResultsColumnMap::Imported);
    QCOMPARE(cell(doc.get(), 2, 16), QString("1000"));
    QCOMPARE(cell(doc.get(), 2, 17), QString("120.5"));
    QCOMPARE(cell(doc.get(), 2, 18), QString("98.2"));

    // Two positive-earth rows together: the first one's value only.
    QCOMPARE(ResultsColumnMap(doc->scene(), &m_model).importRows(rows({ 1, 3 })), ResultsColumnMap::Imported);
    QCOMPARE(cell(doc.get(), 3, 17), QString("120.5"));
    QCOMPARE(cell(doc.get(), 3, 18), QString());

    // A row turned into a negative-earth test in the import list goes to row 18.
    QVERIFY(m_model.setData(m_model.index(3, m_model.testTypeColumn()), "8"));
    QCOMPARE(ResultsColumnMap(doc->scene(), &m_model).importRows(rows({ 3 })), ResultsColumnMap::Imported);
    QCOMPARE(cell(doc.get(), 4, 18), QString("77.7"));
    QCOMPARE(cell(doc.get(), 4, 17), QString());
}

void TestImport::fieldsTitleAndCommentsAndOneUndoStep()
{
    auto doc = newReport();
    auto* instruments = static_cast<ReportText*>(doc->scene()->itemById("test_instruments"));
    instruments->textItem()->setPlainText("Clamp meter");
    doc->undoStack()->clear();
    doc->setModified(false);

    QCOMPARE(ResultsColumnMap(doc->scene(), &m_model).importRows(rows({ 0, 4 })), ResultsColumnMap::Imported);
    QCOMPARE(doc->undoStack()->count(), 1);
    QVERIFY(doc->isModified());
    // The last row's value wins in a field that several rows fill.
    QCOMPARE(field(doc.get(), "DD/MM/YYYY"), QString("08/12/2026"));
    QCOMPARE(field(doc.get(), "test_instruments"), QString("Clamp meter, PVT1600 SN:42"));
    QCOMPARE(field(doc.get(), "comments"), QString("Index=5; \n"));

    // The instrument is named once however often its results come in.
    QCOMPARE(ResultsColumnMap(doc->scene(), &m_model).importRows(rows({ 1 })), ResultsColumnMap::Imported);
    QCOMPARE(field(doc.get(), "test_instruments"), QString("Clamp meter, PVT1600 SN:42"));
    QCOMPARE(field(doc.get(), "comments"), QString("Index=5; \nIndex=2; \n"));

    doc->undo();
    doc->undo();
    QCOMPARE(field(doc.get(), "test_instruments"), QString("Clamp meter"));
    QCOMPARE(field(doc.get(), "comments"), QString());
    QCOMPARE(field(doc.get(), "DD/MM/YYYY"), QString());
    QCOMPARE(cell(doc.get(), 2, 12), QString());
    QCOMPARE(cell(doc.get(), 2, 19), QString());
    QVERIFY(!doc->isModified());
}

void TestImport::seventhImportFindsTheTableFull()
{
    auto doc = newReport();
    for (int i = 0; i < 6; ++i)
        QCOMPARE(
            ResultsColumnMap(doc->scene(), &m_model).importRows(rows({ 0 })), ResultsColumnMap::Imported);
    QCOMPARE(cell(doc.get(), 7, 12), QString("612.4"));
    const int steps = doc->undoStack()->count();
    QCOMPARE(ResultsColumnMap(doc->scene(), &m_model).importRows(rows({ 0 })), ResultsColumnMap::TableFull);
    QCOMPARE(doc->undoStack()->count(), steps);
}

void TestImport::oldReportsAndOtherKindsHaveNoPlace()
{
    // A report of the first layout revision: no ids on the result rows.
    GraphicalReportDocument old(ReportTestSupport::writeReport(
        m_project->path(), "Old.kstatr", R"(<document resPak=":res/reports/kstatr.pak"/>)"));
    QVERIFY(old.isValid());
    QCOMPARE(
        ResultsColumnMap(old.scene(), &m_model).importRows(rows({ 0 })), ResultsColumnMap::NoPlaceToInsert);
    QCOMPARE(old.undoStack()->count(), 0);
    auto checklist = newReport("Checklist.kstchk");
    QCOMPARE(ResultsColumnMap(checklist->scene(), &m_model).importRows(rows({ 0 })),
        ResultsColumnMap::NoPlaceToInsert);
    QCOMPARE(checklist->undoStack()->count(), 0);
}

void TestImport::invalidRowsAreRefused()
{
    auto doc = newReport();
    CsvResultsModel other;
    QBuffer buffer;
    buffer.setData(Results + "6,09/12/2026,2,1,1,1,,,,0,ABCD\n7,09/12/2026,2,1,1,1,,,,0,ABCD\n");
    buffer.open(QIODevice::ReadOnly);
    other.load(buffer);
    QCOMPARE(ResultsColumnMap(doc->scene(), &m_model).importRows({ other.index(6, 0) }),
        ResultsColumnMap::InvalidRow);
    QCOMPARE(doc->undoStack()->count(), 0);
}

void TestImport::mainWindowReportsEachResult()
{
    QSettings().setValue("Welcome/show", false);
    QSettings().setValue("Directories/RootDir", m_project->path());
    MainWindow window;
    window.show();
    auto& prompts = ScriptedPrompts::get();
    const QString results = m_project->filePath("results.csv");
    {
        QFile f(results);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(Results);
    }
    window.importFile(results);
    DialogImportResults* dialog = window.importDialog();
    const QModelIndex first = dialog->model()->index(0, 0);

    // Nothing active: nothing happens.
    dialog->slotRowDoubleClicked(first);
    QVERIFY(prompts.asked.isEmpty());

    auto* report = qobject_cast<GraphicalReportDocument*>(
        window.openDocument(createNewDocument(m_project->path(), "Array Test Report.kstatr")));
    QVERIFY(report);
    // The report's own Import goes to the main window's file chooser (cancelled).
    prompts.paths << QString();
    report->importAction()->trigger();
    QCOMPARE(prompts.asked.size(), 1);
    QCOMPARE(prompts.asked.first().caption, QString("Import CSV File"));
    prompts.reset();
    dialog->slotRowDoubleClicked(first);
    QVERIFY(prompts.asked.isEmpty());
    QCOMPARE(cell(report, 2, 12), QString("612.4"));
    for (int i = 0; i < 5; ++i)
        dialog->slotRowDoubleClicked(first);
    dialog->slotRowDoubleClicked(first);
    QCOMPARE(prompts.messageTexts(),
        QStringList { "No more room left in the report table. Please use another Array Test Report." });

    prompts.reset();
    window.openDocument(createNewDocument(m_project->path(), "Checklist.kstchk"));
    dialog->slotRowDoubleClicked(first);
    QCOMPARE(prompts.messageTexts(),
        QStringList { "Unable to find where to insert data. Please ensure an Array Test "
                      "Report has focus before inserting the data." });
    QCOMPARE(prompts.asked.first().message.icon, QMessageBox::Warning);

    // An array test report laid out by the first revision of the form.
    prompts.reset();
    window.openDocument(ReportTestSupport::writeReport(
        m_project->path(), "Old.kstatr", R"(<document resPak=":res/reports/kstatr.pak"/>)"));
    dialog->slotRowDoubleClicked(first);
    QCOMPARE(prompts.messageTexts().size(), 1);
    QVERIFY(prompts.messageTexts().first().startsWith(
        "You are attempting to insert data into an older version of the Array Test Report document. \t\t\t"));

    // A row the list does not hold is a programming error, named by its texts.
    prompts.reset();
    window.setActiveDocument(report);
    CsvResultsModel other;
    QBuffer buffer;
    buffer.setData(Results + "6,09/12/2026,2,1,1,1,,,,0,ABCD\n");
    buffer.open(QIODevice::ReadOnly);
    other.load(buffer);
    emit dialog->importRow({ other.index(5, 0), other.index(5, 1) });
    QCOMPARE(prompts.messageTexts(), QStringList { "Programming error: Invalid row: 6, 09/12/2026" });
    QCOMPARE(prompts.asked.first().message.icon, QMessageBox::Critical);

    for (AbstractDocument* doc : window.documents())
        doc->setModified(false);
}

void TestImport::hugeValuesAreCutToWhatACellShows()
{
    const QString digits(20000, QLatin1Char('7'));
    const QByteArray file = "PV Tester Results," + digits.toLatin1()
        + "\nIndex,DD/MM/YYYY,TestType,Voc (VDC),Isc (ADC),IVCurve\n" + digits.toLatin1() + ","
        + digits.toLatin1() + ",16," + digits.toLatin1() + ",9.81,0,ABCD\n";
    CsvResultsModel model;
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    model.load(buffer);
    QCOMPARE(model.rowCount(), 1);

    auto doc = newReport();
    QCOMPARE(ResultsColumnMap(doc->scene(), &model).importRows({ model.index(0, 0) }), 0);
    const QString voc = cell(doc.get(), 2, 12);
    QVERIFY2(voc.size() <= 64 && voc.startsWith("7777") && voc.endsWith(QChar(0x2026)), qPrintable(voc));
    QCOMPARE(cell(doc.get(), 2, 13), QString("9.81"));
    for (const char* id : { "DD/MM/YYYY", "test_instruments", "comments" }) {
        const QString text = field(doc.get(), id);
        QVERIFY2(!text.isEmpty() && text.size() <= 80, id);
        QVERIFY2(!text.contains(digits), id);
    }
    // The cut value is drawn inside its cell.
    auto* table = qgraphicsitem_cast<ReportTable*>(doc->scene()->itemById("test_table"));
    ReportTableCell* target = table->cellAt(2, 12);
    GraphicsTextItem* text = target->textItem();
    const QRectF drawn = text->mapRectToItem(target, text->boundingRect());
    QVERIFY(target->boundingRect().adjusted(-1, -1, 1, 1).contains(drawn));
    // What is kept and saved is the value as the cell shows it, ellipsis included.
    doc->save();
    GraphicalReportDocument reopened(doc->filePath());
    QCOMPARE(cell(&reopened, 2, 12), voc);
    QCOMPARE(cell(&reopened, 2, 13), QString("9.81"));
}

void TestImport::theCommandEditsTheModelWithoutViews()
{
    ReportItem cell(ReportItem::Kind::Cell);
    ReportItem field(ReportItem::Kind::Text);
    field.text = "before";
    // Cutting a value to its cell is the cell's on screen: the model takes it whole.
    const QString value(64, QLatin1Char('7'));
    QUndoStack stack;
    auto* command = new ResultsImporterCommand(nullptr);
    command->setCellText(&cell, value);
    command->setFieldText(&field, "before", "after");
    stack.push(command);
    QCOMPARE(cell.text, value);
    QCOMPARE(field.text, QString("after"));
    stack.undo();
    QCOMPARE(cell.text, QString());
    QCOMPARE(field.text, QString("before"));
    stack.redo();
    QCOMPARE(cell.text, value);
}

void TestImport::fieldsKeepTheirLimitAndFixedTextsTheirWords_data()
{
    // The comments before the import, the comments after it (%1 the text before) and whether the
    // user is told that something was left out.
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("told");
    QTest::newRow("room") << 10 << "%1Index=1; initial=yes; \n" << false;
    QTest::newRow("exactly full") << ReportLimits::MaxFieldLength - 23 << "%1Index=1; initial=yes; \n"
                                  << false;
    QTest::newRow("one too many") << ReportLimits::MaxFieldLength - 22 << "%1Index=1; initial=yes; " << true;
    QTest::newRow("full") << ReportLimits::MaxFieldLength << "%1" << true;
}

void TestImport::fieldsKeepTheirLimitAndFixedTextsTheirWords()
{
    QFETCH(int, before);
    QFETCH(QString, after);
    QFETCH(bool, told);
    // "initial" names the check box "Initial verification": its caption is the form's, and the
    // value goes to the comments.
    const QString path = m_project->filePath("results.csv");
    QVERIFY(ReportTestSupport::writeFile(
        path, "PV Tester Results,SN:42\nIndex,initial,Voc (VDC),IVCurve\n1,yes,612.4,0,ABCD\n"));
    auto doc = newReport();
    auto* comments = static_cast<ReportText*>(doc->scene()->itemById("comments"));
    const QString old(before, QLatin1Char('c'));
    comments->textItem()->setPlainText(old);
    QMainWindow window;
    setCurrentMainWindow(&window);
    ResultsImport import(&window, [&doc] { return doc.get(); });
    QVERIFY(import.importFile(path));
    import.importRows({ import.dialog()->model()->index(0, 0) });
    QCOMPARE(cell(doc.get(), 2, 12), QString("612.4"));
    QCOMPARE(field(doc.get(), "initial"), QString("Initial verification"));
    QCOMPARE(field(doc.get(), "comments"), after.arg(old));
    // Told as typing into a full field is told: in the status bar, no box to answer.
    QCOMPARE(
        window.statusBar()->currentMessage(), told ? GraphicalReportDocument::inputCutMessage() : QString());
    QVERIFY(ScriptedPrompts::get().messageTexts().isEmpty());

    // Saved and opened again, the report holds what the import put in.
    doc->save();
    GraphicalReportDocument reopened(doc->filePath());
    QCOMPARE(field(&reopened, "comments"), after.arg(old));
    QCOMPARE(field(&reopened, "initial"), QString("Initial verification"));
    QVERIFY(ScriptedPrompts::get().messageTexts().isEmpty());
    setCurrentMainWindow(nullptr);
}

KESTROVAN_TEST_MAIN(TestImport)
#include "tst_import.moc"
