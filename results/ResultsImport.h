#pragma once

#include <QModelIndexList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

class DialogImportResults;
class GraphicalReportDocument;
class QWidget;

// The import of a tester's results into a report, from choosing the file to the messages about
// rows that found no place: it owns the non-modal import dialog and puts the rows the user picks
// into the report the owner names as the target (the active one, for the main window).
class ResultsImport : public QObject
{
    Q_OBJECT
public:
    using TargetFinder = std::function<GraphicalReportDocument*()>;

    ResultsImport(QWidget* dialogParent, TargetFinder target, QObject* parent = nullptr);

    DialogImportResults* dialog() const { return m_dialog; }

    // Asks for a results file (starting where the last import was) and imports it.
    void chooseFile();
    // Shows a results file in the import dialog; false, after telling the user why, when the
    // file cannot be read or holds no results. With a report given (the one whose download
    // brought the file), the rows go into that report rather than the owner's target.
    bool importFile(const QString& path, GraphicalReportDocument* into = nullptr);
    // Puts the given rows of the dialog's list into the target report.
    void importRows(const QModelIndexList& indexes);

    // Why a file that was read holds no results (empty, only header lines, UTF-16 text), or
    // empty when it does hold some.
    static QString whyNoResults(const QString& path, const QStringList& headers);

private:
    // Why a file cannot be read as a results file at all (UTF-16 text), judged by its start.
    static QString whyUnreadable(const QString& path, const QByteArray& start);

    QPointer<QWidget> m_dialogParent;
    TargetFinder m_target;
    // The report the shown file belongs to, while one does; null for the owner's target.
    QPointer<GraphicalReportDocument> m_into;
    bool m_hasOwnReport = false;
    DialogImportResults* m_dialog;
};
