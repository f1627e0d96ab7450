#include "HvGui/DialogLanguage.h"

#include "LoggerSettings.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLocale>
#include <QSettings>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace HvGui {

QString DialogLanguage::languageCode(const QString& filePath)
{
    return filePath.size() >= 5 ? filePath.mid(filePath.size() - 5, 2) : QString();
}

DialogLanguage::DialogLanguage(const QString& translationsDir, QWidget* parent)
    : QDialog(parent)
    , m_languageCombo(new QComboBox(this))
{
    setWindowTitle(tr("Please choose a language"));
    m_languageCombo->setObjectName(QStringLiteral("languageCombo"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_languageCombo);
    layout->addSpacerItem(new QSpacerItem(20, 40, QSizePolicy::Minimum, QSizePolicy::Expanding));
    auto* buttonBox
        = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal, this);
    buttonBox->setObjectName(QStringLiteral("buttonBox"));
    buttonBox->setCenterButtons(true);
    layout->addWidget(buttonBox);
    connect(buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // Only the logger's own catalogues: the folder also holds Kestrovan's and the toolkit's,
    // which would list each language several times without translating the logger.
    const QDir dir(translationsDir);
    const QFileInfoList files = dir.entryInfoList(
        { QStringLiteral("halverndatalogger_*.qm") }, QDir::Files | QDir::Readable, QDir::NoSort);
    QList<QFileInfo> ordered;
    for (const QFileInfo& file : files) {
        if (languageCode(file.filePath()) == QLatin1String("en"))
            ordered.prepend(file);
        else
            ordered.append(file);
    }
    for (const QFileInfo& file : ordered) {
        const QString code = languageCode(file.filePath());
        const QLocale locale(code);
        // The language's own name; the toolkit names plain "en" after the United States.
        QString name = locale.language() == QLocale::English ? QLocale::languageToString(QLocale::English)
                                                             : locale.nativeLanguageName();
        if (name.isEmpty() || locale.language() == QLocale::C)
            name = code;
        name[0] = name[0].toUpper();
        m_languageCombo->addItem(name, file.filePath());
        m_languageCombo->setItemData(m_languageCombo->count() - 1, code, Qt::UserRole + 1);
    }

    const QString stored = QSettings().value(LoggerSettings::languageFilePath()).toString();
    int current = stored.isEmpty() ? -1 : m_languageCombo->findData(stored);
    if (current < 0) {
        const QString system = QLocale::languageToString(QLocale::system().language());
        for (int i = 0; i < m_languageCombo->count() && current < 0; ++i) {
            if (QLocale::languageToString(
                    QLocale(m_languageCombo->itemData(i, Qt::UserRole + 1).toString()).language())
                == system)
                current = i;
        }
    }
    if (current >= 0)
        m_languageCombo->setCurrentIndex(current);
}

void DialogLanguage::accept()
{
    QSettings settings;
    settings.setValue(LoggerSettings::languageFilePath(), m_languageCombo->currentData().toString());
    settings.setValue(
        LoggerSettings::languageCode(), m_languageCombo->currentData(Qt::UserRole + 1).toString());
    QDialog::accept();
}

} // namespace HvGui
