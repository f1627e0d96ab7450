#include "MeterFileImporter.h"

#include "CurveConstants.h"
#include "CurveGraphModel.h"
#include "CurveRecord.h"
#include "CurveStore.h"
#include "CurveTreeModel.h"
#include "FileNames.h"
#include "InsertBatch.h"
#include "TestDate.h"
#include "TreeItem.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>
#include <boost/tokenizer.hpp>
#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace IVCurve {

namespace {
using Separator = boost::escaped_list_separator<char>;

// A meter line is a few dozen characters; a longer one is not a reading.
constexpr qint64 maxLineLength = 4096;
// The meter's memory holds some thousands of readings, a file of a few hundred kilobytes; every
// line of the file is held at once while it is read.
constexpr qint64 maxFileSize = qint64(64) << 20;

// Splits a line as the meter's CSV is meant to be read; a line with a broken escape or quote
// gives nothing.
bool splitLine(const std::string& line, const Separator& separator, std::vector<std::string>* fields)
{
    try {
        boost::tokenizer<Separator> tokens(line, separator);
        fields->assign(tokens.begin(), tokens.end());
        return true;
    } catch (const std::exception&) {
        fields->clear();
        return false;
    }
}

QString text(const std::vector<std::string>& fields, size_t index)
{
    return index < fields.size() ? QString::fromStdString(fields[index]).trimmed() : QString();
}

QString translate(const char* context, const char* text)
{
    return QCoreApplication::translate(context, text);
}
} // namespace

MeterFileImporter::MeterFileImporter(CurveStore& store, ImportQuestions* questions)
    : m_store(store)
    , m_questions(questions)
{ }

void MeterFileImporter::tell(CurveNotice::Kind kind, const QString& text)
{
    m_notices.append({ kind, text });
}

QVector<CurveNotice> MeterFileImporter::takeNotices()
{
    return std::exchange(m_notices, {});
}

qint64 MeterFileImporter::timeKey(const QDate& date, const QTime& time)
{
    // Wall-clock times on both sides: no time zone, no daylight saving jump.
    const QTime whole(time.hour(), time.minute(), time.second());
    return QDateTime(date, whole, Qt::UTC).toSecsSinceEpoch();
}

void MeterFileImporter::importFile(const QString& path, const QModelIndexList& selected)
{
    if (selected.isEmpty()) {
        tell(CurveNotice::Warning, translate("Warning Message", "No strings selected"));
        return;
    }
    readFile(path);
    match(selected);
}

bool MeterFileImporter::readFile(const QString& path)
{
    m_readings.clear();
    QByteArray content;
    if (!readPlainFile(path, maxFileSize, &content)) {
        tell(CurveNotice::Warning, translate("Error Message", "Error opening %1 for reading.").arg(path));
        return false;
    }
    QBuffer file(&content);
    file.open(QIODevice::ReadOnly);
    QStringList lines;
    while (!file.atEnd()) {
        QByteArray line = file.readLine(maxLineLength);
        if (!line.endsWith('\n') && !file.atEnd()) {
            // An overlong line is no reading: its rest is skipped, not read as lines of its own.
            line.clear();
            while (!file.atEnd() && !file.readLine(maxLineLength).endsWith('\n')) { }
        }
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        lines << QString::fromLatin1(line);
    }
    return readLines(lines);
}

bool MeterFileImporter::readLines(const QStringList& lines)
{
    m_readings.clear();
    m_duplicateLines.clear();
    std::vector<std::string> fields;
    // A file saved by a spreadsheet or an editor may start with a byte-order mark.
    QString first = lines.isEmpty() ? QString() : lines.first();
    if (first.startsWith(QChar(0xFEFF)))
        first.remove(0, 1);
    else if (first.startsWith(QLatin1String("\xEF\xBB\xBF")))
        first.remove(0, 3);
    const bool headerRead
        = !lines.isEmpty() && splitLine(first.toStdString(), Separator("\\", ";,", "\""), &fields);
    const bool header = headerRead && fields.size() >= 8 && text(fields, 0) == QLatin1String("Index")
        && text(fields, 1) == QLatin1String("Irr") && text(fields, 2) == QLatin1String("Tpv")
        && text(fields, 4) == QLatin1String("Date") && text(fields, 5) == QLatin1String("Time")
        && text(fields, 6) == QLatin1String("Irr Unit") && text(fields, 7) == QLatin1String("Temp Unit");
    if (!header) {
        tell(CurveNotice::Critical, translate("Error Message", "Not a MT410 csv file"));
        return false;
    }
    // The meter writes its rows with the separator of its header, whatever the computer reading
    // the file uses; only a header that shows neither leaves it to the user's locale.
    const int semicolons = first.count(QLatin1Char(';'));
    const int commas = first.count(QLatin1Char(','));
    const char listSeparator = semicolons != commas
        ? (semicolons > commas ? ';' : ',')
        : (QLocale().decimalPoint() == QLatin1Char(',') ? ';' : ',');
    m_stopped = false;
    for (int n = 1; n < lines.size() && !m_stopped; ++n)
        readLine(lines.at(n).toStdString(), n + 1, listSeparator);
    return true;
}

bool MeterFileImporter::readLine(const std::string& line, int lineNumber, char listSeparator)
{
    std::vector<std::string> fields;
    if (!splitLine(line, Separator('\\', listSeparator, '"'), &fields) || fields.empty())
        return false;
    Reading reading;
    bool ok = false;
    const QString irradiance = text(fields, 1);
    const int irr = irradiance.toInt(&ok);
    // A negative irradiance is not a reading.
    if (irradiance != QLatin1String("ERR") && ok && irr >= 0) {
        reading.irradiance = uint(irr);
        reading.flags |= HasIrradiance;
    }
    const QString temperature = text(fields, 2);
    const int temp = temperature.toInt(&ok);
    if (temperature != QLatin1String("ERR") && ok) {
        reading.temperature = temp;
        reading.flags |= HasTemperature;
    }

    int day = 0, month = 0, year = 0, hours = 0, minutes = 0, seconds = 0;
    const QVector<QStringRef> date
        = text(fields, 4).splitRef(QRegularExpression(QStringLiteral("[.,/\\- ]")));
    if (date.size() > 0)
        day = date.at(0).toInt();
    if (date.size() > 1)
        month = date.at(1).toInt();
    // The meter writes two digits; a file passed through a spreadsheet may hold four.
    if (date.size() > 2) {
        const QStringRef yearText = date.at(2).trimmed();
        year = yearText.toInt();
        if (yearText.size() <= 2)
            year += 2000;
    }
    const QStringList time = text(fields, 5).split(QLatin1Char(':'));
    if (time.size() > 0)
        hours = time.at(0).toInt();
    if (time.size() > 1)
        minutes = time.at(1).toInt();
    if (time.size() > 2)
        seconds = time.at(2).toInt();
    const QDate readingDate(year, month, day);
    const QTime readingTime(hours, minutes, seconds);
    // A reading without a usable time cannot be matched to anything.
    if (!readingDate.isValid() || !readingTime.isValid())
        return false;

    if (text(fields, 6) != QLatin1String("W"))
        reading.irradiance = uint(double(reading.irradiance) * 0.29307107 * 10.7639);
    if (text(fields, 7) != QLatin1String("C"))
        reading.temperature = int((reading.temperature - 32) * 5.0 / 9.0);

    const qint64 key = timeKey(readingDate, readingTime);
    if (m_readings.count(key)) {
        m_duplicateLines.append(lineNumber);
        if (m_questions && m_questions->stopAtDuplicateTime(lineNumber))
            m_stopped = true;
        return false;
    }
    m_readings.emplace(key, reading);
    return true;
}

MeterFileImporter::Answer MeterFileImporter::askReplace(ImportQuestions::Value value, const QString& label)
{
    if (m_yesToAll)
        return Answer::Replace;
    if (!m_questions)
        return Answer::Keep;
    switch (m_questions->replaceValue(value, label)) {
    case ImportQuestions::Replace::YesToAll:
        m_yesToAll = true;
        return Answer::Replace;
    case ImportQuestions::Replace::Yes:
        return Answer::Replace;
    case ImportQuestions::Replace::No:
        break;
    }
    return Answer::Keep;
}

void MeterFileImporter::match(const QModelIndexList& selected)
{
    m_notFound.clear();
    m_stringCount = 0;
    m_updatedCount = 0;
    if (m_readings.empty()) {
        tell(CurveNotice::Warning, translate("Warning Message", "No data found in csv file"));
        return;
    }
    CurveTreeModel* tree = m_store.treeModel();
    CurveGraphModel* graph = m_store.graphModel();
    if (!tree || !graph)
        return;
    // A selected folder stands for the strings beneath it, as on the graph; each string once.
    QVector<TreeItem*> nodes;
    QSet<TreeItem*> taken;
    for (const QModelIndex& index : selected) {
        TreeItem* top = tree->itemFromIndex(index.sibling(index.row(), 0));
        if (!top || top == tree->rootItem())
            continue;
        QVector<TreeItem*> work { top };
        while (!work.isEmpty()) {
            TreeItem* item = work.takeLast();
            if (item->data(TreeCurveID).toUInt() != 0 && !taken.contains(item)) {
                taken.insert(item);
                nodes.append(item);
            }
            for (int i = item->childCount() - 1; i >= 0; --i)
                work.append(item->child(i));
        }
    }
    // One transaction for all strings: a commit of its own for each would wait for the disk
    // thousands of times. The graph draws the changed strings once, at the end.
    InsertBatch batch(m_store.database());
    QSqlQuery statusQuery(m_store.database());
    statusQuery.prepare(QStringLiteral("UPDATE TreeNodes SET Status = ? WHERE NodeID = ?"));
    QVector<uint> changed;
    int done = 0;
    m_cancelled = false;
    for (TreeItem* node : qAsConst(nodes)) {
        if (m_progress && !m_progress(done++, nodes.size())) {
            m_cancelled = true;
            break;
        }
        const uint curveID = node->data(TreeCurveID).toUInt();
        const QString label = node->data(TreeLabel).toString();
        const QString testDate = node->data(TreeTestDate).toString();
        const QDateTime tested = TestDate::parse(testDate);
        auto found = m_readings.end();
        // A test whose time is unknown matches no reading: midnight is not when it was made.
        if (tested.isValid() && TestDate::hasTime(testDate)) {
            const qint64 key = timeKey(tested.date(), tested.time());
            found = m_readings.lower_bound(key);
            if (found != m_readings.end() && found->first - key >= 20)
                found = m_readings.end();
        }
        if (found == m_readings.end()) {
            m_notFound << label;
            continue;
        }
        const Reading& reading = found->second;
        CurveRecord* record = graph->cache(curveID);
        quint32 status = node->data(TreeStatus).toUInt();
        bool replaced = false;
        if (reading.flags & HasIrradiance) {
            const bool shown = !node->data(TreeIrradiance).toString().isEmpty();
            if (!shown || askReplace(ImportQuestions::Value::Irradiance, label) == Answer::Replace) {
                const QString value = QString::number(reading.irradiance);
                node->setData(TreeIrradiance, value);
                status &= ~quint32(StatusNoIrradiance);
                if (record)
                    record->setValue(CurveRecord::Irradiance, value);
                replaced = true;
            }
        }
        if (reading.flags & HasTemperature) {
            const bool shown = !node->data(TreeCellTemp).toString().isEmpty();
            if (!shown || askReplace(ImportQuestions::Value::Temperature, label) == Answer::Replace) {
                const QString value = QString::number(reading.temperature);
                node->setData(TreeCellTemp, value);
                status &= ~quint32(StatusNoCellTemperature);
                if (record)
                    record->setValue(CurveRecord::CellTemp, value);
                replaced = true;
            }
        }
        if (!replaced) {
            m_notFound << label;
            continue;
        }
        node->setData(TreeStatus, status);
        statusQuery.addBindValue(status);
        statusQuery.addBindValue(node->data(TreeNodeID));
        statusQuery.exec();
        if (record) {
            graph->updateDetails(curveID);
            record->invalidateTranslations();
        }
        tree->refreshRow(node);
        changed.append(curveID);
    }
    batch.commit();
    m_stringCount = nodes.size();
    m_updatedCount = changed.size();
    if (m_progress && !m_cancelled)
        m_progress(nodes.size(), nodes.size());
    for (uint curveID : qAsConst(changed)) {
        emit graph->signalStringDeselected(curveID);
        emit graph->signalStringSelected(curveID);
    }
    // The lines drawn again take their strings' places in the legend.
    if (!changed.isEmpty())
        emit graph->signalUpdateLegend(graph->selectionLabels());
    if (m_cancelled) {
        tell(CurveNotice::Information,
            translate("Informative Message",
                "Irradiance and temperature import cancelled: %1 of %2 strings updated, the others left as "
                "they were.")
                .arg(changed.size())
                .arg(nodes.size()));
        return;
    }
    QString message = translate("Informative Message", "Irradiance and temperature import complete.");
    if (!m_notFound.isEmpty())
        message = translate("Informative Message", "Irradiance and temperature import complete.\n %1")
                      .arg(translate("Informative Message", "No match found for ")
                          + m_notFound.join(QStringLiteral(", ")));
    tell(CurveNotice::Information, message);
}

} // namespace IVCurve
