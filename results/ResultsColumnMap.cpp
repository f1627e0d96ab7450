#include "ResultsColumnMap.h"

#include "CsvResultsModel.h"
#include "ReportModel.h"
#include "ReportScene.h"
#include "ResultsImporterCommand.h"

#include <QSet>
#include <QUndoStack>
#include <memory>

namespace {
const QString PositiveEarthId = QStringLiteral("Riso (MOhm)");
const QString NegativeEarthId = QStringLiteral("-Riso (MOhm)");

// A tester's value is a number or a short word; anything far longer is damage in the file and
// would only run across the page, so it is cut, with an ellipsis, to what a cell can show.
constexpr int MaxValueLength = 64;

QString valueText(const QString& value)
{
    if (value.size() <= MaxValueLength)
        return value;
    return value.left(MaxValueLength - 1) + QChar(0x2026);
}

using Kind = ReportItem::Kind;

ReportItem* cellById(const ReportDocument* document, const QString& id)
{
    ReportItem* item = document->itemById(id);
    return item && item->kind == Kind::Cell && item->parent ? item : nullptr;
}
} // namespace

ReportItem* ResultsColumnMap::textById(const QString& id) const
{
    ReportItem* item = m_document->itemById(id);
    return item && (item->kind == Kind::Text || item->kind == Kind::CheckBox || item->kind == Kind::Cell)
        ? item
        : nullptr;
}

ResultsColumnMap::ResultsColumnMap(ReportScene* scene, const CsvResultsModel* model)
    : m_scene(scene)
    , m_document(scene->document())
    , m_model(model)
    , m_comments(textById(QStringLiteral("comments")))
{
    static const QSet<QString> neverComments = { QStringLiteral("TestType"), QStringLiteral("IVCurve"),
        QStringLiteral("StatusCode"), QStringLiteral("Checksum") };
    for (int column = 0; column < model->columnCount(); ++column) {
        const QString name = model->headerData(column, Qt::Horizontal).toString();
        ReportItem* item = m_document->itemById(name);
        if (ReportItem* cell = cellById(m_document, name)) {
            m_labelCells.insert(column, cell);
            if (!m_tables.contains(cell->parent))
                m_tables.append(cell->parent);
            if (name.trimmed() == PositiveEarthId) {
                m_insulationColumn = column;
                m_positiveEarth = cell;
            } else if (name == NegativeEarthId) {
                m_negativeEarth = cell;
            }
        } else if (item && item->kind == Kind::Text && item->style.editable) {
            // A check box's caption is fixed whatever its style says.
            m_textFields.insert(column, item);
        } else if ((!item || textById(name)) && m_comments && !neverComments.contains(name)) {
            // Fixed texts (labels, a check box's caption) are the form's own: the value goes to
            // the comments as for a column the report has no place for.
            m_commentColumns.append(column);
        }
    }
    if (!m_negativeEarth)
        m_negativeEarth = cellById(m_document, NegativeEarthId);
    if (!m_positiveEarth)
        m_positiveEarth = cellById(m_document, PositiveEarthId);
}

int ResultsColumnMap::freeColumn(const ReportItem* table) const
{
    QSet<int> rows;
    for (const ReportItem* label : m_labelCells) {
        if (label->parent == table)
            rows.insert(label->row);
    }
    int last = -1;
    for (const auto& cell : table->children) {
        if (cell->kind == Kind::Cell && rows.contains(cell->row) && !cell->text.isEmpty())
            last = qMax(last, cell->column);
    }
    return last + 1;
}

ResultsColumnMap::Result ResultsColumnMap::importRows(const QModelIndexList& indexes)
{
    if (m_labelCells.isEmpty())
        return NoPlaceToInsert;
    for (const QModelIndex& index : indexes) {
        if (index.row() < 0 || index.row() >= m_model->rowCount())
            return InvalidRow;
    }

    m_shortened = false;
    // Fields take no more than typing puts into them.
    const auto fieldText = [this](const QString& text) {
        if (text.size() <= ReportLimits::MaxFieldLength)
            return text;
        m_shortened = true;
        const int length = ReportLimits::MaxFieldLength;
        return text.left(text.at(length - 1).isHighSurrogate() ? length - 1 : length);
    };
    auto command = std::make_unique<ResultsImporterCommand>(m_scene);
    ReportItem* instruments = textById(QStringLiteral("test_instruments"));
    const bool hasTestType = m_model->testTypeColumn() >= 0;
    for (const ReportItem* table : qAsConst(m_tables)) {
        const int column = freeColumn(table);
        if (column >= table->columns)
            return TableFull;
        bool positiveOpen = true;
        bool negativeOpen = true;
        for (const QModelIndex& index : indexes) {
            const int row = index.row();
            const unsigned code = hasTestType ? m_model->testType(m_model->index(row, 0)) : 0;
            for (auto it = m_labelCells.cbegin(); it != m_labelCells.cend(); ++it) {
                const ReportItem* label = it.value();
                if (label->parent != table)
                    continue;
                const QString value = valueText(m_model->data(m_model->index(row, it.key())).toString());
                if (value.isEmpty())
                    continue;
                if (it.key() == m_insulationColumn) {
                    // Positive- and negative-earth tests of one string share its column.
                    label = hasTestType && code == CsvResultsModel::NegativeEarthInsulation ? m_negativeEarth
                                                                                            : m_positiveEarth;
                    if (!label)
                        continue;
                }
                ReportItem* target = table->cellAt(column, label->row);
                if (!target)
                    continue;
                if (it.key() != m_insulationColumn) {
                    command->setCellText(target, value);
                } else if (label == m_positiveEarth && positiveOpen) {
                    command->setCellText(target, value);
                    if (code == CsvResultsModel::PositiveEarthInsulation)
                        positiveOpen = false;
                } else if (label == m_negativeEarth && negativeOpen) {
                    command->setCellText(target, value);
                    if (code == CsvResultsModel::NegativeEarthInsulation)
                        negativeOpen = false;
                }
            }
            if (instruments) {
                const QString current = instruments->text;
                const QString title = valueText(m_model->title());
                if (!current.contains(title))
                    command->setFieldText(instruments, current,
                        fieldText(current + (current.isEmpty() ? QString() : QStringLiteral(", ")) + title));
            }
            for (auto it = m_textFields.cbegin(); it != m_textFields.cend(); ++it)
                command->setFieldText(it.value(), it.value()->text,
                    valueText(m_model->data(m_model->index(row, it.key())).toString()));
            if (m_comments) {
                QString text;
                for (int commentColumn : m_commentColumns) {
                    const QString value
                        = valueText(m_model->data(m_model->index(row, commentColumn)).toString());
                    if (!value.isEmpty())
                        text += QStringLiteral("%1=%2; ").arg(
                            m_model->headerData(commentColumn, Qt::Horizontal).toString(), value);
                }
                if (!text.isEmpty()) {
                    const QString current = m_comments->text;
                    command->setFieldText(m_comments, current, fieldText(current + text + QLatin1Char('\n')));
                }
            }
        }
    }
    m_scene->undoStack()->push(command.release());
    return Imported;
}
