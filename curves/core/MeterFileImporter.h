#pragma once

#include <QModelIndexList>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>

class QWidget;

namespace IVCurve {

class CurveStore;

// Brings the irradiance and temperature readings of a survey meter's CSV file into the strings
// selected in a curve document, matched by time. Needs no window: questions go through the
// prompts seam.
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

    MeterFileImporter(CurveStore& store, QWidget* dialogParent = nullptr);

    void setProgress(const Progress& progress) { m_progress = progress; }
    bool wasCancelled() const { return m_cancelled; }

    // The whole import: reads the file and fills the selected strings (column-0 indexes).
    void importFile(const QString& path, const QModelIndexList& selected);

    // Reads the file into the readings; false when it is not a meter file or cannot be read.
    bool readFile(const QString& path);
    bool readLines(const QStringList& lines);
    const Readings& readings() const { return m_readings; }
    // Matches the readings to the selected strings, asking before values are replaced, and
    // reports what was found.
    void match(const QModelIndexList& selected);
    QStringList notFound() const { return m_notFound; }

    // The key of a wall-clock date and time.
    static qint64 timeKey(const QDate& date, const QTime& time);

private:
    enum class Answer { Replace, Keep };
    Answer askReplace(const QString& question);
    bool readLine(const std::string& line, char listSeparator);

    CurveStore& m_store;
    QWidget* m_dialogParent;
    Readings m_readings;
    QStringList m_notFound;
    bool m_yesToAll = false;
    bool m_stopped = false;
    bool m_cancelled = false;
    Progress m_progress;
};

} // namespace IVCurve
