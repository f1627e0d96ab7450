#include "DialogWelcome.h"

#include "Brand.h"
#include "Desktop.h"
#include "SettingsKeys.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QRadioButton>
#include <QSettings>
#include <QUrl>
#include <QVBoxLayout>

DialogWelcome::DialogWelcome(QWidget* parent, const QString& helpFolder)
    : QDialog(parent)
    , m_watchVideo(new QRadioButton(tr("Watch video tutorial now (recommended)")))
    , m_useApp(new QRadioButton(tr("Continue using Kestrovan")))
    , m_buttonBox(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel))
    , m_hideInFuture(new QCheckBox(tr("Do not show this message again")))
    , m_tutorial(tutorialPage(helpFolder))
{
    setObjectName(QStringLiteral("DialogWelcome"));
    setWindowTitle(tr("Welcome to Kestrovan!"));
    resize(454, 305);
    setFixedHeight(305);

    auto* layout = new QHBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* banner = new QWidget(this);
    banner->setObjectName(QStringLiteral("banner"));
    banner->setFixedWidth(150);
    banner->setAttribute(Qt::WA_StyledBackground);
    banner->setStyleSheet(QStringLiteral("background-image: url(:/res/images/%1_col_small.jpg);")
                              .arg(Brand::organisationName()));
    layout->addWidget(banner);

    auto* right = new QWidget(this);
    auto* column = new QVBoxLayout(right);
    column->setSpacing(20);
    column->setContentsMargins(20, 50, 20, 30);
    auto* label1 = new QLabel(tr("Thank you for choosing Kestrovan."), right);
    label1->setObjectName(QStringLiteral("label1"));
    label1->setWordWrap(true);
    auto* label2 = new QLabel(tr("Please choose one of the following options:"), right);
    label2->setObjectName(QStringLiteral("label2"));
    m_watchVideo->setObjectName(QStringLiteral("radioWatchVideo"));
    m_useApp->setObjectName(QStringLiteral("radioUseApp"));
    // Offered only when there is something to open.
    m_watchVideo->setHidden(m_tutorial.isEmpty());
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));
    m_buttonBox->setCenterButtons(true);
    m_buttonBox->setEnabled(false);
    m_hideInFuture->setObjectName(QStringLiteral("checkHideInFuture"));
    column->addWidget(label1);
    column->addWidget(label2);
    column->addWidget(m_watchVideo);
    column->addWidget(m_useApp);
    column->addStretch(1);
    column->addWidget(m_buttonBox);
    column->addWidget(m_hideInFuture);
    layout->addWidget(right);

    connect(m_watchVideo, &QRadioButton::pressed, this, &DialogWelcome::radioPressed);
    connect(m_useApp, &QRadioButton::pressed, this, &DialogWelcome::radioPressed);
    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &DialogWelcome::accept);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this, &DialogWelcome::reject);
}

QString DialogWelcome::helpFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Help");
}

QString DialogWelcome::tutorialPage(const QString& folder)
{
    const QString language = QLocale(QSettings().value(SettingsKeys::locale()).toString()).name().left(2);
    const QString pattern = folder + QStringLiteral("/KestrovanTutorial_%1.html");
    for (const QString& candidate : { pattern.arg(language), pattern.arg(QStringLiteral("en")) }) {
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return QString();
}

bool DialogWelcome::shouldShow()
{
    return QSettings().value(SettingsKeys::welcomeShow(), SettingsKeys::DefaultWelcomeShow).toBool();
}

int DialogWelcome::exec()
{
    if (!shouldShow())
        return 0;
    return QDialog::exec();
}

void DialogWelcome::radioPressed()
{
    m_buttonBox->setEnabled(true);
}

void DialogWelcome::accept()
{
    if (m_hideInFuture->isChecked())
        QSettings().setValue(SettingsKeys::welcomeShow(), false);
    if (m_watchVideo->isChecked() && !m_tutorial.isEmpty())
        Desktop::openUrl(QUrl::fromLocalFile(m_tutorial));
    QDialog::accept();
}
