#include "Startup.h"

#include "AbstractDocument.h"
#include "Brand.h"
#include "KestrovanResources.h"
#include "MainWindow.h"
#include "ReportSupport.h"
#include "Translations.h"
#include "WidgetPrompts.h"
#include "customSplashScreen.h"

#include <QApplication>
#include <QFileInfo>
#include <QSettings>
#include <QThread>
#include <memory>

bool& restartRequested()
{
    static bool requested = false;
    return requested;
}

void setApplicationIdentity()
{
    QCoreApplication::setOrganizationName(Brand::organisationName());
    QCoreApplication::setOrganizationDomain(Brand::organisationDomain());
    QCoreApplication::setApplicationName(Brand::applicationName());
    QCoreApplication::setApplicationVersion(Brand::applicationVersion());
}

void registerDocumentKinds()
{
    // Each subsystem adds its registration here as it arrives.
    ReportSupport::registerWithDocuments();
}

int runKestrovan(int& argc, char** argv, const StartupOptions& options)
{
    QApplication app(argc, argv);
    Prompts::install(std::make_unique<WidgetPrompts>());
    setApplicationIdentity();
    initKestrovanResources();
    registerDocumentKinds();

    const QStringList arguments = QCoreApplication::arguments();
    bool firstPass = true;
    do {
        auto pixmap = std::make_unique<QPixmap>(Brand::brandImage(QStringLiteral("_splash.png")));
        auto splash = std::make_unique<customSplashScreen>(*pixmap);
        if (firstPass) {
            QFont font(QStringLiteral("Arial"));
            font.setWeight(QFont::Bold);
            font.setPixelSize(12);
            font.setStretch(125);
            splash->setFont(font);
            splash->show();
            QCoreApplication::processEvents();
            splash->setMessageAlignment(Qt::AlignLeft);
            splash->setMessageRect(QRect(20, 275, 415, 12));
            splash->setMessageColour(Qt::black);
            splash->setMessage(Brand::applicationVersion());
            splash->repaint();
            QCoreApplication::processEvents();
            QThread::msleep(static_cast<unsigned long>(options.splashDelayMs));
        }

        auto settings = std::make_unique<QSettings>();
        Translations::load();

        auto window = std::make_shared<MainWindow>();
        window->show();
        window->setWindowTitle(Brand::productTitle());
        window->setWindowIcon(QIcon(QStringLiteral(":res/images/Halvern.ico")));
        if (firstPass)
            splash->finish(window.get());
        if (arguments.size() > 1 && QFileInfo(arguments.at(1)).isFile()) {
            AbstractDocument* doc = window->openDocument(arguments.at(1));
            if (doc && !doc->isValid())
                delete doc; // the user has been told why it could not be shown
        }
        if (options.mainWindowShown)
            options.mainWindowShown(window.get());

        app.exec();

        const bool restart = restartRequested();
        window.reset();
        settings.reset();
        splash.reset();
        pixmap.reset();
        firstPass = false;
        if (!restart)
            break;
    } while (true);
    return 0;
}
