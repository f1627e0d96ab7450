#pragma once

#include "CurveNotice.h"

#include <QByteArray>
#include <QChar>
#include <QHash>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

class QIODevice;

namespace IVCurve {

class CurveRecord;
class CurveStore;
class ImportQuestions;
class TreeItem;

// Brings a tester's curve file into a curve document: one string node per data line, under a
// new top-level folder named after the file. Needs no window: the decisions it needs while it
// reads come from the questions it is given, what it has to tell is collected as notices for
// the caller to show, and long imports report their progress through a callback that may
// cancel them.
class TesterFileImporter
{
public:
    // Called now and then with the lines done and the lines in all; false cancels the import,
    // keeping the strings imported so far.
    using Progress = std::function<bool(int done, int total)>;

    // Without questions, nobody is asked: checksum failures are only counted.
    explicit TesterFileImporter(CurveStore& store, ImportQuestions* questions = nullptr);

    void setProgress(const Progress& progress) { m_progress = progress; }

    // Reads the file and imports it; false (with a notice saying why) when it cannot be read or
    // is not a tester's file.
    bool importFile(const QString& path);
    // Imports the content of a tester file under a new folder with the label; the folder, or
    // null (with a notice saying why, and adding nothing) when the content is not a tester's
    // file.
    TreeItem* importData(const QByteArray& content, const QString& folderLabel);
    // Why the last file was refused; empty when it was not.
    QString refusal() const { return m_refusal; }
    // File lines (from 1) of the last import whose checksum failed, in the order they were
    // imported (from the end of the file back).
    QVector<int> checksumFailures() const { return m_checksumFailures; }
    // Whether the last import found the trailing separators of a spreadsheet (no checksums
    // are checked then).
    bool spreadsheetModified() const { return m_spreadsheetModified; }

    // What there is to tell since the last call, in order; the caller shows it.
    QVector<CurveNotice> takeNotices();

    // The file's own list separator and decimal mark once a file was read; before, those of
    // the user's locale.
    QChar separator() const { return m_separator; }
    QChar decimal() const { return m_decimal; }
    int importedCount() const { return m_imported; }
    bool wasCancelled() const { return m_cancelled; }

    // Whether the checksum at the end of a line matches the characters before it.
    static bool checksumMatches(const QString& line, QChar separator, QChar decimal);
    // Removes the points where the translated current dips (a shadow passing, a cloud edge),
    // for files whose points carry their own irradiance. Each round translates the whole curve
    // again and may remove only a few points, so the rounds stop once they have translated
    // maxDipRemovalWork points, or the budget's points when one is given (it is reduced by the
    // points translated): a tester's curves need a small part of that, while a curve of tens of
    // thousands of points shaped to lose two points a round would hold the window for minutes.
    static void removeDips(CurveRecord& record, qint64* budget = nullptr);
    static constexpr qint64 maxDipRemovalWork = qint64(1) << 22;
    // What the dip removal of one import may translate in all.
    static constexpr qint64 maxImportDipRemovalWork = qint64(1) << 28;

    // The longest line read: a curve of the most points kept, written out generously. A longer
    // line refuses the file as soon as it is met, before it is held whole.
    static constexpr int maxLineLength = 4 << 20;

private:
    // Splits the content into lines at "\r*\n" with every byte masked to 7 bits, stopping at the
    // first line over the limit; false with the reason then.
    bool readLines(QIODevice& device, QVector<QByteArray>* lines);
    // Takes the list separator and decimal mark from the column line; false when it names no
    // column a tester writes.
    bool detectSeparator(const QByteArray& columnLine);
    TreeItem* importLines(QVector<QByteArray>& lines, const QString& folderLabel);
    void refuse(const QString& fileName, const QString& reason);
    void tell(CurveNotice::Kind kind, const QString& text, const QString& details = QString());
    void parseHeader(const QStringList& lines);
    QString field(const QStringList& fields, const QString& column) const;
    QString userText(const QString& fileText) const;
    void importLine(const QString& line, int lineNumber, TreeItem* folder);
    void noteChecksumFailure(int lineNumber);

    CurveStore& m_store;
    ImportQuestions* m_questions;
    Progress m_progress;
    QChar m_separator;
    QChar m_decimal;
    // Reads the numbers of the file being imported.
    QLocale m_locale;
    bool m_spreadsheetModified = false;
    bool m_showChecksumErrors = true;
    bool m_cancelled = false;
    qint64 m_dipRemovalBudget = maxImportDipRemovalWork;
    int m_imported = 0;
    QString m_serialNumber;
    uint m_fileVersion = 0;
    QHash<QString, int> m_columns;
    QString m_refusal;
    int m_refusedLine = 0;
    QVector<int> m_checksumFailures;
    QVector<CurveNotice> m_notices;
};

} // namespace IVCurve
