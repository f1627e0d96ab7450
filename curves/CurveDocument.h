#pragma once

#include "DocumentWithToolbar.h"

#include <QDateTime>
#include <QModelIndex>
#include <QPersistentModelIndex>
#include <QPointer>
#include <functional>
#include <memory>

class DataLoggerLauncher;
class QAction;
class QProgressDialog;
class QTimer;
class QMenu;
class QSplitter;

namespace IVCurve {

class CurveGraph;
class CurveGraphSquishHelper;
class CurveStore;
class CurveTree;

// The document window of one curve file: the tree of folders and strings on the left, the
// graph of the selected strings on the right, and the commands on curves in the tool bar and
// the tree's context menu.
class CurveDocument : public DocumentWithToolbar
{
    Q_OBJECT
public:
    explicit CurveDocument(const QString& filePath, QWidget* parent = nullptr);
    ~CurveDocument() override;

    CurveStore* store() const { return m_store.get(); }
    CurveTree* tree() const { return m_tree; }
    CurveGraph* graph() const { return m_graph; }
    // Imports a tester's curve file as a new folder; false when it could not be read.
    bool importTesterFile(const QString& path);

    bool maybeSave() override;

public slots:
    void modified(bool dirty);
    void onCustomContextMenu(const QPoint& point);
    void save() override;
    void slotInsertRow();
    void slotDeleteRow();
    void slotViewDetails();
    void slotViewDetails(const QModelIndex& index);
    void slotSetColour();
    // The strings under the selected rows side by side, with their verdicts.
    void slotCompareStrings();
    void slotVerdictTolerances();
    // Judges every string again for the verdict column, when it is shown.
    void refreshVerdicts();
    void slotManageModules();
    void slotAssignModule();
    void slotCurveReport();
    void slotExportPoints();
    void slotExportPointsSTC();
    void slotExportPWRPoints();
    void slotExportPWRPointsSTC();
    void slotImportIrradianceFile();
    void slotImportIrradianceMT410();
    void slotDoubleClickTree(const QModelIndex& index);
    void slotDownload();
    void slotImport();

private:
    enum class Download { Tester, Meter };

    QAction* makeAction(const char* objectName, const QString& text, const QString& toolTip = QString(),
        const QString& icon = QString(), const QKeySequence& key = QKeySequence());
    void buildActions();
    void buildMenus();
    // Runs a command; a standard exception escaping from it is shown, not let through.
    void guarded(const std::function<void()>& command);
    // The column-0 indexes of the selected rows.
    QModelIndexList selectedRows() const;
    QList<uint> selectedCurveIDs() const;
    // The progress of an import of path, told by a box once it has more than threshold items to
    // go through and takes longer than a moment; false once the user cancelled or the document went.
    std::function<bool(int, int)> importProgress(
        const QString& path, int threshold, std::unique_ptr<QProgressDialog>* progress);
    // Whether writes reach the file at the document's path (after writing it out there again
    // when it vanished while open); false after telling the user why not (the file is
    // read-only, or could not be written again).
    bool fileInPlace();
    void exportPoints(int kind);
    void applyColour(const QModelIndex& index, const QColor& colour);
    // Starts the data-logger program for a download; what it saves is offered for that import.
    bool startDataLogger(Download which);
    void importMeterFile(const QString& path);

    std::unique_ptr<CurveStore> m_store;
    QSplitter* m_splitter = nullptr;
    CurveTree* m_tree = nullptr;
    QMenu* m_contextMenu = nullptr;
    CurveGraph* m_graph = nullptr;
    QPersistentModelIndex m_contextIndex;
    DataLoggerLauncher* m_testerLogger = nullptr;
    DataLoggerLauncher* m_meterLogger = nullptr;

    QAction* m_actionSave = nullptr;
    QAction* m_actionExportToImage = nullptr;
    QAction* m_actionInsertTreeRow = nullptr;
    QAction* m_actionDeleteTreeRow = nullptr;
    QAction* m_actionImportCSV = nullptr;
    QAction* m_actionShowIV = nullptr;
    QAction* m_actionShowPWR = nullptr;
    QAction* m_actionShowMEAS = nullptr;
    QAction* m_actionShowSTC = nullptr;
    QAction* m_actionShowNOM = nullptr;
    QAction* m_actionDownload = nullptr;
    QAction* m_actionViewDetails = nullptr;
    QAction* m_actionManageModules = nullptr;
    QAction* m_actionAssignModule = nullptr;
    QAction* m_actionCurveReport = nullptr;
    QAction* m_actionImportIrradianceFile = nullptr;
    QAction* m_actionImportIrradianceMT410 = nullptr;
    QAction* m_actionExportPoints = nullptr;
    QAction* m_actionExportPointsSTC = nullptr;
    QAction* m_actionExportPWRPoints = nullptr;
    QAction* m_actionExportPWRPointsSTC = nullptr;
    QAction* m_actionSetColour = nullptr;
    QAction* m_actionCompareStrings = nullptr;
    // Changes to strings come one by one (a meter import writes thousands): the verdicts are
    // worked out again once they have settled.
    QTimer* m_verdictsStale = nullptr;
    QAction* m_actionVerdictTolerances = nullptr;
};

} // namespace IVCurve
