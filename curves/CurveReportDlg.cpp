#include "CurveReportDlg.h"

#include "Prompts.h"
#include "SettingsKeys.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace IVCurve {

namespace {
QLineEdit* edit(const char* objectName, QWidget* parent)
{
    auto* line = new QLineEdit(parent);
    line->setObjectName(QLatin1String(objectName));
    return line;
}

QLabel* hint(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setIndent(24);
    return label;
}
} // namespace

CurveReportDlg::CurveReportDlg(QWidget* parent)
    : QDialog(parent)
    , m_pages(new QStackedWidget(this))
{
    setObjectName(QStringLiteral("CurveReportDlg"));
    setWindowTitle(tr("Curve Report Options"));

    auto* typePage = new QWidget;
    typePage->setObjectName(QStringLiteral("pageChooseReportType"));
    auto* typeGroup = new QGroupBox(tr("Choose Report Type"), typePage);
    m_summary = new QRadioButton(tr("Summary Report"), typeGroup);
    m_summary->setObjectName(QStringLiteral("radioSummaryReport"));
    m_summary->setChecked(true);
    m_string = new QRadioButton(tr("String report"), typeGroup);
    m_string->setObjectName(QStringLiteral("radiStringReport"));
    auto* typeLayout = new QVBoxLayout(typeGroup);
    typeLayout->addWidget(m_summary);
    typeLayout->addWidget(hint(tr("Include all selected strings in a single-page report."), typeGroup));
    typeLayout->addWidget(m_string);
    typeLayout->addWidget(hint(tr("Gives you a single page report for each selected string."), typeGroup));
    auto* typePageLayout = new QVBoxLayout(typePage);
    typePageLayout->addWidget(typeGroup);
    typePageLayout->addStretch();

    auto* infoPage = new QWidget;
    infoPage->setObjectName(QStringLiteral("pageEnterReportInfo"));
    auto* intro = new QLabel(
        tr("Please enter information about your site below, this information will appear on your report ..."),
        infoPage);
    intro->setWordWrap(true);
    m_site = edit("editSite", infoPage);
    m_substation = edit("editSubstation", infoPage);
    m_inverter = edit("editInverter", infoPage);
    m_combiner = edit("editCombiner", infoPage);
    m_logo = edit("editLogo", infoPage);
    QSettings settings;
    m_logo->setText(
        settings.value(SettingsKeys::logoFile(), settings.value(SettingsKeys::rootDir())).toString());
    auto* browse = new QPushButton(tr("Browse..."), infoPage);
    browse->setObjectName(QStringLiteral("btnBrowseLogo"));
    browse->setAutoDefault(false);
    auto* logoRow = new QHBoxLayout;
    logoRow->addWidget(m_logo, 1);
    logoRow->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow(tr("Site"), m_site);
    form->addRow(tr("Substation"), m_substation);
    form->addRow(tr("Inverter"), m_inverter);
    form->addRow(tr("Combiner"), m_combiner);
    form->addRow(tr("Logo"), logoRow);
    m_tables = new QRadioButton(tr("Tables"), infoPage);
    m_tables->setObjectName(QStringLiteral("radioTables"));
    m_graph = new QRadioButton(tr("IV Graph"), infoPage);
    m_graph->setObjectName(QStringLiteral("radioGraph"));
    m_both = new QRadioButton(tr("Both"), infoPage);
    m_both->setObjectName(QStringLiteral("radioBoth"));
    m_both->setChecked(true);
    auto* contentRow = new QHBoxLayout;
    contentRow->addWidget(m_tables);
    contentRow->addWidget(m_graph);
    contentRow->addWidget(m_both);
    contentRow->addStretch();
    m_comparison = new QCheckBox(tr("Add a page comparing the strings"), infoPage);
    m_comparison->setObjectName(QStringLiteral("checkComparison"));
    auto* infoLayout = new QVBoxLayout(infoPage);
    infoLayout->addWidget(intro);
    infoLayout->addLayout(form);
    infoLayout->addLayout(contentRow);
    infoLayout->addWidget(m_comparison);
    infoLayout->addStretch();

    m_pages->addWidget(typePage);
    m_pages->addWidget(infoPage);

    auto* next = new QPushButton(tr("Next"), this);
    next->setObjectName(QStringLiteral("btnNext"));
    next->setDefault(true);
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(next);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);
    resize(480, 320);

    connect(next, &QPushButton::clicked, this, &CurveReportDlg::slotNext);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(browse, &QPushButton::clicked, this, &CurveReportDlg::slotBrowseLogo);
}

void CurveReportDlg::slotNext()
{
    if (m_pages->currentIndex() == 0) {
        if (m_string->isChecked()) {
            m_both->setChecked(true);
            m_tables->hide();
            m_graph->hide();
            m_both->hide();
            m_comparison->setChecked(false);
            m_comparison->hide();
        }
        m_pages->setCurrentIndex(1);
        m_site->setFocus();
        return;
    }
    accept();
}

void CurveReportDlg::slotBrowseLogo()
{
    const QString start = QFileInfo(m_logo->text()).path();
    const QString chosen = Prompts::instance().openFileName(
        this, tr("Select Image"), start, tr("Images (*.png *.jpg *.jpeg *.bmp *.tif *.tiff *.svg)"));
    if (chosen.isEmpty())
        return;
    m_logo->setText(chosen);
    QSettings().setValue(SettingsKeys::logoFile(), chosen);
}

int CurveReportDlg::reportType() const
{
    return m_string->isChecked() ? StringReport : Summary;
}

int CurveReportDlg::content() const
{
    if (reportType() == StringReport)
        return Both;
    if (m_graph->isChecked())
        return Graph;
    return m_tables->isChecked() ? Tables : Both;
}

QString CurveReportDlg::site() const
{
    return m_site->text();
}

QString CurveReportDlg::substation() const
{
    return m_substation->text();
}

QString CurveReportDlg::inverter() const
{
    return m_inverter->text();
}

QString CurveReportDlg::combiner() const
{
    return m_combiner->text();
}

QString CurveReportDlg::logoFile() const
{
    return m_logo->text();
}

bool CurveReportDlg::comparison() const
{
    return m_comparison->isChecked();
}

} // namespace IVCurve
