#include "DialogAbout.h"

#include "Brand.h"

#include <QCoreApplication>
#include <QLabel>

DialogAbout::DialogAbout(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("DialogAbout"));
    setFixedSize(400, 300);
    setStyleSheet(QStringLiteral("QDialog { background-image: url(:res/images/%1_splash.png); }")
                      .arg(Brand::organisationName()));
    setWindowTitle(tr("About %1").arg(Brand::productTitle()));
    auto* version = new QLabel(QCoreApplication::applicationVersion(), this);
    version->setObjectName(QStringLiteral("version"));
    version->setAlignment(Qt::AlignCenter);
    version->setGeometry(0, 280, 401, 20);
}
