#include "DialogComponentSettings.h"

#include "MainWindowRef.h"
#include "Prompts.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

DialogComponentSettings::DialogComponentSettings(QWidget* parent)
    : QDialog(parent)
    , m_edit(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("DialogComponentSettings"));
    setWindowTitle(tr("Component Settings"));
    resize(267, 113);
    m_edit->setObjectName(QStringLiteral("plainTextEdit"));
    m_edit->setTabChangesFocus(true);
    auto* label = new QLabel(tr("Label"), this);
    label->setBuddy(m_edit);
    auto* row = new QHBoxLayout;
    row->addWidget(label, 0, Qt::AlignTop);
    row->addWidget(m_edit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

QString DialogComponentSettings::text() const
{
    return m_edit->toPlainText();
}

void DialogComponentSettings::setText(const QString& text)
{
    m_edit->setPlainText(text);
    m_edit->selectAll();
}

bool DialogComponentSettings::ask(const QString& initial, QString* result)
{
    DialogComponentSettings dialog(currentMainWindow());
    dialog.setText(initial);
    if (Prompts::instance().execDialog(&dialog) != QDialog::Accepted)
        return false;
    *result = dialog.text();
    return true;
}
