#include "ResultsImport.h"

#include "CsvResultsModel.h"
#include "DialogImportResults.h"
#include "GraphicalReportDocument.h"
#include "Prompts.h"
#include "ReportText.h"
#include "ResultsColumnMap.h"
#include "SettingsKeys.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QWidget>

#include <algorithm>
#include <exception>

ResultsImport::ResultsImport(QWidget* dialogParent, TargetFinder target, QObject* parent)
    : QObject(parent)
    , m_dialogParent(dialogParent)
    , m_target(std::move(target))
    , m_dialog(new DialogImportResults(dialogParent))
{
    connect(m_dialog, &DialogImportResults::importRow, this, &ResultsImport::importRows);
}

void ResultsImport::chooseFile()
{
    try {
        QSettings settings;
        const QString start
            = settings.value(SettingsKeys::lastImportDir(), settings.value(SettingsKeys::rootDir()))
                  .toString();
        const QString path = Prompts::instance().openFileName(m_dialogParent,
            QCoreApplication::translate("File Open Dialog", "Import CSV File"), start,
            QCoreApplication::translate("File Open Dialog", "CSV Files (*.csv)"));
        if (!path.isEmpty())
            importFile(path, nullptr);
    } catch (const std::exception& e) {
        Prompts::show(QMessageBox::Critical, m_dialogParent,
            QCoreApplication::translate("Error Message", "Exception thrown in MainWindow::import(): ")
                + QString::fromLocal8Bit(e.what()));
    } catch (...) {
        Prompts::show(QMessageBox::Critical, m_dialogParent,
            QCoreApplication::translate("Error Message",
                "An unknown exception has been thrown by the MainWindow::import() function"));
    }
}

QString ResultsImport::whyUnreadable(const QString& path, const QByteArray& start)
{
    // A tester writes 8-bit text; zero bytes or a UTF-16 byte order mark mean the file was saved
    // again as UTF-16 text (spreadsheets call it "Unicode text"), which would read as garbage.
    if (start.startsWith("\xff\xfe") || start.startsWith("\xfe\xff") || start.contains('\0'))
        return QCoreApplication::translate("Error Message",
            "\"%1\" is saved as UTF-16 text, which is not a tester's results file. Save it as UTF-8 "
            "or plain text and import it again.")
            .arg(path);
    return QString();
}

QString ResultsImport::whyNoResults(const QString& path, const QStringList& headers)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray start = file.read(4096);
    if (start.isEmpty())
        return QCoreApplication::translate("Error Message", "\"%1\" is empty: it holds no test results.")
            .arg(path);
    const QString wide = whyUnreadable(path, start);
    if (!wide.isEmpty())
        return wide;
    const bool noNames = std::all_of(
        headers.cbegin(), headers.cend(), [](const QString& header) { return header.isEmpty(); });
    if (noNames)
        return QCoreApplication::translate(
            "Error Message", "\"%1\" has no line of column names: it is not a tester's results file.")
            .arg(path);
    return QCoreApplication::translate(
        "Error Message", "\"%1\" holds only its header lines: there are no test results in it.")
        .arg(path);
}

bool ResultsImport::importFile(const QString& path, GraphicalReportDocument* into)
{
    const QString problem = CsvResultsModel::fileProblem(path);
    if (!problem.isEmpty()) {
        Prompts::show(QMessageBox::Warning, m_dialogParent,
            QCoreApplication::translate("Error Message", "Error opening %1 for reading.").arg(path), problem);
        m_dialog->hide();
        return false;
    }
    QFile sniff(path);
    if (sniff.open(QIODevice::ReadOnly)) {
        const QString unreadable = whyUnreadable(path, sniff.read(4096));
        if (!unreadable.isEmpty()) {
            Prompts::show(QMessageBox::Warning, m_dialogParent, unreadable);
            m_dialog->hide();
            return false;
        }
    }
    if (!m_dialog->load(path))
        return false;
    const CsvResultsModel* model = m_dialog->model();
    if (model->rowCount() == 0) {
        const QString reason = whyNoResults(path, model->headers());
        Prompts::show(QMessageBox::Warning, m_dialogParent,
            reason.isEmpty()
                ? QCoreApplication::translate("Error Message", "No test results were found in %1.").arg(path)
                : reason);
        m_dialog->hide();
        return false;
    }
    QSettings().setValue(SettingsKeys::lastImportDir(), path);
    m_into = into;
    m_hasOwnReport = into != nullptr;
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
    return true;
}

void ResultsImport::importRows(const QModelIndexList& indexes)
{
    // A report's own download goes into that report; once it is closed, into none.
    GraphicalReportDocument* report = m_hasOwnReport ? m_into.data() : m_target ? m_target() : nullptr;
    if (!report)
        return;
    ResultsColumnMap map(report->scene(), m_dialog->model());
    switch (map.importRows(indexes)) {
    case ResultsColumnMap::InvalidRow: {
        QStringList texts;
        for (const QModelIndex& index : indexes)
            texts << index.data().toString();
        Prompts::show(QMessageBox::Critical, m_dialogParent,
            QCoreApplication::translate("Error Message", "Programming error: Invalid row: %1")
                .arg(texts.join(QStringLiteral(", "))));
        break;
    }
    case ResultsColumnMap::NoPlaceToInsert:
        if (QFileInfo(report->filePath()).suffix().toLower() == QLatin1String("kstatr"))
            Prompts::show(QMessageBox::Warning, m_dialogParent,
                QCoreApplication::translate("Troubleshoot advice",
                    "You are attempting to insert data into an older version of the Array Test Report "
                    "document. \t\t\t\t\t\t\t\t   Please create a new Array Test Report if you would like "
                    "to import data into it. \t\t\t\t\t\t\t\t   You may need to restore the Array Test "
                    "Document in the favourites settings if the favourite \t\t\t\t\t\t\t\t   was created "
                    "using an earlier version of the program."));
        else
            Prompts::show(QMessageBox::Warning, m_dialogParent,
                QCoreApplication::translate("Troubleshoot advice",
                    "Unable to find where to insert data. Please ensure an Array "
                    "Test Report has focus before inserting the data."));
        break;
    case ResultsColumnMap::TableFull:
        Prompts::show(QMessageBox::Warning, m_dialogParent,
            QCoreApplication::translate("Troubleshoot advice",
                "No more room left in the report table. Please use another Array Test Report."));
        break;
    case ResultsColumnMap::Imported:
        // The notice typing into a full field gives, where the user works on.
        if (map.shortenedFields())
            report->showInputCut();
        break;
    }
}
