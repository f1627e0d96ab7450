#include "CsvResultsModel.h"

#include <QBrush>
#include <QCoreApplication>
#include <QFileInfo>
#include <QIODevice>
#include <QLocale>
#include <QTextDecoder>

#include <algorithm>

namespace {
QStringList splitTrimmed(const QString& line, QChar separator)
{
    QStringList fields = line.split(separator);
    for (QString& field : fields)
        field = field.trimmed();
    return fields;
}
} // namespace

CsvResultsModel::CsvResultsModel(QObject* parent)
    : QAbstractTableModel(parent)
    , m_separator(localeSeparator())
{ }

QChar CsvResultsModel::localeSeparator()
{
    return QLocale().toString(0.5).contains(QLatin1Char(',')) ? QLatin1Char(';') : QLatin1Char(',');
}

QString CsvResultsModel::testTypeName(unsigned code)
{
    switch (code) {
    case Continuity:
        return QStringLiteral("Continuity");
    case AutoTest:
        return QStringLiteral("AutoTest");
    case PositiveEarthInsulation:
        return QStringLiteral("Positive-earth insulation");
    case NegativeEarthInsulation:
        return QStringLiteral("Negative-earth insulation");
    case AutoTestAndCurve:
        return QStringLiteral("AutoTest & Curve");
    default:
        return QCoreApplication::translate("CsvResultsModel", "Unknown");
    }
}

bool CsvResultsModel::load(QIODevice& device)
{
    beginResetModel();
    m_title.clear();
    m_headers.clear();
    m_rows.clear();
    m_testTypeColumn = -1;

    // Read a slice at a time so that a huge file never needs a second copy of itself in memory.
    // Bytes that are not UTF-8 become replacement characters; the row still parses.
    std::unique_ptr<QTextDecoder> decoder(QTextCodec::codecForName("UTF-8")->makeDecoder());
    QString pending;
    // Where the search for the next line end resumes: a line without one is scanned once, not
    // again with every slice.
    int scanned = 0;
    int lineNumber = 0;
    qint64 left = MaxFileSize;
    while (left > 0 && !device.atEnd()) {
        const QByteArray chunk = device.read(std::min<qint64>(left, 1 << 16));
        if (chunk.isEmpty())
            break;
        left -= chunk.size();
        pending += decoder->toUnicode(chunk);
        int start = 0;
        for (int newline = pending.indexOf(QLatin1Char('\n'), scanned); newline >= 0;
             newline = pending.indexOf(QLatin1Char('\n'), start)) {
            int end = newline;
            while (end > start && pending.at(end - 1) == QLatin1Char('\r'))
                --end;
            addLine(pending.mid(start, end - start), ++lineNumber);
            start = newline + 1;
        }
        pending.remove(0, start);
        scanned = pending.size();
    }
    addLine(pending, ++lineNumber);
    endResetModel();
    return true;
}

void CsvResultsModel::addLine(const QString& line, int lineNumber)
{
    if (lineNumber == 1) {
        // Only the second field is kept: the rest of the line is never split.
        const int first = line.indexOf(m_separator);
        const int second = first < 0 ? -1 : line.indexOf(m_separator, first + 1);
        m_title = first < 0 ? QString() : line.mid(first + 1, second < 0 ? -1 : second - first - 1).trimmed();
        return;
    }
    // A line with fewer fields than there are columns carries no result: it is dropped before
    // it is split, whatever its length.
    if (lineNumber > 2 && line.count(m_separator) + 1 < m_headers.size())
        return;
    const QStringList fields = splitTrimmed(line, m_separator);
    if (lineNumber == 2) {
        for (int i = 0; i < fields.size(); ++i) {
            if (fields.at(i) == QLatin1String("TestType"))
                m_testTypeColumn = i;
            if (fields.at(i) != QLatin1String("IVCurve"))
                m_headers.append(fields.at(i));
        }
        return;
    }
    // Short lines, empty ones included, carry no result.
    if (!m_headers.isEmpty() && fields.size() >= m_headers.size())
        m_rows.append(fields);
}

int CsvResultsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

int CsvResultsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_headers.size();
}

QVariant CsvResultsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= m_headers.size())
        return QVariant();
    const QStringList& row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return row.value(index.column());
    case Qt::ForegroundRole:
        // With the curve last, the second-to-last field is the tester's status: non-zero failed.
        if (row.size() != 2 && row.size() >= 2 && row.at(row.size() - 2).toInt() > 0)
            return QBrush(Qt::red);
        return QVariant();
    default:
        return QVariant();
    }
}

QVariant CsvResultsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
        && section < m_headers.size())
        return m_headers.at(section);
    return QVariant();
}

Qt::ItemFlags CsvResultsModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (index.column() == m_testTypeColumn)
        result |= Qt::ItemIsEditable;
    return result;
}

bool CsvResultsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != m_testTypeColumn
        || index.row() >= m_rows.size())
        return false;
    m_rows[index.row()][index.column()] = value.toString();
    emit dataChanged(index, index);
    return true;
}

QString CsvResultsModel::fileProblem(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QCoreApplication::translate("Error Message", "The file does not exist.");
    // A named pipe or a device may never end, and opening one may never return.
    if (!info.isFile())
        return QCoreApplication::translate("Error Message", "It is not a regular file.");
    if (info.size() > MaxFileSize)
        return QCoreApplication::translate(
            "Error Message", "The file is larger than %1 MB: it is not a tester's results file.")
            .arg(MaxFileSize >> 20);
    if (!info.isReadable())
        return QCoreApplication::translate("Error Message", "You may not read it.");
    return QString();
}

unsigned CsvResultsModel::testType(const QModelIndex& index) const
{
    if (!index.isValid() || m_testTypeColumn < 0 || index.row() >= m_rows.size())
        return 0;
    bool ok = false;
    const unsigned code = m_rows.at(index.row()).value(m_testTypeColumn).toUInt(&ok);
    return ok ? code : 0;
}
