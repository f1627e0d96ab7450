// The curve report: table rows from the graph's series with and without a module, the header
// and time span, escaping of user texts, the logo checks, the PDF's pages and text, and the
// command from the document (dialog, file choice, viewer).
#include "CurveConstants.h"
#include "CurveDocument.h"
#include "CurveGraph.h"
#include "CurveGraphModel.h"
#include "CurveRecord.h"
#include "CurveReport.h"
#include "CurveReportDlg.h"
#include "CurveReportTable.h"
#include "CurveStore.h"
#include "CurveTestSupport.h"
#include "CurveTree.h"
#include "CurveTreeModel.h"
#include "FileNames.h"
#include "Folders.h"
#include "ModuleLibrary.h"
#include "NumberText.h"
#include "TestSupport.h"
#include "TesterFileImporter.h"
#include "TreeItem.h"

#include <QCheckBox>
#include <QDir>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

using namespace IVCurve;
using namespace CurveTestSupport;

namespace {
// Three strings on three days, measured at 1000 W/m² and 25 °C so that STC equals MEAS.
QByteArray testerFile()
{
    return "PV,SN 9,x,1,\n"
           "Index,DD/MM/YYYY,HH:MM:SS,Irr (W/m2),Ta (C),Tpv (C),FF,IVCurve,\n"
           "1,08/03/2014,10:00:00,1000,20,25,75,0:8,10:7.5,20:6,30:0,0,0,\n"
           "2,07/03/2014,09:05:00,1000,20,25,70,0:4,12:3.5,24:2,30:0,0,0,\n"
           "3,09/03/2014,16:45:30,1000,20,25,72,0:5,15:4,25:3,31:0,0,0,\n";
}

// The texts of the cells of one table row.
QStringList cells(const QString& row)
{
    static const QRegularExpression cell(QStringLiteral("<td[^>]*>(.*?)</td>"));
    QStringList out;
    auto it = cell.globalMatch(row);
    while (it.hasNext())
        out << it.next().captured(1);
    return out;
}

QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("<failed>");
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pageCount(const QString& pdf)
{
    static const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    const QRegularExpressionMatch m = pages.match(run(QStringLiteral("pdfinfo"), { pdf }));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QString pdfText(const QString& pdf, int page = 0)
{
    QStringList arguments;
    if (page > 0)
        arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
                  << QString::number(page);
    arguments << pdf << QStringLiteral("-");
    return run(QStringLiteral("pdftotext"), arguments);
}

} // namespace

class TestCurveReport : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void rowsWithoutModule();
    void rowsWithModule();
    void headerTimesAndEscaping();
    void logoChecks();
    void summaryPages();
    void stringReportPages();
    void failedReportKeepsTheOldFile();
    void reportDialog();
    void commandFromTheDocument();

private:
    QList<uint> ids() const;
    CurveRecord* record(int n) const { return m_store->graphModel()->cached(ids().at(n)); }

    QTemporaryDir m_dir;
    std::unique_ptr<CurveStore> m_store;
    std::unique_ptr<CurveGraph> m_graph;
    std::unique_ptr<QItemSelectionModel> m_selection;
    TreeItem* m_folder = nullptr;
};

void TestCurveReport::init()
{
    TestSupport::resetState();
    ScriptedPrompts::get().reset();
    QLocale::setDefault(QLocale::c());
    const QString path = m_dir.filePath(QStringLiteral("report.kstcrv"));
    QFile::remove(path);
    QVERIFY(copyTemplate(path));
    m_store = std::make_unique<CurveStore>(path);
    QVERIFY(m_store->isOpen());
    TesterFileImporter importer(*m_store);
    m_folder = importer.importData(testerFile(), QStringLiteral("three.csv"));
    QVERIFY(m_folder);
    QCOMPARE(m_folder->childCount(), 3);
    ScriptedPrompts::get().reset();
    m_graph = std::make_unique<CurveGraph>(m_store->graphModel());
    m_graph->resize(900, 600);
    m_selection = std::make_unique<QItemSelectionModel>(m_store->treeModel());
    connect(m_selection.get(), &QItemSelectionModel::selectionChanged, m_store->graphModel(),
        &CurveGraphModel::slotTreeSelectionChanged);
    m_selection->select(m_store->treeModel()->indexForItem(m_folder),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_graph->refresh();
    QCOMPARE(ids().size(), 3);
}

void TestCurveReport::cleanup()
{
    m_selection.reset();
    m_graph.reset();
    m_store.reset();
    QLocale::setDefault(QLocale::c());
}

QList<uint> TestCurveReport::ids() const
{
    return m_store->graphModel()->cachedCurveIDs();
}

void TestCurveReport::rowsWithoutModule()
{
    CurveRecord& first = *record(0);
    const QStringList one = cells(CurveReportTable::stringsRow(first));
    QCOMPARE(one.size(), 7);
    QCOMPARE(one.at(0), first.label);
    QVERIFY(one.at(1).contains(QStringLiteral("10:00:00")));
    QCOMPARE(one.at(2), QStringLiteral("1000"));
    QCOMPARE(one.at(3), QStringLiteral("25.0"));
    QCOMPARE(one.at(4), QStringLiteral("75"));
    QCOMPARE(one.at(5), QString()); // no module, no count
    QCOMPARE(one.at(6), QStringLiteral("No verdict: no module"));

    const QStringList two = cells(CurveReportTable::electricalRow(first));
    QCOMPARE(two.size(), 17);
    // Measured: largest power 20 V · 6 A, Voc the last point, Isc the first.
    QCOMPARE(two.at(1), QStringLiteral("120"));
    QCOMPARE(two.at(5), QStringLiteral("30.0"));
    QCOMPARE(two.at(8), QStringLiteral("20.0"));
    QCOMPARE(two.at(11), QStringLiteral("8.00"));
    QCOMPARE(two.at(14), QStringLiteral("6.00"));
    // At STC conditions the translated curve's power and maximum-power point are the measured ones.
    QCOMPARE(two.at(2), QStringLiteral("120"));
    QCOMPARE(two.at(9), QStringLiteral("20.0"));
    QCOMPARE(two.at(15), QStringLiteral("6.00"));
    // No module: empty NOM cells and no difference.
    for (int nom : { 3, 4, 7, 10, 13, 16 })
        QVERIFY2(two.at(nom).isEmpty(), qPrintable(QString::number(nom)));
    // Every cell holds only its value: no stray closing text, no placeholders left.
    for (const QString& text : one + two) {
        QVERIFY(!text.contains(QLatin1Char('<')));
        QVERIFY(!text.contains(QLatin1Char('/')) || text.contains(QLatin1Char(':')));
    }
}

void TestCurveReport::rowsWithModule()
{
    const CurveModuleRow module = firstModule({ CurveModuleRow::Isc, CurveModuleRow::Vmp });
    QVERIFY(module.id != 0);
    QVERIFY(m_store->graphModel()->assignModule(ids().at(0), module, 3));
    CurveRecord& first = *record(0);
    QVERIFY(!first.nominal().isEmpty());
    const QStringList one = cells(CurveReportTable::stringsRow(first));
    QCOMPARE(one.at(5), QStringLiteral("3"));
    // 30 V measured against three modules' nominal Voc: far out, and said by how much.
    QVERIFY2(one.at(6).startsWith(QStringLiteral("Fail: Pmp ")), qPrintable(one.at(6)));
    const QStringList two = cells(CurveReportTable::electricalRow(first));
    const double voc = module.value(CurveModuleRow::Voc).toDouble();
    const double isc = module.value(CurveModuleRow::Isc).toDouble();
    const double vmp = module.value(CurveModuleRow::Vmp).toDouble();
    const double imp = module.value(CurveModuleRow::Imp).toDouble();
    const double nominal = imp * 3 * vmp;
    QCOMPARE(two.at(3), QString::number(nominal, 'f', 0));
    QCOMPARE(two.at(7), QString::number(3 * voc, 'f', 1));
    QCOMPARE(two.at(10), QString::number(3 * vmp, 'f', 1));
    QCOMPARE(two.at(13), QString::number(isc, 'f', 2));
    QCOMPARE(two.at(16), QString::number(imp, 'f', 2));
    const double stc = two.at(2).toDouble();
    QVERIFY(stc > 0);
    const double stcPower = first.stcPower().maxCurrent();
    QCOMPARE(two.at(4), QString::number(std::abs(nominal - stcPower) * 100.0 / nominal, 'f', 1));

    // The header takes the module's description and coefficients from the library.
    const QString html = CurveReportTable::fill(CurveReportTable::pageTemplate(), {}, { &first }, first);
    QVERIFY(html.contains(module.value(CurveModuleRow::Description).toString().toHtmlEscaped()));
    QVERIFY(!html.contains(QStringLiteral("<!-- REPORT_MODULE -->")));

    // Big numbers carry no group separators in a German locale.
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    QCOMPARE(CurveReportTable::fixed(1050, 0), QStringLiteral("1050"));
    QCOMPARE(CurveReportTable::fixed(12345.678, 1), QStringLiteral("12345,7"));
    const QStringList german = cells(CurveReportTable::electricalRow(first));
    QCOMPARE(german.at(5), QStringLiteral("30,0"));
}

void TestCurveReport::headerTimesAndEscaping()
{
    CurveRecord& first = *record(0);
    first.label = QStringLiteral("String <1> & 2");
    first.testerSerNo = QStringLiteral("SN <b>9</b>");
    CurveReportTable::Header header;
    header.site = QStringLiteral("Site <script>");
    header.combiner = QStringLiteral("C&D");
    QList<CurveRecord*> all;
    for (int n = 0; n < 3; ++n)
        all << record(n);
    const QString html = CurveReportTable::fill(CurveReportTable::pageTemplate(), header, all, first);
    QVERIFY(!html.isEmpty());
    QVERIFY(html.contains(QStringLiteral("String &lt;1&gt; &amp; 2")));
    // The comparison page escapes labels too, and marks an outlier's row.
    QVector<ComparisonRow> rows(5);
    for (int i = 0; i < rows.size(); ++i) {
        rows[i].label = i == 0 ? first.label : QStringLiteral("S%1").arg(i);
        rows[i].stc.valid = true;
        rows[i].stc.pmp = i == 0 ? 50 : 100 + i;
    }
    StringComparison::rank(rows);
    const QString page = CurveReportTable::comparisonPage(rows);
    QVERIFY(page.contains(QStringLiteral("String &lt;1&gt; &amp; 2")));
    QCOMPARE(page.count(QStringLiteral("<tr bgcolor=\"#ffddaa\">")), 1);
    // Under the strings table, the count of verdicts: none has a module here.
    QVERIFY(html.contains(QStringLiteral("Pass: 0, Fail: 0, No verdict: 3")));
    QVERIFY(html.contains(QStringLiteral("Site &lt;script&gt;")));
    QVERIFY(html.contains(QStringLiteral("C&amp;D")));
    QVERIFY(html.contains(QStringLiteral("SN &lt;b&gt;9&lt;/b&gt;")));
    QVERIFY(!html.contains(QStringLiteral("<script>")));
    QVERIFY(!html.contains(QStringLiteral("< / td>")));
    // Earliest and latest test over the strings, whatever their order.
    const QString format = QLocale::system().dateFormat(QLocale::ShortFormat) + QStringLiteral(" HH:mm:ss");
    const QString start = QDateTime(QDate(2014, 3, 7), QTime(9, 5, 0)).toString(format);
    const QString end = QDateTime(QDate(2014, 3, 9), QTime(16, 45, 30)).toString(format);
    QVERIFY(!html.contains(QStringLiteral("<!-- REPORT_STARTTIME -->")));
    QVERIFY2(html.contains(start), qPrintable(start));
    QVERIFY2(html.contains(end), qPrintable(end));
    QCOMPARE(html.count(QStringLiteral("<tr><td align=")), 6);
    QVERIFY(!html.contains(QStringLiteral("<!--#")));

    // Printed, the label reads as typed.
    const QString pdf = m_dir.filePath(QStringLiteral("escaped.pdf"));
    CurveReport::Options options;
    options.content = 0;
    options.site = header.site;
    QString error;
    QVERIFY2(CurveReport::write(pdf, options, m_graph.get(), m_store->graphModel(), ids(), &error),
        qPrintable(error));
    const QString text = pdfText(pdf);
    QVERIFY2(text.contains(QStringLiteral("String <1> & 2")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Site <script>")));
    QVERIFY(text.contains(QStringLiteral("String Test Report")));
    QVERIFY(text.contains(QStringLiteral("Electrical Data")));
    QVERIFY(!text.contains(QStringLiteral("td>")));
    QCOMPARE(pageCount(pdf), 1);
}

void TestCurveReport::logoChecks()
{
    QCOMPARE(CurveReport::logoHtml(QString()), QString());
    QCOMPARE(CurveReport::logoHtml(m_dir.filePath(QStringLiteral("missing.png"))), QString());
    const QString notImage = m_dir.filePath(QStringLiteral("text.png"));
    {
        QFile file(notImage);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("this is not a picture\n");
    }
    QCOMPARE(CurveReport::logoHtml(notImage), QString());
    // Wider than a report picture may be: refused from its header, before decoding.
    const QString huge = m_dir.filePath(QStringLiteral("huge.png"));
    QImage wide(12000, 1, QImage::Format_Mono);
    wide.fill(0);
    QVERIFY(wide.save(huge));
    QCOMPARE(CurveReport::logoHtml(huge), QString());
    const QString good = m_dir.filePath(QStringLiteral("logo.png"));
    QImage logo(120, 40, QImage::Format_RGB32);
    logo.fill(Qt::red);
    QVERIFY(logo.save(good));
    const QString html = CurveReport::logoHtml(good);
    QVERIFY(html.startsWith(QStringLiteral("<img ")));
    QVERIFY(html.contains(QStringLiteral("src=\"data:image/png;base64,")));
    QVERIFY(html.endsWith(QStringLiteral("\"/>")));

    // A bad logo still gives a report, without a picture; a good one is in the PDF.
    CurveReport::Options options;
    options.content = 0;
    options.logoFile = notImage;
    QString error;
    const QString without = m_dir.filePath(QStringLiteral("nologo.pdf"));
    QVERIFY2(CurveReport::write(without, options, m_graph.get(), m_store->graphModel(), ids(), &error),
        qPrintable(error));
    QCOMPARE(pageCount(without), 1);
    QVERIFY(
        run(QStringLiteral("pdfimages"), { QStringLiteral("-list"), without }).count(QLatin1Char('\n')) <= 2);
    options.logoFile = good;
    const QString with = m_dir.filePath(QStringLiteral("logo.pdf"));
    QVERIFY2(CurveReport::write(with, options, m_graph.get(), m_store->graphModel(), ids(), &error),
        qPrintable(error));
    QVERIFY(
        run(QStringLiteral("pdfimages"), { QStringLiteral("-list"), with }).count(QLatin1Char('\n')) >= 3);
}

void TestCurveReport::summaryPages()
{
    QString error;
    CurveReport::Options options;
    options.content = 1;
    const QString graphOnly = m_dir.filePath(QStringLiteral("graph.pdf"));
    QVERIFY2(CurveReport::write(graphOnly, options, m_graph.get(), m_store->graphModel(), ids(), &error),
        qPrintable(error));
    QCOMPARE(pageCount(graphOnly), 1);
    const QString graphText = pdfText(graphOnly);
    QVERIFY(!graphText.contains(QStringLiteral("String Test Report")));
    QVERIFY(!graphText.trimmed().isEmpty()); // the graph's scales and title are there

    options.content = 2;
    const QString both = m_dir.filePath(QStringLiteral("both.pdf"));
    QVERIFY2(CurveReport::write(both, options, m_graph.get(), m_store->graphModel(), ids(), &error),
        qPrintable(error));
    QCOMPARE(pageCount(both), 2);
    QVERIFY(pdfText(both, 1).contains(QStringLiteral("String Test Report")));
    QVERIFY(!pdfText(both, 2).contains(QStringLiteral("String Test Report")));

    // A comparison page comes last when asked for, with each string and its verdict.
    options.comparison = true;
    const QString compared = m_dir.filePath(QStringLiteral("compared.pdf"));
    QVERIFY2(CurveReport::write(compared, options, m_graph.get(), m_store->graphModel(), ids(), &error),
        qPrintable(error));
    QCOMPARE(pageCount(compared), 3);
    const QString comparison = pdfText(compared, 3);
    QVERIFY2(comparison.contains(QStringLiteral("String Comparison at STC")), qPrintable(comparison));
    QVERIFY(comparison.contains(record(0)->label));
    QVERIFY(comparison.contains(QStringLiteral("No verdict: 3")));
    // Landscape A4.
    const QString info = run(QStringLiteral("pdfinfo"), { both });
    QVERIFY2(info.contains(QStringLiteral("842 x 595 pts (A4)")), qPrintable(info));
}

void TestCurveReport::stringReportPages()
{
    // A label that reads as markup shows as typed in the table and the graph's title.
    record(1)->label = QStringLiteral("<b>Roof</b> <font size=7>east</font>");
    QString error;
    CurveReport::Options options;
    options.type = 1;
    const QString pdf = m_dir.filePath(QStringLiteral("strings.pdf"));
    QVERIFY2(CurveReport::write(pdf, options, m_graph.get(), m_store->graphModel(), ids(), &error),
        qPrintable(error));
    QCOMPARE(pageCount(pdf), 3);
    QVERIFY(run(QStringLiteral("pdfinfo"), { pdf }).contains(QStringLiteral("595 x 842 pts (A4)")));
    for (int page = 1; page <= 3; ++page) {
        const QString text = pdfText(pdf, page);
        const QString label = record(page - 1)->label;
        QVERIFY(text.contains(QStringLiteral("String Test Report")));
        // The label shows twice in the table and once as the graph's own title.
        QVERIFY2(text.count(label) == 3, qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("MEAS")));
        for (int other = 0; other < 3; ++other) {
            if (other != page - 1)
                QVERIFY(!text.contains(record(other)->label + QLatin1Char('\n')));
        }
    }
}

void TestCurveReport::failedReportKeepsTheOldFile()
{
    const QString pdf = m_dir.filePath(QStringLiteral("kept.pdf"));
    {
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("old report");
    }
    QString error;
    CurveReport::Options options;
    // Nothing to report: the old file stays as it was and no partial file is left behind.
    QVERIFY(!CurveReport::write(pdf, options, m_graph.get(), m_store->graphModel(), { 999999 }, &error));
    QVERIFY(!error.isEmpty());
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("old report"));
    file.close();
    // A folder that cannot be written to.
    const QString missing = m_dir.filePath(QStringLiteral("no/such/folder/r.pdf"));
    QVERIFY(!CurveReport::write(missing, options, m_graph.get(), m_store->graphModel(), ids(), &error));
    // A complete report replaces the old one.
    QVERIFY2(CurveReport::write(pdf, options, m_graph.get(), m_store->graphModel(), ids(), &error),
        qPrintable(error));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5) == "%PDF-");
    const QStringList left
        = QDir(m_dir.path()).entryList(QStringList { QStringLiteral(".*.pdf") }, QDir::Files | QDir::Hidden);
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char(','))));
}

void TestCurveReport::reportDialog()
{
    QSettings().setValue(QStringLiteral("Directories/logoFile"), QStringLiteral("/tmp/x/logo.png"));
    {
        CurveReportDlg dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Curve Report Options"));
        QVERIFY(dialog.findChild<QRadioButton*>(QStringLiteral("radioSummaryReport"))->isChecked());
        QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("editLogo"))->text(),
            QStringLiteral("/tmp/x/logo.png"));
        dialog.findChild<QRadioButton*>(QStringLiteral("radiStringReport"))->setChecked(true);
        auto* next = dialog.findChild<QPushButton*>(QStringLiteral("btnNext"));
        next->click();
        QVERIFY(dialog.findChild<QRadioButton*>(QStringLiteral("radioTables"))->isHidden());
        // One page per string has no comparison page.
        QVERIFY(dialog.findChild<QCheckBox*>(QStringLiteral("checkComparison"))->isHidden());
        QVERIFY(!dialog.comparison());
        QCOMPARE(dialog.content(), int(CurveReportDlg::Both));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        next->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.reportType(), int(CurveReportDlg::StringReport));
    }
    {
        CurveReportDlg dialog;
        dialog.findChild<QPushButton*>(QStringLiteral("btnNext"))->click();
        dialog.findChild<QRadioButton*>(QStringLiteral("radioGraph"))->setChecked(true);
        QCOMPARE(dialog.content(), int(CurveReportDlg::Graph));
        dialog.findChild<QRadioButton*>(QStringLiteral("radioTables"))->setChecked(true);
        QCOMPARE(dialog.content(), int(CurveReportDlg::Tables));
        dialog.findChild<QCheckBox*>(QStringLiteral("checkComparison"))->setChecked(true);
        QVERIFY(dialog.comparison());
        ScriptedPrompts::get().paths = QStringList { QStringLiteral("/srv/logos/new.png") };
        dialog.findChild<QPushButton*>(QStringLiteral("btnBrowseLogo"))->click();
        QCOMPARE(ScriptedPrompts::get().asked.last().dir, QStringLiteral("/tmp/x"));
        QCOMPARE(dialog.logoFile(), QStringLiteral("/srv/logos/new.png"));
        QCOMPARE(QSettings().value(QStringLiteral("Directories/logoFile")).toString(),
            QStringLiteral("/srv/logos/new.png"));
    }
}

void TestCurveReport::commandFromTheDocument()
{
    const QString path = m_dir.filePath(QStringLiteral("doc.kstcrv"));
    QFile::remove(path);
    QVERIFY(copyTemplate(path));
    CurveDocument doc(path);
    QVERIFY(doc.isValid());
    ScriptedPrompts& prompts = ScriptedPrompts::get();
    // Nothing selected.
    doc.slotCurveReport();
    QCOMPARE(prompts.messageTexts(), QStringList { QStringLiteral("No data selected") });

    const QString csv = m_dir.filePath(QStringLiteral("doc.csv"));
    QVERIFY(!writeFile(csv, testerFile()).isEmpty());
    QVERIFY(doc.importTesterFile(csv));
    TreeItem* folder = doc.store()->treeModel()->rootItem()->child(0);
    doc.tree()->selectionModel()->select(doc.store()->treeModel()->indexForItem(folder),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    doc.graph()->refresh();
    prompts.reset();
    TestSupport::resetState();
    const QString out = m_dir.filePath(QStringLiteral("fromdoc"));
    prompts.dialogHandler = [](QDialog* d) {
        auto* dialog = qobject_cast<CurveReportDlg*>(d);
        if (!dialog)
            return int(QDialog::Rejected);
        dialog->findChild<QRadioButton*>(QStringLiteral("radiStringReport"))->setChecked(true);
        dialog->slotNext();
        dialog->findChild<QLineEdit*>(QStringLiteral("editSite"))->setText(QStringLiteral("North Field"));
        dialog->findChild<QLineEdit*>(QStringLiteral("editLogo"))->clear();
        dialog->slotNext();
        return dialog->result();
    };
    prompts.paths = QStringList { out };
    doc.slotCurveReport();
    QCOMPARE(prompts.unanswered, 0);
    const QString pdf = out + QStringLiteral(".pdf");
    QVERIFY(QFile::exists(pdf));
    QCOMPARE(pageCount(pdf), 3);
    QVERIFY(pdfText(pdf, 2).contains(QStringLiteral("North Field")));
    QCOMPARE(TestSupport::openedUrls(), QList<QUrl> { QUrl::fromLocalFile(pdf) });
    QCOMPARE(QSettings().value(QStringLiteral("Directories/LastExportDir")).toString(), m_dir.path());

    // A desktop without a viewer: the report is still there, and the user is told where.
    TestSupport::setDesktopSucceeds(false);
    prompts.reset();
    prompts.dialogHandler = [](QDialog* d) {
        auto* dialog = qobject_cast<CurveReportDlg*>(d);
        if (!dialog)
            return int(QDialog::Rejected);
        dialog->slotNext();
        dialog->slotNext();
        return dialog->result();
    };
    prompts.paths = QStringList { pdf };
    doc.slotCurveReport();
    TestSupport::setDesktopSucceeds(true);
    QCOMPARE(pageCount(pdf), 2);
    QCOMPARE(prompts.asked.last().kind, QStringLiteral("message"));
    QVERIFY(prompts.asked.last().message.text.contains(QDir::toNativeSeparators(pdf)));

    // Cancelling the file choice writes and opens nothing.
    TestSupport::openedUrls().clear();
    prompts.paths = QStringList { QString() };
    QFile::remove(pdf);
    doc.slotCurveReport();
    QVERIFY(!QFile::exists(pdf));
    QVERIFY(TestSupport::openedUrls().isEmpty());
}

KESTROVAN_TEST_MAIN(TestCurveReport)
#include "tst_curvereport.moc"
