// The curve document: its actions and menus, tree editing, saving and closing, point exports
// in both number formats, imports through the document, colours, modules and the downloads
// through the data-logger program.
#include "CurveDocument.h"
#include "CurveGraph.h"
#include "CurveGraphModel.h"
#include "CurveLine.h"
#include "CurveModulesChooser.h"
#include "CurveRecord.h"
#include "CurveStore.h"
#include "CurveSupport.h"
#include "CurveTestSupport.h"
#include "CurveTree.h"
#include "CurveTreeModel.h"
#include "DataLoggerProgram.h"
#include "DocumentFactory.h"
#include "DocumentRegistry.h"
#include "FileNames.h"
#include "Folders.h"
#include "StringComparisonDialog.h"
#include "TestSupport.h"
#include "TreeItem.h"

#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolBar>

using namespace IVCurve;
using namespace CurveTestSupport;

namespace {
// Two strings measured at 25 °C, the second without an irradiance reading (taken as
// 1000 W/m²): its STC curve is its measured one. Spreadsheet-saved, so no checksum questions.
QByteArray testerFile()
{
    return "PV,SN 9,x,1,\n"
           "Index,DD/MM/YYYY,HH:MM:SS,Irr (W/m2),Ta (C),Tpv (C),FF,IVCurve,\n"
           "1,07/03/2014,09:05:00,1000,20,25,0.75,0:8,10:7.5,20:6,30:0,0,0,\n"
           "2,07/03/2014,09:06:00,,20,25,0.7,0:4,12345.6:2,24691.2:0,0,0,\n";
}

// The same file as a tester in a decimal-comma locale writes it.
QByteArray testerFileForLocale()
{
    QByteArray content = testerFile();
    if (QLocale().decimalPoint() == QLatin1Char(','))
        content.replace(',', ';').replace('.', ',');
    return content;
}

void setModified(const QString& path, const QDateTime& when)
{
    QFile file(path);
    file.open(QIODevice::ReadWrite);
    file.setFileTime(when, QFileDevice::FileModificationTime);
}
} // namespace

class TestCurveDocument : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void actionsAndMenus();
    void openedThroughTheRegistry();
    void insertAndDeleteRows();
    void saveReopenAndClose();
    void saveAfterTheFileVanished();
    void readOnlyFileRefusesImports();
    void exportPoints_data();
    void exportPoints();
    void exportFailureKeepsTheOldFile();
    void importThroughTheDocument();
    void coloursAndModules();
    void verdictsFollowModulesAndTolerances();
    void downloads();
    void meterDownloadAndImport();
    void missingLogger();
    void activatingARowOpensDetails_data();
    void activatingARowOpensDetails();
    void detailsOfAnUnshownStringLeaveTheGraph();
    void legendSurvivesAMeterImport();
    void deletingAFolderAsks();

private:
    void open();
    TreeItem* folder() const { return m_doc->store()->treeModel()->rootItem()->child(0); }
    void selectRow(TreeItem* item, QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::Select);
    void runLogger(const char* action);
    // Set PV Module Type for the selected strings: the library's first module, this many in series.
    void assignFirstModule(int series);

    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<CurveDocument> m_doc;
};

void TestCurveDocument::initTestCase()
{
    CurveSupport::registerWithDocuments();
}

void TestCurveDocument::init()
{
    TestSupport::resetState();
    ScriptedPrompts::get().reset();
    QSettings().setValue("Directories/RootDir", m_dir.path());
    QSettings("Halvern", "Halvern DataLogger").clear();
    qunsetenv("KESTROVAN_FAKE_LOGGER_KEEP_FILE");
    qunsetenv("KESTROVAN_FAKE_LOGGER_CRASH");
    DataLoggerProgram::overridePathForTests(QStringLiteral(FAKE_LOGGER));
    m_path = m_dir.filePath("strings.kstcrv");
    QFile::remove(m_path);
    QVERIFY(copyTemplate(m_path));
    open();
}

void TestCurveDocument::open()
{
    m_doc.reset();
    m_doc = std::make_unique<CurveDocument>(m_path);
    QVERIFY(m_doc->isValid());
    m_doc->resize(1200, 700);
}

void TestCurveDocument::cleanup()
{
    m_doc.reset();
    DataLoggerProgram::overridePathForTests(QString());
    QLocale::setDefault(QLocale::c());
}

void TestCurveDocument::selectRow(TreeItem* item, QItemSelectionModel::SelectionFlags flags)
{
    m_doc->tree()->selectionModel()->select(
        m_doc->store()->treeModel()->indexForItem(item), flags | QItemSelectionModel::Rows);
}

void TestCurveDocument::actionsAndMenus()
{
    struct Expected
    {
        const char* name;
        const char* text;
        const char* toolTip;
    };
    const Expected expected[] = { { "actionSave", "Save", "Save" },
        { "actionShowIV", "IV", "Show IV Curves" }, { "actionShowPWR", "PWR", "Show VP Power Curves" },
        { "actionShowMEAS", "MEAS", "Show Measured Curve Data" },
        { "actionShowSTC", "STC", "Show STC-corrected Curves" },
        { "actionShowNOM", "NOM", "Show Nominal Curve" },
        { "actionDownload", "Download", "Download data from tester" },
        { "actionAssignModule", "Set PV Module Type", "Manage Module Database" },
        { "actionImportIrradianceMT410", "Import from Meteor 410K",
            "Import Irradiance/Temp data from Meteor 410K" },
        { "actionExportPointsSTC", "Export STC IV Curve Points", "Export STC IV Curve Points in CSV format" },
        { "actionSetColour", "Set Colour",
            "Change the colour of lines on the graph associated with this string" } };
    for (const Expected& e : expected) {
        auto* action = m_doc->findChild<QAction*>(e.name);
        QVERIFY2(action, e.name);
        QCOMPARE(action->text(), QString(e.text));
        QCOMPARE(action->toolTip(), QString(e.toolTip));
    }
    QVERIFY(m_doc->findChild<QAction*>("actionShowIV")->isChecked());
    QVERIFY(m_doc->findChild<QAction*>("actionShowSTC")->isChecked());
    QVERIFY(!m_doc->findChild<QAction*>("actionShowPWR")->isChecked());
    QVERIFY(!m_doc->findChild<QAction*>("actionSave")->isEnabled());
    QCOMPARE(m_doc->findChild<QAction*>("actionSave")->shortcut(), QKeySequence("Ctrl+S"));
    QCOMPARE(m_doc->findChild<QAction*>("actionDeleteTreeRow")->shortcut(), QKeySequence(Qt::Key_Delete));
    // Details and the curve report are offered now that they have their dialogs.
    QVERIFY(m_doc->findChild<QAction*>("actionViewDetails")->isEnabled());
    QVERIFY(m_doc->findChild<QAction*>("actionCurveReport")->isEnabled());

    QStringList bar;
    for (QAction* a : m_doc->toolBar()->actions())
        bar << (a->isSeparator() ? "|" : a->objectName());
    QCOMPARE(bar,
        QStringList({ "actionSave", "|", "actionShowMEAS", "actionShowSTC", "actionShowNOM", "actionShowIV",
            "actionShowPWR", "|", "actionDownload", "actionImportCSV", "|", "actionCurveReport",
            "actionExportToImage", "|", "actionManageModules" }));

    auto* menu = m_doc->findChild<QMenu*>("curveTreeContextMenu");
    QVERIFY(menu);
    QStringList items;
    for (QAction* a : menu->actions())
        items << (a->menu() ? a->text() : a->objectName());
    QCOMPARE(items,
        QStringList({ "actionSave", "actionInsertTreeRow", "actionDeleteTreeRow", "actionViewDetails",
            "actionAssignModule", "actionCurveReport", "Import Irradiance/Temp data", "Export Points",
            "actionSetColour", "", "actionCompareStrings", "actionVerdictTolerances" }));
    QVERIFY(m_doc->graph()->findChild<QObject*>("SquishGraphHelper"));
}

void TestCurveDocument::openedThroughTheRegistry()
{
    m_doc.reset();
    std::unique_ptr<AbstractDocument> doc(createDocument(m_path));
    QVERIFY(qobject_cast<CurveDocument*>(doc.get()));
    QVERIFY(doc->isValid());
    // A new one is a copy of the empty template under the default name.
    const QString created = createNewDocument(m_dir.path(), "String Data Report.kstcrv");
    QCOMPARE(QFileInfo(created).fileName(), QString("String Data Report.kstcrv"));
    std::unique_ptr<AbstractDocument> fresh(createDocument(created));
    QVERIFY(fresh->isValid());
    QCOMPARE(qobject_cast<CurveDocument*>(fresh.get())->store()->treeModel()->rowCount(), 0);
    // A file that is not a curve database opens as an invalid document, after a message.
    const QString bad = writeFile(m_dir.filePath("bad.kstcrv"), "not a database");
    ScriptedPrompts::get().reset();
    std::unique_ptr<AbstractDocument> invalid(createDocument(bad));
    QVERIFY(!invalid || !invalid->isValid());
    QCOMPARE(ScriptedPrompts::get().asked.size(), 1);
}

void TestCurveDocument::insertAndDeleteRows()
{
    QAction* insert = m_doc->findChild<QAction*>("actionInsertTreeRow");
    QAction* remove = m_doc->findChild<QAction*>("actionDeleteTreeRow");
    CurveTreeModel* model = m_doc->store()->treeModel();
    insert->trigger();
    insert->trigger();
    QCOMPARE(model->rowCount(), 2);
    QVERIFY(m_doc->isModified());
    QVERIFY(m_doc->findChild<QAction*>("actionSave")->isEnabled());

    // Under the row of the context menu; the remembered row is used once.
    m_doc->show();
    const QModelIndex top = model->index(0, 0);
    m_doc->tree()->scrollTo(top);
    QTimer::singleShot(0, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    m_doc->onCustomContextMenu(m_doc->tree()->visualRect(top).center());
    insert->trigger();
    QCOMPARE(model->rowCount(top), 1);
    insert->trigger();
    QCOMPARE(model->rowCount(), 3);

    // Deleting a folder and its own child together removes each once.
    m_doc->tree()->expandAll();
    const QModelIndex parent = model->index(1, 0);
    QCOMPARE(model->rowCount(parent), 1);
    selectRow(model->itemFromIndex(parent));
    selectRow(model->itemFromIndex(model->index(0, 0, parent)));
    selectRow(model->itemFromIndex(model->index(2, 0)));
    remove->trigger();
    QCOMPARE(model->rowCount(), 1);
    m_doc->setModified(false);
    remove->trigger();
    QCOMPARE(model->rowCount(), 1);
}

void TestCurveDocument::saveReopenAndClose()
{
    m_doc->importTesterFile(writeFile(m_dir.filePath("site.csv"), testerFile()));
    QVERIFY(m_doc->isModified());
    selectRow(folder()->child(1));
    ScriptedPrompts::get().colors = { QColor("#123456") };
    m_doc->findChild<QAction*>("actionSetColour")->trigger();

    // Cancel keeps the document open and modified; Yes saves.
    ScriptedPrompts& prompts = ScriptedPrompts::get();
    prompts.reset();
    prompts.buttons = { QMessageBox::Cancel };
    QVERIFY(!m_doc->maybeSave());
    QCOMPARE(prompts.messageTexts(), QStringList({ "Save changes to strings.kstcrv?" }));
    QCOMPARE(prompts.asked.at(0).message.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QVERIFY(m_doc->isModified());
    prompts.buttons = { QMessageBox::Yes };
    QVERIFY(m_doc->maybeSave());
    QVERIFY(!m_doc->isModified());
    QVERIFY(!m_doc->findChild<QAction*>("actionSave")->isEnabled());

    open();
    QCOMPARE(folder()->data(TreeLabel).toString(), QString("site.csv"));
    QCOMPARE(folder()->childCount(), 2);
    QCOMPARE(folder()->child(1)->colour(), QColor("#123456"));
    QCOMPARE(folder()->child(0)->data(TreeCellTemp).toString(), QString("25"));
    // Unmodified: closing asks nothing. Modified, No: closes without saving.
    prompts.reset();
    QVERIFY(m_doc->maybeSave());
    QVERIFY(prompts.asked.isEmpty());
    m_doc->findChild<QAction*>("actionInsertTreeRow")->trigger();
    prompts.buttons = { QMessageBox::No };
    QVERIFY(m_doc->maybeSave());
    open();
    QCOMPARE(m_doc->store()->treeModel()->rowCount(), 1);
}

void TestCurveDocument::saveAfterTheFileVanished()
{
    // Deleted while open: Save writes the whole document at its place again, without an error.
    m_doc->importTesterFile(writeFile(m_dir.filePath("site.csv"), testerFile()));
    QVERIFY(QFile::remove(m_path));
    ScriptedPrompts& prompts = ScriptedPrompts::get();
    prompts.reset();
    m_doc->save();
    QCOMPARE(prompts.messageTexts(), QStringList());
    QVERIFY(QFileInfo::exists(m_path));
    QVERIFY(!m_doc->isModified());

    // Later changes go to the file now at the path, imported curves included.
    m_doc->importTesterFile(writeFile(m_dir.filePath("more.csv"), testerFile()));
    m_doc->save();
    QCOMPARE(prompts.messageTexts(), QStringList());
    open();
    CurveTreeModel* model = m_doc->store()->treeModel();
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->rootItem()->child(0)->data(TreeLabel).toString(), QString("more.csv"));
    QCOMPARE(model->rootItem()->child(1)->data(TreeLabel).toString(), QString("site.csv"));
    selectRow(model->rootItem()->child(0));
    selectRow(model->rootItem()->child(1));
    QCOMPARE(m_doc->graph()->lineCount(SeriesSTC), 4);

    // Moved away while open: the moved file keeps what it held, the path gets the new state.
    const QString moved = m_dir.filePath("moved.kstcrv");
    QVERIFY(QFile::rename(m_path, moved));
    m_doc->findChild<QAction*>("actionInsertTreeRow")->trigger();
    prompts.reset();
    m_doc->save();
    QCOMPARE(prompts.messageTexts(), QStringList());
    QVERIFY(!m_doc->isModified());
    open();
    QCOMPARE(m_doc->store()->treeModel()->rowCount(), 3);
    m_doc.reset();
    CurveStore movedStore(moved);
    QVERIFY(movedStore.isOpen());
    QCOMPARE(movedStore.treeModel()->rowCount(), 2);

    // Its folder gone too: nothing can be written, and the user is told so; the work stays unsaved.
    QVERIFY(QDir().mkpath(m_dir.filePath("site")));
    m_path = m_dir.filePath("site/strings.kstcrv");
    QVERIFY(QFile::copy(moved, m_path));
    open();
    QVERIFY(QDir().rename(m_dir.filePath("site"), m_dir.filePath("elsewhere")));
    m_doc->findChild<QAction*>("actionInsertTreeRow")->trigger();
    prompts.reset();
    m_doc->save();
    QCOMPARE(prompts.messageTexts().size(), 1);
    QVERIFY(prompts.messageTexts().at(0).contains("was deleted or moved while it was open"));
    QCOMPARE(prompts.asked.at(0).message.icon, QMessageBox::Critical);
    QVERIFY(m_doc->isModified());
    QVERIFY(!QFileInfo::exists(m_path));
}

void TestCurveDocument::readOnlyFileRefusesImports()
{
    // Nothing can be written to a read-only file: an import says so once and adds nothing,
    // rather than adding strings without curves after one SQL error box per line.
    m_doc.reset();
    QVERIFY(QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    ScriptedPrompts& prompts = ScriptedPrompts::get();
    prompts.reset();
    open();
    QCOMPARE(prompts.messageTexts().size(), 1);
    const QString readOnly = prompts.messageTexts().at(0);
    QVERIFY(readOnly.startsWith("The file is read-only."));

    QByteArray many = "PV,SN 9,x,1,\nIndex,Irr (W/m2),Tpv (C),IVCurve,\n";
    for (int i = 1; i <= 20; ++i)
        many += QByteArray::number(i) + ",1000,25,0:8,10:7,20:0,0,0,\n";
    prompts.reset();
    QVERIFY(!m_doc->importTesterFile(writeFile(m_dir.filePath("site.csv"), many)));
    QCOMPARE(prompts.messageTexts(), QStringList({ readOnly }));
    QCOMPARE(m_doc->store()->treeModel()->rowCount(), 0);
    QVERIFY(!m_doc->isModified());
    QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void TestCurveDocument::exportPoints_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray measEn = "String 2 MEAS\n\nIrradiance,Ambient Temp,Cell Temp,Fill Factor\n,20,25,0.7\n\n"
                              "V,I\n0,4\n12345.6,2\n24691.2,0\n";
    QTest::newRow("MEAS en") << "en_US"
                             << "actionExportPoints"
                             << " MEAS" << measEn;
    QTest::newRow("MEAS de") << "de_DE"
                             << "actionExportPoints"
                             << " MEAS"
                             << QByteArray("String 2 MEAS\n\nIrradiance;Ambient Temp;Cell Temp;Fill Factor\n"
                                           ";20;25;0,7\n\nV;I\n0;4\n12345,6;2\n24691,2;0\n");
    QTest::newRow("PWR fr") << "fr_FR"
                            << "actionExportPWRPoints"
                            << " PWR"
                            << QByteArray("String 2 PWR\n\nIrradiance;Ambient Temp;Cell Temp;Fill Factor\n"
                                          ";20;25;0,7\n\nV;P\n0;0\n12345,6;24691,2\n24691,2;0\n");
    // At STC conditions the translated curve is the measured one.
    QTest::newRow("STC en") << "en_US"
                            << "actionExportPointsSTC"
                            << " STC" << QByteArray(measEn).replace("MEAS", "STC");
    QTest::newRow("STC PWR en") << "en_US"
                                << "actionExportPWRPointsSTC"
                                << " STC PWR"
                                << QByteArray(
                                       "String 2 STC PWR\n\nIrradiance,Ambient Temp,Cell Temp,Fill Factor\n"
                                       ",20,25,0.7\n\nV,P\n0,0\n12345.6,24691.2\n24691.2,0\n");
}

void TestCurveDocument::exportPoints()
{
    QFETCH(QString, locale);
    QFETCH(QString, action);
    QFETCH(QString, suffix);
    QFETCH(QByteArray, expected);
    QLocale::setDefault(QLocale(locale));
    m_doc->importTesterFile(writeFile(m_dir.filePath("site.csv"), testerFileForLocale()));
    selectRow(folder()->child(1));
    const QString out = m_dir.filePath("export.csv");
    writeFile(out, "old content");
    ScriptedPrompts& prompts = ScriptedPrompts::get();
    prompts.reset();
    prompts.paths = QStringList { out };
    m_doc->findChild<QAction*>(action)->trigger();
    QCOMPARE(prompts.asked.size(), 1);
    QCOMPARE(prompts.asked.at(0).caption, QString("Save CSV file"));
    QCOMPARE(prompts.asked.at(0).filter, QString("CSV file (*.csv)"));
    QCOMPARE(prompts.asked.at(0).dir, QDir::toNativeSeparators(m_dir.path() + "/String 2" + suffix));
    QCOMPARE(readFile(out), expected);
    QCOMPARE(QSettings().value("Directories/LastExportDir").toString(), m_dir.path());
}

void TestCurveDocument::exportFailureKeepsTheOldFile()
{
    m_doc->importTesterFile(writeFile(m_dir.filePath("site.csv"), testerFile()));
    // Two strings: two names asked, one after the other; the first is cancelled.
    selectRow(folder()->child(0));
    selectRow(folder()->child(1));
    const QString taken = m_dir.filePath("folder.csv");
    QDir().mkpath(taken);
    ScriptedPrompts& prompts = ScriptedPrompts::get();
    prompts.reset();
    prompts.paths = QStringList { QString(), taken };
    m_doc->findChild<QAction*>("actionExportPoints")->trigger();
    QCOMPARE(prompts.asked.size(), 3);
    QCOMPARE(prompts.asked.at(0).dir, QDir::toNativeSeparators(m_dir.path() + "/String 1 MEAS"));
    QCOMPARE(prompts.asked.at(1).dir, QDir::toNativeSeparators(m_dir.path() + "/String 2 MEAS"));
    QCOMPARE(prompts.asked.at(2).message.text, " Could not open file:\n " + taken);
    QCOMPARE(prompts.asked.at(2).message.icon, QMessageBox::Critical);
    QVERIFY(QFileInfo(taken).isDir());

    // Only the folder selected: no string to export, and the user is told so.
    m_doc->tree()->selectionModel()->clearSelection();
    selectRow(folder());
    prompts.reset();
    m_doc->findChild<QAction*>("actionExportPointsSTC")->trigger();
    QCOMPARE(prompts.asked.size(), 1);
    QCOMPARE(prompts.messageTexts(), QStringList({ "No strings selected" }));
}

void TestCurveDocument::importThroughTheDocument()
{
    QVERIFY(QDir().mkpath(m_dir.filePath("in")));
    const QString csv = writeFile(m_dir.filePath("in/site.csv"), testerFile());
    QVERIFY(!csv.isEmpty());
    ScriptedPrompts& prompts = ScriptedPrompts::get();
    prompts.paths = QStringList { csv };
    m_doc->findChild<QAction*>("actionImportCSV")->trigger();
    QCOMPARE(prompts.asked.at(0).caption, QString("Import CSV File"));
    QCOMPARE(prompts.asked.at(0).filter, QString("CSV Files (*.csv)"));
    QCOMPARE(prompts.asked.at(0).dir, m_dir.path());
    QCOMPARE(folder()->childCount(), 2);
    QCOMPARE(QSettings().value("Directories/LastImportDir").toString(), m_dir.filePath("in"));
    QVERIFY(m_doc->isModified());

    // Selecting the folder draws both strings.
    selectRow(folder());
    QCOMPARE(m_doc->graph()->lineCount(SeriesSTC), 2);
    m_doc->findChild<QAction*>("actionShowMEAS")->trigger();
    QCOMPARE(m_doc->graph()->lineCount(SeriesMEAS), 2);

    // Meter readings through the document, for the selected strings only.
    m_doc->tree()->selectionModel()->clearSelection();
    prompts.reset();
    m_doc->findChild<QAction*>("actionImportIrradianceFile")->trigger();
    QCOMPARE(prompts.messageTexts(), QStringList({ "No strings selected" }));
    selectRow(folder()->child(0));
    const QString meter = writeFile(m_dir.filePath("meter.csv"),
        "Index,Irr,Tpv,Tamb,Date,Time,Irr Unit,Temp Unit\n1,640,0,0,07.03.14,09:05:10,W,C\n");
    prompts.reset();
    prompts.paths = QStringList { meter };
    prompts.buttons = { QMessageBox::YesToAll };
    m_doc->findChild<QAction*>("actionImportIrradianceFile")->trigger();
    QCOMPARE(folder()->child(0)->data(TreeIrradiance).toString(), QString("640"));
    QCOMPARE(folder()->child(0)->data(TreeCellTemp).toString(), QString("0"));
    QCOMPARE(folder()->child(1)->data(TreeCellTemp).toString(), QString("25"));
    QCOMPARE(prompts.messageTexts().last(), QString("Irradiance and temperature import complete."));
}

void TestCurveDocument::coloursAndModules()
{
    m_doc->importTesterFile(writeFile(m_dir.filePath("site.csv"), testerFile()));
    selectRow(folder()->child(0));
    const uint id = folder()->child(0)->data(TreeCurveID).toUInt();
    ScriptedPrompts& prompts = ScriptedPrompts::get();
    // Double click: the colour column picks a colour starting at the string's own, the label
    // column opens the details like every other column.
    prompts.reset();
    prompts.colors = { QColor(Qt::magenta) };
    const QColor before = folder()->child(0)->colour();
    int details = 0;
    prompts.dialogHandler = [&details](QDialog*) {
        ++details;
        return int(QDialog::Rejected);
    };
    m_doc->slotDoubleClickTree(m_doc->store()->treeModel()->indexForItem(folder()->child(0), ColumnLabel));
    QCOMPARE(details, 1);
    prompts.reset();
    prompts.colors = { QColor(Qt::magenta) };
    m_doc->slotDoubleClickTree(m_doc->store()->treeModel()->indexForItem(folder()->child(0), ColumnColour));
    QCOMPARE(prompts.asked.size(), 1);
    QCOMPARE(folder()->child(0)->colour(), QColor(Qt::magenta));
    QVERIFY(before.isValid());
    QCOMPARE(m_doc->graph()->line(id, SeriesSTC)->pen().color(), QColor(Qt::magenta));
    // A cancelled colour dialog changes nothing.
    prompts.colors = { QColor() };
    m_doc->findChild<QAction*>("actionSetColour")->trigger();
    QCOMPARE(folder()->child(0)->colour(), QColor(Qt::magenta));

    // Set PV Module Type: the first module of the library, 12 in series; the NOM curve appears.
    assignFirstModule(12);
    m_doc->findChild<QAction*>("actionShowNOM")->trigger();
    QCOMPARE(m_doc->graph()->lineCount(SeriesNOM), 1);
    CurveRecord* record = m_doc->store()->graphModel()->cached(id);
    QVERIFY(record->module().moduleID > 0);
    QCOMPARE(record->module().ns, 12u);
    // Manage Module Database runs its dialog.
    prompts.reset();
    prompts.dialogHandler = [](QDialog*) { return int(QDialog::Rejected); };
    m_doc->findChild<QAction*>("actionManageModules")->trigger();
    QCOMPARE(prompts.asked.size(), 1);
    QCOMPARE(prompts.asked.at(0).kind, QString("dialog"));
}

void TestCurveDocument::verdictsFollowModulesAndTolerances()
{
    // With the verdict column shown, every change to a string brings its verdict up to date.
    QSettings().setValue("Curves/columnMask", 1 | (1 << ColumnVerdict));
    open();
    QVERIFY(!m_doc->tree()->isColumnHidden(ColumnVerdict));
    m_doc->importTesterFile(writeFile(m_dir.filePath("site.csv"), testerFile()));
    CurveTreeModel* tree = m_doc->store()->treeModel();
    auto verdict
        = [&](int row) { return tree->indexForItem(folder()->child(row), ColumnVerdict).data().toString(); };
    QTRY_COMPARE(verdict(0), QString("No verdict: no module"));

    ScriptedPrompts& prompts = ScriptedPrompts::get();
    selectRow(folder()->child(0));
    assignFirstModule(12);
    // Twelve modules' worth of nominal power against a 30 V test curve.
    QTRY_VERIFY2(verdict(0).startsWith("Fail: Pmp -9"), qPrintable(verdict(0)));
    QCOMPARE(verdict(1), QString("No verdict: no module"));

    // Tolerances of 100 % let everything measured pass; they are kept in the file.
    prompts.dialogHandler = [](QDialog* dialog) {
        for (const char* name : { "spinPmp", "spinVoc", "spinIsc" })
            dialog->findChild<QDoubleSpinBox*>(name)->setValue(100);
        return int(QDialog::Accepted);
    };
    m_doc->findChild<QAction*>("actionVerdictTolerances")->trigger();
    QCOMPARE(verdict(0), QString("Pass"));
    QCOMPARE(m_doc->store()->tolerances().voc, 100.0);

    // Compare Strings lists the strings of the selected folder in tree order, with the same verdicts.
    selectRow(folder(), QItemSelectionModel::ClearAndSelect);
    int rows = 0;
    QString first;
    prompts.dialogHandler = [&](QDialog* dialog) {
        auto* table = dialog->findChild<QTableWidget*>("tableComparison");
        rows = table->rowCount();
        first = table->item(0, 12)->text();
        return int(QDialog::Rejected);
    };
    m_doc->findChild<QAction*>("actionCompareStrings")->trigger();
    QCOMPARE(rows, folder()->childCount());
    QCOMPARE(first, QString("Pass"));
}

void TestCurveDocument::assignFirstModule(int series)
{
    ScriptedPrompts::get().dialogHandler = [series](QDialog* dialog) {
        auto* chooser = qobject_cast<CurveModulesChooser*>(dialog);
        if (!chooser || chooser->combo()->count() < 2)
            return int(QDialog::Rejected);
        chooser->combo()->setCurrentIndex(1);
        chooser->findChild<QSpinBox*>()->setValue(series);
        return int(QDialog::Accepted);
    };
    m_doc->findChild<QAction*>("actionAssignModule")->trigger();
}

void TestCurveDocument::runLogger(const char* action)
{
    m_doc->findChild<QAction*>(action)->trigger();
    QProcess* logger = m_doc->findChild<QProcess*>();
    QVERIFY(logger);
    QVERIFY(logger->waitForFinished(10000));
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestCurveDocument::downloads()
{
    const QString file = m_dir.filePath("download.csv");
    qputenv("KESTROVAN_FAKE_LOGGER_FILE", file.toUtf8());
    ScriptedPrompts& prompts = ScriptedPrompts::get();
    prompts.buttons = { QMessageBox::Yes };
    runLogger("actionDownload");
    QCOMPARE(prompts.asked.at(0).message.text,
        QString("Would you like to import the last file you just downloaded?"));
    QCOMPARE(prompts.asked.at(0).message.icon, QMessageBox::Question);
    const QString detail = prompts.asked.at(0).message.informativeText;
    QVERIFY2(QRegularExpression(QString("^File: %1 was saved (just now|[0-9]+ seconds ago)\\.$")
                                    .arg(QRegularExpression::escape(file)))
                 .match(detail)
                 .hasMatch(),
        qPrintable(detail));
    QCOMPARE(folder()->data(TreeLabel).toString(), QString("download.csv"));
    QCOMPARE(folder()->childCount(), 1);
    QVERIFY(m_doc->findChildren<QProcess*>().isEmpty());

    // The logger closed without saving anything new: nothing is offered.
    qputenv("KESTROVAN_FAKE_LOGGER_KEEP_FILE", "1");
    setModified(file, QDateTime::currentDateTime().addSecs(-3 * 3600));
    prompts.reset();
    runLogger("actionDownload");
    QVERIFY(prompts.asked.isEmpty());
    QCOMPARE(m_doc->store()->treeModel()->rowCount(), 1);

    // A logger that crashes is reported as the main window's downloads are, and offers nothing.
    qunsetenv("KESTROVAN_FAKE_LOGGER_KEEP_FILE");
    qputenv("KESTROVAN_FAKE_LOGGER_CRASH", "1");
    prompts.reset();
    runLogger("actionDownload");
    QCOMPARE(prompts.messageTexts().filter("failed to start").size(), 1);
    QVERIFY(prompts.messageTexts().filter("import").isEmpty());
    qunsetenv("KESTROVAN_FAKE_LOGGER_CRASH");
}

void TestCurveDocument::meterDownloadAndImport()
{
    m_doc->importTesterFile(writeFile(m_dir.filePath("site.csv"), testerFile()));
    selectRow(folder()->child(1));
    // The meter file the logger "saved": written here, dated after the start of the download.
    const QString file = writeFile(m_dir.filePath("meter.csv"),
        "Index,Irr,Tpv,Tamb,Date,Time,Irr Unit,Temp Unit\n1,700,31,0,07.03.14,09:06:05,W,C\n");
    setModified(file, QDateTime::currentDateTime().addSecs(60));
    qputenv("KESTROVAN_FAKE_LOGGER_FILE", file.toUtf8());
    qputenv("KESTROVAN_FAKE_LOGGER_KEEP_FILE", "1");
    ScriptedPrompts& prompts = ScriptedPrompts::get();
    prompts.reset();
    prompts.buttons = { QMessageBox::Yes, QMessageBox::YesToAll };
    runLogger("actionImportIrradianceMT410");
    QCOMPARE(prompts.messageTexts().first(),
        QString("Would you like to import the last file you just downloaded?"));
    QCOMPARE(folder()->child(1)->data(TreeIrradiance).toString(), QString("700"));
    QCOMPARE(folder()->child(1)->data(TreeCellTemp).toString(), QString("31"));
    QCOMPARE(folder()->child(0)->data(TreeCellTemp).toString(), QString("25"));
}

void TestCurveDocument::missingLogger()
{
    DataLoggerProgram::overridePathForTests(m_dir.filePath("nowhere/HalvernDataLogger"));
    m_doc->findChild<QAction*>("actionDownload")->trigger();
    QCOMPARE(ScriptedPrompts::get().messageTexts(),
        QStringList({ "Could not find:\n" + m_dir.filePath("nowhere/HalvernDataLogger")
            + ".\nPlease try installing the program again" }));
    QVERIFY(m_doc->findChildren<QProcess*>().isEmpty());
}

void TestCurveDocument::activatingARowOpensDetails_data()
{
    QTest::addColumn<bool>("onFolder");
    QTest::addColumn<bool>("selectedBefore");
    QTest::addColumn<bool>("withEnter");
    QTest::addColumn<int>("dialogs");
    QTest::newRow("name of a string not selected") << false << false << false << 1;
    QTest::newRow("name of the selected string") << false << true << false << 1;
    QTest::newRow("Enter on a string") << false << true << true << 1;
    QTest::newRow("name of a folder") << true << false << false << 0;
    QTest::newRow("Enter on a folder") << true << true << true << 0;
}

void TestCurveDocument::activatingARowOpensDetails()
{
    // A double click as the window system delivers it (press, release, press, double click,
    // release, with the events of the first click handled in between), or Enter, on the name:
    // the details of a string open at once, a folder opens none, and no name is edited.
    QFETCH(bool, onFolder);
    QFETCH(bool, selectedBefore);
    QFETCH(bool, withEnter);
    QFETCH(int, dialogs);
    m_doc->importTesterFile(writeFile(m_dir.filePath("site.csv"), testerFile()));
    m_doc->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_doc.get()));
    CurveTree* tree = m_doc->tree();
    tree->expandAll();
    TreeItem* target = onFolder ? folder() : folder()->child(1);
    const QModelIndex index = m_doc->store()->treeModel()->indexForItem(target);
    if (selectedBefore) {
        tree->selectionModel()->setCurrentIndex(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QCoreApplication::processEvents();
    }
    QStringList opened;
    ScriptedPrompts::get().reset();
    ScriptedPrompts::get().dialogHandler = [&opened](QDialog* dialog) {
        opened << QString::fromLatin1(dialog->metaObject()->className());
        return int(QDialog::Rejected);
    };
    QWidget* viewport = tree->viewport();
    const QPoint at = tree->visualRect(index).center();
    auto mouse = [&](QEvent::Type type, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    };
    if (withEnter) {
        QTest::keyClick(tree, Qt::Key_Return);
    } else {
        mouse(QEvent::MouseButtonPress, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, Qt::NoButton);
        QCoreApplication::processEvents();
        mouse(QEvent::MouseButtonPress, Qt::LeftButton);
        mouse(QEvent::MouseButtonDblClick, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, Qt::NoButton);
    }
    QCoreApplication::processEvents();
    QCOMPARE(opened, dialogs ? QStringList({ "IVCurve::CurveDetailsDialog" }) : QStringList());
    QVERIFY(tree->findChildren<QLineEdit*>().isEmpty());
    QCOMPARE(target->data(TreeLabel).toString(), onFolder ? QString("site.csv") : QString("String 2"));
}

void TestCurveDocument::detailsOfAnUnshownStringLeaveTheGraph()
{
    // String 1 is shown; the details of String 2 are looked at and changed from the context
    // menu: String 2's file row takes the change, but it is neither drawn nor in the report.
    m_doc->importTesterFile(writeFile(m_dir.filePath("site.csv"), testerFile()));
    selectRow(folder()->child(0));
    CurveGraphModel* model = m_doc->store()->graphModel();
    const uint shown = folder()->child(0)->curveID();
    const uint other = folder()->child(1)->curveID();
    m_doc->graph()->refresh();
    ScriptedPrompts::get().reset();
    ScriptedPrompts::get().buttons = { QMessageBox::Ok };
    ScriptedPrompts::get().dialogHandler = [](QDialog* dialog) {
        auto* irradiance = dialog->findChild<QLineEdit*>(QStringLiteral("Irradiance"));
        if (!irradiance)
            return int(QDialog::Rejected);
        irradiance->setText(QStringLiteral("850"));
        irradiance->setModified(true);
        dialog->accept();
        return dialog->result();
    };
    m_doc->slotViewDetails(m_doc->store()->treeModel()->indexForItem(folder()->child(1)));
    m_doc->graph()->refresh();
    QCOMPARE(model->cachedCurveIDs(), QList<uint>({ shown }));
    QVERIFY(!m_doc->graph()->line(other, SeriesSTC));
    QCOMPARE(m_doc->graph()->lineCount(SeriesSTC), 1);
    QCOMPARE(folder()->child(1)->data(TreeIrradiance).toString(), QString("850"));
    QCOMPARE(model->load(other)->value(CurveRecord::Irradiance), QString("850"));

    // Shown later, it is drawn in its own colour with its label, and the changed value.
    selectRow(folder()->child(1));
    m_doc->graph()->refresh();
    QCOMPARE(model->cachedCurveIDs(), QList<uint>({ shown, other }));
    QCOMPARE(model->cached(other)->label, QString("String 2"));
    QVERIFY(model->cached(other)->colour.isValid());
    QCOMPARE(model->cached(other)->value(CurveRecord::Irradiance), QString("850"));
}

void TestCurveDocument::legendSurvivesAMeterImport()
{
    // The shown strings take new values from the meter and are drawn again: each keeps its
    // entry in the legend.
    m_doc->importTesterFile(writeFile(m_dir.filePath("site.csv"), testerFile()));
    selectRow(folder());
    m_doc->graph()->refresh();
    auto legendEntries = [this] {
        QStringList titles;
        for (QwtPlotItem* item : m_doc->graph()->itemList(QwtPlotItem::Rtti_PlotCurve)) {
            if (item->testItemAttribute(QwtPlotItem::Legend))
                titles << item->title().text();
        }
        return titles;
    };
    QCOMPARE(legendEntries(), QStringList({ "String 1", "String 2" }));
    const QString meter = writeFile(m_dir.filePath("meter.csv"),
        "Index,Irr,Tpv,Tamb,Date,Time,Irr Unit,Temp Unit\n1,900,30,0,07.03.14,09:05:05,W,C\n"
        "2,901,31,0,07.03.14,09:06:05,W,C\n");
    ScriptedPrompts::get().reset();
    ScriptedPrompts::get().paths = QStringList { meter };
    ScriptedPrompts::get().buttons = { QMessageBox::YesToAll, QMessageBox::Ok };
    m_doc->slotImportIrradianceFile();
    m_doc->graph()->refresh();
    QCOMPARE(
        ScriptedPrompts::get().messageTexts().last(), QString("Irradiance and temperature import complete."));
    QCOMPARE(folder()->child(1)->data(TreeIrradiance).toString(), QString("901"));
    QCOMPARE(legendEntries(), QStringList({ "String 1", "String 2" }));
    QCOMPARE(m_doc->graph()->lineCount(SeriesSTC), 2);
}

void TestCurveDocument::deletingAFolderAsks()
{
    // A folder goes with its strings only when the user says so; a lone string goes at once.
    m_doc->importTesterFile(writeFile(m_dir.filePath("site.csv"), testerFile()));
    CurveTreeModel* model = m_doc->store()->treeModel();
    QAction* remove = m_doc->findChild<QAction*>("actionDeleteTreeRow");
    selectRow(folder());
    ScriptedPrompts::get().reset();
    ScriptedPrompts::get().buttons = { QMessageBox::No };
    remove->trigger();
    QCOMPARE(ScriptedPrompts::get().messageTexts(),
        QStringList({ "Delete the selected rows? Strings that go with them: 2." }));
    QCOMPARE(ScriptedPrompts::get().asked.at(0).message.icon, QMessageBox::Question);
    QCOMPARE(ScriptedPrompts::get().asked.at(0).message.title, QString("Kestrovan"));
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(folder()->childCount(), 2);

    m_doc->tree()->selectionModel()->clearSelection();
    selectRow(folder()->child(0));
    ScriptedPrompts::get().reset();
    remove->trigger();
    QCOMPARE(ScriptedPrompts::get().asked.size(), 0);
    QCOMPARE(folder()->childCount(), 1);

    selectRow(folder());
    ScriptedPrompts::get().buttons = { QMessageBox::Yes };
    remove->trigger();
    QCOMPARE(ScriptedPrompts::get().messageTexts(),
        QStringList({ "Delete the selected rows? Strings that go with them: 1." }));
    QCOMPARE(model->rowCount(), 0);
}

KESTROVAN_TEST_MAIN(TestCurveDocument)
#include "tst_document.moc"
