#include "Startup.h"

#include "AbstractDocument.h"
#include "Brand.h"
#include "CurveSupport.h"
#include "DiagramSupport.h"
#include "KestrovanResources.h"
#include "MainWindow.h"
#include "ReportSupport.h"
#include "SearchResultsDocument.h"
#include "SingleInstance.h"
#include "Translations.h"
#include "WidgetPrompts.h"
#include "WindowIcon.h"
#include "customSplashScreen.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QThread>
#include <cstdio>
#include <memory>

bool& restartRequested()
{
    static bool requested = false;
    return requested;
}

void enableHighDpi()
{
    // Sharp on high-density screens: Qt scales the widgets, and our icons carry 2x pictures.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
}

void setApplicationIdentity()
{
    QCoreApplication::setOrganizationName(Brand::organisationName());
    QCoreApplication::setOrganizationDomain(Brand::organisationDomain());
    QCoreApplication::setApplicationName(Brand::applicationName());
    QCoreApplication::setApplicationVersion(Brand::applicationVersion());
    // The desktop entry's id: docks and task bars match our windows to its name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("kestrovan"));
}

void registerDocumentKinds()
{
    // Each subsystem adds its registration here as it arrives.
    ReportSupport::registerWithDocuments();
    DiagramSupport::registerWithDocuments();
    SearchResultsDocument::registerWithDocuments();
    CurveSupport::registerWithDocuments();
}

QStringList filesFromArguments(const QStringList& arguments)
{
    QStringList files;
    // The program takes one file; relative paths are taken from where it was started, so the
    // running instance (started elsewhere) gets the file that was meant.
    if (arguments.size() > 1 && !arguments.at(1).isEmpty())
        files << QDir::cleanPath(QFileInfo(arguments.at(1)).absoluteFilePath());
    return files;
}

void openFilesInWindow(MainWindow* window, const QStringList& files)
{
    for (const QString& file : files) {
        if (!QFileInfo(file).isFile())
            continue;
        AbstractDocument* doc = window->openDocument(file);
        if (doc && !doc->isValid())
            delete doc; // the user has been told why it could not be shown
    }
}

namespace {
void bringToFront(QWidget* window)
{
    if (window->isMinimized())
        window->showNormal();
    window->raise();
    window->activateWindow();
}
} // namespace

int runKestrovan(int& argc, char** argv, const StartupOptions& options)
{
    enableHighDpi();
    QApplication app(argc, argv);
    Prompts::install(std::make_unique<WidgetPrompts>());
    setApplicationIdentity();

    const QStringList arguments = QCoreApplication::arguments();
    const QStringList files = filesFromArguments(arguments);
    SingleInstance instance(QSettings().fileName());
    switch (instance.handOver(files)) {
    case SingleInstance::HandedOver:
        return 0;
    case SingleInstance::NotAnswering:
        std::fprintf(stderr, "Kestrovan is already running for this user but does not answer.\n");
        return 1;
    case SingleInstance::NoInstance:
        break;
    }
    instance.listen();

    initKestrovanResources();
    registerDocumentKinds();

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
        window->setWindowIcon(windowIconWithSizes(
            QStringLiteral(":res/images/Halvern.ico"), QStringLiteral(":res/images/windowicon")));
        if (firstPass)
            splash->finish(window.get());
        openFilesInWindow(window.get(), files);
        QObject::connect(&instance, &SingleInstance::filesReceived, window.get(),
            [w = window.get()](const QStringList& received) {
                bringToFront(w);
                openFilesInWindow(w, received);
            });
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
