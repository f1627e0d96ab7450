#pragma once

#include "MdiWindow.h"

class AbstractDocument;
class QAction;
class QMenu;

// The one top-level window of Kestrovan.
class MainWindow : public MdiWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    AbstractDocument* findDocument(const QString& filePath) const;

public slots:
    AbstractDocument* openDocument(const QString& filePath);

private slots:
    void projectsFolderChanged(const QString& newFolder);
    void createNewInspectionReport();
    void createNewTestReport();
    void createNewVerificationCertificate();
    void createNewInstallationDiagram();
    void createNewChecklistReport();
    void createNewCurveData();
    void save();
    void documentTitleChanged(AbstractDocument* doc);
    void documentChanged(AbstractDocument* from, AbstractDocument* to);

protected:
    bool event(QEvent* event) override;

private:
    void buildForm();
    QString createNew(const QString& fileName);

    QMenu* m_fileMenu = nullptr;
    QMenu* m_windowMenu = nullptr;
    QAction* m_saveAction = nullptr;
    QString m_projectsFolder;
};
