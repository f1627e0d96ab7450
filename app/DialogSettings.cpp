#include "DialogSettings.h"

#include "DocumentFactory.h"
#include "Folders.h"
#include "LanguageChoice.h"
#include "Prompts.h"
#include "SettingsKeys.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
// A favourite can be restored when it exists and differs from the built-in template.
bool favouriteDiffers(const QString& suffix)
{
    QFile favourite(Folders::instance()->favouriteTemplatePath(suffix));
    QFile builtIn(Folders::builtInTemplatePath(suffix));
    if (!favourite.open(QIODevice::ReadOnly) || !builtIn.open(QIODevice::ReadOnly))
        return false;
    return favourite.readAll() != builtIn.readAll();
}
} // namespace

DialogSettings::DialogSettings(QWidget* parent)
    : QDialog(parent)
    , m_projectsRootDir(new QLineEdit(this))
{
    setObjectName(QStringLiteral("DialogSettings"));
    setWindowTitle(tr("Settings"));
    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabWidget"));

    auto* projectsTab = new QWidget(tabs);
    auto* projectsLayout = new QGridLayout(projectsTab);
    projectsLayout->addWidget(new QLabel(tr("The root directory of all projects:"), projectsTab), 0, 0, 1, 2);
    m_projectsRootDir->setObjectName(QStringLiteral("projectsRootDir"));
    m_projectsRootDir->setMinimumWidth(360);
    auto* browse = new QPushButton(tr("Browse..."), projectsTab);
    browse->setObjectName(QStringLiteral("browseProjectsRootButton"));
    projectsLayout->addWidget(m_projectsRootDir, 1, 0);
    projectsLayout->addWidget(browse, 1, 1);
    projectsLayout->setRowStretch(2, 1);
    tabs->addTab(projectsTab, tr("Projects Directory"));

    auto* favouritesTab = new QWidget(tabs);
    auto* favouritesLayout = new QGridLayout(favouritesTab);
    auto* explanation
        = new QLabel(tr("If a favourite has been saved for a particular report type, then this will be used "
                        "when creating a new "
                        "report. Use the buttons below to restore the reports to their defaults."),
            favouritesTab);
    explanation->setWordWrap(true);
    favouritesLayout->addWidget(explanation, 0, 0, 1, 2);
    struct FavouriteKind
    {
        const char* button;
        QString text;
        const char* icon;
        const char* comment;
        const char* suffix;
        void (DialogSettings::*slot)();
    };
    const FavouriteKind kinds[] = {
        { "restoreIRbutton", tr("Restore Inspection Report"), "inspection", "restoreIRcomment", "kstir",
            &DialogSettings::restoreIR },
        { "restoreATRbutton", tr("Restore PV Array Test Report"), "report", "restoreATRcomment", "kstatr",
            &DialogSettings::restoreATR },
        { "restoreVCbutton", tr("Restore Vertification Certificate"), "certificate", "restoreVCcomment",
            "kstvc", &DialogSettings::restoreVC },
        { "restoreCHKbutton", tr("Restore Checklist"), "checklist", "restoreCHKcomment", "kstchk",
            &DialogSettings::restoreCHK },
    };
    int line = 1;
    for (const FavouriteKind& kind : kinds) {
        auto* button
            = new QPushButton(QIcon(QStringLiteral(":/res/fileTypes/%1.png").arg(QLatin1String(kind.icon))),
                kind.text, favouritesTab);
        button->setObjectName(QLatin1String(kind.button));
        auto* comment = new QLabel(favouritesTab);
        comment->setObjectName(QLatin1String(kind.comment));
        favouritesLayout->addWidget(button, line, 0);
        favouritesLayout->addWidget(comment, line, 1);
        connect(button, &QPushButton::pressed, this, kind.slot);
        const FavouriteRow row { QLatin1String(kind.suffix), button, comment };
        m_rows.append(row);
        refreshRow(row);
        ++line;
    }
    favouritesLayout->setColumnStretch(1, 1);
    favouritesLayout->setRowStretch(line, 1);
    tabs->addTab(favouritesTab, tr("Report Favourites"));
    tabs->addTab(languageTab(tabs), tr("Language"));

    auto* buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttonBox->setObjectName(QStringLiteral("buttonBox"));
    connect(buttonBox, &QDialogButtonBox::accepted, this, &DialogSettings::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &DialogSettings::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttonBox);

    m_projectsRootDir->setText(Folders::instance()->projectsFolder());
    connect(browse, &QPushButton::pressed, this, &DialogSettings::browseProjectsRoot);
}

QWidget* DialogSettings::languageTab(QWidget* parent)
{
    auto* tab = new QWidget(parent);
    auto* layout = new QGridLayout(tab);
    m_language = new QComboBox(tab);
    m_language->setObjectName(QStringLiteral("languageCombo"));
    // Each language by its own name, so that it can be found whatever is shown now.
    m_language->addItem(tr("System default"), QString());
    m_language->addItem(QStringLiteral("English"), QStringLiteral("en"));
    m_language->addItem(QStringLiteral("Deutsch"), QStringLiteral("de"));
    const QString stored = storedLanguage();
    int current = 0;
    if (!stored.isEmpty())
        current = QLocale(stored).language() == QLocale::German ? 2 : 1;
    m_language->setCurrentIndex(current);
    auto* label = new QLabel(tr("Language of the user interface:"), tab);
    label->setBuddy(m_language);
    auto* note = new QLabel(tr("A new language is used from the next start of Kestrovan."), tab);
    note->setWordWrap(true);
    layout->addWidget(label, 0, 0);
    layout->addWidget(m_language, 0, 1);
    layout->addWidget(note, 1, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(2, 1);
    return tab;
}

QString DialogSettings::storedLanguage()
{
    const QSettings settings;
    if (settings.value(SettingsKeys::localeFollowsSystem(), SettingsKeys::DefaultLocaleFollowsSystem)
            .toBool())
        return QString();
    return settings.value(SettingsKeys::locale(), SettingsKeys::defaultLocale()).toString();
}

void DialogSettings::storeLanguage()
{
    const QString chosen = m_language->currentData().toString();
    const QString stored = storedLanguage();
    if (chosen.isEmpty() == stored.isEmpty()
        && (chosen.isEmpty() || QLocale(chosen).language() == QLocale(stored).language()))
        return;
    QSettings settings;
    if (chosen.isEmpty()) {
        // The language in use stays stored until the next start looks at the desktop again.
        settings.setValue(SettingsKeys::localeFollowsSystem(), true);
    } else {
        settings.remove(SettingsKeys::localeFollowsSystem());
        settings.setValue(SettingsKeys::locale(), chosen);
    }
    m_languageChanged = true;
}

void DialogSettings::refreshRow(const FavouriteRow& row)
{
    const bool restorable = favouriteDiffers(row.suffix);
    row.button->setEnabled(restorable);
    if (restorable) {
        const QDateTime modified
            = QFileInfo(Folders::instance()->favouriteTemplatePath(row.suffix)).lastModified();
        row.comment->setText(tr("File last modified on %1.").arg(modified.toString(Qt::TextDate)));
    } else {
        row.comment->setText(tr("The default report has not been modified."));
    }
}

void DialogSettings::restore(const QString& suffix)
{
    seedFavouriteTemplate(suffix);
    for (const FavouriteRow& row : qAsConst(m_rows)) {
        if (row.suffix == suffix)
            refreshRow(row);
    }
}

void DialogSettings::restoreCHK()
{
    restore(QStringLiteral("kstchk"));
}

void DialogSettings::restoreIR()
{
    restore(QStringLiteral("kstir"));
}

void DialogSettings::restoreATR()
{
    restore(QStringLiteral("kstatr"));
}

void DialogSettings::restoreVC()
{
    restore(QStringLiteral("kstvc"));
}

void DialogSettings::browseProjectsRoot()
{
    const QString chosen = Prompts::instance().existingDirectory(this,
        QCoreApplication::translate("User prompt", "Select Projects Root Directory"),
        m_projectsRootDir->text());
    if (!chosen.isEmpty())
        m_projectsRootDir->setText(chosen);
}

void DialogSettings::accept()
{
    const QString text = m_projectsRootDir->text();
    if (Folders::normalisedFolderPath(text) != Folders::instance()->projectsFolder()
        && !Folders::instance()->setProjectsFolder(text))
        return;
    storeLanguage();
    QDialog::accept();
}
