#pragma once

#include "SerialDeviceAsync.h"

#include <QByteArray>
#include <QMainWindow>
#include <QPointer>
#include <QTextDecoder>
#include <memory>

class QAction;
class QComboBox;
class QFileSystemWatcher;
class QGroupBox;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace HvGui {

// The logger's one window: pick a port, download what the instrument holds, save it.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    bool restartRequested() const { return m_restartRequested; }
    bool isDownloading() const { return m_device != nullptr; }
    QByteArray receivedData() const { return m_receivedData; }
    QString lastSavedFilePath() const { return m_lastSavedFilePath; }
    // A download stops when this much has arrived (64 MiB unless a test wants less).
    void setDownloadLimit(qint64 bytes) { m_downloadLimit = bytes; }
    // The view shows at most this much of a download as it arrives; a longer one is shown by
    // its last part when it has ended (every byte is kept for the save all the same).
    static constexpr int ViewLimit = 256 * 1024;

public slots:
    void download();
    void cancelDownload();
    void readyRead();
    void readTimeOut();
    void saveFile();
    void openFile();
    void convertDataToggled(bool checked);
    void changeLanguage();
    void refreshPorts();
    // Refreshes the port list when the ports present have changed (an adapter plugged in or
    // out), keeping the port the user chose while it is there.
    void portsMayHaveChanged();
    void showAbout();
    void showHelp();

private slots:
    void lineLost();
    void readLimitReached();
    void drainReceived();

private:
    void buildWidgets();
    void finishDownload();
    // Ends the download, says why (and whether the limit cut the answer), then asks where to
    // save what arrived.
    void completeDownload(const QString& reason);
    // Moves received bytes (at most maxBytes, 0 for all) into receivedData and, up to
    // ViewLimit, into the view.
    void takeAvailable(qint64 maxBytes = 0);
    void appendToView(const QByteArray& bytes);
    // Replaces the view of a download longer than ViewLimit by its last part and a note.
    void showLastPart();
    QString connectFailureMessage(const Hv::SerialDeviceAsync& device, const QString& port) const;

    QComboBox* m_comPorts = nullptr;
    QPushButton* m_cancelBtn = nullptr;
    QPushButton* m_downloadBtn = nullptr;
    QPushButton* m_openBtn = nullptr;
    QPushButton* m_saveBtn = nullptr;
    QPlainTextEdit* m_outputTextEdit = nullptr;
    QAction* m_actionRefreshPorts = nullptr;
    QAction* m_actionChangeLanguage = nullptr;
    QAction* m_actionConvertCsvData = nullptr;
    QMenu* m_menuCountrySettings = nullptr;
    std::unique_ptr<QProgressBar> m_progressBar;
    QTimer* m_drainTimer = nullptr;
    QFileSystemWatcher* m_deviceWatcher = nullptr;
    QTimer* m_portsTimer = nullptr;
    // Set once the user picks a port: an adapter plugged in later does not take its place.
    bool m_portChosenByUser = false;

    QPointer<Hv::SerialDeviceAsync> m_device;
    std::unique_ptr<QTextDecoder> m_decoder;
    bool m_dataReceived = false;
    bool m_limitReached = false;
    QByteArray m_receivedData;
    QString m_lastSavedFilePath;
    qint64 m_downloadLimit;
    qint64 m_viewBytes = 0;
    bool m_restartRequested = false;
};

} // namespace HvGui
