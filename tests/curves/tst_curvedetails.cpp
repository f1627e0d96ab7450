// The curve details dialog: filling from a record, the rules applied on OK, the translation
// method, the module choice, the percentage helpers and the save notice; and the document
// writing the edited string and drawing it again.
#include "CurveConstants.h"
#include "CurveDetailsDialog.h"
#include "CurveDocument.h"
#include "CurveGraph.h"
#include "CurveGraphModel.h"
#include "CurveLine.h"
#include "CurveQSpinBox.h"
#include "CurveRecord.h"
#include "CurveStore.h"
#include "CurveTestSupport.h"
#include "CurveTree.h"
#include "CurveTreeModel.h"
#include "FileNames.h"
#include "Folders.h"
#include "ModuleLibrary.h"
#include "NumberText.h"
#include "SettingsKeys.h"
#include "StringComparisonDialog.h"
#include "TestSupport.h"
#include "TreeItem.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>

using namespace IVCurve;
using namespace CurveTestSupport;

namespace {
QByteArray testerFile()
{
    return "PV,SN 9,x,1,\n"
           "Index,DD/MM/YYYY,HH:MM:SS,Irr (W/m2),Ta (C),Tpv (C),FF,IVCurve,\n"
           "1,07/03/2014,09:05:00,1000,20,25,0.75,0:8,10:7.5,20:6,30:0,0,0,\n"
           "2,07/03/2014,09:06:00,800,20,40,0.7,0:4,12:3.5,24:2,30:0,0,0,\n";
}

CurveRecord sampleRecord()
{
    CurveRecord record;
    record.label = QStringLiteral("String 7");
    record.testerSerNo = QStringLiteral("SN 42");
    record.memLocation = 17;
    record.testDate = QStringLiteral("2014-03-07T09:05:00");
    record.setValue(CurveRecord::Irradiance, QStringLiteral("812"));
    record.setValue(CurveRecord::CellTemp, QStringLiteral("41.5"));
    record.setValue(CurveRecord::AmbientTemp, QStringLiteral("22"));
    record.setValue(CurveRecord::Voc, QStringLiteral("612.3"));
    record.setValue(CurveRecord::Isc, QStringLiteral("8.71"));
    STCparameters p;
    p.algorithm = AlgorithmIEC60891;
    p.alpha = NumberText::format(0.0035);
    p.beta = NumberText::format(-0.14);
    p.Rs = NumberText::format(0.5);
    p.delta = NumberText::format(0.085);
    p.K = NumberText::format(0.002);
    record.setSTCparameters(p);
    record.measured().addPoint(0, 8, 812, 0);
    record.measured().addPoint(500, 7, 812, 0);
    record.measured().addPoint(600, 0, 812, 0);
    return record;
}

template <typename T> T* child(QWidget* dialog, const char* name)
{
    T* widget = dialog->findChild<T*>(QLatin1String(name));
    if (!widget)
        qWarning("missing widget %s", name);
    return widget;
}

void typeInto(QLineEdit* edit, const QString& text)
{
    edit->clear();
    edit->setText(text);
    edit->setModified(true);
}
} // namespace

class TestCurveDetails : public QObject
{
    Q_OBJECT
private slots:
    void init();

    void fillsFromTheRecord();
    void conditionRulesOnOK();
    void blaesserStaysUnlessAnotherIsChosen();
    void newerProceduresAndTheParametersTab();
    void comparisonTableSortsHighlightsAndExports();
    void moduleChoiceAndEntryWithoutData();
    void percentageHelpers();
    void saveNoticeCanBeSilenced();
    void numbersWithoutGroupSeparators();
    void documentWritesAndRedraws();
};

void TestCurveDetails::init()
{
    TestSupport::resetState();
    ScriptedPrompts::get().reset();
    QLocale::setDefault(QLocale::c());
    QSettings().setValue(SettingsKeys::curvesHideSaveWarning(), true);
}

void TestCurveDetails::fillsFromTheRecord()
{
    CurveRecord record = sampleRecord();
    const CurveModuleRow module = firstModule({ CurveModuleRow::Isc, CurveModuleRow::Voc });
    QVERIFY(module.id != 0);
    ModuleAssignment assignment;
    assignment.setModule(module);
    assignment.ns = 14;
    assignment.np = 2;
    record.setModuleAssignment(assignment);

    CurveDetailsDialog dialog(record, QStringLiteral("Roof A / String 7"), 0);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Curve Details"));
    QCOMPARE(child<QLineEdit>(&dialog, "Title")->text(), QStringLiteral("Roof A / String 7"));
    QCOMPARE(child<QLineEdit>(&dialog, "TesterSerNo")->text(), QStringLiteral("SN 42"));
    QCOMPARE(child<QLineEdit>(&dialog, "MemoryLoc")->text(), QStringLiteral("17"));
    QVERIFY(child<QLineEdit>(&dialog, "TestDate")->text().contains(QStringLiteral("09:05:00")));
    QCOMPARE(child<QLineEdit>(&dialog, "Voc")->text(), QStringLiteral("612.3"));
    QCOMPARE(child<QLineEdit>(&dialog, "Irradiance")->text(), QStringLiteral("812"));
    QCOMPARE(child<QLineEdit>(&dialog, "CellTemp")->text(), QStringLiteral("41.5"));
    QCOMPARE(child<QLineEdit>(&dialog, "AmbientTemp")->text(), QStringLiteral("22"));
    QVERIFY(child<QWidget>(&dialog, "tabTest"));
    QVERIFY(child<QWidget>(&dialog, "tabModule"));

    auto* combo = child<QComboBox>(&dialog, "comboModule");
    QCOMPARE(combo->currentData().toUInt(), module.id);
    QCOMPARE(combo->itemData(0), QVariant());
    QCOMPARE(child<CurveQSpinBox>(&dialog, "spinTotalInSeries")->value(), 14);
    QCOMPARE(child<CurveQSpinBox>(&dialog, "spinTotalInParallel")->value(), 2);
    QVERIFY(child<CurveQSpinBox>(&dialog, "spinTotalInSeries")->isChanged());
    QCOMPARE(child<QLabel>(&dialog, "lblIsc")->text(),
        NumberText::format(module.value(CurveModuleRow::Isc).toDouble()));
    QVERIFY(!child<QLabel>(&dialog, "lblVoc")->text().isEmpty());

    QCOMPARE(child<QDoubleSpinBox>(&dialog, "input_alpha")->value(), 0.0035);
    QCOMPARE(child<QDoubleSpinBox>(&dialog, "input_beta")->value(), -0.14);
    QCOMPARE(child<QDoubleSpinBox>(&dialog, "input_Rs")->value(), 0.5);
    QCOMPARE(child<QLineEdit>(&dialog, "input_delta")->text(), QStringLiteral("0.085"));
    QCOMPARE(child<QLineEdit>(&dialog, "input_K")->text(), QStringLiteral("0.002"));
    QVERIFY(child<QRadioButton>(&dialog, "radioIEC")->isChecked());
    auto* stack = child<QStackedWidget>(&dialog, "stackSTCPages");
    QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("pageIEC"));
    child<QRadioButton>(&dialog, "radioAnderson")->setChecked(true);
    QCOMPARE(stack->currentWidget()->objectName(), QStringLiteral("pageAnderson"));

    // Cancel is the default button: Enter does not save.
    const auto buttons = dialog.findChildren<QPushButton*>();
    bool cancelDefault = false;
    for (QPushButton* button : buttons)
        cancelDefault |= button->isDefault() && button->text().contains(QStringLiteral("Cancel"));
    QVERIFY(cancelDefault);
}

void TestCurveDetails::conditionRulesOnOK()
{
    const quint32 tester = 0x12;
    {
        // Cleared irradiance and cell temperature: translated with 1000 W/m² and 25 °C, marked.
        CurveDetailsDialog dialog(sampleRecord(), QString(), tester);
        typeInto(child<QLineEdit>(&dialog, "Irradiance"), QString());
        typeInto(child<QLineEdit>(&dialog, "CellTemp"), QString());
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.record().value(CurveRecord::Irradiance), QString());
        QCOMPARE(dialog.record().value(CurveRecord::CellTemp), QString());
        QCOMPARE(dialog.record().stcParameters().G1, QStringLiteral("1000"));
        QCOMPARE(dialog.record().stcParameters().T1, QStringLiteral("25"));
        QCOMPARE(dialog.status(), tester | StatusNoIrradiance | StatusNoCellTemperature);
        QCOMPARE(dialog.record().stcParameters().algorithm, quint8(AlgorithmIEC60891));
    }
    {
        // Numbers clear the bits and become the conditions.
        CurveDetailsDialog dialog(
            sampleRecord(), QString(), tester | StatusNoIrradiance | StatusNoCellTemperature);
        typeInto(child<QLineEdit>(&dialog, "Irradiance"), QStringLiteral("950"));
        typeInto(child<QLineEdit>(&dialog, "CellTemp"), QStringLiteral("38.5"));
        typeInto(child<QLineEdit>(&dialog, "AmbientTemp"), QStringLiteral("19"));
        dialog.accept();
        QCOMPARE(dialog.record().value(CurveRecord::Irradiance), QStringLiteral("950"));
        QCOMPARE(dialog.record().value(CurveRecord::CellTemp), QStringLiteral("38.5"));
        QCOMPARE(dialog.record().value(CurveRecord::AmbientTemp), QStringLiteral("19"));
        QCOMPARE(dialog.record().stcParameters().G1, QStringLiteral("950"));
        QCOMPARE(dialog.record().stcParameters().T1, QStringLiteral("38.5"));
        QCOMPARE(dialog.status(), tester);
    }
    {
        // Garbage keeps what was there, and so does an untouched edit.
        CurveDetailsDialog dialog(sampleRecord(), QString(), tester | StatusNoIrradiance);
        typeInto(child<QLineEdit>(&dialog, "Irradiance"), QStringLiteral("bright"));
        typeInto(child<QLineEdit>(&dialog, "AmbientTemp"), QStringLiteral("warm"));
        typeInto(child<QLineEdit>(&dialog, "input_delta"), QStringLiteral("x1"));
        child<QDoubleSpinBox>(&dialog, "input_alpha")->setValue(0.004);
        dialog.accept();
        QCOMPARE(dialog.record().value(CurveRecord::Irradiance), QStringLiteral("812"));
        QCOMPARE(dialog.record().value(CurveRecord::AmbientTemp), QStringLiteral("22"));
        QCOMPARE(dialog.record().value(CurveRecord::CellTemp), QStringLiteral("41.5"));
        QCOMPARE(dialog.record().stcParameters().delta, QStringLiteral("0.085"));
        QCOMPARE(dialog.record().stcParameters().alpha, QStringLiteral("0.004"));
        QCOMPARE(dialog.status(), tester | StatusNoIrradiance);
    }
    {
        // The counts are written back, a new module takes its data-sheet values.
        CurveDetailsDialog dialog(sampleRecord(), QString(), 0);
        child<CurveQSpinBox>(&dialog, "spinTotalInSeries")->setValue(20);
        child<CurveQSpinBox>(&dialog, "spinTotalInParallel")->setValue(3);
        const CurveModuleRow module = firstModule({ CurveModuleRow::Isc, CurveModuleRow::Voc });
        auto* combo = child<QComboBox>(&dialog, "comboModule");
        combo->setCurrentIndex(combo->findData(module.id));
        dialog.slotModulesComboSelected(combo->currentIndex());
        dialog.accept();
        QCOMPARE(dialog.record().module().moduleID, int(module.id));
        QCOMPARE(dialog.record().module().ns, 20u);
        QCOMPARE(dialog.record().module().np, 3u);
        QCOMPARE(dialog.record().module().isc, module.value(CurveModuleRow::Isc).toDouble());
    }
}

void TestCurveDetails::blaesserStaysUnlessAnotherIsChosen()
{
    CurveRecord record = sampleRecord();
    STCparameters p = record.stcParameters();
    p.algorithm = AlgorithmBlaesser;
    record.setSTCparameters(p);
    {
        CurveDetailsDialog dialog(record, QString(), 0);
        auto* blaesser = child<QRadioButton>(&dialog, "radioBlaesser");
        QVERIFY(blaesser->isHidden());
        QVERIFY(!blaesser->isEnabled());
        QVERIFY(blaesser->isChecked());
        QCOMPARE(child<QStackedWidget>(&dialog, "stackSTCPages")->currentWidget()->objectName(),
            QStringLiteral("pageBlaesser"));
        dialog.accept();
        QCOMPARE(dialog.record().stcParameters().algorithm, quint8(AlgorithmBlaesser));
        // The older method translates with the air's temperature.
        QCOMPARE(dialog.record().stcParameters().T1, QStringLiteral("22"));
    }
    {
        CurveDetailsDialog dialog(record, QString(), 0);
        child<QRadioButton>(&dialog, "radioAnderson")->setChecked(true);
        QVERIFY(!child<QRadioButton>(&dialog, "radioBlaesser")->isChecked());
        dialog.accept();
        QCOMPARE(dialog.record().stcParameters().algorithm, quint8(AlgorithmAnderson));
        QCOMPARE(dialog.record().stcParameters().T1, QStringLiteral("41.5"));
    }
    {
        // A record without a method of its own (none checked) is translated by Anderson.
        CurveRecord plain = sampleRecord();
        STCparameters q = plain.stcParameters();
        q.algorithm = 9;
        plain.setSTCparameters(q);
        CurveDetailsDialog dialog(plain, QString(), 0);
        dialog.accept();
        QCOMPARE(dialog.record().stcParameters().algorithm, quint8(AlgorithmAnderson));
    }
}

void TestCurveDetails::newerProceduresAndTheParametersTab()
{
    CurveRecord record = sampleRecord();
    STCparameters p = record.stcParameters();
    p.algorithm = AlgorithmIEC60891Procedure4;
    record.setSTCparameters(p);
    {
        CurveDetailsDialog dialog(record, QString(), 0);
        dialog.show();
        QVERIFY(child<QRadioButton>(&dialog, "radioIEC4")->isChecked());
        QCOMPARE(child<QStackedWidget>(&dialog, "stackSTCPages")->currentWidget()->objectName(),
            QStringLiteral("pageIEC4"));
        // α and β in A/°C and V/°C belong to the older methods: hidden here.
        QVERIFY(!child<QDoubleSpinBox>(&dialog, "input_alpha")->isVisible());
        child<QRadioButton>(&dialog, "radioAnderson")->setChecked(true);
        QVERIFY(child<QDoubleSpinBox>(&dialog, "input_alpha")->isVisible());
        child<QRadioButton>(&dialog, "radioIEC4")->setChecked(true);
        typeInto(child<QLineEdit>(&dialog, "input_iec4_cells"), QStringLiteral("72"));
        typeInto(child<QLineEdit>(&dialog, "input_iec4_epsilon"), QStringLiteral("not a number"));
        dialog.accept();
        QCOMPARE(dialog.record().stcParameters().algorithm, quint8(AlgorithmIEC60891Procedure4));
        QCOMPARE(dialog.record().stcParameters().iec4Cells, QStringLiteral("72"));
        QCOMPARE(dialog.record().stcParameters().iec4Epsilon, QStringLiteral("1.232"));
        QCOMPARE(dialog.record().stcParameters().T1, QStringLiteral("41.5"));

        // Three points: the power parabola through (0, 0), (500, 3500) and (600, 0) tops out at
        // 6300 W at 300 V, marked as estimated.
        auto* table = child<QTableWidget>(&dialog, "tableParameters");
        QCOMPARE(table->rowCount(), 8);
        QCOMPARE(table->item(4, 0)->text(), QStringLiteral("6300 *"));
        QCOMPARE(table->item(3, 0)->text(), QStringLiteral("300 *"));
    }
    {
        CurveDetailsDialog dialog(record, QString(), 0);
        dialog.show();
        child<QRadioButton>(&dialog, "radioIEC2")->setChecked(true);
        QCOMPARE(child<QStackedWidget>(&dialog, "stackSTCPages")->currentWidget()->objectName(),
            QStringLiteral("pageIEC2"));
        typeInto(child<QLineEdit>(&dialog, "input_iec2_kappa"), QStringLiteral("0.003"));
        // A module brings its relative coefficients in %/°C.
        const CurveModuleRow module = firstModule({ CurveModuleRow::Isc, CurveModuleRow::Voc });
        auto* combo = child<QComboBox>(&dialog, "comboModule");
        combo->setCurrentIndex(combo->findData(module.id));
        dialog.slotModulesComboSelected(combo->currentIndex());
        QCOMPARE(child<QLineEdit>(&dialog, "input_iec2_alpha")->text(),
            NumberText::format(module.value(CurveModuleRow::Alpha).toDouble()
                / module.value(CurveModuleRow::Isc).toDouble() * 100));
        dialog.accept();
        QCOMPARE(dialog.record().stcParameters().algorithm, quint8(AlgorithmIEC60891Procedure2));
        QCOMPARE(dialog.record().stcParameters().iec2Kappa, QStringLiteral("0.003"));
        QCOMPARE(dialog.record().stcParameters().iec2AlphaRel,
            child<QLineEdit>(&dialog, "input_iec2_alpha")->text());
    }
}

void TestCurveDetails::comparisonTableSortsHighlightsAndExports()
{
    // Five strings of one folder; the one of 80 W stands out. A label with markup stays text.
    QVector<ComparisonRow> rows;
    const double powers[] = { 100, 80, 102, 99, 101 };
    for (int i = 0; i < 5; ++i) {
        ComparisonRow row;
        row.label = i == 1 ? QStringLiteral("<b>S2</b>") : QStringLiteral("S%1").arg(i + 1);
        row.stc.valid = true;
        row.stc.pmp = powers[i];
        row.verdict.outcome = i == 1 ? Verdict::Fail : Verdict::Pass;
        rows.append(row);
    }
    StringComparison::rank(rows);
    StringComparisonDialog dialog(rows, QStringLiteral("Site"));
    QTableWidget* table = dialog.table();
    QCOMPARE(table->rowCount(), 5);
    table->sortItems(7, Qt::AscendingOrder);
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("<b>S2</b>"));
    QCOMPARE(table->item(4, 0)->text(), QStringLiteral("S3"));
    QVERIFY(table->item(0, 7)->background().color() != table->item(1, 7)->background().color());
    QCOMPARE(dialog.findChild<QLabel*>("labelSummary")->text(),
        QStringLiteral("5 string(s): 4 pass, 1 fail, 0 without verdict; 1 outlier(s)."));

    QTemporaryDir folder;
    const QString path = folder.filePath("compare.csv");
    ScriptedPrompts::get().paths = QStringList { path };
    dialog.findChild<QPushButton*>("btnExport")->click();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size(), 7);
    QVERIFY(lines.at(2).startsWith("<b>S2</b>,"));
    QVERIFY(lines.at(2).contains(",yes,Fail"));
}

void TestCurveDetails::moduleChoiceAndEntryWithoutData()
{
    CurveRecord record = sampleRecord();
    const CurveModuleRow module = firstModule({ CurveModuleRow::Isc, CurveModuleRow::Voc });
    ModuleAssignment assignment;
    assignment.setModule(module);
    record.setModuleAssignment(assignment);
    CurveDetailsDialog dialog(record, QString(), 0);
    auto* combo = child<QComboBox>(&dialog, "comboModule");
    combo->setCurrentIndex(0);
    dialog.slotModulesComboSelected(0);
    QCOMPARE(child<QDoubleSpinBox>(&dialog, "input_alpha")->value(), 0.0);
    QCOMPARE(child<QDoubleSpinBox>(&dialog, "input_beta")->value(), 0.0);
    QCOMPARE(child<QDoubleSpinBox>(&dialog, "input_Rs")->value(), 0.0);
    QVERIFY(child<QLineEdit>(&dialog, "input_delta")->text().isEmpty());
    for (const char* label : { "lblVoc", "lblIsc", "lblVmpp", "lblImpp" })
        QVERIFY2(child<QLabel>(&dialog, label)->text().isEmpty(), label);
    dialog.accept();
    QCOMPARE(dialog.record().module().moduleID, 0);
    QCOMPARE(dialog.record().stcParameters().alpha, QStringLiteral("0"));
    QCOMPARE(dialog.record().stcParameters().delta, QString());

    // Choosing the module again brings its coefficients and values back.
    CurveDetailsDialog again(record, QString(), 0);
    auto* combo2 = child<QComboBox>(&again, "comboModule");
    again.slotModulesComboSelected(0);
    combo2->setCurrentIndex(combo2->findData(module.id));
    again.slotModulesComboSelected(combo2->currentIndex());
    bool ok = false;
    const double alpha = NumberText::fromVariant(module.value(CurveModuleRow::Alpha), &ok);
    if (ok)
        QCOMPARE(child<QDoubleSpinBox>(&again, "input_alpha")->value(), std::round(alpha * 1e6) / 1e6);
    QVERIFY(!child<QLabel>(&again, "lblIsc")->text().isEmpty());

    // The favourites toggle is remembered and narrows the list.
    const int all = combo2->count();
    child<QToolButton>(&again, "toggleFavourites")->setChecked(true);
    QVERIFY(QSettings().value(SettingsKeys::curvesFavouritesOnly()).toBool());
    QVERIFY(combo2->count() <= all);
    QCOMPARE(combo2->itemData(0), QVariant());
}

void TestCurveDetails::percentageHelpers()
{
    ScriptedPrompts& prompts = ScriptedPrompts::get();
    {
        // Without a module there is no Isc or Voc to take a percentage of.
        CurveDetailsDialog dialog(sampleRecord(), QString(), 0);
        dialog.slotAlphaPercentClicked();
        dialog.slotBetaPercentClicked();
        QCOMPARE(prompts.messageTexts(),
            QStringList(
                { QStringLiteral("Isc is missing or zero"), QStringLiteral("Voc is missing or zero") }));
        QCOMPARE(child<QDoubleSpinBox>(&dialog, "input_alpha")->value(), 0.0035);
    }
    prompts.reset();
    CurveRecord record = sampleRecord();
    const CurveModuleRow module = firstModule({ CurveModuleRow::Isc, CurveModuleRow::Voc });
    ModuleAssignment assignment;
    assignment.setModule(module);
    record.setModuleAssignment(assignment);
    const double isc = module.value(CurveModuleRow::Isc).toDouble();
    const double voc = module.value(CurveModuleRow::Voc).toDouble();
    CurveDetailsDialog dialog(record, QString(), 0);
    double offered = -1.0;
    prompts.dialogHandler = [&offered](QDialog* d) {
        auto* input = qobject_cast<QInputDialog*>(d);
        if (!input)
            return int(QDialog::Rejected);
        offered = input->doubleValue();
        input->setDoubleValue(input->doubleMinimum() < 0 ? -0.3 : 0.05);
        return int(QDialog::Accepted);
    };
    dialog.slotAlphaPercentClicked();
    QCOMPARE(offered, std::round(0.0035 / isc * 100.0 * 1e4) / 1e4);
    QCOMPARE(
        child<QDoubleSpinBox>(&dialog, "input_alpha")->value(), std::round(0.05 / 100.0 * isc * 1e6) / 1e6);
    dialog.slotBetaPercentClicked();
    QCOMPARE(
        child<QDoubleSpinBox>(&dialog, "input_beta")->value(), std::round(-0.3 / 100.0 * voc * 1e6) / 1e6);
    // A cancelled entry changes nothing.
    prompts.dialogHandler = [](QDialog*) { return int(QDialog::Rejected); };
    const double before = child<QDoubleSpinBox>(&dialog, "input_alpha")->value();
    dialog.slotAlphaPercentClicked();
    QCOMPARE(child<QDoubleSpinBox>(&dialog, "input_alpha")->value(), before);
    QCOMPARE(prompts.unanswered, 0);
}

void TestCurveDetails::saveNoticeCanBeSilenced()
{
    ScriptedPrompts& prompts = ScriptedPrompts::get();
    QSettings().remove(SettingsKeys::curvesHideSaveWarning());
    {
        // Cancelling the notice stays in the dialog and saves nothing.
        CurveDetailsDialog dialog(sampleRecord(), QString(), 0);
        prompts.buttons = { QMessageBox::Cancel };
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(prompts.asked.size(), 1);
        QCOMPARE(prompts.asked.first().message.text,
            QStringLiteral("Changes to the PV string data are automatically saved when OK is pressed.\n"));
        QCOMPARE(
            prompts.asked.first().message.checkBoxText, QStringLiteral("Do not show this message again"));
        QVERIFY(!QSettings().value(SettingsKeys::curvesHideSaveWarning()).toBool());
    }
    prompts.reset();
    {
        CurveDetailsDialog dialog(sampleRecord(), QString(), 0);
        prompts.buttons = { QMessageBox::Ok };
        prompts.checkBoxes = { true };
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(QSettings().value(SettingsKeys::curvesHideSaveWarning()).toBool());
    }
    prompts.reset();
    {
        CurveDetailsDialog dialog(sampleRecord(), QString(), 0);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(prompts.asked.isEmpty());
    }
}

void TestCurveDetails::numbersWithoutGroupSeparators()
{
    for (const char* name : { "de_DE", "fr_FR" }) {
        QLocale::setDefault(QLocale(QLatin1String(name)));
        CurveRecord record = sampleRecord();
        CurveDetailsDialog dialog(record, QString(), 0);
        typeInto(child<QLineEdit>(&dialog, "Irradiance"), QStringLiteral("1050"));
        child<QDoubleSpinBox>(&dialog, "input_Rs")->setValue(12.25);
        dialog.accept();
        QCOMPARE(dialog.record().value(CurveRecord::Irradiance), QStringLiteral("1050"));
        const QString rs = dialog.record().stcParameters().Rs;
        QCOMPARE(rs, QStringLiteral("12") + QLocale().decimalPoint() + QStringLiteral("25"));
        QCOMPARE(NumberText::toStore(rs), QStringLiteral("12.25"));
        QVERIFY(!child<QDoubleSpinBox>(&dialog, "input_alpha")->text().contains(QLocale().groupSeparator()));
    }
    QLocale::setDefault(QLocale::c());
}

void TestCurveDetails::documentWritesAndRedraws()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("details.kstcrv"));
    QVERIFY(copyTemplate(path));
    const QString csv = dir.filePath(QStringLiteral("t.csv"));
    QVERIFY(!writeFile(csv, testerFile()).isEmpty());
    uint id = 0;
    QVector<QPointF> before;
    {
        CurveDocument doc(path);
        QVERIFY(doc.isValid());
        QVERIFY(doc.importTesterFile(csv));
        // The tree is saved; the details of a string are written without a save.
        doc.save();
        ScriptedPrompts::get().reset();
        TreeItem* string = doc.store()->treeModel()->rootItem()->child(0)->child(1);
        const QModelIndex index = doc.store()->treeModel()->indexForItem(string);
        doc.tree()->selectionModel()->select(
            index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        doc.graph()->refresh();
        id = string->curveID();
        QVERIFY(doc.graph()->line(id, SeriesSTC));
        before = doc.store()->graphModel()->cached(id)->stc().points();
        QVERIFY(!before.isEmpty());

        ScriptedPrompts::get().dialogHandler = [](QDialog* d) {
            auto* details = qobject_cast<CurveDetailsDialog*>(d);
            if (!details)
                return int(QDialog::Rejected);
            typeInto(details->findChild<QLineEdit*>(QStringLiteral("Irradiance")), QString());
            details->findChild<QRadioButton*>(QStringLiteral("radioIEC"))->setChecked(true);
            details->accept();
            return details->result();
        };
        doc.slotDoubleClickTree(index.siblingAtColumn(ColumnIndex));
        doc.graph()->refresh();
        CurveRecord* record = doc.store()->graphModel()->cached(id);
        QCOMPARE(record->stcParameters().algorithm, quint8(AlgorithmIEC60891));
        QCOMPARE(record->value(CurveRecord::Irradiance), QString());
        // The graph shows the string translated anew, from 1000 W/m² instead of 800.
        const CurveLine* line = doc.graph()->line(id, SeriesSTC);
        QVERIFY(line);
        QVERIFY(line->dataSize() > 0);
        QVERIFY(record->stc().points() != before);
        QVERIFY(string->data(TreeStatus).toUInt() & StatusNoIrradiance);
        // The string is still listed in the graph's legend through one of its lines.
        bool listed = false;
        for (SeriesKind kind : { SeriesMEAS, SeriesSTC, SeriesNOM }) {
            if (const CurveLine* shown = doc.graph()->line(id, kind))
                listed |= shown->testItemAttribute(QwtPlotItem::Legend);
        }
        QVERIFY(listed);
    }
    // Written at once: a fresh store reads the new method, condition and status.
    CurveStore store(path);
    QVERIFY(store.isOpen());
    std::unique_ptr<CurveRecord> reread = store.graphModel()->load(id);
    QVERIFY(reread);
    QCOMPARE(reread->stcParameters().algorithm, quint8(AlgorithmIEC60891));
    QCOMPARE(reread->value(CurveRecord::Irradiance), QString());
    QCOMPARE(store.treeModel()->rootItem()->childCount(), 1);
    TreeItem* string = store.treeModel()->rootItem()->child(0)->child(1);
    QVERIFY(string);
    QVERIFY(string->data(TreeStatus).toUInt() & StatusNoIrradiance);
}

KESTROVAN_TEST_MAIN(TestCurveDetails)
#include "tst_curvedetails.moc"
