// Curve files as users and other programs leave them: numbers under locales that group digits,
// trees nested deeper than the stack, files carrying SQL of their own, integers out of range,
// nodes that cannot be placed, and read-only files from before the FileVersion column.
#include "CurveGraphModel.h"
#include "CurveRecord.h"
#include "CurveStore.h"
#include "CurveTestSupport.h"
#include "CurveTreeModel.h"
#include "FileNames.h"
#include "Folders.h"
#include "ModuleLibrary.h"
#include "NumberText.h"
#include "TestSupport.h"
#include "TreeItem.h"

#include <QCryptographicHash>
#include <QMimeData>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <cmath>

using namespace IVCurve;
using namespace CurveTestSupport;

namespace {

// A curve row with a short point list, the way an older version wrote them.
QString curveRow(qint64 curveID)
{
    return QStringLiteral(
        "INSERT INTO Curves (CurveID, CurvePoints, MemLocation, TestDate, Irradiance, Voc, Isc) "
        "VALUES (%1, '0.000:8.000:800.000:0#500.000:7.000:800.000:0#600.000:0.000:800.000:0', "
        "7, '2024-06-01T10:00:00', 800, 600, 8)")
        .arg(curveID);
}
} // namespace

class TestCurveFiles : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void numbersOfAThousandAndMoreSurviveEveryLocale_data();
    void numbersOfAThousandAndMoreSurviveEveryLocale();
    void shownNumbersAreTheLocalesOwnTexts();
    void deepTreeLoadsSavesMovesAndCloses();
    void filesWithTriggersOrViewsAreRefusedUntouched_data();
    void filesWithTriggersOrViewsAreRefusedUntouched();
    void integersOutOfRangeAreMissingNeverWrapped();
    void theLargestNodeIDDoesNotOverflow();
    void curveIDsBeyondFourBytesNeitherWrapNorDragTheWrongNode();
    void unplaceableNodesAreKeptAtTheTopLevel();
    void curvesWithoutATreeTableAreKept();
    void readOnlyOldFileIsShownAsItIs();
    void fileOpenedReadOnlyIsNeverWritten();
    void longFlatSiblingListsSaveInOrder();

private:
    QString newCurveFile(const QString& name = QStringLiteral("String Data Report.kstcrv"));
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestCurveFiles::init()
{
    ModuleLibrary::shutdown();
    TestSupport::resetState();
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestCurveFiles::cleanup()
{
    QLocale::setDefault(QLocale::c());
    ModuleLibrary::shutdown();
    m_dir.reset();
}

QString TestCurveFiles::newCurveFile(const QString& name)
{
    const QString path = m_dir->filePath(name);
    copyTemplate(path);
    return path;
}

void TestCurveFiles::numbersOfAThousandAndMoreSurviveEveryLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("de_DE") << "de_DE";
    QTest::newRow("fr_FR") << "fr_FR";
    QTest::newRow("en_US") << "en_US";
}

void TestCurveFiles::numbersOfAThousandAndMoreSurviveEveryLocale()
{
    QFETCH(QString, locale);
    const QLocale user(locale);
    QLocale::setDefault(user);
    // What the user types: the locale's decimal separator, no grouping.
    auto typed = [&](double value) {
        return QString::number(value, 'g', 6).replace(QLatin1Char('.'), user.decimalPoint());
    };
    const QString path = newCurveFile();
    uint id = 0;
    {
        CurveStore store(path);
        CurveRecord record;
        for (int i = 0; i < 3; ++i)
            record.measured().addPoint(300.0 * i, 8.0 - 4.0 * i, 1050.0, 0);
        record.setValue(CurveRecord::Irradiance, typed(1050));
        record.setValue(CurveRecord::CellTemp, typed(1200));
        record.setValue(CurveRecord::Voc, typed(12345.6));
        record.setValue(CurveRecord::Isc, typed(8));
        id = store.graphModel()->insert(record);
        QVERIFY(id > 0);
        TreeItem* node = store.treeModel()->newNode(QModelIndex());
        node->setData(TreeCurveID, id);
        QVERIFY(store.treeModel()->slotSave());
    }
    {
        CurveDatabase file(path);
        QCOMPARE(
            file.value("SELECT typeof(Irradiance) || typeof(CellTemp) || typeof(Voc) FROM Curves").toString(),
            QString("realrealreal"));
        QCOMPARE(file.value("SELECT Irradiance FROM Curves").toDouble(), 1050.0);
        QCOMPARE(file.value("SELECT CellTemp FROM Curves").toDouble(), 1200.0);
        QCOMPARE(file.value("SELECT Voc FROM Curves").toDouble(), 12345.6);
    }

    CurveStore store(path);
    // Shown in the tree: no group separator, and parsed back to the same number.
    CurveTreeModel* tree = store.treeModel();
    const QModelIndex node = tree->index(0, 0);
    for (const auto& expected : { std::make_pair(int(ColumnIrradiance), 1050.0),
             std::make_pair(int(ColumnCellTemp), 1200.0), std::make_pair(7, 12345.6) }) {
        const QString shown = tree->data(tree->index(0, expected.first)).toString();
        QVERIFY2(!shown.contains(user.groupSeparator()), qPrintable(shown));
        bool ok = false;
        QCOMPARE(NumberText::parse(shown, &ok), expected.second);
        QVERIFY(ok);
        QCOMPARE(user.toDouble(shown), expected.second);
    }
    // Edited in the tree with the text shown there: the value stays.
    const QString shownIrradiance = tree->data(tree->index(0, ColumnIrradiance)).toString();
    QVERIFY(tree->setData(tree->index(0, ColumnIrradiance), shownIrradiance));
    QCOMPARE(NumberText::parse(tree->data(tree->index(0, ColumnIrradiance)).toString(), nullptr), 1050.0);
    QVERIFY(node.isValid());

    // The curve: its values read back, translated at 1050 W/m² (not 1.05), and written back by a
    // details update with the texts the dialog shows.
    CurveRecord* record = store.graphModel()->cache(id);
    QVERIFY(record);
    QCOMPARE(NumberText::parse(record->value(CurveRecord::Irradiance), nullptr), 1050.0);
    QCOMPARE(NumberText::parse(record->value(CurveRecord::CellTemp), nullptr), 1200.0);
    QCOMPARE(NumberText::parse(record->value(CurveRecord::Voc), nullptr), 12345.6);
    const double measuredIsc = record->measured().maxCurrent();
    QVERIFY(record->stc().maxCurrent() > 0.0);
    QVERIFY2(record->stc().maxCurrent() < 2.0 * measuredIsc,
        qPrintable(QString::number(record->stc().maxCurrent())));
    STCparameters parameters = record->stcParameters();
    parameters.algorithm = AlgorithmIEC60891;
    parameters.Rs = NumberText::format(1050);
    QVERIFY(!parameters.Rs.contains(user.groupSeparator()));
    record->setSTCparameters(parameters);
    record->setValue(CurveRecord::AmbientTemp, NumberText::format(12345.6));
    QVERIFY(store.graphModel()->updateDetails(id));
    QVERIFY(tree->slotSave());
    CurveDatabase file(path);
    QCOMPARE(file.value("SELECT Irradiance FROM Curves").toDouble(), 1050.0);
    QCOMPARE(file.value("SELECT CellTemp FROM Curves").toDouble(), 1200.0);
    QCOMPARE(file.value("SELECT AmbientTemp FROM Curves").toDouble(), 12345.6);
    QCOMPARE(file.value("SELECT STC_Rs FROM Curves").toDouble(), 1050.0);
    QCOMPARE(file.value("SELECT typeof(Irradiance) || typeof(AmbientTemp) || typeof(STC_Rs) FROM Curves")
                 .toString(),
        QString("realrealreal"));
    QVERIFY(store.heldNotices().isEmpty());
}

void TestCurveFiles::shownNumbersAreTheLocalesOwnTexts()
{
    // Numbers are formatted and read by a fast path of their own where the locale allows it:
    // the texts and values must be exactly the locale's, without group separators.
    QRandomGenerator random(12345);
    QVector<double> values { 0, -0.0, 1, -1, 0.5, 1050, 1200, 12345.6, 999999, 1e6, 1234567, 0.0001, 0.00001,
        -0.004, 0.00125, 1e-300, 1.7976931348623157e308, 123456.5, 0.1 + 0.2, 2.5e-7, -98765.4321 };
    for (int i = 0; i < 2000; ++i) {
        const double magnitude = std::pow(10.0, random.bounded(24.0) - 12.0);
        values << (random.bounded(2) ? -1 : 1) * magnitude * random.generateDouble();
    }
    // Values of few digits, as conditions are measured, across the ranges where the form
    // changes; and the ends of the range, below the normal doubles included.
    for (int i = 0; i < 2000; ++i) {
        const double digits = std::round((random.generateDouble() - 0.5) * std::pow(10.0, random.bounded(7)));
        values << digits * std::pow(10.0, random.bounded(30) - 15);
    }
    values << 4.9406564584124654e-324 << -2.2250738585072009e-308 << 2.2250738585072014e-308 << 1e-5 << 1e-4
           << 999999.0 << 100000.0 << 1e15 << 1e100 << 1e-100 << 0.000123 << 123456.0 << 1234567.0 << 9.5
           << 1e22 << 5e-324;
    for (const char* name : { "C", "de_DE", "fr_FR", "en_US", "sv_SE", "ar_EG", "hi_IN" }) {
        QLocale reference(QString::fromLatin1(name));
        QLocale::setDefault(reference);
        reference.setNumberOptions(reference.numberOptions() | QLocale::OmitGroupSeparator);
        for (double value : qAsConst(values)) {
            const QString expected = reference.toString(value, 'g', 6);
            const QString shown = NumberText::format(value);
            QVERIFY2(shown == expected,
                qPrintable(QStringLiteral("%1: %2 shown as %3, the locale writes %4")
                               .arg(name)
                               .arg(value, 0, 'g', 17)
                               .arg(shown, expected)));
            QCOMPARE(NumberText::toDisplay(QVariant(value)), expected);
            // Read back, the text gives the number the locale itself reads from it.
            bool ok = false;
            const double back = NumberText::parse(shown, &ok);
            QVERIFY2(ok, qPrintable(shown));
            QCOMPARE(back, reference.toDouble(shown));
        }
        // Texts in the C locale stay readable in every locale.
        bool ok = false;
        QCOMPARE(NumberText::parse(QStringLiteral("852.25"), &ok), 852.25);
        QVERIFY(ok);
        QCOMPARE(NumberText::parse(QStringLiteral("-0.004"), &ok), -0.004);
    }
}

void TestCurveFiles::deepTreeLoadsSavesMovesAndCloses()
{
    // A chain far deeper than any recursion over it could go on a thread's stack.
    const int depth = 200000;
    const QString path = newCurveFile();
    {
        CurveDatabase file(path);
        QVERIFY(file.exec(QStringLiteral(
            "INSERT INTO TreeNodes (NodeID, ParentNodeID, NodeDesc, ParentRow) WITH RECURSIVE n(i) AS "
            "(SELECT 1 "
            "UNION ALL SELECT i + 1 FROM n WHERE i < %1) SELECT i, CASE WHEN i = 1 THEN NULL ELSE i - 1 END, "
            "'level ' || i, 0 FROM n")
                              .arg(depth)));
    }
    {
        CurveStore store(path);
        CurveTreeModel* tree = store.treeModel();
        QCOMPARE(tree->rowCount(), 1);
        int levels = 0;
        const TreeItem* deepest = tree->rootItem();
        while (deepest->childCount() == 1) {
            deepest = deepest->child(0);
            ++levels;
        }
        QCOMPARE(levels, depth);
        QCOMPARE(deepest->data(TreeLabel).toString(), QStringLiteral("level %1").arg(depth));

        // Dropped into a new folder: the whole chain is copied, then the view removes the source.
        TreeItem* folder = tree->newNode(QModelIndex());
        const QModelIndex chain = tree->index(1, 0);
        QCOMPARE(tree->itemFromIndex(chain)->data(TreeLabel).toString(), QString("level 1"));
        std::unique_ptr<QMimeData> data(tree->mimeData({ chain }));
        QVERIFY(tree->dropMimeData(data.get(), Qt::MoveAction, 0, 0, tree->indexForItem(folder)));
        QVERIFY(tree->removeRows(1, 1));
        QCOMPARE(tree->rowCount(), 1);
        QVERIFY(tree->slotSave());
    }
    CurveDatabase file(path);
    QCOMPARE(file.value("SELECT count(*) FROM TreeNodes").toInt(), depth + 1);
    QCOMPARE(file.value("SELECT count(*) FROM TreeNodes WHERE ParentNodeID IS NULL").toInt(), 1);
}

void TestCurveFiles::filesWithTriggersOrViewsAreRefusedUntouched_data()
{
    QTest::addColumn<QString>("planted");
    QTest::newRow("trigger wiping the curves")
        << "CREATE TRIGGER t AFTER DELETE ON TreeNodes BEGIN DELETE FROM Curves; END";
    QTest::newRow("trigger on insert") << "CREATE TRIGGER t AFTER INSERT ON Curves BEGIN UPDATE Curves SET "
                                          "Voc = 0; END";
    QTest::newRow("view") << "CREATE VIEW v AS SELECT CurveID FROM Curves";
}

void TestCurveFiles::filesWithTriggersOrViewsAreRefusedUntouched()
{
    QFETCH(QString, planted);
    const QString path = newCurveFile();
    {
        CurveDatabase file(path);
        for (int id = 1; id <= 3; ++id) {
            QVERIFY(file.exec(curveRow(id)));
            QVERIFY(file.exec(
                QStringLiteral("INSERT INTO TreeNodes (NodeID, NodeDesc, CurveID, ParentRow) VALUES "
                               "(%1, 'String %1', %1, %2)")
                    .arg(id)
                    .arg(id - 1)));
        }
        QVERIFY(file.exec(planted));
    }
    const QByteArray before = fileHash(path);
    {
        CurveStore store(path);
        QVERIFY(!store.isOpen());
        QVERIFY(!store.treeModel());
        QVERIFY(!store.graphModel());
        QCOMPARE(store.heldNotices().size(), 1);
        QCOMPARE(store.heldNotices().first().kind, CurveNotice::Critical);
        const QString text = store.heldNotices().first().text;
        QVERIFY2(text.contains("triggers or views") && text.contains(path), qPrintable(text));
    }
    QCOMPARE(fileHash(path), before);
    CurveDatabase file(path);
    QCOMPARE(file.value("SELECT count(*) FROM Curves").toInt(), 3);
}

void TestCurveFiles::integersOutOfRangeAreMissingNeverWrapped()
{
    const QString path = newCurveFile();
    {
        CurveStore upgrade(path);
    }
    {
        CurveDatabase file(path);
        QVERIFY(file.exec(curveRow(1)));
        QVERIFY(file.exec(curveRow(2)));
        QVERIFY(file.exec("UPDATE Curves SET MemLocation = -5, ModuleID = 3.7, ModuleSeries = -3, "
                          "ModuleParallel = -2, FileVersion = -1, STCAlgorithm = -1 WHERE CurveID = 1"));
        QVERIFY(
            file.exec("UPDATE Curves SET MemLocation = 4294967296, ModuleID = 3, ModuleSeries = -3, "
                      "ModuleParallel = 4294967298, FileVersion = 2, STCAlgorithm = 1.5 WHERE CurveID = 2"));
        QVERIFY(file.exec("INSERT INTO TreeNodes (NodeID, NodeDesc, CurveID, ParentRow, Status) VALUES "
                          "(1, 'first', 1, 0, -1), (2, 'second', 2, 1, 4294967297)"));
    }
    CurveStore store(path);
    CurveRecord* first = store.graphModel()->cache(1);
    QVERIFY(first);
    QCOMPARE(first->memLocation, 0u);
    QCOMPARE(first->fileVersion, 0u);
    QCOMPARE(first->module().moduleID, 0);
    QCOMPARE(first->module().ns, 1u);
    QCOMPARE(first->module().np, 1u);
    QCOMPARE(int(first->stcParameters().algorithm), int(AlgorithmAnderson));
    CurveRecord* second = store.graphModel()->cache(2);
    QVERIFY(second);
    QCOMPARE(second->memLocation, 0u);
    QCOMPARE(second->fileVersion, 2u);
    QCOMPARE(second->module().moduleID, 3);
    QCOMPARE(second->module().ns, 1u);
    QCOMPARE(second->module().np, 1u);
    QCOMPARE(int(second->stcParameters().algorithm), int(AlgorithmAnderson));

    // The tree shows no memory location and no status bits for values that cannot be either.
    CurveTreeModel* tree = store.treeModel();
    for (int row = 0; row < 2; ++row) {
        QCOMPARE(tree->data(tree->index(row, ColumnIndex)).toString(), QString());
        QCOMPARE(tree->data(tree->index(row, 0), Qt::ToolTipRole).toString(),
            tree->itemFromIndex(tree->index(row, 0))->data(TreeLabel).toString());
        QVERIFY(!tree->data(tree->index(row, 0), Qt::ForegroundRole).isValid());
    }
    QCOMPARE(NumberText::toUnsigned(QVariant(4294967295LL)), 4294967295u);
    QCOMPARE(NumberText::toUnsigned(QVariant(QString("17"))), 17u);
    QCOMPARE(NumberText::toUnsigned(QVariant(3.0)), 3u);
    bool ok = true;
    NumberText::toUnsigned(QVariant(QString("x")), &ok);
    QVERIFY(!ok);
    NumberText::toUnsigned(QVariant(), &ok);
    QVERIFY(!ok);
    QVERIFY(store.heldNotices().isEmpty());
}

void TestCurveFiles::theLargestNodeIDDoesNotOverflow()
{
    const QString path = newCurveFile();
    {
        CurveDatabase file(path);
        QVERIFY(file.exec(
            "INSERT INTO TreeNodes (NodeID, NodeDesc, ParentRow) VALUES (9223372036854775807, 'top', "
            "0), (1, 'one', 1), (2, 'two', 2)"));
    }
    {
        CurveStore store(path);
        CurveTreeModel* tree = store.treeModel();
        QSet<qint64> ids;
        for (int n = 0; n < 3; ++n) {
            const qint64 id = tree->newNode(QModelIndex())->data(TreeNodeID).toLongLong();
            QVERIFY2(id > 0, qPrintable(QString::number(id)));
            ids.insert(id);
        }
        QCOMPARE(ids.size(), 3);
        QVERIFY(!ids.contains(1) && !ids.contains(2) && !ids.contains(9223372036854775807LL));
        QVERIFY(tree->slotSave());
    }
    CurveDatabase file(path);
    QCOMPARE(file.value("SELECT count(DISTINCT NodeID) FROM TreeNodes").toInt(), 6);
    QCOMPARE(file.value("SELECT NodeDesc FROM TreeNodes WHERE NodeID = 9223372036854775807").toString(),
        QString("top"));
}

void TestCurveFiles::curveIDsBeyondFourBytesNeitherWrapNorDragTheWrongNode()
{
    const QString path = newCurveFile();
    {
        CurveDatabase file(path);
        QVERIFY(file.exec(curveRow(1)));
        QVERIFY(file.exec(curveRow(4294967297LL)));
        QVERIFY(file.exec(
            "INSERT INTO TreeNodes (NodeID, NodeDesc, CurveID, ParentRow) VALUES (4294967297, 'far', "
            "4294967297, 0), (1, 'near', 1, 1), (2, 'folder', NULL, 2)"));
    }
    {
        CurveStore store(path);
        CurveTreeModel* tree = store.treeModel();
        QCOMPARE(labels(tree->rootItem()), QStringList({ "far", "near", "folder" }));
        // The far node names no curve this program can hold: it has none, rather than curve 1.
        QCOMPARE(tree->rootItem()->child(0)->curveID(), 0u);
        QCOMPARE(tree->rootItem()->child(1)->curveID(), 1u);

        // Dragging the far node moves it, not the node whose id it would wrap to.
        std::unique_ptr<QMimeData> data(tree->mimeData({ tree->index(0, 0) }));
        QVERIFY(tree->dropMimeData(data.get(), Qt::MoveAction, 0, 0, tree->index(2, 0)));
        QVERIFY(tree->removeRows(0, 1));
        QCOMPARE(labels(tree->rootItem()), QStringList({ "near", "folder" }));
        QCOMPARE(labels(tree->rootItem()->child(1)), QStringList({ "far" }));

        // A new curve would be numbered beyond what a CurveID holds: it is refused, not wrapped.
        QVector<CurveNotice> notices;
        store.setNoticeHandler([&notices](const CurveNotice& notice) { notices << notice; });
        CurveRecord record;
        record.measured().addPoint(1.0, 1.0, 1000.0, 0);
        QCOMPARE(store.graphModel()->insert(record), 0u);
        QCOMPARE(notices.size(), 1);
        QVERIFY(tree->slotSave());
    }
    // Saving keeps the far node's curve: nothing was lost, nothing was added.
    CurveDatabase file(path);
    QCOMPARE(file.value("SELECT count(*) FROM Curves").toInt(), 2);
    QCOMPARE(file.value("SELECT CurveID FROM TreeNodes WHERE NodeDesc = 'far'").toLongLong(), 4294967297LL);
    QCOMPARE(file.value("SELECT p.NodeDesc FROM TreeNodes c JOIN TreeNodes p ON c.ParentNodeID = p.NodeID "
                        "WHERE c.NodeDesc = 'far'")
                 .toString(),
        QString("folder"));
}

void TestCurveFiles::unplaceableNodesAreKeptAtTheTopLevel()
{
    const QString path = newCurveFile();
    {
        CurveDatabase file(path);
        for (int id = 1; id <= 4; ++id)
            QVERIFY(file.exec(curveRow(id)));
        QVERIFY(file.exec("INSERT INTO TreeNodes (NodeID, ParentNodeID, NodeDesc, CurveID, ParentRow) VALUES "
                          "(1, NULL, 'A', NULL, 0), (2, 1, 'A child', NULL, 0), "
                          "(10, 999, 'orphan', 1, 1), (11, 10, 'orphan child', 2, 0), "
                          "(20, 20, 'own parent', 3, 2), "
                          "(30, 31, 'loop X', 4, 3), (31, 30, 'loop Y', NULL, 4)"));
    }
    {
        CurveStore store(path);
        const TreeItem* root = store.treeModel()->rootItem();
        QCOMPARE(labels(root), QStringList({ "A", "orphan", "own parent", "loop X" }));
        QCOMPARE(labels(childLabelled(root, "A")), QStringList({ "A child" }));
        QCOMPARE(labels(childLabelled(root, "orphan")), QStringList({ "orphan child" }));
        QCOMPARE(labels(childLabelled(root, "loop X")), QStringList({ "loop Y" }));
        QCOMPARE(childLabelled(root, "orphan")->curveID(), 1u);
        QVERIFY(!childLabelled(root, "orphan")->data(TreeParentNodeID).isValid());
        QVERIFY(store.treeModel()->slotSave());
        QVERIFY(store.heldNotices().isEmpty());
    }
    CurveDatabase file(path);
    QCOMPARE(file.value("SELECT count(*) FROM TreeNodes").toInt(), 7);
    QCOMPARE(file.value("SELECT count(*) FROM Curves").toInt(), 4);
    QCOMPARE(file.column("SELECT NodeDesc FROM TreeNodes WHERE ParentNodeID IS NULL ORDER BY ParentRow"),
        QStringList({ "A", "orphan", "own parent", "loop X" }));

    // A node whose NodeID is text (a table declared without a type) keeps its children.
    const QString textPath = newCurveFile("text ids.kstcrv");
    {
        CurveDatabase text(textPath);
        QVERIFY(text.exec("DROP TABLE TreeNodes"));
        QVERIFY(
            text.exec("CREATE TABLE TreeNodes (NodeID, ParentNodeID INTEGER, NodeDesc TEXT, CurveID INTEGER, "
                      "ParentRow INTEGER, Status INTEGER, Colour TEXT)"));
        QVERIFY(text.exec(curveRow(1)));
        QVERIFY(text.exec("INSERT INTO TreeNodes (NodeID, ParentNodeID, NodeDesc, CurveID, ParentRow) VALUES "
                          "('folder', NULL, 'Inverter', NULL, 0), (5, 'folder', 'String', 1, 0), "
                          "(6, NULL, 'Other', NULL, 1)"));
    }
    {
        CurveStore store(textPath);
        const TreeItem* root = store.treeModel()->rootItem();
        QCOMPARE(labels(root), QStringList({ "Inverter", "Other" }));
        const TreeItem* folder = childLabelled(root, "Inverter");
        QCOMPARE(labels(folder), QStringList({ "String" }));
        // The folder is given a number of its own, distinct from the others.
        const qint64 folderID = folder->data(TreeNodeID).toLongLong();
        QVERIFY(folderID > 0 && folderID != 5 && folderID != 6);
        QVERIFY(store.treeModel()->slotSave());
    }
    CurveDatabase text(textPath);
    QCOMPARE(text.value("SELECT count(*) FROM Curves").toInt(), 1);
    QCOMPARE(text.value("SELECT p.NodeDesc FROM TreeNodes c JOIN TreeNodes p ON c.ParentNodeID = p.NodeID "
                        "WHERE c.NodeDesc = 'String'")
                 .toString(),
        QString("Inverter"));
}

void TestCurveFiles::curvesWithoutATreeTableAreKept()
{
    const QString path = newCurveFile();
    {
        CurveDatabase file(path);
        for (int id = 1; id <= 3; ++id)
            QVERIFY(file.exec(curveRow(id)));
        QVERIFY(file.exec("DROP TABLE TreeNodes"));
    }
    {
        CurveStore store(path);
        const TreeItem* root = store.treeModel()->rootItem();
        QCOMPARE(root->childCount(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(root->child(i)->curveID(), uint(i + 1));
        QVERIFY(store.treeModel()->slotSave());
    }
    {
        CurveDatabase file(path);
        QCOMPARE(file.value("SELECT count(*) FROM Curves").toInt(), 3);
        QCOMPARE(file.value("SELECT count(DISTINCT CurveID) FROM TreeNodes").toInt(), 3);
    }
    // Once the file has a tree, a curve without a node is an abandoned import and goes on save.
    {
        CurveDatabase file(path);
        QVERIFY(file.exec(curveRow(4)));
    }
    CurveStore store(path);
    QCOMPARE(store.treeModel()->rowCount(), 3);
    QVERIFY(store.treeModel()->slotSave());
    CurveDatabase file(path);
    QCOMPARE(file.value("SELECT count(*) FROM Curves").toInt(), 3);
}

void TestCurveFiles::readOnlyOldFileIsShownAsItIs()
{
    // The template is an old file: it has no FileVersion column until a program opens it.
    const QString path = newCurveFile();
    {
        CurveDatabase file(path);
        QVERIFY(file.exec(curveRow(1)));
        QVERIFY(file.exec(curveRow(2)));
        QVERIFY(
            file.exec("INSERT INTO TreeNodes (NodeID, NodeDesc, CurveID, ParentRow) VALUES (1, 'one', 1, 0), "
                      "(2, 'two', 2, 1)"));
    }
    QVERIFY(QFile::setPermissions(
        path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    const QByteArray before = fileHash(path);
    {
        CurveStore store(path);
        QVERIFY(store.isOpen());
        QVERIFY(store.isReadOnly());
        QCOMPARE(store.heldNotices().size(), 1);
        QCOMPARE(store.heldNotices().first(), store.readOnlyNotice());
        QCOMPARE(store.heldNotices().first().kind, CurveNotice::Information);
        QVERIFY(store.heldNotices().first().text.contains("read-only"));
        QCOMPARE(labels(store.treeModel()->rootItem()), QStringList({ "one", "two" }));
        for (uint id : { 1u, 2u }) {
            CurveRecord* record = store.graphModel()->cache(id);
            QVERIFY(record);
            QCOMPARE(record->fileVersion, 0u);
            QCOMPARE(record->measured().size(), 3);
        }
        // Still only the one message: no warning per curve.
        QCOMPARE(store.heldNotices().size(), 1);
        // A save is refused by the database and reported; the file stays as it was.
        store.treeModel()->rootItem()->child(0)->setData(TreeLabel, QString("renamed"));
        QVERIFY(!store.treeModel()->slotSave());
        QCOMPARE(store.heldNotices().size(), 2);
        QCOMPARE(store.heldNotices().last().kind, CurveNotice::Warning);
    }
    QCOMPARE(fileHash(path), before);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    CurveDatabase file(path);
    QVERIFY(!QSqlDatabase::database(file.connectionName()).record("Curves").contains("FileVersion"));
}

void TestCurveFiles::fileOpenedReadOnlyIsNeverWritten()
{
    // A writable old file that someone else has open: shown as it is, never upgraded or saved.
    const QString path = newCurveFile();
    {
        CurveDatabase file(path);
        QVERIFY(file.exec(curveRow(1)));
        QVERIFY(file.exec(
            "INSERT INTO TreeNodes (NodeID, NodeDesc, CurveID, ParentRow) VALUES (1, 'one', 1, 0)"));
    }
    const QByteArray before = fileHash(path);
    {
        CurveStore store(path, CurveStore::Access::ReadOnly);
        QVERIFY(store.isOpen());
        QVERIFY(store.isReadOnly());
        // The user chose read-only: no message about it.
        QVERIFY(store.heldNotices().isEmpty());
        QCOMPARE(labels(store.treeModel()->rootItem()), QStringList({ "one" }));
        store.treeModel()->rootItem()->child(0)->setData(TreeLabel, QString("renamed"));
        QVERIFY(!store.treeModel()->slotSave());
        QCOMPARE(store.heldNotices().size(), 1);
        QSqlQuery write(store.database());
        QVERIFY(!write.exec("DELETE FROM Curves"));
    }
    QCOMPARE(fileHash(path), before);
    {
        // Opened the ordinary way afterwards, the same file is written again.
        CurveStore store(path);
        QVERIFY(!store.isReadOnly());
    }
    QVERIFY(fileHash(path) != before);
}

void TestCurveFiles::longFlatSiblingListsSaveInOrder()
{
    const int count = 20000;
    const QString path = newCurveFile();
    {
        CurveStore store(path);
        CurveTreeModel* tree = store.treeModel();
        TreeItem* folder = tree->newNode(QModelIndex());
        for (int n = 0; n < count; ++n)
            tree->newNode(QModelIndex())->setData(TreeLabel, QString::number(count - 1 - n));
        for (int n = 0; n < 3; ++n)
            tree->newNode(tree->indexForItem(folder))->setData(TreeLabel, QString::number(2 - n));
        QVERIFY(tree->slotSave());
    }
    CurveDatabase file(path);
    QCOMPARE(file.value("SELECT count(*) FROM TreeNodes WHERE ParentNodeID IS NULL AND NodeDesc <> ParentRow")
                 .toInt(),
        1);
    QCOMPARE(file.value("SELECT count(*) FROM TreeNodes WHERE ParentNodeID IS NULL").toInt(), count + 1);
    QCOMPARE(file.value("SELECT max(ParentRow) FROM TreeNodes WHERE ParentNodeID IS NULL").toInt(), count);
    QCOMPARE(file.column("SELECT NodeDesc FROM TreeNodes WHERE ParentNodeID IS NOT NULL ORDER BY ParentRow"),
        QStringList({ "0", "1", "2" }));
    CurveStore store(path);
    QCOMPARE(store.treeModel()->rowCount(), count + 1);
    const TreeItem* root = store.treeModel()->rootItem();
    QCOMPARE(root->child(count - 1)->data(TreeLabel).toString(), QString::number(count - 1));
    QCOMPARE(labels(root->child(count)), QStringList({ "0", "1", "2" }));
}

KESTROVAN_TEST_MAIN(TestCurveFiles)
#include "tst_curvefiles.moc"
