#pragma once

#include "SearchCriteria.h"

#include <QFrame>
#include <QList>

class FoundFilesModel;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class SearchThread;

// The "Document Search" panel: finds files and folders below the projects folder by name, date,
// size and words inside reports. The walk runs on a worker thread; hits reach the result model
// here, on the GUI thread, while it runs. searchStarted comes before the first hit and
// searchFinished after the last; Stop ends the walk and keeps what was found.
class FindInFiles : public QFrame
{
    Q_OBJECT
public:
    explicit FindInFiles(QWidget* parent = nullptr);
    ~FindInFiles() override;

    FoundFilesModel* model() const { return m_model; }
    bool isSearching() const { return m_thread != nullptr; }
    // The criteria the form describes now.
    SearchCriteria criteria() const;

signals:
    void searchStarted();
    void searchFinished();

public slots:
    void search();
    void stop();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void takeHits();
    void walkFinished();

private:
    void buildForm();
    // Ends a running walk without waiting for it: its late hits are ignored, and the thread
    // object goes away once the walk has ended.
    void retireThread();

    QGroupBox* m_fileSearchGroup = nullptr;
    QLineEdit* m_fileEdit = nullptr;
    QCheckBox* m_fileSearchCsCheck = nullptr;
    QGroupBox* m_wordSearchGroup = nullptr;
    QLineEdit* m_wordEdit = nullptr;
    QCheckBox* m_wordSearchCsCheck = nullptr;
    QGroupBox* m_dateGroup = nullptr;
    QComboBox* m_dateCombo = nullptr;
    QDateEdit* m_dateFromEdit = nullptr;
    QDateEdit* m_dateToEdit = nullptr;
    QGroupBox* m_fileSizeGroup = nullptr;
    QComboBox* m_fileSizeCombo = nullptr;
    QSpinBox* m_fileSizeSpin = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QPushButton* m_stopButton = nullptr;
    QPushButton* m_searchButton = nullptr;

    FoundFilesModel* m_model = nullptr;
    SearchThread* m_thread = nullptr;
    // Walks abandoned by Stop or by a new search that have not ended yet.
    QList<SearchThread*> m_retiring;
    bool m_stop = false;
};
