#pragma once

#include "GraphicsDocument.h"

class DiagramGraphicsScene;
class QAction;
class QActionGroup;
class QUndoStack;

// An installation diagram (.kstid) opened for editing.
class InstallationDiagramDocument : public GraphicsDocument
{
    Q_OBJECT
public:
    InstallationDiagramDocument(const QString& filePath, QWidget* parent = nullptr);
    ~InstallationDiagramDocument() override;

    DiagramGraphicsScene* scene() const { return m_scene; }
    QUndoStack* undoStack() const { return m_undoStack; }

public slots:
    void modified();
    void wireToggled(bool checked);
    void save() override;
    void setCableType(QAction* action);
    void sceneRectChanged(const QRectF& rect);
    void modeChanged(int newMode);

private:
    QAction* addToolAction(const char* objectName, const QString& icon, const QString& toolTip,
        const QString& shortcut = QString());
    void cleanChanged(bool clean);

    QUndoStack* m_undoStack;
    DiagramGraphicsScene* m_scene = nullptr;
    QAction* m_save;
    QAction* m_print;
    QAction* m_exportToPdf;
    QAction* m_wire;
    QActionGroup* m_cableGroup;
    QAction* m_singleWire;
    QAction* m_dcCable;
    QAction* m_acCable;
    QAction* m_undo;
    QAction* m_redo;
};
