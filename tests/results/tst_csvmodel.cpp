#include "CsvResultsModel.h"
#include "CsvResultsTestTypeDelegate.h"
#include "DialogImportResults.h"
#include "TestSupport.h"
#include "TesterFileGenerator.h"

#include <QAbstractItemModelTester>
#include <QBuffer>
#include <QComboBox>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>

#include <sys/stat.h>

// Reading a tester's results file into the import list.
class TestCsvModel : public QObject
{
    Q_OBJECT
private slots:
    void init() { TestSupport::resetState(); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void parsesTitleHeadersAndRows();
    void separatorFollowsTheLocale();
    void shortAndEmptyLinesAreDropped();
    void failedResultsShowInRed();
    void onlyTheTestTypeColumnIsEditable();
    void brokenEncodingKeepsTheRow();
    void generatedFilesReadBackWithValidChecksums_data();
    void generatedFilesReadBackWithValidChecksums();
    void delegateTurnsInsulationTestsAround();
    void dialogLoadsAFileAndHandsOnTheChosenRows();
    void dialogReportsAnUnreadableFile_data();
    void dialogReportsAnUnreadableFile();
    void oneLongLineIsReadOnce();

private:
    static std::unique_ptr<CsvResultsModel> modelOf(const QByteArray& content)
    {
        auto model = std::make_unique<CsvResultsModel>();
        QBuffer buffer;
        buffer.setData(content);
        buffer.open(QIODevice::ReadOnly);
        model->load(buffer);
        return model;
    }
};

void TestCsvModel::parsesTitleHeadersAndRows()
{
    const auto model = modelOf("Tester, PVT1600 SN:42 ,x\r\n"
                               "Index, TestType ,Voc (VDC),IVCurve\r\n"
                               "1,16, 512.3 ,1:2:3:0,4:5,0,ABCD\n"
                               "2,4,,0,1F2E\r\r\n");
    QAbstractItemModelTester tester(model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model->title(), QString("PVT1600 SN:42"));
    QCOMPARE(model->headers(), (QStringList { "Index", "TestType", "Voc (VDC)" }));
    QCOMPARE(model->testTypeColumn(), 1);
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->columnCount(), 3);
    QCOMPARE(model->data(model->index(0, 2)).toString(), QString("512.3"));
    QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QString("Voc (VDC)"));
    QVERIFY(!model->headerData(2, Qt::Vertical).isValid());
    QCOMPARE(model->testType(model->index(1, 0)), 4u);
    QCOMPARE(model->testType(QModelIndex()), 0u);

    // A one-field first line leaves the title empty; fewer than two lines give an empty model.
    QCOMPARE(modelOf("only\nIndex,Voc (VDC)\n1,2\n")->title(), QString());
    QCOMPARE(modelOf("Tester,SN\n")->rowCount(), 0);
    QCOMPARE(modelOf("")->columnCount(), 0);

    // Loading into a model that views already watch resets it consistently, also down to empty.
    CsvResultsModel watched;
    QAbstractItemModelTester watcher(&watched, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (const QByteArray& content : { QByteArray("T,SN\nIndex,TestType\n1,4\n2,8\n"), QByteArray("T,SN\n"),
             QByteArray("T,SN\nIndex,Voc (VDC),Isc (A)\n1,2,3\n") }) {
        QByteArray bytes = content;
        QBuffer buffer(&bytes);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        watched.load(buffer);
    }
    QCOMPARE(watched.rowCount(), 1);
    QCOMPARE(watched.columnCount(), 3);
}

void TestCsvModel::separatorFollowsTheLocale()
{
    const QByteArray semicolons = "Tester;SN 7\nIndex;Voc (VDC)\n1;512,3\n";
    auto english = modelOf(semicolons);
    QCOMPARE(english->separator(), QChar(','));
    QCOMPARE(english->columnCount(), 1); // the whole line is one column name
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto german = modelOf(semicolons);
    QCOMPARE(german->separator(), QChar(';'));
    QCOMPARE(german->title(), QString("SN 7"));
    QCOMPARE(german->data(german->index(0, 1)).toString(), QString("512,3"));
}

void TestCsvModel::shortAndEmptyLinesAreDropped()
{
    const auto model = modelOf("T,SN\nA,B,C\n1,2,3\n1,2\n\n4,5,6,7\n");
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->data(model->index(1, 0)).toString(), QString("4"));
    QVERIFY(!model->index(2, 0).isValid());
    QVERIFY(!model->data(model->index(0, 3)).isValid());
}

void TestCsvModel::failedResultsShowInRed()
{
    const auto model = modelOf("T,SN\nIndex,TestType,IVCurve\n1,4,3,AB12\n2,4,0,AB12\n3,4,x,AB12\n");
    QCOMPARE(model->data(model->index(0, 0), Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));
    QVERIFY(!model->data(model->index(1, 0), Qt::ForegroundRole).isValid());
    QVERIFY(!model->data(model->index(2, 0), Qt::ForegroundRole).isValid());
    // A row of exactly two fields is never red.
    const auto two = modelOf("T,SN\nA\n5,3\n");
    QVERIFY(!two->data(two->index(0, 0), Qt::ForegroundRole).isValid());
}

void TestCsvModel::onlyTheTestTypeColumnIsEditable()
{
    auto model = modelOf("T,SN\nIndex,TestType\n1,4\n");
    QAbstractItemModelTester tester(model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(!(model->flags(model->index(0, 0)) & Qt::ItemIsEditable));
    QVERIFY(model->flags(model->index(0, 1)) & Qt::ItemIsEditable);
    QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);
    QVERIFY(!model->setData(model->index(0, 0), "9"));
    QVERIFY(!model->setData(model->index(0, 1), "8", Qt::DisplayRole));
    QVERIFY(model->setData(model->index(0, 1), "8"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(model->testType(model->index(0, 0)), 8u);

    auto withoutType = modelOf("T,SN\nIndex,Voc (VDC)\n1,4\n");
    QCOMPARE(withoutType->testTypeColumn(), -1);
    QVERIFY(!(withoutType->flags(withoutType->index(0, 1)) & Qt::ItemIsEditable));
    QCOMPARE(withoutType->testType(withoutType->index(0, 1)), 0u);
}

void TestCsvModel::brokenEncodingKeepsTheRow()
{
    QByteArray content = "T,SN\nIndex,Site\n1,Caf\xC3\xA9\n2,Bad \xFF\xFE bytes\n3,end";
    const auto model = modelOf(content);
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(model->data(model->index(0, 1)).toString(), QString::fromUtf8("Caf\xC3\xA9"));
    QVERIFY(model->data(model->index(1, 1)).toString().startsWith("Bad "));
    QCOMPARE(model->data(model->index(2, 1)).toString(), QString("end"));

    // A very long line split across read slices stays one line.
    const QByteArray longField(300000, 'v');
    const auto big = modelOf("T,SN\nA,B\n1," + longField + "\n2,b\n");
    QCOMPARE(big->rowCount(), 2);
    QCOMPARE(big->data(big->index(0, 1)).toString().size(), longField.size());
}

void TestCsvModel::generatedFilesReadBackWithValidChecksums_data()
{
    QTest::addColumn<QChar>("separator");
    QTest::newRow("comma") << QChar(',');
    QTest::newRow("semicolon") << QChar(';');
}

void TestCsvModel::generatedFilesReadBackWithValidChecksums()
{
    QFETCH(QChar, separator);
    if (separator == ';')
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TesterFileOptions options;
    options.rows = 10;
    options.separator = separator;
    options.curvePoints = 16;
    const QByteArray file = generateTesterFile(options);
    const auto model = modelOf(file);
    QCOMPARE(model->rowCount(), 10);
    QCOMPARE(model->title(), options.serialNumber);
    QCOMPARE(model->headers().last(), QString("Impp(A)"));
    QCOMPARE(model->testType(model->index(0, 0)), 1u);
    QCOMPARE(model->testType(model->index(3, 0)), 16u);

    // Every data line carries the checksum of everything before it, counted in the C locale.
    const QList<QByteArray> lines = file.split('\n');
    const char sep = separator.toLatin1();
    for (int i = 2; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        if (line.isEmpty())
            continue;
        const int last = line.lastIndexOf(sep);
        bool ok = false;
        const uint stored = line.mid(last + 1).toUInt(&ok, 16);
        QVERIFY(ok);
        QCOMPARE(stored, uint(testerLineChecksum(line.left(last + 1), sep, sep == ';' ? ',' : '.')));
    }
    QCOMPARE(testerLineChecksum("1,2.5,", ',', '.'), quint16(1 + '1' + ',' + '2' + '.' + '5' + ','));
    QCOMPARE(testerLineChecksum("1;2,5;", ';', ','), testerLineChecksum("1,2.5,", ',', '.'));
}

void TestCsvModel::delegateTurnsInsulationTestsAround()
{
    auto model = modelOf("T,SN\nIndex,TestType\n1,4\n2,8\n3,2\n");
    CsvResultsTestTypeDelegate delegate;
    QWidget parent;
    const QStyleOptionViewItem option;
    QVERIFY(!delegate.createEditor(&parent, option, model->index(2, 1)));
    std::unique_ptr<QWidget> editor(delegate.createEditor(&parent, option, model->index(0, 1)));
    auto* combo = qobject_cast<QComboBox*>(editor.get());
    QVERIFY(combo);
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(1), QString("Negative-earth insulation"));
    delegate.setEditorData(combo, model->index(0, 1));
    QCOMPARE(combo->currentIndex(), 0);
    combo->setCurrentIndex(1);
    delegate.setModelData(combo, model.get(), model->index(0, 1));
    QCOMPARE(model->data(model->index(0, 1)).toString(), QString("8"));
    delegate.setEditorData(combo, model->index(1, 1));
    QCOMPARE(combo->currentIndex(), 1);
    combo->setCurrentIndex(0);
    delegate.setModelData(combo, model.get(), model->index(1, 1));
    QCOMPARE(model->data(model->index(1, 1)).toString(), QString("4"));
    QCOMPARE(CsvResultsModel::testTypeName(16), QString("AutoTest & Curve"));
    QCOMPARE(CsvResultsModel::testTypeName(3), QString("Unknown"));
}

void TestCsvModel::dialogLoadsAFileAndHandsOnTheChosenRows()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("results.csv");
    {
        TesterFileOptions options;
        options.rows = 6;
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(generateTesterFile(options));
    }
    DialogImportResults dialog;
    QVERIFY(dialog.load(path));
    QCOMPARE(dialog.windowTitle(), QString("Import Results - results.csv"));
    QCOMPARE(dialog.model()->rowCount(), 6);
    QTableView* view = dialog.tableView();
    const int typeColumn = dialog.model()->testTypeColumn();
    QVERIFY(qobject_cast<CsvResultsTestTypeDelegate*>(view->itemDelegateForColumn(typeColumn)));
    // Row 2 is a positive-earth test: its combo box is open at once.
    QVERIFY(qobject_cast<QComboBox*>(view->indexWidget(dialog.model()->index(1, typeColumn))));
    QVERIFY(!view->indexWidget(dialog.model()->index(0, typeColumn)));

    QSignalSpy imported(&dialog, &DialogImportResults::importRow);
    dialog.slotImportRows();
    QCOMPARE(imported.count(), 0); // nothing selected
    view->selectRow(1);
    view->selectionModel()->select(
        dialog.model()->index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    dialog.slotImportRows();
    QCOMPARE(imported.count(), 1);
    const auto rows = imported.first().first().value<QModelIndexList>();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).column(), 0);
    dialog.slotRowDoubleClicked(dialog.model()->index(4, 3));
    QCOMPARE(
        imported.last().first().value<QModelIndexList>(), QModelIndexList { dialog.model()->index(4, 3) });
}

void TestCsvModel::dialogReportsAnUnreadableFile_data()
{
    // What is at the path: "missing", "folder", "pipe" (a named pipe nobody writes to, which
    // must not be opened), "large" (a plain file above the limit).
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "missing"
                             << "The file does not exist.";
    QTest::newRow("folder") << "folder"
                            << "It is not a regular file.";
    QTest::newRow("named pipe") << "pipe"
                                << "It is not a regular file.";
    QTest::newRow("above the limit") << "large"
                                     << "The file is larger than 64 MB: it is not a tester's results file.";
}

void TestCsvModel::dialogReportsAnUnreadableFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = kind == "missing" ? QString("/no/such/results.csv") : dir.filePath("results.csv");
    if (kind == "folder") {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == "pipe") {
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == "large") {
        // Results lines first, then a hole that reads as zero bytes: a sparse file costs nothing.
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Tester,SN\nIndex,Voc (VDC)\n1,2\n");
        QVERIFY(file.resize(CsvResultsModel::MaxFileSize + 1));
    }
    DialogImportResults dialog;
    QVERIFY(!dialog.load(path));
    QCOMPARE(ScriptedPrompts::get().messageTexts(),
        QStringList { QString("Error opening %1 for reading.").arg(path) });
    QCOMPARE(ScriptedPrompts::get().asked.first().message.informativeText, reason);
    QCOMPARE(ScriptedPrompts::get().asked.first().message.icon, QMessageBox::Warning);
    QCOMPARE(dialog.model()->rowCount(), 0);
}

void TestCsvModel::oneLongLineIsReadOnce()
{
    // One line of 8 MB without a line end: its title is the second field, and nothing else is kept.
    QByteArray line = "Tester,SN 7,";
    line += QByteArray("1:2,").repeated(2 << 20);
    auto model = modelOf(line);
    QCOMPARE(model->title(), QString("SN 7"));
    QCOMPARE(model->columnCount(), 0);
    // A long row with fewer fields than the columns is dropped, one with enough is kept whole.
    model
        = modelOf("T,SN\nIndex,A,B,C\n" + QByteArray(4 << 20, 'x') + ",1\n1,2,3," + QByteArray(1 << 20, 'y'));
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(model->data(model->index(0, 3)).toString().size(), 1 << 20);

    // A device longer than the limit is read up to it.
    QTemporaryDir dir;
    QFile file(dir.filePath("long.csv"));
    QVERIFY(file.open(QIODevice::ReadWrite));
    file.write("T,SN\nIndex,A\n1,2\n");
    QVERIFY(file.resize(CsvResultsModel::MaxFileSize + (1 << 20)));
    QVERIFY(file.seek(CsvResultsModel::MaxFileSize + 10));
    file.write("\n9,9\n");
    QVERIFY(file.seek(0));
    CsvResultsModel limited;
    limited.load(file);
    QCOMPARE(limited.rowCount(), 1);
}

KESTROVAN_TEST_MAIN(TestCsvModel)
#include "tst_csvmodel.moc"
