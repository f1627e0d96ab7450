#include "FindInFiles.h"

#include "Folders.h"
#include "FoundFilesModel.h"
#include "Prompts.h"
#include "SearchThread.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
QGroupBox* makeGroup(const char* objectName, const QString& title, bool checked, QWidget* parent)
{
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(QLatin1String(objectName));
    group->setCheckable(true);
    group->setChecked(checked);
    return group;
}

QDateEdit* makeDateEdit(const char* objectName, QWidget* parent)
{
    auto* edit = new QDateEdit(QDate::currentDate(), parent);
    edit->setObjectName(QLatin1String(objectName));
    edit->setCalendarPopup(true);
    return edit;
}
} // namespace

FindInFiles::FindInFiles(QWidget* parent)
    : QFrame(parent)
{
    m_model = new FoundFilesModel(this);
    connect(m_model, &FoundFilesModel::searchFinished, this, &FindInFiles::searchFinished);
    buildForm();
}

FindInFiles::~FindInFiles()
{
    // A walk may still be reading; it ends at its next entry and is waited for here.
    if (m_thread)
        m_retiring.append(m_thread);
    m_thread = nullptr;
    for (SearchThread* thread : qAsConst(m_retiring)) {
        thread->requestStop();
        thread->disconnect(this);
    }
    for (SearchThread* thread : qAsConst(m_retiring)) {
        thread->wait();
        delete thread;
    }
}

void FindInFiles::buildForm()
{
    setWindowTitle(tr("Find in Files"));
    auto* layout = new QVBoxLayout(this);

    auto* intro = new QLabel(tr("Search by any or all of the criteria below."), this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    m_fileSearchGroup = makeGroup("fileSearchGroup", tr("File search"), true, this);
    auto* fileLayout = new QVBoxLayout(m_fileSearchGroup);
    fileLayout->addWidget(new QLabel(tr("All or part of the file name:"), m_fileSearchGroup));
    m_fileEdit = new QLineEdit(m_fileSearchGroup);
    m_fileEdit->setObjectName(QStringLiteral("fileEdit"));
    fileLayout->addWidget(m_fileEdit);
    m_fileSearchCsCheck = new QCheckBox(tr("Case sensitive"), m_fileSearchGroup);
    m_fileSearchCsCheck->setObjectName(QStringLiteral("fileSearchCsCheck"));
    fileLayout->addWidget(m_fileSearchCsCheck);
    layout->addWidget(m_fileSearchGroup);

    m_wordSearchGroup = makeGroup("wordSearchGroup", tr("Word / Phrase Search"), false, this);
    auto* wordLayout = new QVBoxLayout(m_wordSearchGroup);
    wordLayout->addWidget(new QLabel(tr("A word or phrase in the reports:"), m_wordSearchGroup));
    m_wordEdit = new QLineEdit(m_wordSearchGroup);
    m_wordEdit->setObjectName(QStringLiteral("wordEdit"));
    wordLayout->addWidget(m_wordEdit);
    m_wordSearchCsCheck = new QCheckBox(tr("Case sensitive"), m_wordSearchGroup);
    m_wordSearchCsCheck->setObjectName(QStringLiteral("wordSearchCsCheck"));
    wordLayout->addWidget(m_wordSearchCsCheck);
    layout->addWidget(m_wordSearchGroup);

    m_dateGroup = makeGroup("dateGroup", tr("Date"), false, this);
    auto* dateLayout = new QFormLayout(m_dateGroup);
    m_dateCombo = new QComboBox(m_dateGroup);
    m_dateCombo->setObjectName(QStringLiteral("dateCombo"));
    m_dateCombo->addItem(tr("Created Date"), int(SearchCriteria::CreatedDate));
    m_dateCombo->addItem(tr("Modified Date"), int(SearchCriteria::ModifiedDate));
    m_dateCombo->addItem(tr("Accessed Date"), int(SearchCriteria::AccessedDate));
    m_dateCombo->setCurrentIndex(1);
    dateLayout->addRow(m_dateCombo);
    m_dateFromEdit = makeDateEdit("dateFromEdit", m_dateGroup);
    dateLayout->addRow(tr("from"), m_dateFromEdit);
    m_dateToEdit = makeDateEdit("dateToEdit", m_dateGroup);
    dateLayout->addRow(tr("to"), m_dateToEdit);
    layout->addWidget(m_dateGroup);

    m_fileSizeGroup = makeGroup("fileSizeGroup", tr("File Size"), false, this);
    auto* sizeLayout = new QHBoxLayout(m_fileSizeGroup);
    m_fileSizeCombo = new QComboBox(m_fileSizeGroup);
    m_fileSizeCombo->setObjectName(QStringLiteral("fileSizeCombo"));
    m_fileSizeCombo->addItem(tr("greater than"), int(SearchCriteria::GreaterThan));
    m_fileSizeCombo->addItem(tr("less than"), int(SearchCriteria::LessThan));
    sizeLayout->addWidget(m_fileSizeCombo);
    m_fileSizeSpin = new QSpinBox(m_fileSizeGroup);
    m_fileSizeSpin->setObjectName(QStringLiteral("fileSizeSpin"));
    m_fileSizeSpin->setSuffix(tr(" KB"));
    m_fileSizeSpin->setRange(0, 4194303);
    sizeLayout->addWidget(m_fileSizeSpin, 1);
    layout->addWidget(m_fileSizeGroup);

    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setValue(0);
    m_progressBar->hide();
    layout->addWidget(m_progressBar);
    layout->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_stopButton = new QPushButton(tr("Stop"), this);
    m_stopButton->setObjectName(QStringLiteral("stopButton"));
    m_stopButton->hide();
    buttons->addWidget(m_stopButton);
    m_searchButton = new QPushButton(tr("Search"), this);
    m_searchButton->setObjectName(QStringLiteral("searchButton"));
    m_searchButton->setDefault(true);
    buttons->addWidget(m_searchButton);
    layout->addLayout(buttons);

    connect(m_searchButton, &QPushButton::clicked, this, &FindInFiles::search);
    connect(m_stopButton, &QPushButton::clicked, this, &FindInFiles::stop);
}

SearchCriteria FindInFiles::criteria() const
{
    SearchCriteria criteria;
    criteria.namePattern
        = SearchCriteria::nameMask(m_fileSearchGroup->isChecked() ? m_fileEdit->text() : QString());
    criteria.nameCaseSensitive = m_fileSearchCsCheck->isChecked();
    criteria.dateEnabled = m_dateGroup->isChecked();
    criteria.dateKind = SearchCriteria::DateKind(m_dateCombo->currentData().toInt());
    criteria.dateFrom = m_dateFromEdit->date();
    criteria.dateTo = m_dateToEdit->date();
    criteria.sizeEnabled = m_fileSizeGroup->isChecked();
    criteria.sizeRule = SearchCriteria::SizeRule(m_fileSizeCombo->currentData().toInt());
    criteria.sizeKB = m_fileSizeSpin->value();
    if (m_wordSearchGroup->isChecked())
        criteria.wordPattern = SearchCriteria::wordMask(m_wordEdit->text());
    criteria.wordCaseSensitive = m_wordSearchCsCheck->isChecked();
    return criteria;
}

void FindInFiles::search()
{
    // A new search replaces a running one; nothing of the old walk reaches the new list.
    retireThread();
    m_stop = false;

    const QString root = Folders::instance()->projectsFolder();
    // A folder that went away (a drive unplugged, a share not mounted) holds nothing, but the
    // no-results row alone would say the search looked there.
    if (!QFileInfo(root).isDir()) {
        Prompts::show(Prompt::Warning, this,
            QCoreApplication::translate("Error Message", "Could not find the projects root directory: %1")
                .arg(root));
    }

    emit searchStarted();
    m_searchButton->hide();
    m_stopButton->show();
    m_model->setRootFolder(QDir::cleanPath(root));
    m_model->clear();

    m_thread = new SearchThread(root, criteria());
    connect(m_thread, &SearchThread::hitsAvailable, this, &FindInFiles::takeHits);
    connect(m_thread, &SearchThread::walkFinished, this, &FindInFiles::walkFinished);
    m_thread->start();
}

void FindInFiles::stop()
{
    m_stop = true;
    if (m_thread)
        m_thread->requestStop();
}

void FindInFiles::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        search();
        return;
    }
    QFrame::keyPressEvent(event);
}

void FindInFiles::takeHits()
{
    if (m_thread && sender() == m_thread)
        m_model->add(m_thread->takeHits());
}

void FindInFiles::walkFinished()
{
    if (!m_thread || sender() != m_thread)
        return;
    m_thread->wait();
    // Hits put aside after the last notice was taken.
    m_model->add(m_thread->takeHits());
    delete m_thread;
    m_thread = nullptr;

    m_searchButton->show();
    m_stopButton->hide();
    m_stop = false;
    // The search has finished for the user once its last hits are listed (FoundFilesModel
    // emits searchFinished then).
    m_model->finish();
}

void FindInFiles::retireThread()
{
    if (!m_thread)
        return;
    SearchThread* thread = m_thread;
    m_thread = nullptr;
    thread->requestStop();
    disconnect(thread, &SearchThread::hitsAvailable, this, &FindInFiles::takeHits);
    disconnect(thread, &SearchThread::walkFinished, this, &FindInFiles::walkFinished);
    m_retiring.append(thread);
    connect(thread, &QThread::finished, this, [this, thread] {
        m_retiring.removeOne(thread);
        thread->deleteLater();
    });
}
