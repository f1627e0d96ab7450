// The curve tree: what each role shows, edits, new nodes, the column mask and moving nodes by
// drag and drop.
#include "ColumnConfigDlg.h"
#include "CurveStore.h"
#include "CurveTestSupport.h"
#include "CurveTree.h"
#include "CurveTreeModel.h"
#include "FileNames.h"
#include "Folders.h"
#include "TestDate.h"
#include "TestSupport.h"
#include "TreeItem.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QHeaderView>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>

using namespace IVCurve;
using namespace CurveTestSupport;

class TestTree : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void displayColumnsMapToTheNodeData();
    void statusColoursAndToolTips();
    void editsMarkTheDocumentModified();
    void newNodesGetFreshIds();
    void testDateDisplay_data();
    void testDateDisplay();
    void columnMaskFromSettingsAndDialog();
    void columnConfigDialogButtons();
    void dragAndDropMovesASubtreeOnce();
    void dropsThatCannotBeMovesAreRefused();

private:
    TreeItem* addString(TreeItem* parent, const QString& label, quint32 status = 0);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CurveStore> m_store;
    CurveTreeModel* m_model = nullptr;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};

void TestTree::init()
{
    TestSupport::resetState();
    m_dir = std::make_unique<QTemporaryDir>();
    const QString path = m_dir->filePath("tree.kstcrv");
    QVERIFY(copyTemplate(path));
    m_store = std::make_unique<CurveStore>(path);
    m_model = m_store->treeModel();
    QVERIFY(m_model);
    m_tester = std::make_unique<QAbstractItemModelTester>(
        m_model, QAbstractItemModelTester::FailureReportingMode::QtTest);
}

void TestTree::cleanup()
{
    m_tester.reset();
    m_model = nullptr;
    m_store.reset();
    m_dir.reset();
}

TreeItem* TestTree::addString(TreeItem* parent, const QString& label, quint32 status)
{
    TreeItem* item = m_model->newNode(m_model->indexForItem(parent));
    item->setData(TreeLabel, label);
    if (status)
        item->setData(TreeStatus, status);
    return item;
}

void TestTree::displayColumnsMapToTheNodeData()
{
    QCOMPARE(m_model->columnCount(), 17);
    const QStringList headers { "Item Description", "Tester Index", "Date Tested", "Irr", "Tcell", "FF",
        "Isc", "Voc", "Impp", "Vmpp", "Riso", "Viso", "Rpe", "Iclamp", " ", "", "Verdict" };
    for (int c = 0; c < 17; ++c)
        QCOMPARE(m_model->headerData(c, Qt::Horizontal).toString(), headers.at(c));

    TreeItem* item = addString(m_model->rootItem(), "String 1");
    const QStringList values { "", "", "", "", "idx", "2024-05-03T14:05:09", "", "irr", "amb", "tcell", "ff",
        "voc", "isc", "riso", "viso", "iclamp", "rpe", "vmp", "imp" };
    for (int i = TreeMemLocation; i < TreeDataCount; ++i) {
        if (i != TreeStatus)
            item->setData(i, values.at(i));
    }
    item->setColour(Qt::magenta);
    const QStringList shown { "String 1", "idx", TestDate::displayText("2024-05-03T14:05:09"), "irr", "tcell",
        "ff", "isc", "voc", "imp", "vmp", "riso", "viso", "rpe", "iclamp", "", "", "" };
    for (int c = 0; c < 17; ++c)
        QCOMPARE(m_model->index(0, c).data().toString(), shown.at(c));
    QCOMPARE(m_model->index(0, 2).data().toString().right(9), QString(" 14:05:09"));
    QCOMPARE(
        m_model->index(0, 1).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignHCenter | Qt::AlignVCenter));
    QVERIFY(!m_model->index(0, 0).data(Qt::TextAlignmentRole).isValid());
    QCOMPARE(m_model->index(0, 14).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::magenta));
    QCOMPARE(m_model->index(0, 14).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::magenta));
    // The ambient temperature is held but has no column.
    for (int c = 0; c < 16; ++c)
        QVERIFY(m_model->index(0, c).data().toString() != "amb");

    QCOMPARE(m_model->flags(m_model->index(0, 0))
            & (Qt::ItemIsEditable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled),
        Qt::ItemIsEditable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled);
    QVERIFY(!(m_model->flags(m_model->index(0, 3)) & Qt::ItemIsEditable));
    QCOMPARE(m_model->flags(QModelIndex()), Qt::ItemIsDropEnabled);

    // The verdict column shows what it is given for the string's curve, coloured by outcome.
    item->setData(TreeCurveID, 42u);
    Verdict fail;
    fail.outcome = Verdict::Fail;
    fail.shortfalls.append({ Verdict::Voc, 4.3 });
    m_model->setVerdicts({ { 42u, fail } });
    QCOMPARE(m_model->index(0, ColumnVerdict).data().toString(), QString("Fail: Voc +4.3 %"));
    QCOMPARE(m_model->index(0, ColumnVerdict).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    m_model->setVerdicts({});
    QVERIFY(!m_model->index(0, ColumnVerdict).data().isValid());
}

void TestTree::statusColoursAndToolTips()
{
    TreeItem* root = m_model->rootItem();
    addString(root, "all", 0x0f000001);
    addString(root, "spreadsheet and variance", 0x03000000);
    addString(root, "spreadsheet", 0x01000000);
    addString(root, "no irradiance and checksum", 0x04000001);
    addString(root, "tester status only", 0x00000040);
    // newNode puts each at row 0: the last added is row 0.
    const QModelIndex plain = m_model->index(0, 0);
    QCOMPARE(plain.data(Qt::ToolTipRole).toString(), QString("tester status only"));
    QVERIFY(!plain.data(Qt::BackgroundRole).isValid());
    QVERIFY(!plain.data(Qt::ForegroundRole).isValid());

    const QModelIndex both = m_model->index(1, 0);
    QCOMPARE(both.data(Qt::ToolTipRole).toString(),
        QString("Invalid checksum. Internal error in test instrument or the CSV data has been modified\n"
                "No irradiance value"));
    QCOMPARE(both.data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::gray));
    QCOMPARE(m_model->index(1, 5).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::gray));
    QCOMPARE(both.data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));

    QCOMPARE(m_model->index(2, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::darkGreen));
    QCOMPARE(m_model->index(3, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::blue));
    QVERIFY(!m_model->index(3, 0).data(Qt::BackgroundRole).isValid());

    QCOMPARE(m_model->index(4, 0).data(Qt::ToolTipRole).toString().split('\n'),
        (QStringList {
            "Invalid checksum. Internal error in test instrument or the CSV data has been modified",
            "Checksum ignored. Spreadsheet data modification was detected", "No irradiance value",
            "No cell temperature value", "Irradiance warning. Greater than 10% variance during test" }));
    QCOMPARE(m_model->index(4, 0).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    // The colour column shows the string's colour, not the status.
    QVERIFY(!m_model->index(4, 14).data(Qt::BackgroundRole).isValid());
}

void TestTree::editsMarkTheDocumentModified()
{
    TreeItem* item = addString(m_model->rootItem(), "S");
    QVERIFY(m_model->slotSave());
    QSignalSpy modified(m_model, &CurveTreeModel::modified);
    QSignalSpy changed(m_model, &CurveTreeModel::dataChanged);
    QVERIFY(m_model->setData(m_model->index(0, 0), "Renamed"));
    QVERIFY(m_model->setData(m_model->index(0, 3), "950"));
    QVERIFY(m_model->setData(m_model->index(0, 4), "41"));
    QCOMPARE(item->data(TreeLabel).toString(), QString("Renamed"));
    QCOMPARE(item->data(TreeIrradiance).toString(), QString("950"));
    QCOMPARE(item->data(TreeCellTemp).toString(), QString("41"));
    QVERIFY(!m_model->setData(m_model->index(0, 5), "0.7"));
    QVERIFY(!m_model->setData(m_model->index(0, 0), "x", Qt::DisplayRole));
    QCOMPARE(modified.count(), 3);
    QCOMPARE(changed.count(), 3);
    QVERIFY(modified.first().first().toBool());
    // The file changes only with a save.
    QSqlQuery query(m_store->database());
    query.exec("SELECT NodeDesc FROM TreeNodes");
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toString(), QString("S"));
}

void TestTree::newNodesGetFreshIds()
{
    TreeItem* folder = addString(m_model->rootItem(), "Folder");
    TreeItem* child = m_model->newNode(m_model->indexForItem(folder));
    QCOMPARE(child->data(TreeLabel).toString(), QString("<New Row>"));
    QCOMPARE(child->data(TreeParentNodeID), folder->data(TreeNodeID));
    QVERIFY(!folder->data(TreeParentNodeID).isValid());
    QVERIFY(child->data(TreeNodeID).toLongLong() > folder->data(TreeNodeID).toLongLong());
    QCOMPARE(m_model->rowCount(m_model->indexForItem(folder)), 1);
    QVERIFY(m_model->hasChildren(m_model->indexForItem(folder)));
    QVERIFY(m_model->slotSave());

    // Ids of a loaded file continue above the largest one read.
    const QString path = m_store->database().databaseName();
    m_store.reset();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "edit");
        db.setDatabaseName(path);
        db.open();
        QSqlQuery(db).exec("INSERT INTO TreeNodes (NodeID, NodeDesc, ParentRow) VALUES (500, 'far', 1)");
        db.close();
    }
    QSqlDatabase::removeDatabase("edit");
    m_store = std::make_unique<CurveStore>(path);
    m_model = m_store->treeModel();
    QCOMPARE(m_model->rowCount(), 2);
    QCOMPARE(m_model->newNode(QModelIndex())->data(TreeNodeID).toLongLong(), 501);
}

void TestTree::testDateDisplay_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QDateTime>("expected");
    QTest::addColumn<bool>("timeKnown");
    QTest::newRow("iso with time") << "2024-05-03T14:05:09" << QDateTime(QDate(2024, 5, 3), QTime(14, 5, 9))
                                   << true;
    QTest::newRow("iso at midnight") << "2024-05-03T00:00:00" << QDateTime(QDate(2024, 5, 3), QTime(0, 0))
                                     << true;
    // The tester's time field could not be read: the date alone, its time unknown.
    QTest::newRow("iso date only") << "2024-05-03" << QDateTime(QDate(2024, 5, 3), QTime(0, 0)) << false;
    QTest::newRow("older dd/MM/yyyy")
        << "03/05/2024 14:05:09" << QDateTime(QDate(2024, 5, 3), QTime(14, 5, 9)) << true;
    QTest::newRow("older, time without seconds")
        << "03/05/2024 14:05" << QDateTime(QDate(2024, 5, 3), QTime(0, 0)) << false;
    QTest::newRow("older, time out of range")
        << "03/05/2024 25:05:09" << QDateTime(QDate(2024, 5, 3), QTime(0, 0)) << false;
    QTest::newRow("three parts") << "03/05/2024 14:05:09 x" << QDateTime() << false;
    QTest::newRow("two blanks") << "03/05/2024  14:05:09" << QDateTime() << false;
    QTest::newRow("garbage") << "yesterday" << QDateTime() << false;
    QTest::newRow("empty") << "" << QDateTime() << false;
}

void TestTree::testDateDisplay()
{
    QFETCH(QString, stored);
    QFETCH(QDateTime, expected);
    QFETCH(bool, timeKnown);
    QCOMPARE(TestDate::parse(stored), expected);
    QCOMPARE(TestDate::hasTime(stored), timeKnown);
    const QString text = TestDate::displayText(stored);
    const QString date = QLocale::system().toString(expected.date(), QLocale::ShortFormat);
    if (!expected.isValid())
        QCOMPARE(text, QString());
    else if (!timeKnown)
        QCOMPARE(text, date + " time unknown");
    else
        QCOMPARE(text, date + expected.time().toString(" HH:mm:ss"));
}

void TestTree::columnMaskFromSettingsAndDialog()
{
    {
        CurveTree tree;
        tree.setModel(m_model);
        tree.show();
        QCOMPARE(tree.columnMask(), 1);
        QVERIFY(!tree.isColumnHidden(0));
        for (int c = 1; c < 15; ++c)
            QVERIFY(tree.isColumnHidden(c));
        QVERIFY(!tree.isColumnHidden(15));
    }
    QSettings().setValue("Curves/columnMask", 1 | (1 << 6) | (1 << 14));
    CurveTree tree;
    tree.setModel(m_model);
    tree.show();
    QVERIFY(!tree.isColumnHidden(6));
    QVERIFY(!tree.isColumnHidden(14));
    QVERIFY(tree.isColumnHidden(7));
    QCOMPARE(tree.header()->sectionResizeMode(6), QHeaderView::ResizeToContents);

    // Right click on the header: tick "Show Voc Column", untick Isc, press "Update and Close".
    ScriptedPrompts::get().dialogHandler = [](QDialog* dialog) {
        auto* config = qobject_cast<ColumnConfigDlg*>(dialog);
        config->findChild<QCheckBox*>("cb_ShowVoc")->setChecked(true);
        config->findChild<QCheckBox*>("cb_ShowIsc")->setChecked(false);
        config->findChild<QPushButton*>("pb_updateClose")->click();
        return config->result();
    };
    emit tree.header()->customContextMenuRequested(QPoint(5, 5));
    QCOMPARE(ScriptedPrompts::get().asked.last().dialogClass, QString("IVCurve::ColumnConfigDlg"));
    const int expected = 1 | (1 << 7) | (1 << 14);
    QCOMPARE(tree.columnMask(), expected);
    QCOMPARE(QSettings().value("Curves/columnMask").toInt(), expected);
    QVERIFY(!tree.isColumnHidden(7));
    QVERIFY(tree.isColumnHidden(6));

    // Closing the dialog otherwise keeps the columns.
    ScriptedPrompts::get().dialogHandler = [](QDialog*) { return int(QDialog::Rejected); };
    emit tree.header()->customContextMenuRequested(QPoint(5, 5));
    QCOMPARE(tree.columnMask(), expected);
    QVERIFY(!tree.isColumnHidden(7));
}

void TestTree::columnConfigDialogButtons()
{
    ColumnConfigDlg dialog(1 | (1 << 3));
    QCOMPARE(dialog.windowTitle(), QString("Configure Columns"));
    QVERIFY(dialog.box(3)->isChecked());
    QVERIFY(!dialog.box(4)->isChecked());
    QCOMPARE(dialog.box(1)->text(), QString("Show Index Column"));
    QCOMPARE(dialog.box(14)->text(), QString("Show Colour Column"));
    dialog.updateSA();
    dialog.updateFlags();
    QCOMPARE(dialog.result(), 0x7fff | (1 << ColumnVerdict));
    dialog.updateSN();
    dialog.updateFlags();
    QCOMPARE(dialog.result(), 1);
}

void TestTree::dragAndDropMovesASubtreeOnce()
{
    // Folder A (a1 (deep), a2), Folder B (b1).
    TreeItem* root = m_model->rootItem();
    TreeItem* b = addString(root, "B");
    addString(b, "b1");
    TreeItem* a = addString(root, "A");
    TreeItem* a2 = addString(a, "a2");
    TreeItem* a1 = addString(a, "a1");
    addString(a1, "deep");
    a1->setColour(Qt::darkCyan);
    a1->setData(TreeCurveID, 42u);
    Q_UNUSED(a2);
    QVERIFY(m_model->slotSave());

    // a1 and its folder A are both selected, the child first: a1 must arrive once, inside A.
    const QPersistentModelIndex aIndex = m_model->indexForItem(a);
    QModelIndexList dragged { m_model->indexForItem(a1), aIndex, m_model->index(0, 3, aIndex) };
    std::unique_ptr<QMimeData> data(m_model->mimeData(dragged));
    QCOMPARE(data->data("application/vnd.custom.ctmtype").size(), 8);
    QSignalSpy modified(m_model, &CurveTreeModel::modified);
    const QModelIndex bIndex = m_model->indexForItem(b);
    QVERIFY(m_model->dropMimeData(data.get(), Qt::MoveAction, -1, 0, bIndex));
    QCOMPARE(modified.count(), 1);
    // The view then removes the dragged rows.
    QVERIFY(m_model->removeRows(aIndex.row(), 1, aIndex.parent()));

    QCOMPARE(root->childCount(), 1);
    TreeItem* newB = root->child(0);
    QCOMPARE(newB->childCount(), 2);
    TreeItem* movedA = newB->child(0);
    QCOMPARE(movedA->data(TreeLabel).toString(), QString("A"));
    QCOMPARE(newB->child(1)->data(TreeLabel).toString(), QString("b1"));
    QCOMPARE(movedA->childCount(), 2);
    QCOMPARE(movedA->child(0)->data(TreeLabel).toString(), QString("a1"));
    QCOMPARE(movedA->child(0)->colour(), QColor(Qt::darkCyan));
    QCOMPARE(movedA->child(0)->data(TreeCurveID).toUInt(), 42u);
    QCOMPARE(movedA->child(0)->child(0)->data(TreeLabel).toString(), QString("deep"));
    QCOMPARE(movedA->data(TreeParentNodeID), newB->data(TreeNodeID));

    QVERIFY(m_model->slotSave());
    QSqlQuery query(m_store->database());
    query.exec("SELECT count(*), count(DISTINCT NodeID) FROM TreeNodes");
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toInt(), 6);
    QCOMPARE(query.value(1).toInt(), 6);
    query.exec("SELECT p.NodeDesc FROM TreeNodes c JOIN TreeNodes p ON c.ParentNodeID = p.NodeID WHERE "
               "c.NodeDesc = 'A'");
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toString(), QString("B"));

    // Two siblings dropped at a row keep their order.
    TreeItem* target = addString(root, "T");
    std::unique_ptr<QMimeData> pair(m_model->mimeData(
        { m_model->indexForItem(movedA->child(0)), m_model->indexForItem(movedA->child(1)) }));
    QVERIFY(m_model->dropMimeData(pair.get(), Qt::MoveAction, 0, 0, m_model->indexForItem(target)));
    QCOMPARE(target->child(0)->data(TreeLabel).toString(), QString("a1"));
    QCOMPARE(target->child(1)->data(TreeLabel).toString(), QString("a2"));
}

void TestTree::dropsThatCannotBeMovesAreRefused()
{
    TreeItem* root = m_model->rootItem();
    TreeItem* folder = addString(root, "F");
    TreeItem* child = addString(folder, "c");
    const QModelIndex folderIndex = m_model->indexForItem(folder);
    std::unique_ptr<QMimeData> data(m_model->mimeData({ folderIndex }));

    QVERIFY(m_model->dropMimeData(data.get(), Qt::IgnoreAction, 0, 0, QModelIndex()));
    // Into itself or below itself.
    QVERIFY(!m_model->dropMimeData(data.get(), Qt::MoveAction, -1, 0, folderIndex));
    QVERIFY(!m_model->dropMimeData(data.get(), Qt::MoveAction, 0, 0, m_model->indexForItem(child)));
    // A negative row at the top level, a column other than 0.
    QVERIFY(!m_model->dropMimeData(data.get(), Qt::MoveAction, -1, -1, QModelIndex()));
    QVERIFY(!m_model->dropMimeData(data.get(), Qt::MoveAction, 0, 2, QModelIndex()));
    // Data that this tree did not hand out, even in the right format.
    QMimeData foreign;
    foreign.setData("application/vnd.custom.ctmtype", data->data("application/vnd.custom.ctmtype"));
    QVERIFY(!m_model->dropMimeData(&foreign, Qt::MoveAction, 0, 0, QModelIndex()));
    QMimeData text;
    text.setText("F");
    QVERIFY(!m_model->dropMimeData(&text, Qt::MoveAction, 0, 0, QModelIndex()));
    QCOMPARE(root->childCount(), 1);
    QCOMPARE(folder->childCount(), 1);

    QCOMPARE(m_model->mimeTypes(), QStringList { "application/vnd.custom.ctmtype" });
    QCOMPARE(m_model->supportedDropActions(), Qt::MoveAction);
}

KESTROVAN_TEST_MAIN(TestTree)
#include "tst_tree.moc"
