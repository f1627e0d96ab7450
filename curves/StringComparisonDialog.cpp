#include "StringComparisonDialog.h"

#include "Brand.h"
#include "NumberText.h"
#include "Prompts.h"
#include "SafeWrite.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <limits>

namespace IVCurve {

namespace {
enum Column {
    ColString,
    ColIrradiance,
    ColCellTemp,
    ColIsc,
    ColVoc,
    ColImp,
    ColVmp,
    ColPmp,
    ColFF,
    ColRsh,
    ColRs,
    ColDeviation,
    ColVerdict,
    ColumnCount
};

// Sorts by the number it holds, not by its text; empty cells sort first.
class NumberItem : public QTableWidgetItem
{
public:
    NumberItem(double value, bool shown)
        : QTableWidgetItem(shown ? NumberText::format(value) : QString())
        , m_value(shown ? value : -std::numeric_limits<double>::infinity())
    {
        setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    bool operator<(const QTableWidgetItem& other) const override
    {
        if (const auto* number = dynamic_cast<const NumberItem*>(&other))
            return m_value < number->m_value;
        return QTableWidgetItem::operator<(other);
    }

private:
    double m_value;
};
} // namespace

StringComparisonDialog::StringComparisonDialog(
    const QVector<ComparisonRow>& rows, const QString& documentName, QWidget* parent)
    : QDialog(parent)
    , m_rows(rows)
    , m_documentName(documentName)
    , m_table(new QTableWidget(0, ColumnCount, this))
    , m_summary(new QLabel(this))
{
    setObjectName(QStringLiteral("StringComparisonDialog"));
    setWindowTitle(tr("String Comparison"));
    m_table->setObjectName(QStringLiteral("tableComparison"));
    m_table->setHorizontalHeaderLabels({ tr("String"), tr("Irradiance (W/m²)"), tr("Cell temp. (°C)"),
        tr("Isc (A)"), tr("Voc (V)"), tr("Imp (A)"), tr("Vmp (V)"), tr("Pmp (W)"), tr("FF"), tr("Rsh (Ω)"),
        tr("Rs (Ω)"), tr("Pmp vs. median (%)"), tr("Verdict") });
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->setVisible(false);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setMinimumSize(900, 400);
    m_summary->setObjectName(QStringLiteral("labelSummary"));
    m_summary->setTextFormat(Qt::PlainText);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* exportButton = buttons->addButton(tr("Export CSV..."), QDialogButtonBox::ActionRole);
    exportButton->setObjectName(QStringLiteral("btnExport"));
    connect(exportButton, &QPushButton::clicked, this, &StringComparisonDialog::slotExport);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(m_summary);
    layout->addWidget(buttons);
    fill();
}

void StringComparisonDialog::fill()
{
    m_table->setSortingEnabled(false);
    m_table->setRowCount(m_rows.size());
    int counts[3] = {};
    int outliers = 0;
    const QColor outlierColour(255, 221, 170);
    for (int r = 0; r < m_rows.size(); ++r) {
        const ComparisonRow& row = m_rows.at(r);
        const CurveParameters& p = row.stc;
        // Labels are the user's text: items show them as they are, never as markup.
        QTableWidgetItem* items[ColumnCount] = { new QTableWidgetItem(row.label),
            new QTableWidgetItem(row.irradiance), new QTableWidgetItem(row.cellTemperature),
            new NumberItem(p.isc, p.valid), new NumberItem(p.voc, p.valid), new NumberItem(p.imp, p.valid),
            new NumberItem(p.vmp, p.valid), new NumberItem(p.pmp, p.valid),
            new NumberItem(p.fillFactor, p.valid), new NumberItem(p.rsh, p.valid && p.rsh > 0.0),
            new NumberItem(p.rs, p.valid && p.rs > 0.0), new NumberItem(row.deviation, row.hasDeviation),
            new QTableWidgetItem(row.verdict.text()) };
        const QColor verdictColour = row.verdict.outcome == Verdict::Pass ? QColor(Qt::darkGreen)
            : row.verdict.outcome == Verdict::Fail                        ? QColor(Qt::red)
                                                                          : QColor(Qt::gray);
        items[ColVerdict]->setForeground(verdictColour);
        ++counts[row.verdict.outcome];
        if (row.outlier) {
            ++outliers;
            for (QTableWidgetItem* item : items) {
                item->setBackground(outlierColour);
                item->setToolTip(
                    tr("More than three scaled median absolute deviations from its folder's median"));
            }
        }
        for (int c = 0; c < ColumnCount; ++c)
            m_table->setItem(r, c, items[c]);
    }
    // Tree order until the user sorts by a column.
    m_table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_table->setSortingEnabled(true);
    m_table->resizeColumnsToContents();
    m_summary->setText(
        tr("%n string(s): %1 pass, %2 fail, %3 without verdict; %4 outlier(s).", nullptr, m_rows.size())
            .arg(counts[Verdict::Pass])
            .arg(counts[Verdict::Fail])
            .arg(counts[Verdict::None])
            .arg(outliers));
}

void StringComparisonDialog::slotExport()
{
    const QString path = Prompts::instance().saveFileName(this,
        QCoreApplication::translate("File Save Dialog", "Save CSV file"),
        m_documentName + tr(" comparison") + QStringLiteral(".csv"),
        QCoreApplication::translate("File Save Dialog", "CSV file (*.csv)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!SafeWrite::writeFile(path, StringComparison::toCsv(m_rows), &error))
        Prompts::show(QMessageBox::Critical, this,
            QCoreApplication::translate("IVCurve::CurveDocument", " Could not open file:\n %1").arg(path),
            error, QMessageBox::Ok, Brand::productTitle());
}

} // namespace IVCurve
