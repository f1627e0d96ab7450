#pragma once

#include "SerialDeviceAsync.h"

#include <QByteArray>
#include <QMainWindow>
#include <QPointer>
#include <QTextDecoder>
#include <memory>

class QAction;
class QComboBox;
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
    void showAbout();
    void showHelp();

private slots:
    void lineLost();
    void drainReceived();

private:
    void buildWidgets();
    void finishDownload();
    // Moves received bytes (at most maxBytes, 0 for all) into the view and receivedData.
    void takeAvailable(qint64 maxBytes = 0);

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

    QPointer<Hv::SerialDeviceAsync> m_device;
    std::unique_ptr<QTextDecoder> m_decoder;
    bool m_dataReceived = false;
    bool m_limitReached = false;
    QByteArray m_receivedData;
    QString m_lastSavedFilePath;
    qint64 m_downloadLimit;
    bool m_restartRequested = false;
};

} // namespace HvGui
