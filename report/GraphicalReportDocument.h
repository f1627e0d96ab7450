#pragma once

#include "GraphicsDocument.h"

class DataLoggerLauncher;
class QAction;
class QUndoStack;
class ReportScene;

// The window of a report or certificate: its pages in a zoomable view, with undo and redo,
// saving, saving as the favourite that new reports start from, printing and PDF export.
class GraphicalReportDocument : public GraphicsDocument
{
    Q_OBJECT
public:
    GraphicalReportDocument(const QString& filePath, QWidget* parent = nullptr);
    ~GraphicalReportDocument() override;

    ReportScene* scene() const { return m_scene; }
    QUndoStack* undoStack() const { return m_undoStack; }
    // The tool bar's Download starts the data logger from here; what it downloads comes back
    // through fileToImport. Import is connected by the main window to its file chooser.
    QAction* downloadAction() const { return m_download; }
    QAction* importAction() const { return m_import; }
    DataLoggerLauncher* dataLogger() const { return m_logger; }
    // What the status bar says when typing or a paste did not fit into a field.
    static QString inputCutMessage();

signals:
    // A logger started from this report downloaded a file that the user wants to import.
    void fileToImport(const QString& path);

public slots:
    void modified();
    void cleanChanged(bool clean);
    void showInputCut();
    void save() override;
    void setCurrent(bool yesNo) override;
    virtual void saveAsFavourite();
    void undo();
    void redo();

private:
    QAction* addToolAction(
        const char* objectName, const QString& icon, const QString& toolTip, const QString& shortcut);

    QUndoStack* m_undoStack;
    ReportScene* m_scene = nullptr;
    QAction* m_undo;
    QAction* m_redo;
    QAction* m_save;
    QAction* m_saveFavourite;
    QAction* m_download;
    QAction* m_import;
    QAction* m_print;
    QAction* m_exportToPdf;
    DataLoggerLauncher* m_logger;
};
