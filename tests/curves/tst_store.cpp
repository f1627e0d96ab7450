// The curve file: opening and upgrading, refusing files that are not curve databases, curve
// rows written and read through the locale conversions, and saving the tree.
#include "CurveGraphModel.h"
#include "CurveModuleRow.h"
#include "CurveRecord.h"
#include "CurveStore.h"
#include "CurveTestSupport.h"
#include "CurveTreeModel.h"
#include "FileNames.h"
#include "Folders.h"
#include "InsertBatch.h"
#include "ModuleLibrary.h"
#include "NumberText.h"
#include "StringComparison.h"
#include "TestSupport.h"
#include "TreeItem.h"

#include <QAbstractItemModelTester>
#include <QCryptographicHash>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <algorithm>
#include <cstring>

using namespace IVCurve;
using namespace CurveTestSupport;

class TestStore : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void templateIsUpgradedOnceAndThenLeftAlone();
    void writtenFilesCarryOurApplicationId_data();
    void writtenFilesCarryOurApplicationId();
    void filesThatAreNotCurveDatabasesAreRefused_data();
    void filesThatAreNotCurveDatabasesAreRefused();
    void curveRoundTripWithDecimalComma();
    void typedNumbersInADecimalCommaLocale();
    void garbageInACurveRowFallsBackToDefaults();
    void moduleIsReadFromTheLibrary();
    void detailsAndModuleUpdatesWriteTheRow();
    void treeOrderSurvivesSaveAndLoad();
    void orphanCurvesGoOnlyWithASave();
    void failingSaveKeepsThePreviousTree();
    void twoStoresOnOneFileDoNotShareAConnection();
    void batchedInsertsArriveTogether();
    void curvesReadTogetherAreTheCurvesReadOneByOne();
    void comparisonJudgesTheStringsUnderAFolder();

private:
    QString newCurveFile(const QString& name = QStringLiteral("String Data Report.kstcrv"));
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestStore::init()
{
    ModuleLibrary::shutdown();
    TestSupport::resetState();
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestStore::cleanup()
{
    QLocale::setDefault(QLocale::c());
    ModuleLibrary::shutdown();
    m_dir.reset();
}

QString TestStore::newCurveFile(const QString& name)
{
    const QString path = m_dir->filePath(name);
    copyTemplate(path);
    return path;
}

void TestStore::templateIsUpgradedOnceAndThenLeftAlone()
{
    const QString path = newCurveFile();
    {
        CurveDatabase before(path);
        QVERIFY(before.rows("PRAGMA table_info(Curves)").size() == 28);
        QVERIFY(before.exec("INSERT INTO Curves (CurveID, STCAlgorithm, STC_Rs) VALUES (1, 4, 0.5)"));
    }
    {
        // Read-only, a file without the columns of the newer methods still reads, with their
        // defaults; a method it names that this version knows is kept.
        CurveStore readOnly(path, CurveStore::Access::ReadOnly);
        std::unique_ptr<CurveRecord> record = readOnly.graphModel()->load(1);
        QVERIFY(record);
        QCOMPARE(record->stcParameters().algorithm, quint8(AlgorithmIEC60891Procedure4));
        QCOMPARE(record->stcParameters().iec4Cells, QString("60"));
        QCOMPARE(record->stcParameters().Rs, QString("0.5"));
    }
    {
        CurveDatabase stillOld(path);
        QCOMPARE(stillOld.rows("PRAGMA table_info(Curves)").size(), 28);
    }
    {
        CurveStore store(path);
        QVERIFY(store.isOpen());
        QVERIFY(store.treeModel());
        QVERIFY(store.graphModel());
        QVERIFY(store.heldNotices().isEmpty());
        // Functions in the file's own schema (triggers, views) may not have side effects.
        QSqlQuery trusted(store.database());
        QVERIFY(trusted.exec("PRAGMA trusted_schema") && trusted.next());
        QCOMPARE(trusted.value(0).toInt(), 0);
    }
    QStringList columns;
    QString schemaAfterFirst;
    {
        CurveDatabase after(path);
        for (const QVariantList& row : after.rows("PRAGMA table_info(Curves)"))
            columns << row.at(1).toString();
        for (const QVariantList& row : after.rows("SELECT sql FROM sqlite_master ORDER BY name"))
            schemaAfterFirst += row.at(0).toString();
    }
    QCOMPARE(columns.size(), 38);
    QCOMPARE(columns.at(28).toLower(), QString("fileversion"));
    QCOMPARE(columns.last(), QString("IEC4_epsilon"));
    QCOMPARE(columns.at(1), QString("CurvePoints"));

    const QByteArray hash = fileHash(path);
    {
        CurveStore again(path);
        QVERIFY(again.isOpen());
        QVERIFY(again.heldNotices().isEmpty());
    }
    QCOMPARE(fileHash(path), hash);

    // A file older still, without the tree table, gains it and its indexes.
    const QString old = m_dir->filePath("old.kstcrv");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "old");
        db.setDatabaseName(old);
        db.open();
        QSqlQuery(db).exec("CREATE TABLE Curves (CurveID INTEGER PRIMARY KEY, CurvePoints TEXT)");
        db.close();
    }
    QSqlDatabase::removeDatabase("old");
    {
        CurveStore store(old);
        QVERIFY(store.isOpen());
    }
    CurveDatabase reader(old);
    QCOMPARE(reader.value("SELECT count(*) FROM sqlite_master WHERE name = 'TreeNodes'").toInt(), 1);
    QCOMPARE(reader.value("SELECT count(*) FROM sqlite_master WHERE type = 'index'").toInt(), 2);
    QCOMPARE(reader.rows("PRAGMA table_info(Curves)").size(), 12);
}

void TestStore::writtenFilesCarryOurApplicationId_data()
{
    QTest::addColumn<int>("idBefore"); // -1: the built-in template as it is
    QTest::newRow("new file from the template") << -1;
    QTest::newRow("file from before the mark") << 0;
    QTest::newRow("file marked by another program") << 0x12345678;
}

// SQLite keeps the application_id big-endian at byte 68 of the file; the desktop's file type
// rule reads it there.
void TestStore::writtenFilesCarryOurApplicationId()
{
    QFETCH(int, idBefore);
    const QString path = newCurveFile();
    const auto idInFile = [&path] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.read(72).mid(68) : QByteArray();
    };
    if (idBefore < 0) {
        QCOMPARE(idInFile(), QByteArray("KCRV"));
        return;
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "unmarked");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(QString("PRAGMA application_id = %1").arg(idBefore)));
        db.close();
    }
    QSqlDatabase::removeDatabase("unmarked");
    QCOMPARE(idInFile().toHex().toInt(nullptr, 16), idBefore);
    CurveStore store(path);
    QVERIFY(store.isOpen());
    QVERIFY(store.treeModel()->slotSave());
    QCOMPARE(idInFile(), QByteArray("KCRV"));
}

void TestStore::filesThatAreNotCurveDatabasesAreRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << "missing";
    QTest::newRow("text file") << "text";
    QTest::newRow("empty file") << "empty";
    QTest::newRow("folder") << "folder";
    QTest::newRow("sqlite header then garbage") << "header";
    QTest::newRow("damaged pages") << "damaged";
}

void TestStore::filesThatAreNotCurveDatabasesAreRefused()
{
    QFETCH(QString, kind);
    const QString path = m_dir->filePath("bad.kstcrv");
    if (kind == "text" || kind == "empty" || kind == "header") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (kind == "text")
            file.write("Voltage;Current\n1;2\n");
        if (kind == "header")
            file.write(QByteArray("SQLite format 3\0", 16) + QByteArray(4096, '\x5a'));
    } else if (kind == "folder") {
        QVERIFY(QDir().mkpath(path));
    } else if (kind == "damaged") {
        QVERIFY(copyTemplate(path));
        {
            CurveStore store(path);
            CurveRecord record;
            for (int i = 0; i < 400; ++i)
                record.measured().addPoint(i, 8, 1000, 0);
            for (int i = 0; i < 20; ++i)
                store.graphModel()->insert(record);
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        const qint64 size = file.size();
        QVERIFY(size > 8 * 4096);
        // Scribble over the middle of the file, leaving the header page intact.
        file.seek(3 * 4096);
        file.write(QByteArray(3 * 4096, '\x07'));
    }
    CurveStore store(path);
    QVERIFY(!store.isOpen());
    QVERIFY(!store.treeModel());
    QVERIFY(!store.graphModel());
    // The one notice is held for the window, which shows it once it hands over a handler.
    QCOMPARE(store.heldNotices().size(), 1);
    const CurveNotice notice = store.heldNotices().first();
    QCOMPARE(notice.kind, CurveNotice::Critical);
    QVERIFY(!notice.text.isEmpty());
    QVERIFY(notice.text.count('\n') < 6);
    QVector<CurveNotice> handed;
    store.setNoticeHandler([&handed](const CurveNotice& n) { handed << n; });
    QCOMPARE(handed, QVector<CurveNotice> { notice });
    QVERIFY(store.heldNotices().isEmpty());
    // The driver would have created an empty database at a missing path.
    if (kind == "missing")
        QVERIFY(!QFileInfo::exists(path));
    QVERIFY(!QSqlDatabase::contains(path));
}

void TestStore::curveRoundTripWithDecimalComma()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString path = newCurveFile();
    uint id = 0;
    {
        CurveStore store(path);
        CurveRecord record;
        record.memLocation = 17;
        record.testDate = "2024-06-01T10:15:00";
        record.testerSerNo = "SN-0042";
        record.fileVersion = 3;
        record.setValue(CurveRecord::Irradiance, "812,5");
        record.setValue(CurveRecord::AmbientTemp, "");
        record.setValue(CurveRecord::CellTemp, "45,123456");
        record.setValue(CurveRecord::Voc, "612,3");
        record.setValue(CurveRecord::Isc, "8,91");
        record.setValue(CurveRecord::Riso, ">999");
        record.setValue(CurveRecord::Viso, "1000");
        record.setValue(CurveRecord::FF, "0,75");
        record.measured().addPoint(0, 8.91, 812.5, 0);
        record.measured().addPoint(512.25, 8.1, 812.5, 1);
        record.measured().addPoint(612.3, 0, 0, 0);
        id = store.graphModel()->insert(record);
        QVERIFY(id > 0);
    }
    {
        CurveDatabase db(path);
        const QVariantList row
            = db.rows(QString("SELECT typeof(Irradiance), Irradiance, typeof(AmbientTemp), "
                              "AmbientTemp, CellTemp, typeof(Riso), Riso, CurvePoints, "
                              "FileVersion, MemLocation, TestDate FROM Curves WHERE CurveID = %1")
                          .arg(id))
                  .value(0);
        QCOMPARE(row.at(0).toString(), QString("real"));
        QCOMPARE(row.at(1).toDouble(), 812.5);
        QCOMPARE(row.at(2).toString(), QString("text"));
        QCOMPARE(row.at(3).toString(), QString(""));
        QCOMPARE(row.at(4).toDouble(), 45.1235); // 6 significant digits
        QCOMPARE(row.at(5).toString(), QString("text"));
        QCOMPARE(row.at(6).toString(), QString(">999"));
        QCOMPARE(row.at(7).toString(),
            QString("0.000:8.910:812.500:0#512.250:8.100:812.500:1#612.300:0.000:0.000:0"));
        QCOMPARE(row.at(8).toInt(), 3);
        QCOMPARE(row.at(9).toInt(), 17);
        QCOMPARE(row.at(10).toString(), QString("2024-06-01T10:15:00"));
    }
    CurveStore store(path);
    std::unique_ptr<CurveRecord> back = store.graphModel()->load(id);
    QVERIFY(back);
    QCOMPARE(back->curveID, id);
    QCOMPARE(back->value(CurveRecord::Irradiance), QString("812,5"));
    QCOMPARE(back->value(CurveRecord::AmbientTemp), QString(""));
    QCOMPARE(back->value(CurveRecord::CellTemp), QString("45,1235"));
    QCOMPARE(back->value(CurveRecord::Voc), QString("612,3"));
    QCOMPARE(back->value(CurveRecord::Riso), QString(">999"));
    QCOMPARE(back->value(CurveRecord::Imp), QString(""));
    QCOMPARE(back->memLocation, 17u);
    QCOMPARE(back->fileVersion, 3u);
    QCOMPARE(back->testerSerNo, QString("SN-0042"));
    QCOMPARE(back->measured().size(), 3);
    QCOMPARE(back->measured().points().at(1), QPointF(512.25, 8.1));
    QCOMPARE(back->measured().seriesPoints().at(1).tag, 1);
    QCOMPARE(back->measured().maxPowerIndex(), 1);
    // Defaults of a row that has none, shown in the user's locale.
    QCOMPARE(back->stcParameters().algorithm, quint8(AlgorithmAnderson));
    QCOMPARE(back->stcParameters().alpha, QString("0,004"));
    QCOMPARE(back->stcParameters().K, QString("0,00125"));
    QVERIFY(!back->module().hasModule());
    QVERIFY(!store.graphModel()->load(id + 100));
}

void TestStore::typedNumbersInADecimalCommaLocale()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // A point is never taken for a group separator: "0.004" is not 4.
    bool ok = false;
    QCOMPARE(IVCurve::NumberText::parse("0.004", &ok), 0.004);
    QVERIFY(ok);
    QCOMPARE(IVCurve::NumberText::parse("0,004", &ok), 0.004);
    QCOMPARE(IVCurve::NumberText::toStore("-0,0035"), QString("-0.0035"));
    QCOMPARE(IVCurve::NumberText::toStore("0.004"), QString("0.004"));
    QCOMPARE(IVCurve::NumberText::toDisplay(QVariant(QString("812.5"))), QString("812,5"));
    QLocale::setDefault(QLocale::c());
}

void TestStore::garbageInACurveRowFallsBackToDefaults()
{
    const QString path = newCurveFile();
    {
        CurveStore store(path);
    }
    {
        CurveDatabase db(path);
        QVERIFY(db.exec(
            "INSERT INTO Curves (CurveID, CurvePoints, MemLocation, TestDate, TesterSerNo, Irradiance, "
            "STCAlgorithm, STC_alpha, STC_beta, STC_delta, STC_a, ModuleID, ModuleSeries, "
            "ModuleParallel, FileVersion) VALUES (5, 'x:y#1:2:z#', 'm', 12, x'00ff', 'junk', 'q', 'abc', "
            "NULL, 0.1, 7, 'zz', 'many', -3, 'v')"));
        QVERIFY(db.exec("INSERT INTO Curves (CurveID, STCAlgorithm, STC_alpha) VALUES (6, 9, '0.002')"));
    }
    CurveStore store(path);
    std::unique_ptr<CurveRecord> record = store.graphModel()->load(5);
    QVERIFY(record);
    QCOMPARE(record->memLocation, 0u);
    QCOMPARE(record->fileVersion, 0u);
    QCOMPARE(record->value(CurveRecord::Irradiance), QString("junk"));
    QCOMPARE(record->stcParameters().algorithm, quint8(AlgorithmAnderson));
    QCOMPARE(record->stcParameters().alpha, STCparameters().alpha);
    QCOMPARE(record->stcParameters().beta, STCparameters().beta);
    QCOMPARE(record->stcParameters().delta, QString("0.1"));
    QCOMPARE(record->stcParameters().a, QString("7"));
    QVERIFY(!record->module().hasModule());
    QCOMPARE(record->module().ns, 1u);
    QCOMPARE(record->measured().size(), 3);
    QCOMPARE(record->measured().points().at(0), QPointF(0, 0));
    QCOMPARE(record->measured().points().at(1), QPointF(1, 2));
    QCOMPARE(record->measured().seriesPoints().at(1).irradiance, 0.0);
    // Anderson with a first point of 0 A: every point translates to (0, 0), no end points.
    QCOMPARE(record->stc().size(), 3);
    for (const QPointF& p : record->stc().points())
        QVERIFY(std::isfinite(p.x()) && std::isfinite(p.y()));

    std::unique_ptr<CurveRecord> unknownMethod = store.graphModel()->load(6);
    QVERIFY(unknownMethod);
    QCOMPARE(unknownMethod->stcParameters().algorithm, quint8(AlgorithmAnderson));
    QCOMPARE(unknownMethod->stcParameters().alpha, QString("0.002"));
    QCOMPARE(unknownMethod->measured().size(), 0);
    QVERIFY(store.heldNotices().isEmpty());
}

void TestStore::moduleIsReadFromTheLibrary()
{
    const QString path = newCurveFile();
    CurveModuleRow module;
    QVERIFY(ModuleLibrary::instance().module(3, &module));
    {
        CurveStore store(path);
    }
    {
        CurveDatabase db(path);
        QVERIFY(db.exec(
            "INSERT INTO Curves (CurveID, ModuleID, ModuleSeries, ModuleParallel) VALUES (1, 3, 12, 0)"));
        QVERIFY(db.exec(
            "INSERT INTO Curves (CurveID, ModuleID, ModuleSeries, ModuleParallel) VALUES (2, 9999, 4, 2)"));
    }
    CurveStore store(path);
    std::unique_ptr<CurveRecord> record = store.graphModel()->load(1);
    QCOMPARE(record->module().moduleID, 3);
    QCOMPARE(record->module().ns, 12u);
    QCOMPARE(record->module().np, 1u);
    QCOMPARE(record->module().voc, module.value(CurveModuleRow::Voc).toDouble());
    QCOMPARE(record->module().isc, module.value(CurveModuleRow::Isc).toDouble());
    QCOMPARE(record->nominal().size(), 128);
    QCOMPARE(record->nominal().points().last().x(), 12 * module.value(CurveModuleRow::Voc).toDouble());

    // A module since deleted from the library keeps its reference but draws nothing.
    std::unique_ptr<CurveRecord> gone = store.graphModel()->load(2);
    QCOMPARE(gone->module().moduleID, 9999);
    QCOMPARE(gone->module().np, 2u);
    QCOMPARE(gone->nominal().size(), 0);
}

void TestStore::detailsAndModuleUpdatesWriteTheRow()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString path = newCurveFile();
    CurveStore store(path);
    CurveGraphModel* model = store.graphModel();
    CurveRecord fresh;
    fresh.measured().addPoint(0, 9, 1000, 0);
    fresh.measured().addPoint(30, 0, 1000, 0);
    const uint id = model->insert(fresh);

    QVERIFY(!model->updateDetails(id));
    const QVector<CurveNotice> notFound { { CurveNotice::Warning, "IV curve data not found in collection" } };
    QCOMPARE(store.heldNotices(), notFound);

    CurveRecord* record = model->cache(id);
    QVERIFY(record);
    STCparameters parameters = record->stcParameters();
    parameters.algorithm = AlgorithmIEC60891;
    parameters.alpha = "0,0051";
    parameters.K = "nicht";
    record->setSTCparameters(parameters);
    record->setValue(CurveRecord::Irradiance, "905,5");
    record->setValue(CurveRecord::CellTemp, "");
    QVERIFY(model->updateDetails(id));
    {
        CurveDatabase db(path);
        const QVariantList row
            = db.rows(QString("SELECT STCAlgorithm, STC_alpha, STC_K, Irradiance, typeof(CellTemp) "
                              "FROM Curves WHERE CurveID = %1")
                          .arg(id))
                  .value(0);
        QCOMPARE(row.at(0).toInt(), 1);
        QCOMPARE(row.at(1).toDouble(), 0.0051);
        QCOMPARE(row.at(2).toString(), QString("nicht"));
        QCOMPARE(row.at(3).toDouble(), 905.5);
        QCOMPARE(row.at(4).toString(), QString("text"));
    }

    CurveModuleRow module;
    QVERIFY(ModuleLibrary::instance().module(5, &module));
    QVERIFY(record->stc().size() > 0);
    QSignalSpy selected(model, &CurveGraphModel::signalStringSelected);
    QSignalSpy deselected(model, &CurveGraphModel::signalStringDeselected);
    QVERIFY(model->assignModule(id, module, 14));
    QCOMPARE(selected.count(), 1);
    QCOMPARE(deselected.count(), 1);
    QCOMPARE(selected.first().first().toUInt(), id);
    QCOMPARE(record->module().ns, 14u);
    QCOMPARE(record->module().np, 1u);
    QCOMPARE(record->stcParameters().alpha,
        QLocale().toString(module.value(CurveModuleRow::Alpha).toDouble(), 'g', 6));
    QCOMPARE(record->nominal().size(), 128);
    CurveDatabase db(path);
    const QVariantList row
        = db.rows(QString("SELECT ModuleID, ModuleSeries, ModuleParallel, STC_alpha, STC_Rs FROM "
                          "Curves WHERE CurveID = %1")
                      .arg(id))
              .value(0);
    QCOMPARE(row.at(0).toUInt(), module.id);
    QCOMPARE(row.at(1).toInt(), 14);
    QCOMPARE(row.at(2).toInt(), 1);
    QCOMPARE(row.at(3).toDouble(), module.value(CurveModuleRow::Alpha).toDouble());
    QCOMPARE(row.at(4).toDouble(), module.value(CurveModuleRow::Rs).toDouble());
    // The newer methods take their defaults from the module too: relative coefficients in %/°C.
    QCOMPARE(record->stcParameters().iec2AlphaRel,
        QLocale().toString(module.value(CurveModuleRow::Alpha).toDouble()
                / module.value(CurveModuleRow::Isc).toDouble() * 100,
            'g', 6));
    QCOMPARE(record->stcParameters().iec4Rs, record->stcParameters().Rs);

    // Their coefficients are stored with the curve and read back as they were typed.
    parameters = record->stcParameters();
    parameters.algorithm = AlgorithmIEC60891Procedure2;
    parameters.iec2Kappa = "0,002";
    parameters.iec4Cells = "72";
    parameters.iec4Epsilon = "";
    record->setSTCparameters(parameters);
    QVERIFY(model->updateDetails(id));
    CurveStore reopened(path, CurveStore::Access::ReadOnly);
    std::unique_ptr<CurveRecord> back = reopened.graphModel()->load(id);
    QVERIFY(back);
    const STCparameters& read = back->stcParameters();
    QCOMPARE(read.algorithm, quint8(AlgorithmIEC60891Procedure2));
    QCOMPARE(QStringList({ read.iec2AlphaRel, read.iec2BetaRel, read.iec2A, read.iec2Rs, read.iec2Kappa,
                 read.iec4Alpha, read.iec4Rs, read.iec4Cells }),
        QStringList({ parameters.iec2AlphaRel, parameters.iec2BetaRel, parameters.iec2A, parameters.iec2Rs,
            "0,002", parameters.iec4Alpha, parameters.iec4Rs, "72" }));
    // An empty coefficient is no number: the default stands in for it, as for the older methods.
    QCOMPARE(read.iec4Epsilon, STCparameters().iec4Epsilon);
    QCOMPARE(db.value(QString("SELECT IEC2_kappa FROM Curves WHERE CurveID = %1").arg(id)).toDouble(), 0.002);
}

void TestStore::treeOrderSurvivesSaveAndLoad()
{
    const QString path = newCurveFile();
    {
        CurveStore store(path);
        CurveTreeModel* tree = store.treeModel();
        QAbstractItemModelTester tester(tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy modified(tree, &CurveTreeModel::modified);
        TreeItem* folder = tree->newNode(QModelIndex());
        folder->setData(TreeLabel, "Roof east");
        const QModelIndex folderIndex = tree->indexForItem(folder);
        for (const char* name : { "S3", "S2", "S1" }) {
            TreeItem* item = tree->newNode(folderIndex);
            item->setData(TreeLabel, QString(name));
        }
        TreeItem* second = tree->newNode(QModelIndex());
        second->setData(TreeLabel, "Roof west");
        second->setColour(QColor("#1e90ff"));
        tree->newNode(tree->indexForItem(tree->rootItem()->child(1)->child(1)))->setData(TreeLabel, "deep");
        QCOMPARE(modified.count(), 6);
        QVERIFY(tree->slotSave());
        QCOMPARE(modified.last().first().toBool(), false);
    }
    {
        CurveDatabase db(path);
        const QList<QVariantList> rows = db.rows(
            "SELECT NodeDesc, ParentRow, ParentNodeID IS NULL, Colour FROM TreeNodes ORDER BY NodeID");
        QCOMPARE(rows.size(), 6);
        QCOMPARE(db.value("SELECT ParentRow FROM TreeNodes WHERE NodeDesc = 'Roof west'").toInt(), 0);
        QCOMPARE(db.value("SELECT ParentRow FROM TreeNodes WHERE NodeDesc = 'Roof east'").toInt(), 1);
        QCOMPARE(db.value("SELECT ParentRow FROM TreeNodes WHERE NodeDesc = 'S1'").toInt(), 0);
        QCOMPARE(db.value("SELECT ParentRow FROM TreeNodes WHERE NodeDesc = 'S3'").toInt(), 2);
        QCOMPARE(db.value("SELECT Colour FROM TreeNodes WHERE NodeDesc = 'Roof west'").toString(),
            QString("#1e90ff"));
        QVERIFY(db.value("SELECT Colour FROM TreeNodes WHERE NodeDesc = 'S1'").isNull());
        QCOMPARE(db.value("SELECT count(*) FROM TreeNodes WHERE ParentNodeID IS NULL").toInt(), 2);
        QCOMPARE(db.value("SELECT p.NodeDesc FROM TreeNodes c JOIN TreeNodes p ON c.ParentNodeID = p.NodeID "
                          "WHERE c.NodeDesc = 'deep'")
                     .toString(),
            QString("S2"));
    }
    CurveStore store(path);
    QAbstractItemModelTester tester(
        store.treeModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    TreeItem* root = store.treeModel()->rootItem();
    QCOMPARE(labels(root), (QStringList { "Roof west", "Roof east" }));
    QCOMPARE(labels(root->child(1)), (QStringList { "S1", "S2", "S3" }));
    QCOMPARE(labels(root->child(1)->child(1)), QStringList { "deep" });
    QCOMPARE(root->child(0)->colour(), QColor("#1e90ff"));
    QVERIFY(!root->child(0)->data(TreeParentNodeID).isValid());
    QCOMPARE(root->child(1)->child(0)->data(TreeParentNodeID), root->child(1)->data(TreeNodeID));
    qint64 largest = 0;
    for (int i = 0; i < 2; ++i)
        largest = std::max(largest, root->child(i)->data(TreeNodeID).toLongLong());
    QVERIFY(store.treeModel()->nextNodeID() > largest);
    QVERIFY(store.treeModel()->newNode(QModelIndex())->data(TreeNodeID).toLongLong() >= 7);
}

void TestStore::orphanCurvesGoOnlyWithASave()
{
    const QString path = newCurveFile();
    uint first = 0;
    uint second = 0;
    {
        CurveStore store(path);
        CurveRecord record;
        record.measured().addPoint(1, 1, 1000, 0);
        first = store.graphModel()->insert(record);
        second = store.graphModel()->insert(record);
        TreeItem* a = store.treeModel()->newNode(QModelIndex());
        a->setData(TreeCurveID, first);
        TreeItem* b = store.treeModel()->newNode(QModelIndex());
        b->setData(TreeCurveID, second);
        QVERIFY(store.treeModel()->slotSave());
    }
    {
        // Deleted, closed without saving: row and node stay.
        CurveStore store(path);
        QCOMPARE(store.treeModel()->rowCount(), 2);
        store.treeModel()->removeRows(0, 1);
    }
    {
        CurveDatabase db(path);
        QCOMPARE(db.value("SELECT count(*) FROM Curves").toInt(), 2);
        QCOMPARE(db.value("SELECT count(*) FROM TreeNodes").toInt(), 2);
    }
    {
        CurveStore store(path);
        TreeItem* top = store.treeModel()->rootItem()->child(0);
        const uint removed = top->data(TreeCurveID).toUInt();
        store.treeModel()->removeRows(0, 1);
        QVERIFY(store.treeModel()->slotSave());
        CurveDatabase db(path);
        QCOMPARE(db.value("SELECT count(*) FROM TreeNodes").toInt(), 1);
        QCOMPARE(db.value("SELECT count(*) FROM Curves").toInt(), 1);
        QCOMPARE(db.value(QString("SELECT count(*) FROM Curves WHERE CurveID = %1").arg(removed)).toInt(), 0);
        QVERIFY(removed == first || removed == second);
    }
}

void TestStore::failingSaveKeepsThePreviousTree()
{
    const QString path = newCurveFile();
    {
        CurveStore store(path);
        CurveRecord record;
        const uint id = store.graphModel()->insert(record);
        for (const char* name : { "C", "B", "A" })
            store.treeModel()->newNode(QModelIndex())->setData(TreeLabel, QString(name));
        store.treeModel()->rootItem()->child(2)->setData(TreeCurveID, id);
        QVERIFY(store.treeModel()->slotSave());
    }
    {
        // A database that refuses one of the rows, as a full disk or a broken file would. (A
        // constraint, not a trigger: files with triggers are not opened at all.)
        CurveDatabase db(path);
        QVERIFY(db.exec("ALTER TABLE TreeNodes RENAME TO OldNodes"));
        QVERIFY(db.exec("CREATE TABLE TreeNodes (NodeID INTEGER PRIMARY KEY, ParentNodeID INTEGER, NodeDesc "
                        "TEXT, CurveID INTEGER, ParentRow INTEGER, Status INTEGER, Colour TEXT, CONSTRAINT "
                        "refused_by_the_test CHECK (NodeDesc <> 'boom'))"));
        QVERIFY(db.exec("INSERT INTO TreeNodes SELECT * FROM OldNodes"));
        QVERIFY(db.exec("DROP TABLE OldNodes"));
        QVERIFY(db.exec("CREATE INDEX IDX_TREENODE_CURVEID ON TreeNodes(CurveID)"));
        QVERIFY(db.exec("CREATE INDEX idx_treenode_parent ON TreeNodes(ParentNodeID, ParentRow)"));
    }
    const QByteArray before = fileHash(path);
    CurveStore store(path);
    CurveTreeModel* tree = store.treeModel();
    TreeItem* root = tree->rootItem();
    root->child(2)->setData(TreeCurveID, QVariant());
    tree->newNode(QModelIndex())->setData(TreeLabel, "D");
    tree->newNode(tree->indexForItem(root->child(0)))->setData(TreeLabel, "boom");
    QSignalSpy modified(tree, &CurveTreeModel::modified);
    QVector<CurveNotice> notices;
    store.setNoticeHandler([&notices](const CurveNotice& notice) { notices << notice; });
    QVERIFY(!tree->slotSave());
    QCOMPARE(modified.count(), 0);
    QCOMPARE(notices.size(), 1);
    QCOMPARE(notices.first().kind, CurveNotice::Warning);
    QVERIFY(notices.first().text.contains("refused_by_the_test"));
    QCOMPARE(fileHash(path), before);
    {
        CurveDatabase db(path);
        QCOMPARE(db.value("SELECT group_concat(NodeDesc, ',') FROM (SELECT NodeDesc FROM TreeNodes ORDER BY "
                          "ParentRow)")
                     .toString(),
            QString("A,B,C"));
        // The orphan removal was part of the failed save: the curve is still there.
        QCOMPARE(db.value("SELECT count(*) FROM Curves").toInt(), 1);
    }
    // The model still holds the user's edits; a save without the refused row succeeds.
    root->child(0)->child(0)->setData(TreeLabel, "fine");
    QVERIFY(tree->slotSave());
    CurveDatabase db(path);
    QCOMPARE(db.value("SELECT count(*) FROM TreeNodes").toInt(), 5);
    QCOMPARE(db.value("SELECT count(*) FROM Curves").toInt(), 0);
}

void TestStore::twoStoresOnOneFileDoNotShareAConnection()
{
    const QString path = newCurveFile();
    auto first = std::make_unique<CurveStore>(path);
    CurveStore second(path);
    QVERIFY(first->isOpen());
    QVERIFY(second.isOpen());
    QVERIFY(first->connectionName() != second.connectionName());
    first.reset();
    QVERIFY(second.database().isOpen());
    CurveRecord record;
    QVERIFY(second.graphModel()->insert(record) > 0);
}

void TestStore::batchedInsertsArriveTogether()
{
    const QString path = newCurveFile();
    CurveStore store(path);
    CurveRecord record;
    record.measured().addPoint(3, 4, 1000, 0);
    {
        InsertBatch batch(store.database());
        QVERIFY(store.graphModel()->insert(record) > 0);
        QVERIFY(store.graphModel()->insert(record) > 0);
        CurveDatabase during(path);
        QCOMPARE(during.value("SELECT count(*) FROM Curves").toInt(), 0);
        // The batch's own connection sees its curves.
        QVERIFY(store.graphModel()->load(2));
    }
    CurveDatabase after(path);
    QCOMPARE(after.value("SELECT count(*) FROM Curves").toInt(), 2);
    QCOMPARE(after.value("SELECT CurvePoints FROM Curves WHERE CurveID = 2").toString(),
        QString("3.000:4.000:1000.000:0"));
}

namespace {
// Everything a record holds after loading, down to the bits of every point and of the
// translated and nominal series it gives.
void compareRecords(CurveRecord& a, CurveRecord& b)
{
    QCOMPARE(a.curveID, b.curveID);
    QCOMPARE(a.memLocation, b.memLocation);
    QCOMPARE(a.fileVersion, b.fileVersion);
    QCOMPARE(a.testDate, b.testDate);
    QCOMPARE(a.testerSerNo, b.testerSerNo);
    for (int v = 0; v < CurveRecord::ValueCount; ++v)
        QCOMPARE(a.value(CurveRecord::Value(v)), b.value(CurveRecord::Value(v)));
    QVERIFY(a.stcParameters() == b.stcParameters());
    QCOMPARE(a.module().moduleID, b.module().moduleID);
    QCOMPARE(a.module().ns, b.module().ns);
    QCOMPARE(a.module().np, b.module().np);
    QCOMPARE(a.module().voc, b.module().voc);
    for (SeriesKind kind : { SeriesMEAS, SeriesMEASPower, SeriesSTC, SeriesSTCPower, SeriesNOM }) {
        const CurveSeries& x = a.series(kind);
        const CurveSeries& y = b.series(kind);
        QCOMPARE(x.size(), y.size());
        QVERIFY(x.points().isEmpty()
            || std::memcmp(x.points().constData(), y.points().constData(), sizeof(QPointF) * x.size()) == 0);
        for (int i = 0; i < x.size(); ++i) {
            QCOMPARE(x.seriesPoints().at(i).irradiance, y.seriesPoints().at(i).irradiance);
            QCOMPARE(x.seriesPoints().at(i).tag, y.seriesPoints().at(i).tag);
        }
        QCOMPARE(x.maxPowerIndex(), y.maxPowerIndex());
        QCOMPARE(x.maxVoltage(), y.maxVoltage());
        QCOMPARE(x.maxCurrent(), y.maxCurrent());
    }
}
} // namespace

void TestStore::curvesReadTogetherAreTheCurvesReadOneByOne()
{
    // A document's curves are read in one pass over the table: each must come out exactly as
    // reading it alone gives it, odd rows included, and each in the place it was asked for.
    const QString path = newCurveFile();
    {
        CurveStore store(path);
    }
    {
        CurveDatabase db(path);
        QVERIFY(
            db.exec("INSERT INTO Curves (CurveID, CurvePoints, Irradiance, CellTemp, Voc, Isc, STCAlgorithm, "
                    "STC_alpha, ModuleID, ModuleSeries, FileVersion) VALUES (3, '10.000:8.000:850.000:0#"
                    "20.000:7.500:851.000:1#30.000:0.000:852.000:2', 850, 41.5, 30, 8, 1, 0.004, 3, 16, 2)"));
        // Points missing, as NULL and as an empty text; numbers stored as texts; NULL everywhere.
        QVERIFY(db.exec("INSERT INTO Curves (CurveID, CurvePoints) VALUES (7, NULL)"));
        QVERIFY(db.exec("INSERT INTO Curves (CurveID, CurvePoints, Irradiance, AmbientTemp) VALUES (8, '', "
                        "'1050', '0')"));
        QVERIFY(
            db.exec("INSERT INTO Curves (CurveID, CurvePoints, Irradiance, CellTemp, Voc, STCAlgorithm, "
                    "STC_beta, MemLocation, ModuleID, ModuleSeries) VALUES (9, '1e3:2:x#-5:1e308:0:9#::#', "
                    "'9e999', 0, 'junk', '2', '-0.15', '12', '3', 'many')"));
        // Huge and negative values, a text CurveID column value cannot be stored: the key is an integer.
        QVERIFY(
            db.exec("INSERT INTO Curves (CurveID, CurvePoints, Irradiance, Isc, MemLocation, ModuleID, "
                    "FileVersion) VALUES (4294967295, '1.5:2.5:0:0', 1e300, -1e300, -5, 9223372036854775807, "
                    "4294967296)"));
        QVERIFY(db.exec("INSERT INTO Curves (CurveID, CurvePoints) VALUES (12, x'313a323a333a34')"));
        // A temperature of 0 °C is a real reading (a winter test), however the 0 is stored.
        int curveID = 20;
        for (const char* temperature : { "25", "0", "0.0", "'0'" }) {
            QVERIFY(db.exec(QStringLiteral("INSERT INTO Curves (CurveID, CurvePoints, Irradiance, CellTemp, "
                                           "AmbientTemp, STCAlgorithm) VALUES (%1, '0.000:8.000:800.000:0#"
                                           "30.000:7.000:800.000:0#40.000:0.000:800.000:0', 800, %2, %2, 1)")
                                .arg(curveID++)
                                .arg(QLatin1String(temperature))));
        }
    }
    CurveStore store(path);
    CurveGraphModel* model = store.graphModel();
    // Asked in no order, with an id asked twice, a 0 and ids that have no row.
    const QVector<uint> ids { 9, 3, 0, 12, 7, 4294967295u, 8, 3, 5, 4294967294u };
    std::vector<std::unique_ptr<CurveRecord>> together = model->loadAll(ids);
    QCOMPARE(int(together.size()), ids.size());
    for (int i = 0; i < ids.size(); ++i) {
        std::unique_ptr<CurveRecord> alone = ids.at(i) == 0 ? nullptr : model->load(ids.at(i));
        QCOMPARE(bool(together[std::size_t(i)]), bool(alone));
        if (alone)
            compareRecords(*together[std::size_t(i)], *alone);
    }
    QVERIFY(together[1] && together[7] && together[1] != together[7]);
    QCOMPARE(together[3]->measured().size(), 1);
    QCOMPARE(together[3]->measured().points().first(), QPointF(1, 2));

    QVector<int> places;
    model->readEach(ids, [&places, &ids](int place, std::unique_ptr<CurveRecord> record) {
        QVERIFY(record);
        QCOMPARE(record->curveID, ids.at(place));
        places << place;
    });
    std::sort(places.begin(), places.end());
    QCOMPARE(places, QVector<int>({ 0, 1, 3, 4, 5, 6, 7 }));
    QVERIFY(model->loadAll({}).empty());

    std::vector<std::unique_ptr<CurveRecord>> temperatures = model->loadAll({ 20, 21, 22, 23 });
    for (quint8 algorithm :
        { quint8(AlgorithmBlaesser), quint8(AlgorithmIEC60891), quint8(AlgorithmAnderson) }) {
        for (std::unique_ptr<CurveRecord>& record : temperatures) {
            QVERIFY(record);
            STCparameters parameters = record->stcParameters();
            parameters.algorithm = algorithm;
            record->setSTCparameters(parameters);
        }
        const CurveSeries& at25 = temperatures[0]->stc();
        QVERIFY(at25.size() >= 3);
        const CurveSeries& atZero = temperatures[1]->stc();
        QVERIFY(atZero.size() >= 3);
        QVERIFY(atZero.points() != at25.points());
        for (std::size_t n = 1; n < temperatures.size(); ++n) {
            QCOMPARE(temperatures[n]->value(CurveRecord::CellTemp), QString("0"));
            QCOMPARE(temperatures[n]->stc().points(), atZero.points());
        }
        // Against a reading of 40 °C the translation does change.
        CurveRecord warm;
        warm.measured() = temperatures[0]->measured();
        warm.setValue(CurveRecord::Irradiance, QStringLiteral("800"));
        warm.setValue(CurveRecord::CellTemp, QStringLiteral("40"));
        warm.setValue(CurveRecord::AmbientTemp, QStringLiteral("40"));
        warm.setSTCparameters(temperatures[0]->stcParameters());
        QVERIFY(warm.stc().points() != at25.points());
    }

    model->cacheAll(ids);
    for (uint id : { 3u, 7u, 8u, 9u, 12u, 4294967295u }) {
        QVERIFY(model->cached(id));
        QCOMPARE(model->cachedCurveIDs().count(id), 1);
    }
    QVERIFY(!model->cached(5));
    QVERIFY(store.heldNotices().isEmpty());
}

void TestStore::comparisonJudgesTheStringsUnderAFolder()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString path = newCurveFile();
    CurveModuleRow module;
    QVERIFY(ModuleLibrary::instance().module(3, &module));
    // A string measured at STC that follows its module's own curve passes; the same string with
    // a fifth less current fails on Pmp and Isc; without a module there is no verdict.
    CurveRecord shape;
    ModuleAssignment one;
    one.setModule(module);
    shape.setModuleAssignment(one);
    {
        CurveStore store(path);
        CurveGraphModel* curves = store.graphModel();
        CurveTreeModel* tree = store.treeModel();
        auto addString
            = [&](const QModelIndex& parent, const char* label, double currentFactor, bool withModule) {
                  CurveRecord record;
                  for (const QPointF& p : shape.nominal().points())
                      record.measured().addPoint(p.x(), p.y() * currentFactor, 1000, 0);
                  record.setValue(CurveRecord::Irradiance, "1000");
                  record.setValue(CurveRecord::CellTemp, "25");
                  const uint id = curves->insert(record);
                  if (withModule)
                      QVERIFY(curves->assignModule(id, module, 1));
                  TreeItem* item = tree->newNode(parent);
                  item->setData(TreeLabel, QString(label));
                  item->setData(TreeCurveID, id);
              };
        TreeItem* folder = tree->newNode(QModelIndex());
        const QModelIndex folderIndex = tree->indexForItem(folder);
        TreeItem* inner = tree->newNode(folderIndex);
        addString(tree->indexForItem(inner), "S3", 0.8, true);
        addString(folderIndex, "S2", 1.0, false);
        addString(folderIndex, "S1", 1.0, true);

        const QVector<StringComparison::StringRef> strings
            = StringComparison::stringsUnder({ folder, inner });
        QCOMPARE(strings.size(), 3);
        QCOMPARE(strings.at(0).label, QString("S1"));
        QCOMPARE(strings.at(2).label, QString("S3"));
        QVERIFY(strings.at(2).folder != strings.at(0).folder);
        QCOMPARE(store.tolerances(), VerdictTolerances());
        QVector<ComparisonRow> rows = StringComparison::build(*curves, strings, store.tolerances());
        QCOMPARE(rows.at(0).verdict.text(), QString("Pass"));
        QCOMPARE(rows.at(1).verdict.text(), QString("No verdict: no module"));
        QCOMPARE(rows.at(2).verdict.outcome, Verdict::Fail);
        QCOMPARE(rows.at(2).verdict.shortfalls.size(), 2);
        // Points are stored with three decimals, so the fifth is a fifth to about 1e-6.
        QVERIFY(std::fabs(rows.at(2).stc.pmp / rows.at(0).stc.pmp - 0.8) < 1e-5);
        // S1 and S2 share their folder and their curve; S3 is alone in its own.
        for (const ComparisonRow& row : rows)
            QVERIFY(row.hasDeviation && std::fabs(row.deviation) < 1e-9 && !row.outlier);

        const QStringList lines = QString::fromUtf8(StringComparison::toCsv(rows)).split("\r\n");
        QCOMPARE(lines.size(), 5);
        QVERIFY(lines.at(0).startsWith("String;Irradiance"));
        QVERIFY2(lines.at(1).startsWith("S1;1000;25;") && lines.at(1).endsWith(";0;;Pass"),
            qPrintable(lines.at(1)));
        QVERIFY(lines.at(1).contains(QLocale().toString(rows.at(0).stc.pmp, 'g', 6)));

        QString error;
        QVERIFY(store.setTolerances({ 30, 30, 30 }, &error));
        QVERIFY(tree->slotSave());
    }
    CurveStore readOnly(path, CurveStore::Access::ReadOnly);
    QCOMPARE(readOnly.tolerances(), (VerdictTolerances { 30, 30, 30 }));
    QString error;
    QVERIFY(!readOnly.setTolerances({}, &error));
    const QVector<ComparisonRow> loose = StringComparison::build(*readOnly.graphModel(),
        StringComparison::stringsUnder({ readOnly.treeModel()->rootItem() }), readOnly.tolerances());
    QCOMPARE(loose.size(), 3);
    QCOMPARE(loose.at(2).verdict.outcome, Verdict::Pass);
}

KESTROVAN_TEST_MAIN(TestStore)
#include "tst_store.moc"
