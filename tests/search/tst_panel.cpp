#include "DocumentFactory.h"
#include "DocumentRegistry.h"
#include "FileIcons.h"
#include "FindInFiles.h"
#include "Folders.h"
#include "FoundFilesModel.h"
#include "MainWindow.h"
#include "ProjectModel.h"
#include "ProjectTreeController.h"
#include "ProjectTreeView.h"
#include "ReportTestSupport.h"
#include "RightAlignedDelegate.h"
#include "SearchResultsDocument.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDockWidget>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTranslator>

using namespace ReportTestSupport;

// The search panel, its result model and the results document, as a user drives them, and the
// main window that joins them.
class TestPanel : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void formAsBuilt();
    void emptyNameListsEverythingInWalkOrder();
    void criteriaOfTheForm();
    void rowTexts();
    void noResultsRowOnlyWhenNothingWasFound();
    void stopKeepsTheHitsFoundSoFar();
    void secondSearchRestartsCleanly();
    void returnKeySearches();
    void resultsDocumentOpensHits();
    void sizeColumnIsDrawnRightAligned();
    void mainWindowHostsThePanelAndTheResults();
    void activatingAHitOpensItLikeTheBrowser();
    void activatingAHitThatVanishedSaysSo();
    void resultsOpenInAnyLanguage();
    void missingProjectsFolderIsReported();
    void largeListsFillAndEmptyInSlices();
    void folderIconsAreReadOffTheWindowThread();

private:
    template <typename T> T* child(const char* name) const
    {
        T* widget = m_panel->findChild<T*>(QLatin1String(name));
        if (!widget)
            qWarning("missing %s", name);
        return widget;
    }
    QString root() const { return m_root->path(); }
    void makeFile(const QString& relative, qint64 size = 1);
    // Runs the panel's search to its end; false when it did not end in time.
    bool runSearch(FindInFiles* panel);
    static QModelIndex rowOf(const FoundFilesModel* model, const QString& relative);
    QStringList hitNames(const FoundFilesModel* model) const;

    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<FindInFiles> m_panel;
};

void TestPanel::initTestCase()
{
    SearchResultsDocument::registerWithDocuments();
    DocumentRegistry::registerKind(
        GenericReport, [](const QString& path, QWidget* parent) { return new TestDocument(path, parent); });
}

void TestPanel::init()
{
    TestSupport::resetState();
    QSettings().setValue("Welcome/show", false);
    m_root = std::make_unique<QTemporaryDir>();
    QSettings().setValue("Directories/RootDir", root());
    m_panel = std::make_unique<FindInFiles>();
}

void TestPanel::cleanup()
{
    m_panel.reset();
    QCOMPARE(ScriptedPrompts::get().unanswered, 0);
}

void TestPanel::makeFile(const QString& relative, qint64 size)
{
    const QString path = QDir(root()).filePath(relative);
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.write(QByteArray(int(size), 'x')) == size);
}

// The row of the results list that shows a path relative to the projects folder.
QModelIndex TestPanel::rowOf(const FoundFilesModel* model, const QString& relative)
{
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, 0).data().toString() == relative)
            return model->index(row, 0);
    }
    return QModelIndex();
}

bool TestPanel::runSearch(FindInFiles* panel)
{
    QSignalSpy finished(panel, &FindInFiles::searchFinished);
    panel->search();
    return finished.wait(60000) && finished.count() == 1;
}

QStringList TestPanel::hitNames(const FoundFilesModel* model) const
{
    QStringList names;
    for (const QFileInfo& entry : model->entries())
        names << entry.absoluteFilePath().mid(root().size() + 1);
    return names;
}

void TestPanel::formAsBuilt()
{
    QCOMPARE(m_panel->windowTitle(), QString("Find in Files"));
    QVERIFY(
        m_panel->findChildren<QLabel*>().first()->text() == "Search by any or all of the criteria below.");
    const struct
    {
        const char* name;
        const char* title;
        bool checked;
    } groups[]
        = { { "fileSearchGroup", "File search", true }, { "wordSearchGroup", "Word / Phrase Search", false },
              { "dateGroup", "Date", false }, { "fileSizeGroup", "File Size", false } };
    for (const auto& group : groups) {
        auto* box = child<QGroupBox>(group.name);
        QVERIFY(box);
        QCOMPARE(box->title(), QString(group.title));
        QVERIFY(box->isCheckable());
        QCOMPARE(box->isChecked(), group.checked);
    }
    QVERIFY(child<QLineEdit>("fileEdit"));
    QVERIFY(child<QLineEdit>("wordEdit"));
    QCOMPARE(child<QCheckBox>("fileSearchCsCheck")->text(), QString("Case sensitive"));
    QCOMPARE(child<QCheckBox>("wordSearchCsCheck")->text(), QString("Case sensitive"));

    auto* dateCombo = child<QComboBox>("dateCombo");
    QCOMPARE(dateCombo->count(), 3);
    QCOMPARE(dateCombo->itemText(0), QString("Created Date"));
    QCOMPARE(dateCombo->itemText(2), QString("Accessed Date"));
    QCOMPARE(dateCombo->currentText(), QString("Modified Date"));
    QCOMPARE(dateCombo->currentData().toInt(), 1);
    for (const char* name : { "dateFromEdit", "dateToEdit" }) {
        QCOMPARE(child<QDateEdit>(name)->date(), QDate::currentDate());
        QVERIFY(child<QDateEdit>(name)->calendarPopup());
    }
    auto* sizeCombo = child<QComboBox>("fileSizeCombo");
    QCOMPARE(sizeCombo->itemText(0), QString("greater than"));
    QCOMPARE(sizeCombo->itemData(1).toInt(), 1);
    auto* spin = child<QSpinBox>("fileSizeSpin");
    QCOMPARE(spin->suffix(), QString(" KB"));
    QCOMPARE(spin->minimum(), 0);
    QCOMPARE(spin->maximum(), 4194303);

    m_panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));
    QVERIFY(!child<QProgressBar>("progressBar")->isVisible());
    QVERIFY(!child<QPushButton>("stopButton")->isVisible());
    QVERIFY(child<QPushButton>("searchButton")->isVisible());
    QVERIFY(child<QPushButton>("searchButton")->isDefault());
    QCOMPARE(child<QPushButton>("searchButton")->text(), QString("Search"));
    QCOMPARE(child<QPushButton>("stopButton")->text(), QString("Stop"));
    QCOMPARE(m_panel->model()->parent(), m_panel.get());
}

void TestPanel::emptyNameListsEverythingInWalkOrder()
{
    makeFile("Site B/notes.txt");
    makeFile("Site A/Roof/east.pdf");
    makeFile("top.kstir");
    m_panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));

    // What the panel says, in the order it says it: started first, then rows, finished last.
    QStringList events;
    connect(m_panel.get(), &FindInFiles::searchStarted, this, [&] { events << "started"; });
    connect(m_panel->model(), &QAbstractItemModel::rowsInserted, this,
        [&](const QModelIndex&, int first, int last) {
            events << QString("rows %1-%2").arg(first).arg(last);
        });
    connect(m_panel.get(), &FindInFiles::searchFinished, this, [&] {
        events << "finished";
        QVERIFY(!m_panel->isSearching());
    });
    QVERIFY(runSearch(m_panel.get()));
    QCOMPARE(hitNames(m_panel->model()),
        QStringList(
            { "top.kstir", "Site A", "Site A/Roof", "Site A/Roof/east.pdf", "Site B", "Site B/notes.txt" }));
    QCOMPARE(events.first(), QString("started"));
    QCOMPARE(events.last(), QString("finished"));
    QVERIFY(events.size() >= 3);
    QVERIFY(!child<QPushButton>("stopButton")->isVisible());
    QVERIFY(child<QPushButton>("searchButton")->isVisible());
    QVERIFY(!m_panel->model()->isSearching());
}

void TestPanel::criteriaOfTheForm()
{
    makeFile("Verification Certificate.kstvc", 100);
    makeFile("Certs/exactly ten.pdf", 10240);
    makeFile("Certs/big.pdf", 20000);
    makeFile("Other/small.txt", 10);
    const QByteArray xml("<document><page id=\"page1\"><text id=\"client\" note=\"Hidden Hollow\">"
                         "Client: Brook Farm</text></page></document>");
    QVERIFY(!writeReport(root() + "/Other", "Brook.kstir", xml).isEmpty());
    QVERIFY(!writeReport(root() + "/Other", "Brook.kstchk", xml).isEmpty());

    child<QLineEdit>("fileEdit")->setText("cert");
    QVERIFY(runSearch(m_panel.get()));
    QCOMPARE(hitNames(m_panel->model()), QStringList({ "Verification Certificate.kstvc", "Certs" }));

    child<QCheckBox>("fileSearchCsCheck")->setChecked(true);
    QVERIFY(runSearch(m_panel.get()));
    QCOMPARE(hitNames(m_panel->model()), QStringList());
    QVERIFY(m_panel->model()->showsNoResults());

    // Size: files of at least 10 KB, name criterion off.
    child<QGroupBox>("fileSearchGroup")->setChecked(false);
    child<QGroupBox>("fileSizeGroup")->setChecked(true);
    child<QSpinBox>("fileSizeSpin")->setValue(10);
    QVERIFY(runSearch(m_panel.get()));
    QCOMPARE(hitNames(m_panel->model()), QStringList({ "Certs/big.pdf", "Certs/exactly ten.pdf" }));
    child<QComboBox>("fileSizeCombo")->setCurrentIndex(1);
    child<QLineEdit>("fileEdit")->setText("ten");
    child<QGroupBox>("fileSearchGroup")->setChecked(true);
    QVERIFY(runSearch(m_panel.get()));
    QCOMPARE(hitNames(m_panel->model()), QStringList({ "Certs/exactly ten.pdf" }));
    child<QGroupBox>("fileSizeGroup")->setChecked(false);

    // Date: everything was made today; a range ending yesterday holds nothing.
    child<QGroupBox>("fileSearchGroup")->setChecked(false);
    child<QGroupBox>("dateGroup")->setChecked(true);
    QVERIFY(runSearch(m_panel.get()));
    QCOMPARE(m_panel->model()->entries().size(), 8);
    child<QDateEdit>("dateFromEdit")->setDate(QDate::currentDate().addDays(-3));
    child<QDateEdit>("dateToEdit")->setDate(QDate::currentDate().addDays(-1));
    QVERIFY(runSearch(m_panel.get()));
    QVERIFY(m_panel->model()->showsNoResults());
    child<QGroupBox>("dateGroup")->setChecked(false);

    // Word: element text of the three report kinds only.
    child<QGroupBox>("wordSearchGroup")->setChecked(true);
    child<QLineEdit>("wordEdit")->setText("brook farm");
    QVERIFY(runSearch(m_panel.get()));
    QCOMPARE(hitNames(m_panel->model()), QStringList({ "Other/Brook.kstir" }));
    child<QLineEdit>("wordEdit")->setText("Hidden Hollow");
    QVERIFY(runSearch(m_panel.get()));
    QVERIFY(m_panel->model()->showsNoResults());
    child<QCheckBox>("wordSearchCsCheck")->setChecked(true);
    child<QLineEdit>("wordEdit")->setText("brook farm");
    QVERIFY(runSearch(m_panel.get()));
    QVERIFY(m_panel->model()->showsNoResults());
    // An empty word is no criterion: everything is listed again.
    child<QLineEdit>("wordEdit")->clear();
    QVERIFY(runSearch(m_panel.get()));
    QCOMPARE(m_panel->model()->entries().size(), 8);
}

void TestPanel::rowTexts()
{
    makeFile("Site/one byte.txt", 1);
    makeFile("Site/just over.txt", 1025);
    makeFile("Site/empty.txt", 0);
    makeFile("Site/large.bin", 2000000);
    QVERIFY(runSearch(m_panel.get()));
    FoundFilesModel* model = m_panel->model();
    QCOMPARE(model->columnCount(), 3);
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QString("Name"));
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QString("Size"));
    QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QString("Last Modified"));

    QHash<QString, QStringList> rows;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList texts;
        for (int column = 0; column < 3; ++column)
            texts << model->index(row, column).data().toString();
        rows.insert(texts.first(), texts);
        const QString absolute = model->index(row, 0).data(Qt::UserRole).toString();
        QCOMPARE(absolute, QDir(root()).filePath(texts.first()));
        QVERIFY(!model->index(row, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
        QVERIFY(model->index(row, 1).data(Qt::DecorationRole).isNull());
        QCOMPARE(texts.at(2), QFileInfo(absolute).lastModified().toString("dd/MM/yyyy hh:mm"));
    }
    QCOMPARE(rows.size(), 5);
    QCOMPARE(rows.value("Site").at(1), QString());
    QCOMPARE(rows.value("Site/one byte.txt").at(1), QString("1 KB"));
    QCOMPARE(rows.value("Site/just over.txt").at(1), QString("2 KB"));
    QCOMPARE(rows.value("Site/empty.txt").at(1), QString("0 KB"));
    // Shown with the user's digit grouping (a display text, never read back).
    QCOMPARE(rows.value("Site/large.bin").at(1), QLocale().toString(1954) + " KB");
    QRegularExpression stamp("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d$");
    QVERIFY(stamp.match(rows.value("Site").at(2)).hasMatch());
}

void TestPanel::noResultsRowOnlyWhenNothingWasFound()
{
    FoundFilesModel* model = m_panel->model();
    QVERIFY(runSearch(m_panel.get()));
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(model->index(0, 0).data().toString(),
        QString("Search is complete. There are no results to display."));
    QVERIFY(model->index(0, 1).data().isNull());
    QVERIFY(model->index(0, 0).data(Qt::UserRole).isNull());
    QVERIFY(!(model->flags(model->index(0, 0)) & Qt::ItemIsSelectable));

    // The next search empties the list first, telling the views.
    makeFile("found.txt");
    QSignalSpy reset(model, &QAbstractItemModel::modelReset);
    m_panel->search();
    QCOMPARE(model->rowCount(), 0);
    QVERIFY(model->isSearching());
    QVERIFY(reset.count() >= 1);
    QSignalSpy finished(m_panel.get(), &FindInFiles::searchFinished);
    QVERIFY(finished.wait(30000));
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(model->index(0, 0).data().toString(), QString("found.txt"));

    // Driven by hand: hits, then the end, keep the hits and no message row.
    model->clear();
    model->add(QFileInfo(QDir(root()).filePath("found.txt")));
    model->finish();
    QCOMPARE(model->rowCount(), 1);
    QVERIFY(!model->showsNoResults());
    model->clear();
    model->finish();
    QVERIFY(model->showsNoResults());
}

void TestPanel::stopKeepsTheHitsFoundSoFar()
{
    for (int folder = 0; folder < 20; ++folder) {
        for (int file = 0; file < 100; ++file)
            makeFile(
                QString("Site %1/file %2.txt").arg(folder, 2, 10, QChar('0')).arg(file, 3, 10, QChar('0')));
    }
    QVERIFY(runSearch(m_panel.get()));
    const QStringList everything = hitNames(m_panel->model());
    QCOMPARE(everything.size(), 2020);

    QSignalSpy finished(m_panel.get(), &FindInFiles::searchFinished);
    m_panel->search();
    m_panel->stop();
    QVERIFY(finished.wait(30000));
    QCOMPARE(finished.count(), 1);
    QVERIFY(!m_panel->isSearching());
    // Whatever was found before the stop stays, in the walk's order.
    const QStringList kept = hitNames(m_panel->model());
    QCOMPARE(kept, everything.mid(0, kept.size()));
    QCOMPARE(m_panel->model()->showsNoResults(), kept.isEmpty());
    QVERIFY(!finished.wait(200));

    // Stopping when nothing runs changes nothing; the next search is complete again.
    m_panel->stop();
    QVERIFY(runSearch(m_panel.get()));
    QCOMPARE(hitNames(m_panel->model()), everything);
}

void TestPanel::secondSearchRestartsCleanly()
{
    for (int file = 0; file < 1500; ++file)
        makeFile(QString("many/alpha %1.txt").arg(file, 4, 10, QChar('0')));
    makeFile("zulu.txt");
    QSignalSpy started(m_panel.get(), &FindInFiles::searchStarted);
    QSignalSpy finished(m_panel.get(), &FindInFiles::searchFinished);
    m_panel->search();
    child<QLineEdit>("fileEdit")->setText("zulu");
    m_panel->search();
    QVERIFY(finished.wait(30000));
    QCOMPARE(started.count(), 2);
    QCOMPARE(hitNames(m_panel->model()), QStringList({ "zulu.txt" }));
    // Nothing of the first walk arrives later.
    QVERIFY(!finished.wait(300));
    QCOMPARE(hitNames(m_panel->model()), QStringList({ "zulu.txt" }));

    // Closing the panel while a walk runs ends the walk.
    child<QLineEdit>("fileEdit")->clear();
    m_panel->search();
    m_panel.reset();
}

void TestPanel::returnKeySearches()
{
    makeFile("a.txt");
    m_panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));
    QSignalSpy finished(m_panel.get(), &FindInFiles::searchFinished);
    QTest::keyClick(child<QLineEdit>("fileEdit"), Qt::Key_Return);
    QVERIFY(finished.wait(30000));
    QTest::keyClick(child<QSpinBox>("fileSizeSpin"), Qt::Key_Enter);
    QVERIFY(finished.wait(30000));
    QCOMPARE(finished.count(), 2);
    QCOMPARE(hitNames(m_panel->model()), QStringList({ "a.txt" }));
}

void TestPanel::resultsDocumentOpensHits()
{
    makeFile("Site/plan.pdf");
    const QString path = Folders::instance()->appDataFolder() + "/Search Results";
    SearchResultsDocument doc(path);
    QCOMPARE(doc.fileName(), QString("Search Results"));
    QTableView* table = doc.tableView();
    QVERIFY(!table->showGrid());
    QVERIFY(table->verticalHeader()->isHidden());
    QCOMPARE(table->verticalHeader()->defaultSectionSize(), 18);
    QVERIFY(qobject_cast<RightAlignedDelegate*>(table->itemDelegateForColumn(1)));
    QVERIFY(!qobject_cast<RightAlignedDelegate*>(table->itemDelegateForColumn(0)));

    doc.setModel(m_panel->model());
    QCOMPARE(table->model(), m_panel->model());
    doc.resize(600, 300);
    doc.show();
    QVERIFY(QTest::qWaitForWindowExposed(&doc));
    QVERIFY(runSearch(m_panel.get()));
    QCOMPARE(m_panel->model()->rowCount(), 2);
    // The name column was fitted to the rows as they came.
    QVERIFY(table->columnWidth(0) >= table->fontMetrics().horizontalAdvance("Site/plan.pdf"));

    QSignalSpy open(&doc, &SearchResultsDocument::openDocument);
    doc.activated(m_panel->model()->index(1, 2));
    QCOMPARE(open.count(), 1);
    QCOMPARE(open.at(0).at(0).toString(), QDir(root()).filePath("Site/plan.pdf"));

    // The message row opens nothing.
    QDir(root()).removeRecursively();
    QVERIFY(QDir().mkpath(root()));
    QVERIFY(runSearch(m_panel.get()));
    QVERIFY(m_panel->model()->showsNoResults());
    doc.activated(m_panel->model()->index(0, 0));
    QCOMPARE(open.count(), 1);

    // Through the factory the file name alone decides; with an extension it is another file.
    std::unique_ptr<AbstractDocument> made(createDocument(root() + "/Search Results"));
    QVERIFY(qobject_cast<SearchResultsDocument*>(made.get()));
    QVERIFY(made->isValid());
    QVERIFY(!QFileInfo::exists(root() + "/Search Results"));
}

void TestPanel::sizeColumnIsDrawnRightAligned()
{
    QStandardItemModel model(1, 1);
    model.setData(model.index(0, 0), "12 KB");
    const auto inkColumns = [&](QAbstractItemDelegate* delegate) {
        QImage image(200, 20, QImage::Format_ARGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QStyleOptionViewItem option;
        option.rect = image.rect();
        option.palette.setColor(QPalette::Text, Qt::black);
        option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        option.state = QStyle::State_Enabled;
        delegate->paint(&painter, option, model.index(0, 0));
        painter.end();
        int first = image.width(), last = -1;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qGray(image.pixel(x, y)) < 128) {
                    first = qMin(first, x);
                    last = qMax(last, x);
                }
            }
        }
        return qMakePair(first, last);
    };
    RightAlignedDelegate right;
    QItemDelegate plain;
    const auto rightInk = inkColumns(&right);
    const auto plainInk = inkColumns(&plain);
    QVERIFY(plainInk.second >= 0 && rightInk.second >= 0);
    QVERIFY(plainInk.first < 20);
    QVERIFY(rightInk.second > 180);
    QVERIFY(rightInk.first > 100);
}

void TestPanel::mainWindowHostsThePanelAndTheResults()
{
    m_panel.reset();
    makeFile("Site A/notes.txt");
    makeFile("Other.kstreport");
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* dock = window.findChild<QDockWidget*>("documentSearch");
    QVERIFY(dock);
    QCOMPARE(dock->windowTitle(), QString("Document Search"));
    FindInFiles* panel = window.findChild<FindInFiles*>("findInFiles");
    QVERIFY(panel);
    QCOMPARE(dock->widget(), panel);
    QCOMPARE(window.dockWidgetArea(dock), Qt::LeftDockWidgetArea);
    auto* browser = window.findChild<QDockWidget*>("documentBrowser");
    QVERIFY(window.tabifiedDockWidgets(browser).contains(dock));

    // The first search opens the results tab and shows the panel's model there.
    QVERIFY(runSearch(panel));
    auto* results = qobject_cast<SearchResultsDocument*>(window.activeDocument());
    QVERIFY(results);
    QCOMPARE(results->filePath(), Folders::instance()->appDataFolder() + "/Search Results");
    QCOMPARE(results->tableView()->model(), panel->model());
    QCOMPARE(panel->model()->rowCount(), 3);
    QCOMPARE(window.documents().size(), 1);
    // It has no file, and stays open when files of the projects folder go away.
    QVERIFY(QFile::remove(QDir(root()).filePath("Site A/notes.txt")));
    window.projectTree()->closeDocumentsOfMissingFiles();
    QCOMPARE(window.documents().size(), 1);
    makeFile("Site A/notes.txt");

    // A later search leaves the active tab alone and reuses the results tab.
    AbstractDocument* other = window.openDocument(QDir(root()).filePath("Other.kstreport"));
    QVERIFY(other && other->isValid());
    QCOMPARE(window.activeDocument(), other);
    panel->findChild<QLineEdit*>("fileEdit")->setText("notes");
    QVERIFY(runSearch(panel));
    QCOMPARE(window.activeDocument(), other);
    QCOMPARE(window.documents().size(), 2);
    QCOMPARE(panel->model()->rowCount(), 1);

    // Reset Window Layout puts the search back beside the browser.
    dock->setFloating(true);
    window.resetWindowLayout();
    QVERIFY(!dock->isFloating());
    QVERIFY(window.tabifiedDockWidgets(browser).contains(dock));
}

void TestPanel::activatingAHitOpensItLikeTheBrowser()
{
    m_panel.reset();
    makeFile("Site A/Report.kstreport");
    makeFile("Site A/plan.pdf");
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    FindInFiles* panel = window.findChild<FindInFiles*>("findInFiles");
    QVERIFY(runSearch(panel));
    auto* results = qobject_cast<SearchResultsDocument*>(window.activeDocument());
    QVERIFY(results);

    // A report opens as a tab, through the main window.
    results->activated(rowOf(panel->model(), "Site A/Report.kstreport"));
    QCOMPARE(window.documents().size(), 2);
    QCOMPARE(window.activeDocument()->filePath(), QDir(root()).filePath("Site A/Report.kstreport"));
    // Activating it again finds the open tab.
    results->activated(rowOf(panel->model(), "Site A/Report.kstreport"));
    QCOMPARE(window.documents().size(), 2);

    // Another kind goes to the desktop and opens no tab.
    results->activated(rowOf(panel->model(), "Site A/plan.pdf"));
    QCOMPARE(TestSupport::openedUrls(),
        QList<QUrl>({ QUrl::fromLocalFile(QDir(root()).filePath("Site A/plan.pdf")) }));
    QCOMPARE(window.documents().size(), 2);

    // A folder is shown in the document browser, as there, not handed to a file manager.
    results->activated(rowOf(panel->model(), "Site A"));
    QCOMPARE(TestSupport::openedUrls().size(), 1);
    QCOMPARE(window.projectTree()->model()->filePath(window.treeView()->currentIndex()),
        QDir(root()).filePath("Site A"));

    // Double-clicking a row in the table does the same as activating it.
    QTableView* table = results->tableView();
    window.setActiveDocument(results);
    const QModelIndex pdf = rowOf(panel->model(), "Site A/plan.pdf");
    const QRect cell = table->visualRect(pdf);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTRY_COMPARE(TestSupport::openedUrls().size(), 2);
}

void TestPanel::activatingAHitThatVanishedSaysSo()
{
    m_panel.reset();
    makeFile("Site A/Report.kstreport");
    makeFile("Site A/plan.pdf");
    makeFile("Site B/notes.txt");
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    FindInFiles* panel = window.findChild<FindInFiles*>("findInFiles");
    QVERIFY(runSearch(panel));
    auto* results = qobject_cast<SearchResultsDocument*>(window.activeDocument());
    QVERIFY(results);
    const QModelIndex pdf = rowOf(panel->model(), "Site A/plan.pdf");
    const QModelIndex report = rowOf(panel->model(), "Site A/Report.kstreport");
    const QModelIndex folder = rowOf(panel->model(), "Site B");
    QVERIFY(pdf.isValid() && report.isValid() && folder.isValid());

    // Removed after the search listed them: the user is told, nothing is handed to the desktop
    // and no document opens.
    QVERIFY(QFile::remove(QDir(root()).filePath("Site A/plan.pdf")));
    QVERIFY(QFile::remove(QDir(root()).filePath("Site A/Report.kstreport")));
    QVERIFY(QDir(QDir(root()).filePath("Site B")).removeRecursively());
    ScriptedPrompts& prompts = ScriptedPrompts::get();
    prompts.buttons << QMessageBox::Ok << QMessageBox::Ok << QMessageBox::Ok;
    results->activated(pdf);
    results->activated(report);
    results->activated(folder);
    const QString informative("It was moved, renamed or deleted after the search found it. Search "
                              "again to bring the list up to date.");
    QCOMPARE(prompts.messageTexts(),
        QStringList({ QDir(root()).filePath("Site A/plan.pdf") + " no longer exists.",
            QDir(root()).filePath("Site A/Report.kstreport") + " no longer exists.",
            QDir(root()).filePath("Site B") + " no longer exists." }));
    for (const ScriptedPrompts::Asked& asked : qAsConst(prompts.asked)) {
        QCOMPARE(asked.message.icon, QMessageBox::Warning);
        QCOMPARE(asked.message.informativeText, informative);
    }
    QVERIFY(TestSupport::openedUrls().isEmpty());
    QCOMPARE(window.documents().size(), 1);
}

void TestPanel::missingProjectsFolderIsReported()
{
    makeFile("a.txt");
    QVERIFY(runSearch(m_panel.get()));
    QCOMPARE(hitNames(m_panel->model()), QStringList({ "a.txt" }));
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());

    // The folder goes away while the program runs (a drive unplugged, a share not mounted): the
    // search says it could not look, rather than only that it found nothing.
    const QString gone = root();
    QVERIFY(m_root->remove());
    ScriptedPrompts::get().buttons << QMessageBox::Ok;
    QVERIFY(runSearch(m_panel.get()));
    QCOMPARE(ScriptedPrompts::get().messageTexts(),
        QStringList({ "Could not find the projects root directory: " + gone }));
    QCOMPARE(ScriptedPrompts::get().asked.first().message.icon, QMessageBox::Warning);
    QVERIFY(m_panel->model()->showsNoResults());
}

namespace {
// Translates the texts that name the results list, as the German catalogue does.
class ResultsInGerman : public QTranslator
{
public:
    bool isEmpty() const override { return false; }
    QString translate(const char*, const char* source, const char*, int) const override
    {
        if (qstrcmp(source, "%1/Search Results") == 0)
            return QStringLiteral("%1/Suchergebnisse");
        if (qstrcmp(source, "Search Results") == 0)
            return QStringLiteral("Suchergebnisse");
        return QString();
    }
};
} // namespace

void TestPanel::resultsOpenInAnyLanguage()
{
    m_panel.reset();
    makeFile("Site A/notes.txt");
    ResultsInGerman german;
    QVERIFY(QCoreApplication::installTranslator(&german));
    struct Uninstall
    {
        QTranslator* translator;
        ~Uninstall() { QCoreApplication::removeTranslator(translator); }
    } uninstall { &german };

    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    FindInFiles* panel = window.findChild<FindInFiles*>("findInFiles");
    QVERIFY(runSearch(panel));
    // The results list opens as such, with its title in the language of the program, and
    // nothing is handed to the desktop.
    auto* results = qobject_cast<SearchResultsDocument*>(window.activeDocument());
    QVERIFY(results);
    QVERIFY(TestSupport::openedUrls().isEmpty());
    QCOMPARE(results->windowTitle(), QString("Suchergebnisse"));
    QCOMPARE(results->tableView()->model(), panel->model());
    QCOMPARE(panel->model()->rowCount(), 2);
    // A second search finds the open list.
    QVERIFY(runSearch(panel));
    QCOMPARE(window.documents().size(), 1);
}

void TestPanel::largeListsFillAndEmptyInSlices()
{
    FoundFilesModel model;
    QTableView view;
    view.setModel(&model);
    QList<QFileInfo> hits;
    for (int i = 0; i < 174000; ++i)
        hits << QFileInfo(QString("/nowhere/%1.txt").arg(i));
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy finished(&model, &FoundFilesModel::searchFinished);
    model.clear();
    model.add(hits.mid(0, 100));
    // A few hits with nothing before them are listed at once; a flood waits for its slices.
    QCOMPARE(model.rowCount(), 100);
    model.add(hits.mid(100));
    model.finish();
    QCOMPARE(model.rowCount(), 100);
    QCOMPARE(finished.count(), 0);
    QVERIFY(finished.wait(60000));
    QCOMPARE(model.rowCount(), hits.size());
    QVERIFY(!model.showsNoResults());
    QVERIFY(inserted.count() >= hits.size() / FoundFilesModel::SliceRows);
    for (const QList<QVariant>& rows : inserted)
        QVERIFY(rows.at(2).toInt() - rows.at(1).toInt() < FoundFilesModel::SliceRows);
    QCOMPARE(model.index(hits.size() - 1, 0).data(Qt::UserRole).toString(), QString("/nowhere/173999.txt"));

    // The next search empties the list at once and lets the former hits go between events.
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.clear();
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(model.hasPendingSlices());
    model.add(hits.mid(0, 3));
    QCOMPARE(model.rowCount(), 3);
    model.finish();
    QCOMPARE(finished.count(), 2);
    QTRY_VERIFY_WITH_TIMEOUT(!model.hasPendingSlices(), 60000);
    QCOMPARE(model.rowCount(), 3);
}

void TestPanel::folderIconsAreReadOffTheWindowThread()
{
    makeFile("Handover/pack.kstchk");
    makeFile("Plain/notes.txt");
    FoundFilesModel model;
    QList<QFileInfo> hits { QFileInfo(QDir(root()).filePath("Handover")),
        QFileInfo(QDir(root()).filePath("Plain")), QFileInfo(QDir(root()).filePath("Plain/notes.txt")) };
    for (const QFileInfo& hit : hits)
        QVERIFY(hit.exists()); // as the search leaves them: with their status read
    model.add(hits);
    const auto looks = [](const QVariant& icon, const QIcon& expected) {
        return icon.value<QIcon>().pixmap(16).toImage() == expected.pixmap(16).toImage();
    };
    // Asked for a folder's icon, the list answers at once with a plain folder; whether it holds
    // a checklist is read elsewhere and shown when known.
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QVERIFY(looks(model.index(0, 0).data(Qt::DecorationRole), folderIcon(false)));
    QVERIFY(looks(model.index(1, 0).data(Qt::DecorationRole), folderIcon(false)));
    QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 2, 30000);
    QVERIFY(looks(model.index(0, 0).data(Qt::DecorationRole), folderIcon(true)));
    QVERIFY(looks(model.index(1, 0).data(Qt::DecorationRole), folderIcon(false)));
    QVERIFY(!folderIcon(true).pixmap(16).toImage().isNull());
    QVERIFY(!looks(QVariant::fromValue(folderIcon(true)), folderIcon(false)));
    QVERIFY(!model.index(2, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
    QCOMPARE(changed.first().at(2).value<QVector<int>>(), QVector<int> { Qt::DecorationRole });
}

KESTROVAN_TEST_MAIN(TestPanel)
#include "tst_panel.moc"
