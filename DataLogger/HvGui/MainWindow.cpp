#include "HvGui/MainWindow.h"

#include "Desktop.h"
#include "DownloadData.h"
#include "HvGui/DialogLanguage.h"
#include "HvGui/WrappingStatusBar.h"
#include "LoggerApplication.h"
#include "LoggerHandOver.h"
#include "LoggerSettings.h"
#include "Prompts.h"
#include "SafeWrite.h"
#include "SerialDeviceAsync.h"
#include "SerialPortInfo.h"
#include "SerialPortSettings.h"
#include "WindowIcon.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSpacerItem>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTextCodec>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace HvGui {

namespace {
// Item data of the port list beside the device path (Qt::UserRole).
constexpr int PortNameRole = Qt::UserRole + 1;

QPushButton* makeButton(const QString& objectName, const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setMinimumWidth(100);
    return button;
}

QAction* makeAction(const QString& objectName, const QString& text, const QString& toolTip, QObject* parent)
{
    auto* action = new QAction(text, parent);
    action->setObjectName(objectName);
    action->setToolTip(toolTip);
    return action;
}
} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
    , m_downloadLimit(DownloadData::DefaultLimit)
{
    buildWidgets();
    m_drainTimer = new QTimer(this);
    m_drainTimer->setSingleShot(true);
    m_drainTimer->setInterval(0);
    connect(m_drainTimer, &QTimer::timeout, this, &MainWindow::drainReceived);
    // Adapters come and go as device nodes; a burst of changes is looked at once it settles.
    m_portsTimer = new QTimer(this);
    m_portsTimer->setSingleShot(true);
    m_portsTimer->setInterval(300);
    connect(m_portsTimer, &QTimer::timeout, this, &MainWindow::portsMayHaveChanged);
    m_deviceWatcher = new QFileSystemWatcher(this);
    m_deviceWatcher->addPath(QStringLiteral("/dev"));
    connect(
        m_deviceWatcher, &QFileSystemWatcher::directoryChanged, m_portsTimer, qOverload<>(&QTimer::start));
    m_cancelBtn->hide();
    m_openBtn->hide();
    m_saveBtn->hide();

    QSettings settings;
    if (DownloadData::writesDecimalComma(QLocale())) {
        const QVariant convert = settings.value(LoggerSettings::convertData());
        if (convert.isValid())
            m_actionConvertCsvData->setChecked(convert.toBool());
        else
            m_menuCountrySettings->menuAction()->setVisible(false);
    }
    setWindowIcon(windowIconWithSizes(QStringLiteral(":/Halvern.png"), QStringLiteral(":/windowicon")));
    // The language chooser and the country settings stay connected but out of the menus.
    m_actionChangeLanguage->setVisible(false);
    m_menuCountrySettings->menuAction()->setVisible(false);

    m_progressBar = std::make_unique<QProgressBar>();
    m_progressBar->setValue(0);
    m_progressBar->setMaximum(0);
    m_progressBar->setMaximumHeight(15);
    m_progressBar->setMaximumWidth(100);
    m_progressBar->setStyleSheet(QStringLiteral(
        "QProgressBar { border: 1px solid #CCCCCC; border-radius: 3px; } QProgressBar::chunk:horizontal { "
        "background: qlineargradient(x1: 0, y1: 0.5, x2: 1, y2: 0.5, stop: 0 orange, stop: 1 white); }"));
    statusBar()->setStyleSheet(
        QStringLiteral("QStatusBar { background-color: #FFFFFF; border-top: 1px solid gray; }"));
    statusBar()->setMinimumHeight(30);

    restoreGeometry(settings.value(LoggerSettings::geometry()).toByteArray());
    restoreState(settings.value(LoggerSettings::state()).toByteArray());
    refreshPorts();

    connect(m_downloadBtn, &QPushButton::clicked, this, &MainWindow::download);
    connect(m_cancelBtn, &QPushButton::clicked, this, &MainWindow::cancelDownload);
    connect(m_saveBtn, &QPushButton::clicked, this, &MainWindow::saveFile);
    connect(m_openBtn, &QPushButton::clicked, this, &MainWindow::openFile);
    connect(m_actionConvertCsvData, &QAction::toggled, this, &MainWindow::convertDataToggled);
    connect(m_actionRefreshPorts, &QAction::triggered, this, &MainWindow::refreshPorts);
    connect(m_actionChangeLanguage, &QAction::triggered, this, &MainWindow::changeLanguage);
    statusBar()->showMessage(tr("Please select a port and connect your device"));
}

MainWindow::~MainWindow()
{
    // Closing the window in the middle of a download ends it; the worker stops first.
    delete m_device.data();
    QSettings settings;
    settings.setValue(LoggerSettings::geometry(), saveGeometry());
    settings.setValue(LoggerSettings::state(), saveState());
    // The port's name, not its label: the description may change, and older versions stored the
    // name.
    settings.setValue(LoggerSettings::portName(), m_comPorts->currentData(PortNameRole).toString());
}

void MainWindow::buildWidgets()
{
    setStatusBar(new WrappingStatusBar(this));
    resize(451, 367);
    setWindowTitle(tr("Halvern DataLogger"));
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    auto* layout = new QVBoxLayout(central);
    layout->setSpacing(6);
    layout->setContentsMargins(11, 11, 11, 11);

    auto* groupBox = new QGroupBox(tr("Device Connection"), central);
    groupBox->setObjectName(QStringLiteral("groupBox"));
    groupBox->setFlat(true);
    auto* connection = new QHBoxLayout(groupBox);
    connection->setSpacing(6);
    connection->setContentsMargins(11, 11, 11, 11);
    m_comPorts = new QComboBox(groupBox);
    m_comPorts->setObjectName(QStringLiteral("comPorts"));
    m_comPorts->setMinimumWidth(100);
    // Port labels with a description and an adapter are long: the box keeps a fixed width and
    // its list opens as wide as they need.
    m_comPorts->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_comPorts->setMinimumContentsLength(18);
    connect(m_comPorts, qOverload<int>(&QComboBox::activated), this, [this]() { m_portChosenByUser = true; });
    connection->addWidget(m_comPorts);
    connection->addSpacerItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    m_cancelBtn = makeButton(QStringLiteral("cancelBtn"), tr("Cancel"), groupBox);
    m_downloadBtn = makeButton(QStringLiteral("downloadBtn"), tr("Download"), groupBox);
    connection->addWidget(m_cancelBtn);
    connection->addWidget(m_downloadBtn);
    layout->addWidget(groupBox);

    auto* outputGroupBox = new QGroupBox(tr("Downloaded Output"), central);
    outputGroupBox->setObjectName(QStringLiteral("outputGroupBox"));
    outputGroupBox->setFlat(true);
    auto* output = new QVBoxLayout(outputGroupBox);
    output->setSpacing(6);
    output->setContentsMargins(11, 11, 11, 11);
    m_outputTextEdit = new QPlainTextEdit(outputGroupBox);
    m_outputTextEdit->setObjectName(QStringLiteral("outputTextEdit"));
    m_outputTextEdit->setReadOnly(true);
    // Instrument lines are records: wrapping would show one as two.
    m_outputTextEdit->setLineWrapMode(QPlainTextEdit::NoWrap);
    output->addWidget(m_outputTextEdit);
    auto* buttons = new QHBoxLayout;
    buttons->addSpacerItem(new QSpacerItem(40, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    m_openBtn = makeButton(QStringLiteral("openBtn"), tr("Open"), outputGroupBox);
    m_saveBtn = makeButton(QStringLiteral("saveBtn"), tr("Save"), outputGroupBox);
    buttons->addWidget(m_openBtn);
    buttons->addWidget(m_saveBtn);
    output->addLayout(buttons);
    layout->addWidget(outputGroupBox);
    setCentralWidget(central);

    QMenu* menuFile = menuBar()->addMenu(tr("File"));
    menuFile->setObjectName(QStringLiteral("menuFile"));
    QAction* actionExit
        = makeAction(QStringLiteral("actionExit"), tr("Exit"), tr("Quits the application"), this);
    connect(actionExit, &QAction::triggered, this, &QWidget::close);
    menuFile->addAction(actionExit);

    QMenu* menuTools = menuBar()->addMenu(tr("Tools"));
    menuTools->setObjectName(QStringLiteral("menuTools"));
    m_actionRefreshPorts = makeAction(QStringLiteral("actionRefreshPorts"), tr("Refresh Ports"),
        tr("Refreshes the list of COM ports"), this);
    m_actionChangeLanguage = makeAction(QStringLiteral("actionChangeLanguage"), tr("Change Language..."),
        tr("Change the language used in this application"), this);
    menuTools->addAction(m_actionRefreshPorts);
    menuTools->addAction(m_actionChangeLanguage);
    m_menuCountrySettings = menuTools->addMenu(tr("Country Settings"));
    m_menuCountrySettings->setObjectName(QStringLiteral("menuCountrySettings"));
    m_actionConvertCsvData
        = makeAction(QStringLiteral("actionConvertCsvData"), tr("Convert CSV Data"), QString(), this);
    m_actionConvertCsvData->setCheckable(true);
    m_menuCountrySettings->addAction(m_actionConvertCsvData);

    QMenu* menuHelp = menuBar()->addMenu(tr("Help"));
    menuHelp->setObjectName(QStringLiteral("menuHelp"));
    QAction* actionHelp
        = makeAction(QStringLiteral("actionHelp"), tr("Help"), tr("Shows documentation"), this);
    QAction* actionAbout = makeAction(
        QStringLiteral("actionAbout"), tr("About"), tr("Shows version information about this program"), this);
    actionHelp->setShortcut(QKeySequence::HelpContents);
    connect(actionHelp, &QAction::triggered, this, &MainWindow::showHelp);
    connect(actionAbout, &QAction::triggered, this, &MainWindow::showAbout);
    menuHelp->addAction(actionHelp);
    menuHelp->addAction(actionAbout);
}

void MainWindow::refreshPorts()
{
    m_comPorts->clear();
    const QString stored = QSettings().value(LoggerSettings::portName()).toString();
    const QList<Hv::SerialPortInfo> ports = Hv::enumeratePorts();
    for (const Hv::SerialPortInfo& port : ports) {
        m_comPorts->addItem(Hv::portLabel(port), port.devicePath);
        const int row = m_comPorts->count() - 1;
        m_comPorts->setItemData(row, port.portName, PortNameRole);
        m_comPorts->setItemData(row, Hv::portLabel(port), Qt::ToolTipRole);
    }
    m_comPorts->setCurrentIndex(Hv::preferredPort(ports, stored));
    m_comPorts->view()->setMinimumWidth(m_comPorts->view()->sizeHintForColumn(0) + 24);
}

void MainWindow::portsMayHaveChanged()
{
    // The list is not touched while a download holds its port.
    if (m_device)
        return;
    const QList<Hv::SerialPortInfo> ports = Hv::enumeratePorts();
    QStringList now;
    for (const Hv::SerialPortInfo& port : ports)
        now << port.devicePath + QLatin1Char('\n') + Hv::portLabel(port);
    QStringList shown;
    for (int i = 0; i < m_comPorts->count(); ++i)
        shown << m_comPorts->itemData(i).toString() + QLatin1Char('\n') + m_comPorts->itemText(i);
    if (now == shown)
        return;
    const QString chosen = m_comPorts->currentData().toString();
    refreshPorts();
    const int kept = m_comPorts->findData(chosen);
    if (m_portChosenByUser && kept >= 0)
        m_comPorts->setCurrentIndex(kept);
}

void MainWindow::download()
{
    if (m_device)
        return;
    m_downloadBtn->hide();
    m_openBtn->hide();
    m_saveBtn->hide();
    m_cancelBtn->show();
    m_actionRefreshPorts->setEnabled(false);
    m_actionChangeLanguage->setEnabled(false);
    m_comPorts->setEnabled(false);
    statusBar()->showMessage(tr("Now initiate the download on the tester"));
    statusBar()->addPermanentWidget(m_progressBar.get());
    m_progressBar->show();

    const QString path = m_comPorts->currentData().toString();
    m_device = new Hv::SerialDeviceAsync(this, path);
    m_device->setPortSettings(Hv::SerialPortSettings::downloadLine());
    // The worker stops reading at the limit, so that an instrument that never falls silent
    // cannot fill the memory before the window gets to count.
    m_device->setReadLimit(m_downloadLimit);

    m_outputTextEdit->clear();
    m_dataReceived = false;
    m_limitReached = false;
    m_receivedData.clear();
    m_viewBytes = 0;
    // Open offers only the file this download saved.
    m_lastSavedFilePath.clear();
    m_decoder = std::make_unique<QTextDecoder>(QTextCodec::codecForName("UTF-8"));

    // Anything but a sensible number of milliseconds is replaced: zero would make the worker
    // spin, a negative value would make it wait for ever.
    QSettings settings;
    bool ok = false;
    int readTimeout = settings.value(LoggerSettings::readTimeout()).toInt(&ok);
    if (!ok || readTimeout < 1 || readTimeout > 60000) {
        readTimeout = LoggerSettings::DefaultReadTimeout;
        settings.setValue(LoggerSettings::readTimeout(), readTimeout);
    }

    if (!path.isEmpty() && m_device->open(QIODevice::ReadWrite, readTimeout)) {
        connect(m_device, &QIODevice::readyRead, this, &MainWindow::readyRead);
        connect(m_device, &Hv::SerialDeviceAsync::readTimeOut, this, &MainWindow::readTimeOut);
        connect(m_device, &Hv::SerialDeviceAsync::lineLost, this, &MainWindow::lineLost);
        connect(m_device, &Hv::SerialDeviceAsync::readLimitReached, this, &MainWindow::readLimitReached);
        m_device->write("SYST:REM\r\n");
        m_device->write("MEM:DATA? ALL\r\n");
        return;
    }
    const QString message = connectFailureMessage(*m_device, m_comPorts->currentText());
    Prompts::show(QMessageBox::Warning, this, message);
    cancelDownload();
}

QString MainWindow::connectFailureMessage(const Hv::SerialDeviceAsync& device, const QString& port) const
{
    switch (device.openFailure()) {
    case Hv::SerialDevice::OpenFailure::PermissionDenied:
        return tr("You may not use the port %1: your user account is not allowed to open serial ports.\n\n"
                  "Add it to the dialout group (for example with \"sudo usermod -aG dialout $USER\"), then "
                  "log out and in again.")
            .arg(port);
    case Hv::SerialDevice::OpenFailure::InUse:
        return tr("The port %1 is in use by another program. Close that program, or choose another port.")
            .arg(port);
    default:
        return tr("Failed to connect. Please check the device is connected and switched on");
    }
}

void MainWindow::takeAvailable(qint64 maxBytes)
{
    if (!m_device || !m_device->isOpen())
        return;
    // Taken in slices, so that the worker's buffer and ours never both hold a whole copy.
    constexpr qint64 slice = 1024 * 1024;
    qint64 left = maxBytes > 0 ? maxBytes : m_device->bytesAvailable();
    while (left > 0) {
        const QByteArray chunk = m_device->read(qMin(left, slice));
        if (chunk.isEmpty())
            break;
        left -= chunk.size();
        m_dataReceived = true;
        m_receivedData.append(chunk);
        if (m_viewBytes < ViewLimit) {
            const QByteArray shown = chunk.left(int(ViewLimit - m_viewBytes));
            m_viewBytes += shown.size();
            appendToView(shown);
        }
    }
}

void MainWindow::appendToView(const QByteArray& bytes)
{
    QString text = m_decoder->toUnicode(bytes);
    text.remove(QLatin1Char('\r'));
    QTextCursor cursor = m_outputTextEdit->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    m_outputTextEdit->setTextCursor(cursor);
    m_outputTextEdit->ensureCursorVisible();
}

void MainWindow::showLastPart()
{
    if (m_receivedData.size() <= ViewLimit)
        return;
    // The last part from the start of a line, decoded afresh: a cut through a character or a
    // line would show garbage that is not in the data.
    QByteArray tail = m_receivedData.right(ViewLimit / 4);
    const int lineStart = tail.indexOf('\n');
    if (lineStart >= 0 && lineStart + 1 < tail.size())
        tail.remove(0, lineStart + 1);
    QString text = QString::fromUtf8(tail);
    text.remove(QLatin1Char('\r'));
    const QString note
        = tr("This download is too long to show whole: %1 were received. Only its last part is "
             "shown here; all of it is kept for saving.")
              .arg(QLocale().formattedDataSize(m_receivedData.size()));
    m_outputTextEdit->setPlainText(note + QStringLiteral("\n...\n") + text);
    m_outputTextEdit->moveCursor(QTextCursor::End);
    m_outputTextEdit->ensureCursorVisible();
}

void MainWindow::readyRead()
{
    // The bytes are taken in slices from a zero timer rather than all at once here: the worker
    // posts a signal for every chunk, and a window that fell behind would otherwise spend one
    // long turn of the event loop on them, with no input or painting in between.
    if (!m_drainTimer->isActive())
        m_drainTimer->start();
}

void MainWindow::drainReceived()
{
    // Slices that the view can take in one turn while it shows the bytes; larger ones past
    // that, so that the worker's buffer is emptied as fast as it fills.
    takeAvailable(m_viewBytes < ViewLimit ? 16 * 1024 : 1024 * 1024);
    if (m_device && m_device->bytesAvailable() > 0)
        m_drainTimer->start();
}

void MainWindow::readTimeOut()
{
    // Bytes still waiting in the worker's buffer count as received.
    if (!m_dataReceived && (!m_device || m_device->bytesAvailable() == 0))
        return;
    completeDownload(QString());
}

void MainWindow::readLimitReached()
{
    completeDownload(QString());
}

void MainWindow::lineLost()
{
    completeDownload(tr("The connection to the device was lost."));
}

void MainWindow::completeDownload(const QString& reason)
{
    finishDownload();
    QString message = reason;
    if (m_limitReached) {
        message
            = tr("The download was stopped at %1 because the instrument sent more. Only the first %1 were "
                 "kept; the rest was dropped.")
                  .arg(QLocale().formattedDataSize(m_downloadLimit, 0));
        // Said before the save dialog, so that nobody takes the file for the whole answer.
        Prompts::show(QMessageBox::Warning, this, message);
    } else if (!message.isEmpty() && m_dataReceived) {
        message += QLatin1Char(' ') + tr("The data received so far is kept.");
    }
    if (!message.isEmpty())
        statusBar()->showMessage(message);
    if (!m_dataReceived)
        return;
    saveFile();
    // Said again after the save, so that it is not lost behind the save's own message.
    if (!message.isEmpty())
        statusBar()->showMessage(message);
}

void MainWindow::finishDownload()
{
    cancelDownload();
    QCoreApplication::processEvents();
}

void MainWindow::cancelDownload()
{
    if (!m_device)
        return;
    m_downloadBtn->show();
    m_cancelBtn->hide();
    m_actionRefreshPorts->setEnabled(true);
    m_actionChangeLanguage->setEnabled(true);
    m_comPorts->setEnabled(true);
    statusBar()->removeWidget(m_progressBar.get());
    m_drainTimer->stop();
    // Bytes that arrived before the worker stopped still belong to the download.
    m_device->stopWorker();
    takeAvailable();
    m_limitReached = m_device->readLimitExceeded();
    showLastPart();
    m_openBtn->setVisible(!m_lastSavedFilePath.isEmpty());
    m_saveBtn->setVisible(m_dataReceived);
    m_portsTimer->start();
    Hv::SerialDeviceAsync* device = m_device;
    m_device = nullptr;
    device->disconnect(this);
    device->close();
    // This may run inside one of the device's own signals; it goes when they have returned.
    device->deleteLater();
}

void MainWindow::saveFile()
{
    const QString filters = QStringLiteral("%1;;%2;;%3")
                                .arg(tr("Comma Separated Value files (*.csv)"), tr("Text files (*.txt)"),
                                    tr("All files (*.*)"));
    QSettings settings(LoggerHandOver::organisationName(), LoggerHandOver::applicationName());
    QString start = settings.value(LoggerHandOver::lastSavedFilePathKey()).toString();
    // The first save starts in the documents folder; a folder that does not exist would be taken
    // for a file name.
    if (start.isEmpty()) {
        start = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (!QFileInfo(start).isDir())
            start = QDir::homePath();
    }
    QString filter;
    QString path
        = Prompts::instance().saveFileAs(this, tr("Save downloaded data to file"), start, filters, &filter);
    if (path.isEmpty())
        return;
    path = DownloadData::withFilterSuffix(path, filter);
    const QByteArray data = DownloadData::forSaving(m_receivedData, path, QLocale());
    // The file is replaced whole or not at all: a failed save leaves the old file as it was.
    if (!SafeWrite::writeFile(path, data)) {
        Prompts::show(QMessageBox::Warning, this,
            tr("Error opening \"%1\" for writing. Is it open already or read only?").arg(path));
        m_saveBtn->setVisible(true);
        return;
    }
    m_lastSavedFilePath = path;
    m_openBtn->show();
    statusBar()->showMessage(tr("File successfully saved"), 3000);
    settings.setValue(LoggerHandOver::lastSavedFilePathKey(), path);
    // The program that started this logger reads its own key, so that another logger's save
    // is never taken for this one's.
    const QString key = LoggerApplication::handOverKey();
    if (!key.isEmpty())
        settings.setValue(LoggerHandOver::launchKey(key), path);
}

void MainWindow::openFile()
{
    if (!m_lastSavedFilePath.isEmpty())
        Desktop::openUrl(QUrl::fromLocalFile(m_lastSavedFilePath));
}

void MainWindow::convertDataToggled(bool checked)
{
    QSettings().setValue(LoggerSettings::convertData(), checked);
}

void MainWindow::changeLanguage()
{
    DialogLanguage dialog(LoggerApplication::translationsFolder(), this);
    if (Prompts::instance().execDialog(&dialog) != QDialog::Accepted)
        return;
    if (Prompts::askYesNo(this, tr("The language will be changed next time Halvern DataLogger is started."),
            tr("Would you like to restart now?"))) {
        m_restartRequested = true;
        close();
    }
}

void MainWindow::showAbout()
{
    MessageRequest request;
    request.parent = this;
    request.icon = QMessageBox::Information;
    request.title = tr("About Halvern DataLogger");
    request.text = tr("Halvern DataLogger\n\n %1\n").arg(QCoreApplication::applicationVersion());
    request.windowIcon = windowIcon();
    Prompts::instance().message(request);
}

void MainWindow::showHelp()
{
    Desktop::openUrl(QUrl::fromLocalFile(LoggerApplication::helpFile(QLocale())));
}

} // namespace HvGui
