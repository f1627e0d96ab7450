// The PV module library: seeding the preloaded library, the library dialog, the edit dialog
// with its percentage buttons and the module chooser.
#include "CurveModulesChooser.h"
#include "CurveModulesDlg.h"
#include "CurveModulesEditDlg.h"
#include "Folders.h"
#include "ModuleLibrary.h"
#include "TestSupport.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>

using namespace IVCurve;

namespace {
int rowOf(QTableWidget* table, const QString& description)
{
    for (int row = 0; row < table->rowCount(); ++row) {
        if (table->item(row, 0)->text() == description)
            return row;
    }
    return -1;
}

QStringList descriptions(const QList<CurveModuleRow>& rows)
{
    QStringList result;
    for (const CurveModuleRow& row : rows)
        result << row.value(CurveModuleRow::Description).toString();
    return result;
}
} // namespace

class TestModules : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void cleanupTestCase() { ModuleLibrary::shutdown(); }

    void preloadedLibraryIsSeededOnFirstUse();
    void unreadableLibraryLeavesEverythingEmpty();
    void libraryStatements();
    void dialogCopiesAndDeletes();
    void dialogAddsAndEdits();
    void percentageButtons();
    void chooserFavouritesOnly();
    void chooserFiltersAsTheUserTypes();
    void dialogImportsAModuleList();
};

void TestModules::init()
{
    ModuleLibrary::shutdown();
    TestSupport::resetState();
}

void TestModules::cleanup()
{
    ModuleLibrary::instance().setNoticeHandler(nullptr);
    QLocale::setDefault(QLocale::c());
}

void TestModules::preloadedLibraryIsSeededOnFirstUse()
{
    const QString path = ModuleLibrary::libraryPath();
    QCOMPARE(path, QFileInfo(Folders::instance()->appDataFolder()).canonicalFilePath() + "/modules.db");
    QVERIFY(!QFileInfo::exists(path));
    const QList<CurveModuleRow> all = ModuleLibrary::instance().all();
    QVERIFY(QFileInfo(path).isWritable());
    QVERIFY(all.size() >= 40);
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
    QStringList names = descriptions(all);
    QStringList sorted = names;
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(names, sorted);
    QSet<double> deltas;
    for (const CurveModuleRow& row : all) {
        QVERIFY(row.id > 0);
        QCOMPARE(row.value(CurveModuleRow::Id).toUInt(), row.id);
        QVERIFY(!row.value(CurveModuleRow::UserModule).toBool());
        const double isc = row.value(CurveModuleRow::Isc).toDouble();
        const double imp = row.value(CurveModuleRow::Imp).toDouble();
        const double voc = row.value(CurveModuleRow::Voc).toDouble();
        const double vmp = row.value(CurveModuleRow::Vmp).toDouble();
        QVERIFY2(imp > 0 && imp < isc && vmp > 0 && vmp < voc,
            qPrintable(row.value(CurveModuleRow::Description).toString()));
        QVERIFY(row.value(CurveModuleRow::Alpha).toDouble() > 0);
        QVERIFY(row.value(CurveModuleRow::Beta).toDouble() < 0);
        QVERIFY(row.value(CurveModuleRow::Rs).toDouble() > 0);
        deltas.insert(row.value(CurveModuleRow::Delta).toDouble());
    }
    QCOMPARE(deltas, (QSet<double> { 0.085, 0.110, 0.063 }));

    // From then on the copy is the library: changes stay, nothing is seeded over them.
    CurveModuleRow first = all.first();
    first.setValue(CurveModuleRow::Description, "Changed");
    QVERIFY(ModuleLibrary::instance().update(first));
    ModuleLibrary::shutdown();
    CurveModuleRow again;
    QVERIFY(ModuleLibrary::instance().module(first.id, &again));
    QCOMPARE(again.value(CurveModuleRow::Description).toString(), QString("Changed"));
}

void TestModules::unreadableLibraryLeavesEverythingEmpty()
{
    // A folder where the library file should be: it can neither be seeded nor opened.
    QVERIFY(QDir().mkpath(ModuleLibrary::libraryPath()));
    QVector<CurveNotice> notices;
    ModuleLibrary::instance().setNoticeHandler([&notices](const CurveNotice& notice) { notices << notice; });
    QVERIFY(ModuleLibrary::instance().all().isEmpty());
    QCOMPARE(notices.size(), 1);
    QVERIFY(!ModuleLibrary::instance().isOpen());
    CurveModulesChooser chooser;
    QCOMPARE(chooser.combo()->count(), 1);
    QCOMPARE(notices.size(), 2);
    CurveModuleRow row;
    QCOMPARE(ModuleLibrary::instance().insert(row), 0u);
    QVERIFY(!ModuleLibrary::instance().module(1, &row));
}

void TestModules::libraryStatements()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ModuleLibrary& library = ModuleLibrary::instance();
    CurveModuleRow row;
    row.setValue(CurveModuleRow::Description, "AAA test module");
    row.setValue(CurveModuleRow::Isc, "9,5");
    row.setValue(CurveModuleRow::Voc, "40,25");
    row.setValue(CurveModuleRow::Imp, "9");
    row.setValue(CurveModuleRow::Vmp, "33");
    row.setValue(CurveModuleRow::Alpha, "0,0045");
    row.setValue(CurveModuleRow::Beta, "-0,12");
    row.setValue(CurveModuleRow::Delta, "");
    row.setValue(CurveModuleRow::Rs, "n/a");
    row.setValue(CurveModuleRow::UserModule, true);
    row.setValue(CurveModuleRow::Favourite, true);
    const uint id = library.insert(row);
    QVERIFY(id > 0);
    CurveModuleRow back;
    QVERIFY(library.module(id, &back));
    QCOMPARE(back.id, id);
    QCOMPARE(back.value(CurveModuleRow::Isc).toDouble(), 9.5);
    QCOMPARE(back.value(CurveModuleRow::Voc).toDouble(), 40.25);
    QCOMPARE(back.value(CurveModuleRow::Beta).toDouble(), -0.12);
    QCOMPARE(back.value(CurveModuleRow::Rs).toString(), QString("n/a"));
    QVERIFY(back.value(CurveModuleRow::UserModule).toBool());
    QVERIFY(descriptions(library.favourites()).contains("AAA test module"));
    QCOMPARE(descriptions(library.all()).first(), QString("AAA test module"));

    back.setValue(CurveModuleRow::Favourite, false);
    QVERIFY(library.update(back));
    QVERIFY(!descriptions(library.favourites()).contains("AAA test module"));
    QVERIFY(library.remove(id));
    QVERIFY(!library.module(id, &back));
    // An id that is gone is not handed out again.
    QVERIFY(library.insert(row) > id);
    CurveModuleRow missing;
    missing.id = 99999;
    QVERIFY(!library.update(missing));
}

void TestModules::dialogCopiesAndDeletes()
{
    const QList<CurveModuleRow> all = ModuleLibrary::instance().all();
    CurveModulesDlg dialog;
    QTableWidget* table = dialog.table();
    QCOMPARE(dialog.windowTitle(), QString("PV Modules"));
    QCOMPARE(table->rowCount(), all.size());
    QCOMPARE(table->item(2, 0)->data(Qt::UserRole).toUInt(), all.at(2).id);

    // Copy of a preloaded module: a user module right below, deletable without a question.
    const QString original = table->item(2, 0)->text();
    table->setCurrentCell(2, 0);
    dialog.clickCopy();
    QCOMPARE(table->rowCount(), all.size() + 1);
    QCOMPARE(table->item(3, 0)->text(), original + " (Copy)");
    const uint copyId = table->item(3, 0)->data(Qt::UserRole).toUInt();
    CurveModuleRow copy;
    QVERIFY(ModuleLibrary::instance().module(copyId, &copy));
    QVERIFY(copy.value(CurveModuleRow::UserModule).toBool());
    QCOMPARE(copy.value(CurveModuleRow::Voc), all.at(2).value(CurveModuleRow::Voc));

    table->clearSelection();
    table->selectRow(3);
    dialog.clickDelete();
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
    QCOMPARE(table->rowCount(), all.size());
    QVERIFY(!ModuleLibrary::instance().module(copyId, &copy));

    // A preloaded module asks first; Cancel keeps it, OK deletes it.
    table->clearSelection();
    table->selectRow(0);
    ScriptedPrompts::get().buttons << QMessageBox::Cancel;
    dialog.clickDelete();
    QCOMPARE(ScriptedPrompts::get().messageTexts(),
        QStringList { QString("Deleting a preloaded module.\n%1\nDo you wish to continue?")
                          .arg(table->item(0, 0)->text()) });
    QCOMPARE(ScriptedPrompts::get().asked.first().message.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(table->rowCount(), all.size());
    QVERIFY(ModuleLibrary::instance().module(all.at(0).id, &copy));

    // Two selected: the preloaded one (OK) and a user copy (no question).
    table->setCurrentCell(1, 0);
    dialog.clickCopy();
    table->clearSelection();
    table->selectRow(0);
    table->setSelectionMode(QAbstractItemView::MultiSelection);
    table->selectRow(2);
    ScriptedPrompts::get().reset();
    ScriptedPrompts::get().buttons << QMessageBox::Ok;
    dialog.clickDelete();
    QCOMPARE(ScriptedPrompts::get().asked.size(), 1);
    QCOMPARE(table->rowCount(), all.size() - 1);
    QCOMPARE(rowOf(table, all.at(0).value(CurveModuleRow::Description).toString()), -1);
    QCOMPARE(ModuleLibrary::instance().all().size(), all.size() - 1);
}

void TestModules::dialogAddsAndEdits()
{
    CurveModulesDlg dialog;
    const int before = dialog.table()->rowCount();
    ScriptedPrompts::get().dialogHandler = [](QDialog* d) {
        auto* edit = qobject_cast<CurveModulesEditDlg*>(d);
        edit->findChild<QLineEdit*>("editDescription")->setText("Zeta home-made 100");
        edit->findChild<QLineEdit*>("editIsc")->setText("6.1");
        edit->findChild<QLineEdit*>("editVoc")->setText("21.6");
        edit->findChild<QLineEdit*>("editImpp")->setText("5.7");
        edit->findChild<QLineEdit*>("editVmpp")->setText("17.5");
        edit->findChild<QToolButton*>("toggleFavourite")->setChecked(true);
        edit->accept();
        return edit->result();
    };
    dialog.clickAdd();
    QCOMPARE(dialog.table()->rowCount(), before + 1);
    QCOMPARE(dialog.table()->item(before, 0)->text(), QString("Zeta home-made 100"));
    const uint id = dialog.table()->item(before, 0)->data(Qt::UserRole).toUInt();
    CurveModuleRow row;
    QVERIFY(ModuleLibrary::instance().module(id, &row));
    QVERIFY(row.value(CurveModuleRow::UserModule).toBool());
    QVERIFY(row.value(CurveModuleRow::Favourite).toBool());
    QCOMPARE(row.value(CurveModuleRow::Vmp).toDouble(), 17.5);

    // Edit by double click: the edit dialog shows the module and its change reaches the row.
    ScriptedPrompts::get().dialogHandler = [](QDialog* d) {
        auto* edit = qobject_cast<CurveModulesEditDlg*>(d);
        QLineEdit* description = edit->findChild<QLineEdit*>("editDescription");
        if (description->text() != "Zeta home-made 100"
            || edit->findChild<QLineEdit*>("editIsc")->text() != "6.1")
            return int(QDialog::Rejected);
        description->setText("Zeta renamed");
        edit->accept();
        return edit->result();
    };
    dialog.dblclickModules(before, 0);
    QCOMPARE(dialog.table()->item(before, 0)->text(), QString("Zeta renamed"));

    // Cancel leaves it.
    ScriptedPrompts::get().dialogHandler = [](QDialog* d) {
        d->findChild<QLineEdit*>("editDescription")->setText("not saved");
        d->reject();
        return d->result();
    };
    dialog.table()->setCurrentCell(before, 0);
    dialog.clickEdit();
    QCOMPARE(dialog.table()->item(before, 0)->text(), QString("Zeta renamed"));
    QVERIFY(ModuleLibrary::instance().module(id, &row));
    QCOMPARE(row.value(CurveModuleRow::Description).toString(), QString("Zeta renamed"));
}

void TestModules::percentageButtons()
{
    CurveModulesEditDlg dialog;
    QCOMPARE(dialog.windowTitle(), QString("Edit Module"));
    QLineEdit* isc = dialog.findChild<QLineEdit*>("editIsc");
    QLineEdit* voc = dialog.findChild<QLineEdit*>("editVoc");
    QLineEdit* alpha = dialog.findChild<QLineEdit*>("editAlpha");
    QLineEdit* beta = dialog.findChild<QLineEdit*>("editBeta");
    QPushButton* alphaButton = dialog.findChild<QPushButton*>("btnAlphaPercent");
    QPushButton* betaButton = dialog.findChild<QPushButton*>("btnBetaPercent");
    QVERIFY(alphaButton && betaButton);

    alphaButton->click();
    betaButton->click();
    QCOMPARE(ScriptedPrompts::get().messageTexts(),
        (QStringList { "Isc is missing or zero", "Voc is missing or zero" }));
    QCOMPARE(alpha->text(), QString());

    isc->setText("9");
    voc->setText("40");
    alpha->setText("0.0045");
    beta->setText("-0.12");
    double offered = 0;
    ScriptedPrompts::get().dialogHandler = [&offered](QDialog* d) {
        auto* input = qobject_cast<QInputDialog*>(d);
        offered = input->doubleValue();
        if (input->labelText() != "Enter value in percent per centigrade" || input->doubleDecimals() != 4
            || input->doubleMinimum() != 0 || input->doubleMaximum() != 100)
            return int(QDialog::Rejected);
        input->setDoubleValue(0.06);
        return int(QDialog::Accepted);
    };
    alphaButton->click();
    QCOMPARE(offered, 0.05);
    QCOMPARE(alpha->text(), QString("0.0054"));

    ScriptedPrompts::get().dialogHandler = [&offered](QDialog* d) {
        auto* input = qobject_cast<QInputDialog*>(d);
        offered = input->doubleValue();
        if (input->doubleMinimum() != -100 || input->doubleMaximum() != 0)
            return int(QDialog::Rejected);
        input->setDoubleValue(-0.25);
        return int(QDialog::Accepted);
    };
    betaButton->click();
    QCOMPARE(offered, -0.3);
    QCOMPARE(beta->text(), QString("-0.1"));

    ScriptedPrompts::get().dialogHandler = [](QDialog*) { return int(QDialog::Rejected); };
    alphaButton->click();
    QCOMPARE(alpha->text(), QString("0.0054"));
}

void TestModules::chooserFavouritesOnly()
{
    // No favourites at all.
    for (CurveModuleRow row : ModuleLibrary::instance().favourites()) {
        row.setValue(CurveModuleRow::Favourite, false);
        QVERIFY(ModuleLibrary::instance().update(row));
    }
    const int total = ModuleLibrary::instance().all().size();
    QSettings().setValue("Curves/ShowModuleFavouritesOnly", true);
    CurveModulesChooser chooser;
    QCOMPARE(chooser.windowTitle(), QString("Choose Module"));
    QComboBox* combo = chooser.combo();
    QCOMPARE(combo->count(), 1);
    QCOMPARE(combo->itemText(0), QString());
    QVERIFY(!combo->itemData(0).isValid());
    QCOMPARE(chooser.moduleID(), 0u);

    auto* toggle = chooser.findChild<QToolButton*>("toggleFavourites");
    QVERIFY(toggle->isChecked());
    toggle->click();
    QCOMPARE(QSettings().value("Curves/ShowModuleFavouritesOnly").toBool(), false);
    QCOMPARE(combo->count(), total + 1);

    combo->setCurrentIndex(4);
    QCOMPARE(chooser.moduleID(), combo->itemData(4).toUInt());
    QVERIFY(chooser.moduleID() > 0);
    combo->setCurrentIndex(0);
    QCOMPARE(chooser.moduleID(), 0u);
    chooser.findChild<QSpinBox*>("spinTotalInSeries")->setValue(18);
    QCOMPARE(chooser.seriesCount(), 18u);

    // One favourite: with favourites only it is the one entry after the empty one.
    CurveModuleRow pick;
    QVERIFY(ModuleLibrary::instance().module(combo->itemData(7).toUInt(), &pick));
    pick.setValue(CurveModuleRow::Favourite, true);
    QVERIFY(ModuleLibrary::instance().update(pick));
    toggle->click();
    QCOMPARE(QSettings().value("Curves/ShowModuleFavouritesOnly").toBool(), true);
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemData(1).toUInt(), pick.id);
}

void TestModules::chooserFiltersAsTheUserTypes()
{
    CurveModulesChooser chooser;
    QComboBox* combo = chooser.combo();
    const int all = combo->count();
    // Every word in any case and order; the first module found is chosen at once.
    QTest::keyClicks(chooser.filter(), "330m60h ALDMERE");
    QCOMPARE(combo->count(), 2);
    QCOMPARE(combo->itemText(1), QString("Aldmere Solar AS-330M60H"));
    QCOMPARE(chooser.moduleID(), combo->itemData(1).toUInt());
    QTest::keyClicks(chooser.filter(), "x");
    QCOMPARE(combo->count(), 1);
    QCOMPARE(chooser.moduleID(), 0u);
    chooser.filter()->clear();
    QCOMPARE(combo->count(), all);
}

void TestModules::dialogImportsAModuleList()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("modules.csv");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        "Name,Manufacturer,Technology,Bifacial,STC,PTC,A_c,Length,Width,N_s,I_sc_ref,V_oc_ref,I_mp_ref,"
        "V_mp_ref,alpha_sc,beta_oc,T_NOCT,a_ref,I_L_ref,I_o_ref,R_s,R_sh_ref,Adjust,gamma_r,BIPV,Version,"
        "Date\n,,,,W,W,m2,m,m,,A,V,A,V,A/K,V/K,C,V,A,A,Ohm,Ohm,%,%/K,,,\nnotes\n"
        "Listed A,M,Mono-c-Si,0,300,280,1.6,1.7,1,60,9.8,39.9,9.3,32.3,0.004,-0.12,45,1.6,9.5,1e-10,0.3,300,"
        "5,-0.4,N,2020.1,1/1/2020\n"
        "Listed B,M,Mono-c-Si,0,300,280,1.6,1.7,1,60,9.8,39.9,9.9,32.3,0.004,-0.12,45,1.6,9.5,1e-10,0.3,300,"
        "5,-0.4,N,2020.1,1/1/2020\n");
    file.close();
    CurveModulesDlg dialog;
    const int rows = dialog.table()->rowCount();
    ScriptedPrompts& prompts = ScriptedPrompts::get();
    prompts.paths = QStringList { path, folder.filePath("missing.csv") };
    prompts.buttons = { QMessageBox::Ok, QMessageBox::Ok };
    dialog.clickImport();
    QCOMPARE(dialog.table()->rowCount(), rows + 1);
    QCOMPARE(prompts.asked.last().message.text, QString("1 module(s) imported: 1 new, 0 updated."));
    QCOMPARE(prompts.asked.last().message.informativeText,
        QString("1 row(s) with missing or impossible values were skipped."));
    dialog.clickImport();
    QCOMPARE(prompts.asked.last().message.text, QString("The module list was not imported."));
    QCOMPARE(prompts.asked.last().message.informativeText,
        QString("Error opening %1 for reading.").arg(folder.filePath("missing.csv")));
    QCOMPARE(dialog.table()->rowCount(), rows + 1);
}

KESTROVAN_TEST_MAIN(TestModules)
#include "tst_modules.moc"
