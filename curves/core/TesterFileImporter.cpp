#include "TesterFileImporter.h"

#include "CurveConstants.h"
#include "CurveGraphModel.h"
#include "CurvePointsCodec.h"
#include "CurveRecord.h"
#include "CurveStore.h"
#include "CurveTreeModel.h"
#include "FileNames.h"
#include "ImportQuestions.h"
#include "InsertBatch.h"
#include "NumberText.h"
#include "TreeItem.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSet>
#include <QTime>
#include <QVector>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

namespace IVCurve {

namespace {
// The measured values of a line, by the column that holds them, in CurveRecord::Value order.
const char* const valueColumns[CurveRecord::ValueCount] = { "Irr (W/m2)", "Ta (C)", "Tpv (C)", "Voc (VDC)",
    "Isc (ADC)", "Riso (MOhm)", "Viso (V)", "Iclamp (Amp)", "Rpe (Ohm)", "FF", "Vmpp (V)", "Impp(A)" };
// Where the tree keeps each of them.
const int valueTargets[CurveRecord::ValueCount] = { TreeIrradiance, TreeAmbientTemp, TreeCellTemp, TreeVoc,
    TreeIsc, TreeRiso, TreeViso, TreeIclamp, TreeRpe, TreeFF, TreeVmp, TreeImp };

// A file larger than this is not a tester's export; reading it would only exhaust memory.
constexpr qint64 maxFileSize = qint64(512) << 20;
// How many lines pass between two progress reports.
constexpr int progressStep = 256;

QString testDateText(const QString& dateField, const QString& timeField)
{
    QDate date;
    for (const char* format : { "d/M/yyyy", "dd/MM/yyyy", "dd.MM.yyyy", "dd,MM,yyyy" }) {
        date = QDate::fromString(dateField, QLatin1String(format));
        if (date.isValid())
            break;
    }
    QString text;
    if (date.isValid())
        text = date.toString(Qt::ISODate);
    QTime time = QTime::fromString(timeField, QStringLiteral("H:m:s"));
    if (!time.isValid())
        time = QTime::fromString(timeField, QStringLiteral("HH:mm:ss"));
    if (time.isValid())
        text += QLatin1Char('T') + time.toString(QStringLiteral("HH:mm:ss"));
    return text;
}

// A number of a point field, written with the file's decimal mark; false for anything else
// (group separators, letters, an empty text). Read without a locale object or an allocation:
// a file of thousands of curves holds over a million of them.
template <typename Number> bool parseNumber(const QStringRef& text, QChar decimal, Number* value)
{
    const QStringRef trimmed = text.trimmed();
    char buffer[64];
    const int size = trimmed.size();
    if (size == 0 || size >= int(sizeof buffer))
        return false;
    for (int k = 0; k < size; ++k) {
        const QChar c = trimmed.at(k);
        if (c == decimal)
            buffer[k] = '.';
        else if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-')
            || c == QLatin1Char('e') || c == QLatin1Char('E'))
            buffer[k] = char(c.unicode());
        else if (c == QLatin1Char('+') && k == 0)
            buffer[k] = ' ';
        else if (c == QLatin1Char('+') && (buffer[k - 1] == 'e' || buffer[k - 1] == 'E'))
            buffer[k] = '+';
        else
            return false;
    }
    const char* first = buffer[0] == ' ' ? buffer + 1 : buffer;
    const auto result = std::from_chars(first, buffer + size, *value);
    return result.ec == std::errc() && result.ptr == buffer + size;
}

// A point field "V:I[:G[:tag]]" with the file's decimal mark; false when it is not a usable
// point.
bool parsePoint(const QString& field, QChar decimal, double* v, double* i, double* g, int* tag)
{
    QStringRef parts[4];
    int count = 0;
    int start = 0;
    // Parts beyond the fourth are not read.
    while (count < 4) {
        const int colon = field.indexOf(QLatin1Char(':'), start);
        parts[count++] = field.midRef(start, colon < 0 ? -1 : colon - start);
        if (colon < 0)
            break;
        start = colon + 1;
    }
    if (count < 2 || !parseNumber(parts[0], decimal, v) || !parseNumber(parts[1], decimal, i))
        return false;
    *g = 0.0;
    *tag = 0;
    if (count > 2 && !parseNumber(parts[2], decimal, g))
        return false;
    if (count > 3 && !parseNumber(parts[3], decimal, tag))
        return false;
    return std::isfinite(*v) && std::isfinite(*i) && std::isfinite(*g);
}
} // namespace

TesterFileImporter::TesterFileImporter(CurveStore& store, ImportQuestions* questions)
    : m_store(store)
    , m_questions(questions)
{
    // The tester writes the list separator and decimal character of the user's locale.
    const bool decimalComma = QLocale().toString(0.5).contains(QLatin1Char(','));
    m_separator = decimalComma ? QLatin1Char(';') : QLatin1Char(',');
    m_decimal = decimalComma ? QLatin1Char(',') : QLatin1Char('.');
}

bool TesterFileImporter::importFile(const QString& path)
{
    QFile file;
    if (!openPlainFile(path, maxFileSize, &file)) {
        tell(CurveNotice::Warning,
            QCoreApplication::translate("Error Message", "Error opening %1 for reading.").arg(path));
        return false;
    }
    const QString name = QFileInfo(path).fileName();
    QVector<QByteArray> lines;
    if (!readLines(file, &lines)) {
        if (file.error() != QFileDevice::NoError) {
            tell(CurveNotice::Warning,
                QCoreApplication::translate("Error Message", "Error opening %1 for reading.").arg(path));
            return false;
        }
        refuse(name, m_refusal);
        return false;
    }
    file.close();
    return importLines(lines, name) != nullptr;
}

TreeItem* TesterFileImporter::importData(const QByteArray& content, const QString& folderLabel)
{
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    QVector<QByteArray> lines;
    if (!readLines(buffer, &lines)) {
        refuse(folderLabel, m_refusal);
        return nullptr;
    }
    return importLines(lines, folderLabel);
}

bool TesterFileImporter::readLines(QIODevice& device, QVector<QByteArray>* lines)
{
    m_refusal.clear();
    m_refusedLine = 0;
    lines->clear();
    // Read in blocks and split here: the line being read is the only one that may grow, and it
    // is given up as soon as it passes the limit, however long the file's line is.
    QByteArray line;
    QByteArray block;
    for (;;) {
        block = device.read(1 << 16);
        if (block.isEmpty())
            break;
        const int size = block.size();
        int start = 0;
        while (start < size) {
            // Only 7-bit text: the tester writes nothing else, and anything else is noise.
            int end = start;
            while (end < size && (block.at(end) & 0x7F) != '\n')
                ++end;
            if (line.size() + (end - start) > maxLineLength) {
                m_refusedLine = lines->size() + 1;
                m_refusal
                    = QCoreApplication::translate("Error Message", "line %1 is longer than %2 characters")
                          .arg(m_refusedLine)
                          .arg(maxLineLength);
                lines->clear();
                return false;
            }
            line.append(block.constData() + start, end - start);
            if (end == size)
                break;
            for (char& c : line)
                c = char(c & 0x7F);
            while (line.endsWith('\r'))
                line.chop(1);
            lines->append(line);
            line.clear();
            start = end + 1;
        }
    }
    if (device.isOpen() && qobject_cast<QFileDevice*>(&device)
        && static_cast<QFileDevice&>(device).error() != QFileDevice::NoError)
        return false;
    for (char& c : line)
        c = char(c & 0x7F);
    lines->append(line);

    // What a tester writes: a header line, a line of column names and a curve on each line
    // after them. Anything else (a picture, a document, a cut-off file) adds nothing.
    if (lines->first().trimmed().isEmpty()) {
        m_refusedLine = 1;
        m_refusal = QCoreApplication::translate("Error Message", "line 1 is empty");
    } else if (lines->size() < 2 || !detectSeparator(lines->at(1))) {
        m_refusedLine = 2;
        m_refusal = QCoreApplication::translate("Error Message", "line 2 names no column a tester writes");
    } else if (std::none_of(lines->cbegin() + 2, lines->cend(),
                   [](const QByteArray& l) { return !l.trimmed().isEmpty(); })) {
        m_refusedLine = 3;
        m_refusal = QCoreApplication::translate("Error Message", "there is no curve after line 2");
    }
    if (m_refusal.isEmpty())
        return true;
    lines->clear();
    return false;
}

bool TesterFileImporter::detectSeparator(const QByteArray& columnLine)
{
    // The tester writes the list separator of its own locale (and the matching decimal mark),
    // whatever the computer reading the file uses: the column names show which it was.
    static const QSet<QByteArray> known { "Index", "Rpe (Ohm)", "Voc (VDC)", "Isc (ADC)", "Riso (MOhm)",
        "Viso (V)", "Iclamp (Amp)", "Irr (W/m2)", "Ta (C)", "Tpv (C)", "FF", "Vmpp (V)", "Impp(A)",
        "DD/MM/YYYY", "HH:MM:SS", "IVCurve" };
    int best = 0;
    char chosen = 0;
    for (char candidate : { m_separator.toLatin1(), char(m_separator == QLatin1Char(',') ? ';' : ',') }) {
        int named = 0;
        for (const QByteArray& name : columnLine.split(candidate))
            named += known.contains(name.trimmed()) ? 1 : 0;
        if (named > best) {
            best = named;
            chosen = candidate;
        }
    }
    if (chosen == 0)
        return false;
    m_separator = QLatin1Char(chosen);
    m_decimal = chosen == ';' ? QLatin1Char(',') : QLatin1Char('.');
    return true;
}

void TesterFileImporter::refuse(const QString& fileName, const QString& reason)
{
    tell(CurveNotice::Warning,
        QCoreApplication::translate("Error Message", "%1 is not a tester file: %2.").arg(fileName, reason),
        QCoreApplication::translate("Error Message", "Nothing was imported."));
}

void TesterFileImporter::tell(CurveNotice::Kind kind, const QString& text, const QString& details)
{
    m_notices.append({ kind, text, details });
}

QVector<CurveNotice> TesterFileImporter::takeNotices()
{
    return std::exchange(m_notices, {});
}

TreeItem* TesterFileImporter::importLines(QVector<QByteArray>& lines, const QString& folderLabel)
{
    CurveTreeModel* tree = m_store.treeModel();
    if (!tree || !m_store.graphModel())
        return nullptr;
    m_spreadsheetModified = false;
    m_showChecksumErrors = true;
    m_checksumFailures.clear();
    m_cancelled = false;
    m_imported = 0;
    m_dipRemovalBudget = maxImportDipRemovalWork;
    m_locale = QLocale(m_decimal == QLatin1Char(',') ? QLocale::German : QLocale::C);
    m_locale.setNumberOptions(QLocale::RejectGroupSeparator | QLocale::OmitGroupSeparator);

    // Trailing separators mean a spreadsheet saved the file again.
    const char separator = m_separator.toLatin1();
    for (QByteArray& line : lines) {
        while (line.endsWith(separator)) {
            line.chop(1);
            m_spreadsheetModified = true;
        }
    }
    auto lineAt = [&](int n) { return QString::fromLatin1(lines.at(n)); };

    TreeItem* folder = tree->newNode(QModelIndex());
    folder->setData(TreeLabel, folderLabel);
    tree->refreshRow(folder);

    QStringList header;
    for (int n = 0; n < qMin(2, lines.size()); ++n)
        header << lineAt(n);
    parseHeader(header);

    const int total = lines.size();
    InsertBatch batch(m_store.database());
    int done = 0;
    // From the last line back: each new node goes to row 0, so the folder ends up in file order.
    for (int n = total - 1; n >= 2; --n) {
        if (m_progress && ++done % progressStep == 0 && !m_progress(done, total)) {
            m_cancelled = true;
            break;
        }
        const QString line = lineAt(n);
        // Each line is let go once imported: what stays is what the curves keep.
        lines[n] = QByteArray();
        if (line.trimmed().isEmpty())
            continue;
        importLine(line, n + 1, folder);
    }
    batch.commit();
    if (m_progress && !m_cancelled)
        m_progress(total, total);
    if (m_cancelled) {
        // The lines are read from the end of the file back: the strings kept are its last ones.
        tell(CurveNotice::Information,
            QCoreApplication::translate("Informative Message",
                "The import of %1 was cancelled. %2 strings were kept, from the end of the file; the "
                "others were not imported.")
                .arg(folderLabel)
                .arg(m_imported));
    }
    return folder;
}

void TesterFileImporter::parseHeader(const QStringList& lines)
{
    m_serialNumber.clear();
    m_fileVersion = 0;
    m_columns.clear();
    if (!lines.isEmpty()) {
        const QStringList fields = lines.at(0).split(m_separator);
        if (fields.size() > 1)
            m_serialNumber = fields.at(1).trimmed();
        if (fields.size() > 3)
            m_fileVersion = fields.at(3).trimmed().toUInt();
    }
    if (lines.size() > 1) {
        const QStringList names = lines.at(1).split(m_separator);
        for (int i = names.size() - 1; i >= 0; --i)
            m_columns.insert(names.at(i).trimmed(), i);
    }
}

QString TesterFileImporter::userText(const QString& fileText) const
{
    // Values are kept as the user types them; a file written with the other decimal mark is
    // shown with the user's.
    if (m_decimal == QLocale().decimalPoint() || fileText.isEmpty())
        return fileText;
    bool ok = false;
    const double value = m_locale.toDouble(fileText, &ok);
    return ok ? NumberText::format(value) : fileText;
}

QString TesterFileImporter::field(const QStringList& fields, const QString& column) const
{
    const int index = m_columns.value(column, -1);
    return index >= 0 && index < fields.size() ? fields.at(index) : QString();
}

bool TesterFileImporter::checksumMatches(const QString& line, QChar separator, QChar decimal)
{
    const int last = line.lastIndexOf(separator);
    if (last < 0)
        return false;
    bool ok = false;
    const uint expected = line.midRef(last + 1).trimmed().toUInt(&ok, 16);
    if (!ok || expected > 0xFFFF)
        return false;
    uint sum = 1;
    for (int i = 0; i <= last; ++i) {
        const QChar c = line.at(i);
        if (c == decimal)
            sum += '.';
        else if (c == separator)
            sum += ',';
        else
            sum += c.unicode() & 0xFF;
    }
    return (sum & 0xFFFF) == expected;
}

void TesterFileImporter::noteChecksumFailure(int lineNumber)
{
    m_checksumFailures.append(lineNumber);
    // The user is told of each failure at the line, until they ask not to be for this import.
    if (m_showChecksumErrors && m_questions)
        m_showChecksumErrors = m_questions->checksumFailed(lineNumber);
}

void TesterFileImporter::importLine(const QString& line, int lineNumber, TreeItem* folder)
{
    CurveTreeModel* tree = m_store.treeModel();
    bool checksumFailed = false;
    if (!m_spreadsheetModified && !checksumMatches(line, m_separator, m_decimal)) {
        checksumFailed = true;
        noteChecksumFailure(lineNumber);
    }
    QStringList fields = line.split(m_separator);
    for (QString& f : fields)
        f = f.trimmed();

    TreeItem* node = tree->newNode(tree->indexForItem(folder));

    CurveRecord record;
    record.testerSerNo = m_serialNumber;
    record.fileVersion = m_fileVersion;
    bool ok = false;
    const uint memLocation = field(fields, QStringLiteral("Index")).toUInt(&ok);
    record.memLocation = ok ? memLocation : 0;
    record.testDate = testDateText(
        field(fields, QStringLiteral("DD/MM/YYYY")), field(fields, QStringLiteral("HH:MM:SS")));
    for (int v = 0; v < CurveRecord::ValueCount; ++v)
        record.setValue(CurveRecord::Value(v), userText(field(fields, QLatin1String(valueColumns[v]))));

    // Points run from the "IVCurve" column up to the status field before the checksum.
    const int statusIndex = fields.size() - 2;
    const int firstPoint = m_columns.value(QStringLiteral("IVCurve"), -1);
    CurveSeries& measured = record.measured();
    if (firstPoint >= 0) {
        for (int i = firstPoint; i < statusIndex && measured.size() < CurvePointsCodec::maxPoints; ++i) {
            double v, current, g;
            int tag;
            if (parsePoint(fields.at(i), m_decimal, &v, &current, &g, &tag))
                measured.addPoint(v, current, g, tag);
        }
    }

    // The tester's own number lives in the low 24 bits; anything larger is not its status.
    quint32 status = 0;
    if (statusIndex >= 0) {
        const uint number = fields.at(statusIndex).toUInt(&ok, 10);
        if (ok && number <= 0x00FFFFFF)
            status = number;
    }
    if (record.value(CurveRecord::CellTemp).isEmpty())
        status |= StatusNoCellTemperature;
    if (record.value(CurveRecord::Irradiance).isEmpty())
        status |= StatusNoIrradiance;
    if (measured.minIrradiance() != 0.0 && measured.minIrradiance() < 0.9 * measured.maxIrradiance())
        status |= StatusIrradianceVariance;
    if (m_spreadsheetModified)
        status |= StatusSpreadsheetModified;
    else if (checksumFailed)
        status |= StatusChecksumWrong;

    if (record.fileVersion > 1)
        removeDips(record, &m_dipRemovalBudget);

    const uint curveID = m_store.graphModel()->insert(record);
    if (curveID != 0)
        node->setData(TreeCurveID, curveID);
    node->setData(TreeLabel,
        QCoreApplication::translate("IVCurve::TesterFileImporter", "String %1").arg(record.memLocation));
    node->setData(TreeMemLocation, record.memLocation);
    if (!record.testDate.isEmpty())
        node->setData(TreeTestDate, record.testDate);
    node->setData(TreeStatus, status);
    for (int v = 0; v < CurveRecord::ValueCount; ++v)
        node->setData(valueTargets[v], record.value(CurveRecord::Value(v)));
    tree->refreshRow(node);
    ++m_imported;
}

void TesterFileImporter::removeDips(CurveRecord& record, qint64* budget)
{
    STCparameters parameters = record.stcParameters();
    parameters.perPointIrradiance = true;
    record.setSTCparameters(parameters);

    qint64 work = budget ? qMin(*budget, maxDipRemovalWork) : maxDipRemovalWork;
    const int rounds = record.measured().size() + 1;
    for (int round = 0; round < rounds; ++round) {
        const qint64 translated = record.measured().size();
        if (translated > work)
            break;
        work -= translated;
        if (budget)
            *budget -= translated;
        const QVector<QPointF> stc = record.translatedMeasuredPoints();
        QVector<bool> marked(stc.size(), false);
        bool any = false;
        // Point k−1 is a local minimum of the translated current; the ends are never marked.
        for (int k = 2; k < stc.size(); ++k) {
            const double before = stc.at(k - 2).y();
            const double at = stc.at(k - 1).y();
            const double after = stc.at(k).y();
            if (before != 0.0 && before >= at && after >= at) {
                marked[k - 1] = true;
                any = true;
            }
        }
        if (!any)
            break;
        const CurveSeries old = record.measured();
        CurveSeries kept(SeriesMEAS);
        const QVector<QPointF>& points = old.points();
        const QVector<SeriesPoint>& extra = old.seriesPoints();
        for (int j = 0; j < points.size(); ++j) {
            if (!marked.value(j))
                kept.addPoint(points.at(j).x(), points.at(j).y(), extra.at(j).irradiance, extra.at(j).tag);
        }
        record.measured() = kept;
        record.invalidateTranslations();
    }
    record.measured().recomputeMaxPowerIndex();
}

} // namespace IVCurve
