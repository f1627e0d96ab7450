// A toolkit input plugin that plays the user of the real HalvernDataLogger program in the
// end-to-end test: loaded through QT_QPA_GENERIC_PLUGINS, it finds the window by its object
// names, chooses the port in LOGGER_DRIVER_PORT, presses Download, answers the save dialog with
// LOGGER_DRIVER_FILE and leaves through File > Exit. Without a port it downloads nothing and
// leaves once the file named in LOGGER_DRIVER_EXIT_WHEN exists. The program itself knows
// nothing of it.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGenericPlugin>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>
#include <cstdio>

namespace {

class Driver : public QObject
{
public:
    Driver()
    {
        // The application is still being set up; start once its event loop runs.
        QMetaObject::invokeMethod(
            this, [this]() { startTimer(50); }, Qt::QueuedConnection);
    }

protected:
    void timerEvent(QTimerEvent*) override
    {
        const QString port = qEnvironmentVariable("LOGGER_DRIVER_PORT");
        const QString file = qEnvironmentVariable("LOGGER_DRIVER_FILE");
        QWidget* window = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (!top->isVisible())
                continue;
            // A message the user would have to read is shown to the test's log and closed, so
            // the test fails on what follows instead of waiting for ever.
            if (auto* box = qobject_cast<QMessageBox*>(top)) {
                std::fprintf(stderr, "logger driver: message \"%s\"\n", qPrintable(box->text()));
                box->reject();
                return;
            }
            // The file name is typed as a user types it, and OK pressed until the dialog is gone:
            // the dialog fills itself from its folder in the background and may ignore an early OK.
            if (auto* dialog = qobject_cast<QFileDialog*>(top)) {
                if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                    name->setText(file);
                else
                    dialog->selectFile(file);
                QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
                m_saved = true;
                return;
            }
            if (top->findChild<QAbstractButton*>(QStringLiteral("downloadBtn")))
                window = top;
        }
        if (!window)
            return;
        auto* download = window->findChild<QAbstractButton*>(QStringLiteral("downloadBtn"));
        auto* ports = window->findChild<QComboBox*>(QStringLiteral("comPorts"));
        if (!ports)
            return;
        if (port.isEmpty()) {
            if (QFileInfo::exists(qEnvironmentVariable("LOGGER_DRIVER_EXIT_WHEN")))
                if (QAction* exit = window->findChild<QAction*>(QStringLiteral("actionExit")))
                    exit->trigger();
            return;
        }
        if (!m_started) {
            // The port list may still be filling on a busy machine.
            if (ports->findData(port) < 0)
                return;
            ports->setCurrentIndex(ports->findData(port));
            download->click();
            m_started = true;
        } else if (m_saved && download->isVisible()) {
            if (QAction* exit = window->findChild<QAction*>(QStringLiteral("actionExit")))
                exit->trigger();
        }
    }

private:
    bool m_started = false;
    bool m_saved = false;
};

} // namespace

class LoggerDriverPlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "loggerdriver.json")
public:
    QObject* create(const QString& name, const QString&) override
    {
        return name.compare(QLatin1String("loggerdriver"), Qt::CaseInsensitive) == 0 ? new Driver : nullptr;
    }
};

#include "LoggerDriver.moc"
