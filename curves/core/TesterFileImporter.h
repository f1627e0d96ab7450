#pragma once

#include <QByteArray>
#include <QChar>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace IVCurve {

class CurveRecord;
class CurveStore;
class TreeItem;

// Brings a tester's curve file into a curve document: one string node per data line, under a
// new top-level folder named after the file. Needs no window: questions go through the prompts
// seam, and long imports report their progress through a callback that may cancel them.
class TesterFileImporter
{
public:
    // Called now and then with the lines done and the lines in all; false cancels the import,
    // keeping the strings imported so far.
    using Progress = std::function<bool(int done, int total)>;

    TesterFileImporter(CurveStore& store, QWidget* dialogParent = nullptr);

    void setProgress(const Progress& progress) { m_progress = progress; }

    // Reads the file and imports it; false (after a warning) when it cannot be read.
    bool importFile(const QString& path);
    // Imports the content of a tester file under a new folder with the label; the folder.
    TreeItem* importData(const QByteArray& content, const QString& folderLabel);

    QChar separator() const { return m_separator; }
    QChar decimal() const { return m_decimal; }
    int importedCount() const { return m_imported; }
    bool wasCancelled() const { return m_cancelled; }

    // Whether the checksum at the end of a line matches the characters before it.
    static bool checksumMatches(const QString& line, QChar separator, QChar decimal);
    // Removes the points where the translated current dips (a shadow passing, a cloud edge),
    // for files whose points carry their own irradiance.
    static void removeDips(CurveRecord& record);

private:
    void parseHeader(const QStringList& lines);
    QString field(const QStringList& fields, const QString& column) const;
    void importLine(const QString& line, int lineNumber, TreeItem* folder);
    bool checksumReported(int lineNumber);

    CurveStore& m_store;
    QWidget* m_dialogParent;
    Progress m_progress;
    QChar m_separator;
    QChar m_decimal;
    bool m_spreadsheetModified = false;
    bool m_showChecksumErrors = true;
    bool m_cancelled = false;
    int m_imported = 0;
    QString m_serialNumber;
    uint m_fileVersion = 0;
    QHash<QString, int> m_columns;
};

} // namespace IVCurve
