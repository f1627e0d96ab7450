#pragma once

#include "CurveNotice.h"
#include "ImportQuestions.h"

#include <QModelIndexList>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <map>

namespace IVCurve {

class CurveStore;

// Brings the irradiance and temperature readings of a survey meter's CSV file into the strings
// selected in a curve document, matched by time. Needs no window: the decisions it needs while
// it reads come from the questions it is given, and what it has to tell is collected as
// notices (errors first, then the summary) for the caller to show.
class MeterFileImporter
{
public:
    enum Flag { HasIrradiance = 1, HasTemperature = 2 };
    struct Reading
    {
        uint irradiance = 0;
        int temperature = 0;
        int flags = 0;
    };
    // Readings by their wall-clock time in seconds.
    using Readings = std::map<qint64, Reading>;

    // Called before each string with the strings done and the strings in all, and once at the
    // end; false cancels, keeping the strings updated so far.
    using Progress = std::function<bool(int done, int total)>;

    // Without questions, nobody is asked: reading goes on past a repeated time and no value a
    // string shows is replaced.
    explicit MeterFileImporter(CurveStore& store, ImportQuestions* questions = nullptr);

    void setProgress(const Progress& progress) { m_progress = progress; }
    bool wasCancelled() const { return m_cancelled; }

    // The whole import: reads the file and fills the selected strings (column-0 indexes).
    void importFile(const QString& path, const QModelIndexList& selected);

    // Reads the file into the readings; false when it is not a meter file or cannot be read.
    bool readFile(const QString& path);
    bool readLines(const QStringList& lines);
    const Readings& readings() const { return m_readings; }
    // File lines (from 1) whose time was read before, in file order, as far as reading went.
    QVector<int> duplicateLines() const { return m_duplicateLines; }
    // Matches the readings to the selected strings, asking before values are replaced, and
    // reports what was found.
    void match(const QModelIndexList& selected);
    QStringList notFound() const { return m_notFound; }
    // Strings the last match took in, and how many of them it changed.
    int stringCount() const { return m_stringCount; }
    int updatedCount() const { return m_updatedCount; }

    // What there is to tell since the last call, in order; the caller shows it.
    QVector<CurveNotice> takeNotices();

    // The key of a wall-clock date and time.
    static qint64 timeKey(const QDate& date, const QTime& time);

private:
    enum class Answer { Replace, Keep };
    Answer askReplace(ImportQuestions::Value value, const QString& label);
    bool readLine(const std::string& line, int lineNumber, char listSeparator);
    void tell(CurveNotice::Kind kind, const QString& text);

    CurveStore& m_store;
    ImportQuestions* m_questions;
    Readings m_readings;
    QVector<int> m_duplicateLines;
    QStringList m_notFound;
    int m_stringCount = 0;
    int m_updatedCount = 0;
    QVector<CurveNotice> m_notices;
    bool m_yesToAll = false;
    bool m_stopped = false;
    bool m_cancelled = false;
    Progress m_progress;
};

} // namespace IVCurve
