#include "Startup.h"

#include "AbstractDocument.h"
#include "Brand.h"
#include "CurveSupport.h"
#include "DiagramSupport.h"
#include "Folders.h"
#include "KestrovanResources.h"
#include "MainWindow.h"
#include "ProjectsFolderPrompts.h"
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
#include <QMessageBox>
#include <QPointer>
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
    // Every file named (a file manager passes all selected files at once); relative paths are
    // taken from where the program was started, so the running instance (started elsewhere)
    // gets the files that were meant.
    for (int i = 1; i < arguments.size(); ++i) {
        if (!arguments.at(i).isEmpty())
            files << QDir::cleanPath(QFileInfo(arguments.at(i)).absoluteFilePath());
    }
    return files;
}

void openFilesInWindow(MainWindow* window, const QStringList& files)
{
    for (const QString& file : files) {
        const QFileInfo info(file);
        if (!info.isFile()) {
            Prompts::show(QMessageBox::Warning, window,
                info.exists()
                    ? QCoreApplication::translate("Error Message", "%1 is not a file.").arg(file)
                    : QCoreApplication::translate("Error Message", "The file %1 does not exist.").arg(file));
            continue;
        }
        AbstractDocument* doc = window->openDocument(file);
        if (doc && !doc->isValid())
            delete doc; // the user has been told why it could not be shown
    }
}

StartDecision decideStart(SingleInstance& instance, const QStringList& files, int timeoutMs)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        switch (instance.handOver(files, timeoutMs)) {
        case SingleInstance::HandedOver:
            return StartDecision::Leave;
        case SingleInstance::NotAnswering: {
            const QString text = QCoreApplication::translate(
                "Error Message", "Kestrovan is already running for this user but does not answer.");
            std::fprintf(stderr, "%s\n", qPrintable(text));
            // Started from a file manager, nobody sees standard error.
            Prompts::show(QMessageBox::Critical, nullptr, text,
                files.isEmpty() ? QCoreApplication::translate("Error Message",
                    "Close the Kestrovan window that is open, or end it if it hangs, and try again.")
                                : QCoreApplication::translate("Error Message",
                                    "These files were not opened: %1. Close the Kestrovan window that "
                                    "is open, or end it if it hangs, and try again.")
                                      .arg(files.join(QStringLiteral(", "))));
            return StartDecision::LeaveWithError;
        }
        case SingleInstance::NoInstance:
            // Two starts at once: the one that lost the name hands over to the other.
            if (instance.serverName().isEmpty() || instance.listen())
                return StartDecision::Run;
            break;
        }
    }
    return StartDecision::Run;
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
    // The projects folder is settled by asking the user the same way.
    Folders::setQuestions(std::make_unique<ProjectsFolderPrompts>());
    setApplicationIdentity();

    const QStringList arguments = QCoreApplication::arguments();
    const QStringList files = filesFromArguments(arguments);
    SingleInstance instance(QSettings().fileName());
    // Files handed over by later starts go to the window of the pass; until it is up (the
    // splash screen, a restart) they wait in the instance.
    QPointer<MainWindow> receiver;
    QObject::connect(
        &instance, &SingleInstance::filesReceived, &instance, [&receiver](const QStringList& received) {
            if (!receiver)
                return;
            bringToFront(receiver);
            openFilesInWindow(receiver, received);
        });
    switch (decideStart(instance, files)) {
    case StartDecision::Leave:
        return 0;
    case StartDecision::LeaveWithError:
        return 1;
    case StartDecision::Run:
        break;
    }

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
        receiver = window.get();
        instance.setReceiving(true);
        if (options.mainWindowShown)
            options.mainWindowShown(window.get());

        app.exec();

        const bool restart = restartRequested();
        instance.setReceiving(false);
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
