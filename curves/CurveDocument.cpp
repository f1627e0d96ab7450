#include "CurveDocument.h"

#include "Brand.h"
#include "CurveConstants.h"
#include "CurveDetailsDialog.h"
#include "CurveGraph.h"
#include "CurveGraphModel.h"
#include "CurveModuleRow.h"
#include "CurveModulesChooser.h"
#include "CurveModulesDlg.h"
#include "CurveRecord.h"
#include "CurveReport.h"
#include "CurveStore.h"
#include "CurveTree.h"
#include "CurveTreeModel.h"
#include "DataLoggerLauncher.h"
#include "ImportPrompts.h"
#include "MeterFileImporter.h"
#include "ModuleLibrary.h"
#include "PointsExport.h"
#include "Prompts.h"
#include "SafeWrite.h"
#include "SavedAge.h"
#include "SettingsKeys.h"
#include "StringComparisonDialog.h"
#include "TesterFileImporter.h"
#include "TreeItem.h"
#include "VerdictTolerancesDialog.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QScrollArea>
#include <QSet>
#include <QSettings>
#include <QSplitter>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <stdexcept>
#include <vector>

namespace IVCurve {

namespace {

QString settingOr(const QString& key, const QString& fallbackKey)
{
    QSettings settings;
    const QString value = settings.value(key).toString();
    return value.isEmpty() ? settings.value(fallbackKey).toString() : value;
}

// Imports shorter than this many lines run without a progress dialog.
constexpr int progressDialogLines = 2000;
// Nor meter imports for fewer strings.
constexpr int progressDialogStrings = 200;
} // namespace

CurveDocument::CurveDocument(const QString& filePath, QWidget* parent)
    : DocumentWithToolbar(filePath, parent)
    , m_store(std::make_unique<CurveStore>(
          filePath, isReadOnly() ? CurveStore::Access::ReadOnly : CurveStore::Access::AsFileAllows))
{
    setObjectName(QStringLiteral("CurveDocument"));
    // What the store had to say while it opened the file is shown now, and later notices as they
    // come, over the main window (they may outlive no document state).
    ModuleLibrary::instance().setNoticeHandler(
        [](const CurveNotice& notice) { ImportPrompts::show(notice); });
    m_store->setNoticeHandler([](const CurveNotice& notice) { ImportPrompts::show(notice); });
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_tree = new CurveTree(m_splitter);
    m_tree->setObjectName(QStringLiteral("curveTree"));
    m_graph = new CurveGraph(m_store->graphModel(), m_splitter);
    m_splitter->addWidget(m_tree);
    m_splitter->addWidget(m_graph);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 1);
    // The splitter takes the place of the scroll area the base class offers.
    scrollArea()->hide();
    delete documentLayout()->replaceWidget(scrollArea(), m_splitter);

    buildActions();
    buildMenus();

    CurveTreeModel* treeModel = m_store->treeModel();
    CurveGraphModel* graphModel = m_store->graphModel();
    if (treeModel && graphModel) {
        m_tree->setModel(treeModel);
        m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(m_tree, &QWidget::customContextMenuRequested, this, &CurveDocument::onCustomContextMenu);
        connect(m_tree->selectionModel(), &QItemSelectionModel::selectionChanged, graphModel,
            &CurveGraphModel::slotTreeSelectionChanged);
        // A double click, or Enter, on a row: details for a string, the colour in the colour
        // column, nothing for a folder (which opens or closes).
        connect(m_tree, &QAbstractItemView::activated, this, &CurveDocument::slotDoubleClickTree);
        connect(treeModel, &CurveTreeModel::modified, this, &CurveDocument::modified);
        connect(treeModel, &QAbstractItemModel::rowsAboutToBeRemoved, graphModel,
            &CurveGraphModel::slotRowRemoved);
        m_verdictsStale = new QTimer(this);
        m_verdictsStale->setSingleShot(true);
        m_verdictsStale->setInterval(200);
        connect(m_verdictsStale, &QTimer::timeout, this, &CurveDocument::refreshVerdicts);
        connect(graphModel, &CurveGraphModel::curveChanged, m_verdictsStale, qOverload<>(&QTimer::start));
        connect(treeModel, &QAbstractItemModel::rowsInserted, m_verdictsStale, qOverload<>(&QTimer::start));
        connect(m_tree, &CurveTree::columnMaskChanged, this, &CurveDocument::refreshVerdicts);
        refreshVerdicts();
    }
    setValid(m_store->isOpen());
    setModified(false);
}

CurveDocument::~CurveDocument()
{
    // The views let go of the models before the store deletes them.
    delete m_splitter;
    m_splitter = nullptr;
    m_tree = nullptr;
    m_graph = nullptr;
}

QAction* CurveDocument::makeAction(const char* objectName, const QString& text, const QString& toolTip,
    const QString& icon, const QKeySequence& key)
{
    auto* action = new QAction(text, this);
    action->setObjectName(QLatin1String(objectName));
    if (!toolTip.isEmpty())
        action->setToolTip(toolTip);
    if (!icon.isEmpty())
        action->setIcon(QIcon(icon));
    if (!key.isEmpty()) {
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    return action;
}

void CurveDocument::buildActions()
{
    m_actionSave = makeAction("actionSave", tr("Save"), QString(),
        QStringLiteral(":res/toolButtons/save.png"), QKeySequence(QStringLiteral("Ctrl+S")));
    m_actionSave->setEnabled(false);
    guardSaveAction(m_actionSave);
    m_actionExportToImage = makeAction("actionExportToImage", tr("Export to Image"), QString(),
        QStringLiteral(":res/toolButtons/export_img.png"));
    m_actionInsertTreeRow = makeAction("actionInsertTreeRow", tr("Insert Row"), QString(),
        QStringLiteral(":res/toolButtons/plus_sign.png"), QKeySequence(Qt::Key_Insert));
    m_actionDeleteTreeRow = makeAction("actionDeleteTreeRow", tr("Delete Row"), QString(),
        QStringLiteral(":res/toolButtons/delete_row.png"), QKeySequence(Qt::Key_Delete));
    m_actionImportCSV = makeAction(
        "actionImportCSV", tr("Import CSV"), QString(), QStringLiteral(":res/toolButtons/import.png"));
    m_actionShowIV = makeAction("actionShowIV", tr("IV"), tr("Show IV Curves"));
    m_actionShowPWR = makeAction("actionShowPWR", tr("PWR"), tr("Show VP Power Curves"));
    m_actionShowMEAS = makeAction("actionShowMEAS", tr("MEAS"), tr("Show Measured Curve Data"));
    m_actionShowSTC = makeAction("actionShowSTC", tr("STC"), tr("Show STC-corrected Curves"));
    m_actionShowNOM = makeAction("actionShowNOM", tr("NOM"), tr("Show Nominal Curve"));
    for (QAction* toggle :
        { m_actionShowIV, m_actionShowPWR, m_actionShowMEAS, m_actionShowSTC, m_actionShowNOM })
        toggle->setCheckable(true);
    m_actionShowIV->setChecked(true);
    m_actionShowSTC->setChecked(true);
    m_actionDownload = makeAction("actionDownload", tr("Download"), tr("Download data from tester"),
        QStringLiteral(":res/toolButtons/download.png"));
    m_actionViewDetails = makeAction("actionViewDetails", tr("View Details"), tr("View Details from tester"));
    m_actionManageModules = makeAction("actionManageModules", tr("Manage Module Database"), QString(),
        QStringLiteral(":res/toolButtons/module32.png"));
    m_actionAssignModule
        = makeAction("actionAssignModule", tr("Set PV Module Type"), tr("Manage Module Database"));
    m_actionCurveReport = makeAction(
        "actionCurveReport", tr("Curve Report"), QString(), QStringLiteral(":res/toolButtons/report.png"));
    m_actionImportIrradianceFile = makeAction("actionImportIrradianceFile", tr("Import from CSV file"),
        tr("Import Irradiance/Temp data from CSV file"));
    m_actionImportIrradianceMT410 = makeAction("actionImportIrradianceMT410", tr("Import from Meteor 410K"),
        tr("Import Irradiance/Temp data from Meteor 410K"));
    m_actionExportPoints = makeAction("actionExportPoints", tr("Export MEAS IV Curve Points"),
        tr("Export Measured IV Curve Points in CSV format"), QStringLiteral(":res/toolButtons/export.png"));
    m_actionExportPointsSTC = makeAction("actionExportPointsSTC", tr("Export STC IV Curve Points"),
        tr("Export STC IV Curve Points in CSV format"));
    m_actionExportPWRPoints = makeAction("actionExportPWRPoints", tr("Export MEAS PWR Curve Points"),
        tr("Export Measured Power Curve Points in CSV format"));
    m_actionExportPWRPointsSTC = makeAction("actionExportPWRPointsSTC", tr("Export STC PWR Curve Points"),
        tr("Export STC Power Curve Points in CSV format"));
    m_actionSetColour = makeAction("actionSetColour", tr("Set Colour"),
        tr("Change the colour of lines on the graph associated with this string"));
    m_actionCompareStrings = makeAction("actionCompareStrings", tr("Compare Strings"),
        tr("Compare the strings of the selected folders at STC, with their verdicts"));
    m_actionVerdictTolerances = makeAction("actionVerdictTolerances", tr("Verdict Tolerances..."),
        tr("What a string must reach at STC against its modules' data sheet"));

    connect(m_actionSave, &QAction::triggered, this, &CurveDocument::save);
    connect(m_actionExportToImage, &QAction::triggered, m_graph, &CurveGraph::exportimg);
    connect(m_actionInsertTreeRow, &QAction::triggered, this, &CurveDocument::slotInsertRow);
    connect(m_actionDeleteTreeRow, &QAction::triggered, this, &CurveDocument::slotDeleteRow);
    connect(m_actionImportCSV, &QAction::triggered, this, &CurveDocument::slotImport);
    connect(m_actionShowIV, &QAction::toggled, m_graph, &CurveGraph::displayIVToggled);
    connect(m_actionShowPWR, &QAction::toggled, m_graph, &CurveGraph::displayPWRToggled);
    connect(m_actionShowMEAS, &QAction::toggled, m_graph, &CurveGraph::displayMEASToggled);
    connect(m_actionShowSTC, &QAction::toggled, m_graph, &CurveGraph::displaySTCToggled);
    connect(m_actionShowNOM, &QAction::toggled, m_graph, &CurveGraph::displayNOMToggled);
    connect(m_actionDownload, &QAction::triggered, this, &CurveDocument::slotDownload);
    connect(m_actionViewDetails, &QAction::triggered, this, qOverload<>(&CurveDocument::slotViewDetails));
    connect(m_actionManageModules, &QAction::triggered, this, &CurveDocument::slotManageModules);
    connect(m_actionAssignModule, &QAction::triggered, this, &CurveDocument::slotAssignModule);
    connect(m_actionCurveReport, &QAction::triggered, this, &CurveDocument::slotCurveReport);
    connect(
        m_actionImportIrradianceFile, &QAction::triggered, this, &CurveDocument::slotImportIrradianceFile);
    connect(
        m_actionImportIrradianceMT410, &QAction::triggered, this, &CurveDocument::slotImportIrradianceMT410);
    connect(m_actionExportPoints, &QAction::triggered, this, &CurveDocument::slotExportPoints);
    connect(m_actionExportPointsSTC, &QAction::triggered, this, &CurveDocument::slotExportPointsSTC);
    connect(m_actionExportPWRPoints, &QAction::triggered, this, &CurveDocument::slotExportPWRPoints);
    connect(m_actionExportPWRPointsSTC, &QAction::triggered, this, &CurveDocument::slotExportPWRPointsSTC);
    connect(m_actionSetColour, &QAction::triggered, this, &CurveDocument::slotSetColour);
    connect(m_actionCompareStrings, &QAction::triggered, this, &CurveDocument::slotCompareStrings);
    connect(m_actionVerdictTolerances, &QAction::triggered, this, &CurveDocument::slotVerdictTolerances);
}

void CurveDocument::buildMenus()
{
    QToolBar* bar = toolBar();
    bar->addAction(m_actionSave);
    bar->addSeparator();
    bar->addActions({ m_actionShowMEAS, m_actionShowSTC, m_actionShowNOM, m_actionShowIV, m_actionShowPWR });
    bar->addSeparator();
    bar->addActions({ m_actionDownload, m_actionImportCSV });
    bar->addSeparator();
    bar->addActions({ m_actionCurveReport, m_actionExportToImage });
    bar->addSeparator();
    bar->addAction(m_actionManageModules);
    addAction(m_actionSave);
    // Insert and Delete belong to the tree: there the keys edit rows, elsewhere they do not.
    m_tree->addActions({ m_actionInsertTreeRow, m_actionDeleteTreeRow });

    m_contextMenu = new QMenu(this);
    m_contextMenu->setObjectName(QStringLiteral("curveTreeContextMenu"));
    m_contextMenu->addActions({ m_actionSave, m_actionInsertTreeRow, m_actionDeleteTreeRow,
        m_actionViewDetails, m_actionAssignModule, m_actionCurveReport });
    QMenu* irradiance = m_contextMenu->addMenu(tr("Import Irradiance/Temp data"));
    irradiance->addActions({ m_actionImportIrradianceFile, m_actionImportIrradianceMT410 });
    QMenu* exports = m_contextMenu->addMenu(tr("Export Points"));
    exports->addActions({ m_actionExportPoints, m_actionExportPointsSTC, m_actionExportPWRPoints,
        m_actionExportPWRPointsSTC });
    m_contextMenu->addAction(m_actionSetColour);
    m_contextMenu->addSeparator();
    m_contextMenu->addActions({ m_actionCompareStrings, m_actionVerdictTolerances });
}

void CurveDocument::guarded(const std::function<void()>& command)
{
    // Commands ask questions and run dialogs; a close that comes meanwhile waits for them.
    DocumentDialogScope dialogs(this);
    try {
        command();
    } catch (const std::exception& e) {
        QApplication::restoreOverrideCursor();
        Prompts::show(QMessageBox::Critical, this,
            tr("Exception thrown: %1").arg(QString::fromLocal8Bit(e.what())), QString(), QMessageBox::Ok,
            Brand::productTitle());
    }
}

QModelIndexList CurveDocument::selectedRows() const
{
    if (!m_tree->selectionModel())
        return {};
    return m_tree->selectionModel()->selectedRows(0);
}

QList<uint> CurveDocument::selectedCurveIDs() const
{
    QList<uint> ids;
    CurveTreeModel* model = m_store->treeModel();
    for (const QModelIndex& index : selectedRows()) {
        const uint id = model->itemFromIndex(index)->data(TreeCurveID).toUInt();
        if (id != 0)
            ids << id;
    }
    return ids;
}

bool CurveDocument::fileInPlace()
{
    if (m_store->isReadOnly()) {
        QApplication::restoreOverrideCursor();
        ImportPrompts::show(m_store->readOnlyNotice(), this);
        return false;
    }
    QString error;
    if (m_store->ensureFileAtPath(&error))
        return true;
    QApplication::restoreOverrideCursor();
    Prompts::show(QMessageBox::Critical, this,
        QCoreApplication::translate("Error Message",
            "The file %1 was deleted or moved while it was open, and could not be written again.")
            .arg(QDir::toNativeSeparators(filePath())),
        error, QMessageBox::Ok, Brand::productTitle());
    return false;
}

void CurveDocument::modified(bool dirty)
{
    m_actionSave->setEnabled(dirty);
    setModified(dirty);
}

void CurveDocument::onCustomContextMenu(const QPoint& point)
{
    m_contextIndex = m_tree->indexAt(point);
    m_contextMenu->popup(m_tree->viewport()->mapToGlobal(point));
}

void CurveDocument::save()
{
    guarded([this] {
        if (!m_store->treeModel())
            return;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QCoreApplication::processEvents();
        const bool saved = fileInPlace() && m_store->treeModel()->slotSave();
        QApplication::restoreOverrideCursor();
        // A save that failed leaves the work marked unsaved, so that closing still asks.
        if (saved)
            modified(false);
    });
}

bool CurveDocument::maybeSave()
{
    // While a command of the document runs a dialog the close is put off until it returns.
    if (isRunningDialog())
        return DocumentWithToolbar::maybeSave();
    if (!isModified())
        return true;
    const PromptButton answer = Prompts::show(QMessageBox::Warning, this,
        QCoreApplication::translate("Warning Message", "Save changes to %1?").arg(fileName()), QString(),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, Brand::productTitle());
    switch (answer) {
    case QMessageBox::Yes:
        save();
        return !isModified();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void CurveDocument::slotInsertRow()
{
    guarded([this] {
        CurveTreeModel* model = m_store->treeModel();
        if (!model)
            return;
        const QModelIndex parent = m_contextIndex.isValid()
            ? QModelIndex(m_contextIndex).sibling(m_contextIndex.row(), 0)
            : QModelIndex();
        m_contextIndex = QPersistentModelIndex();
        model->newNode(parent);
        if (parent.isValid())
            m_tree->expand(parent);
    });
}

void CurveDocument::slotDeleteRow()
{
    guarded([this] {
        CurveTreeModel* model = m_store->treeModel();
        if (!model)
            return;
        m_contextIndex = QPersistentModelIndex();
        QList<QPersistentModelIndex> rows;
        for (const QModelIndex& index : selectedRows())
            rows << QPersistentModelIndex(index);
        if (rows.isEmpty())
            return;
        // A folder takes its strings with it, and there is no undo: the user is asked, told
        // how many strings go. A single string deleted on its own is what was asked for.
        int strings = 0;
        bool folder = false;
        std::vector<TreeItem*> pending;
        for (const QPersistentModelIndex& row : qAsConst(rows)) {
            TreeItem* item = model->itemFromIndex(row);
            folder |= item->childCount() > 0;
            pending.push_back(item);
        }
        QSet<TreeItem*> counted;
        while (!pending.empty()) {
            TreeItem* item = pending.back();
            pending.pop_back();
            if (counted.contains(item))
                continue;
            counted.insert(item);
            if (item->curveID() != 0)
                ++strings;
            for (int i = 0; i < item->childCount(); ++i)
                pending.push_back(item->child(i));
        }
        if (folder && strings > 0) {
            const QPointer<CurveDocument> self(this);
            const PromptButton answer = Prompts::show(QMessageBox::Question, this,
                QCoreApplication::translate(
                    "User prompt", "Delete the selected rows? Strings that go with them: %1.")
                    .arg(strings),
                QCoreApplication::translate("User prompt",
                    "This cannot be undone. Their curves leave the file when it is saved; closing without "
                    "saving keeps them."),
                QMessageBox::Yes | QMessageBox::No, Brand::productTitle());
            if (!self || answer != QMessageBox::Yes)
                return;
        }
        // Later rows first, so that the rows still to go keep their places.
        std::sort(rows.begin(), rows.end(),
            [](const QPersistentModelIndex& a, const QPersistentModelIndex& b) { return a.row() > b.row(); });
        for (const QPersistentModelIndex& row : qAsConst(rows)) {
            // A row inside a subtree removed before it is gone already.
            if (row.isValid())
                model->removeRows(row.row(), 1, row.parent());
        }
        modified(true);
    });
}

void CurveDocument::slotViewDetails()
{
    QModelIndex index = m_contextIndex;
    m_contextIndex = QPersistentModelIndex();
    // From the tool bar: the current string, else the first selected one.
    if (!index.isValid() && m_tree->selectionModel()) {
        index = m_tree->selectionModel()->currentIndex();
        const QModelIndexList rows = selectedRows();
        if (!index.isValid() && !rows.isEmpty())
            index = rows.first();
    }
    slotViewDetails(index);
}

void CurveDocument::slotViewDetails(const QModelIndex& index)
{
    guarded([this, index] {
        CurveTreeModel* model = m_store->treeModel();
        CurveGraphModel* graphModel = m_store->graphModel();
        if (!index.isValid() || !model || !graphModel)
            return;
        TreeItem* item = model->itemFromIndex(index.siblingAtColumn(0));
        const uint id = item ? item->curveID() : 0;
        if (id == 0)
            return;
        // A string that is not shown is read for the dialog alone: looking at its details must
        // not put it on the graph or into the report.
        std::unique_ptr<CurveRecord> unshown;
        CurveRecord* record = graphModel->cached(id);
        if (!record) {
            unshown = graphModel->load(id);
            record = unshown.get();
        }
        if (!record)
            return;
        const QPersistentModelIndex row(index.siblingAtColumn(0));
        CurveDetailsDialog dialog(
            *record, item->data(TreeLabel).toString(), item->data(TreeStatus).toUInt(), this);
        if (Prompts::instance().execDialog(&dialog) != QDialog::Accepted)
            return;
        // The row or the record may have gone, or the string been shown or let go, while the
        // dialog was open.
        if (!row.isValid() || !fileInPlace())
            return;
        CurveRecord* shown = graphModel->cached(id);
        record = shown ? shown : unshown.get();
        if (!record)
            return;
        item = model->itemFromIndex(row);
        const QString label = record->label;
        const QColor colour = record->colour;
        *record = dialog.record();
        record->label = label;
        record->colour = colour;
        record->invalidateTranslations();
        item->setData(TreeIrradiance, record->value(CurveRecord::Irradiance));
        item->setData(TreeCellTemp, record->value(CurveRecord::CellTemp));
        item->setData(TreeAmbientTemp, record->value(CurveRecord::AmbientTemp));
        item->setData(TreeStatus, dialog.status());
        model->refreshRow(item);
        QSqlQuery status(m_store->database());
        status.prepare(QStringLiteral("UPDATE TreeNodes SET Status = ? WHERE NodeID = ?"));
        status.addBindValue(dialog.status());
        status.addBindValue(item->data(TreeNodeID));
        if (!status.exec())
            throw std::runtime_error(status.lastError().text().toStdString());
        graphModel->updateDetails(id, record);
        if (!shown)
            return;
        // The string's lines are drawn again from the new STC and NOM series.
        emit graphModel->signalStringDeselected(id);
        emit graphModel->signalStringSelected(id);
        // The new lines take the string's place in the legend.
        m_graph->updateLegend(m_graph->titleText());
        m_graph->refresh();
    });
}

void CurveDocument::applyColour(const QModelIndex& index, const QColor& colour)
{
    TreeItem* item = m_store->treeModel()->itemFromIndex(index);
    if (!colour.isValid() || item == m_store->treeModel()->rootItem())
        return;
    item->setColour(colour);
    m_store->treeModel()->refreshRow(item);
    const uint id = item->data(TreeCurveID).toUInt();
    if (id != 0)
        m_graph->setStringColour(id, colour);
}

void CurveDocument::slotCompareStrings()
{
    guarded([this] {
        CurveTreeModel* tree = m_store->treeModel();
        CurveGraphModel* curves = m_store->graphModel();
        if (!tree || !curves)
            return;
        QVector<const TreeItem*> nodes;
        for (const QModelIndex& index : selectedRows())
            nodes.append(tree->itemFromIndex(index));
        const QVector<StringComparison::StringRef> strings = StringComparison::stringsUnder(nodes);
        if (strings.isEmpty()) {
            Prompts::show(QMessageBox::Warning, this,
                QCoreApplication::translate("Warning Message", "No strings selected"), QString(),
                QMessageBox::Ok, Brand::productTitle());
            return;
        }
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const QVector<ComparisonRow> rows = StringComparison::build(*curves, strings, m_store->tolerances());
        QApplication::restoreOverrideCursor();
        StringComparisonDialog dialog(rows, QFileInfo(filePath()).completeBaseName(), this);
        Prompts::instance().execDialog(&dialog);
    });
}

void CurveDocument::refreshVerdicts()
{
    CurveTreeModel* tree = m_store->treeModel();
    CurveGraphModel* curves = m_store->graphModel();
    if (!tree || !curves)
        return;
    QHash<uint, Verdict> verdicts;
    if (m_tree->columnMask() & (1 << ColumnVerdict)) {
        const QVector<StringComparison::StringRef> strings
            = StringComparison::stringsUnder({ tree->rootItem() });
        const QVector<ComparisonRow> rows = StringComparison::build(*curves, strings, m_store->tolerances());
        for (int i = 0; i < rows.size(); ++i)
            verdicts.insert(strings.at(i).curveID, rows.at(i).verdict);
    }
    tree->setVerdicts(verdicts);
}

void CurveDocument::slotVerdictTolerances()
{
    guarded([this] {
        VerdictTolerancesDialog dialog(m_store->tolerances(), this);
        if (Prompts::instance().execDialog(&dialog) != QDialog::Accepted || !fileInPlace())
            return;
        QString error;
        if (!m_store->setTolerances(dialog.tolerances(), &error))
            Prompts::show(
                QMessageBox::Warning, this, error, QString(), QMessageBox::Ok, Brand::productTitle());
        refreshVerdicts();
    });
}

void CurveDocument::slotSetColour()
{
    guarded([this] {
        if (!m_store->treeModel())
            return;
        const QModelIndexList rows = selectedRows();
        if (rows.isEmpty())
            return;
        const QColor colour = Prompts::instance().color(this, tr("Set Colour"), QColor(Qt::darkBlue));
        if (!colour.isValid())
            return;
        for (const QModelIndex& index : rows)
            applyColour(index, colour);
        modified(true);
    });
}

void CurveDocument::slotDoubleClickTree(const QModelIndex& index)
{
    guarded([this, index] {
        // Every column of a string opens its details, its name's too: renaming is on F2.
        if (!index.isValid() || !m_store->treeModel())
            return;
        if (index.column() == ColumnColour) {
            TreeItem* item = m_store->treeModel()->itemFromIndex(index);
            const QColor colour = Prompts::instance().color(this, tr("Set Colour"), item->colour());
            if (!colour.isValid())
                return;
            applyColour(index, colour);
            modified(true);
            return;
        }
        slotViewDetails(index);
    });
}

void CurveDocument::slotManageModules()
{
    guarded([this] {
        CurveModulesDlg dialog(this);
        Prompts::instance().execDialog(&dialog);
    });
}

void CurveDocument::slotAssignModule()
{
    guarded([this] {
        const QList<uint> ids = selectedCurveIDs();
        if (selectedRows().isEmpty() || !m_store->graphModel())
            return;
        CurveModulesChooser chooser(this);
        if (Prompts::instance().execDialog(&chooser) != QDialog::Accepted || chooser.moduleID() == 0)
            return;
        ModuleLibrary& library = ModuleLibrary::instance();
        CurveModuleRow row;
        if (!library.open() || !library.module(chooser.moduleID(), &row) || !fileInPlace())
            return;
        for (uint id : ids)
            m_store->graphModel()->assignModule(id, row, chooser.seriesCount());
        m_graph->updateLegend(m_graph->titleText());
    });
}

void CurveDocument::slotCurveReport()
{
    guarded([this] {
        if (!m_store->graphModel())
            return;
        // The strings of the selected rows, folders included, as the graph shows them.
        CurveReport::run(this, m_graph, m_store->graphModel(), m_store->graphModel()->cachedCurveIDs(),
            m_store->tolerances());
    });
}

void CurveDocument::slotExportPoints()
{
    exportPoints(PointsExport::MeasuredIV);
}

void CurveDocument::slotExportPointsSTC()
{
    exportPoints(PointsExport::STCIV);
}

void CurveDocument::slotExportPWRPoints()
{
    exportPoints(PointsExport::MeasuredPower);
}

void CurveDocument::slotExportPWRPointsSTC()
{
    exportPoints(PointsExport::STCPower);
}

void CurveDocument::exportPoints(int kind)
{
    guarded([this, kind] {
        CurveGraphModel* graphModel = m_store->graphModel();
        if (!graphModel)
            return;
        // Folders have no points of their own; with no string among the rows there is nothing
        // to export, which is said rather than nothing happening at all.
        if (selectedCurveIDs().isEmpty()) {
            Prompts::show(QMessageBox::Warning, this,
                QCoreApplication::translate("Warning Message", "No strings selected"), QString(),
                QMessageBox::Ok, Brand::productTitle());
            return;
        }
        const QPointer<CurveDocument> self(this);
        for (const QModelIndex& index : selectedRows()) {
            TreeItem* item = m_store->treeModel()->itemFromIndex(index);
            const uint id = item->data(TreeCurveID).toUInt();
            CurveRecord* record = id != 0 ? graphModel->cache(id) : nullptr;
            if (!record)
                continue;
            const QString label = item->data(TreeLabel).toString();
            const QString proposed
                = QDir::toNativeSeparators(settingOr(SettingsKeys::lastExportDir(), SettingsKeys::rootDir())
                    + QLatin1Char('/') + label + PointsExport::suffix(PointsExport::Kind(kind)));
            const QString path = Prompts::instance().saveFileName(this,
                QCoreApplication::translate("File Save Dialog", "Save CSV file"), proposed,
                QCoreApplication::translate("File Save Dialog", "CSV file (*.csv)"));
            if (!self)
                return;
            if (path.isEmpty())
                continue;
            QSettings().setValue(SettingsKeys::lastExportDir(), QFileInfo(path).absolutePath());
            // The old file stays until the new one is complete.
            QString error;
            if (!SafeWrite::writeFile(
                    path, PointsExport::content(*record, label, PointsExport::Kind(kind)), &error))
                Prompts::show(QMessageBox::Critical, this, tr(" Could not open file:\n %1").arg(path), error,
                    QMessageBox::Ok, Brand::productTitle());
        }
    });
}

std::function<bool(int, int)> CurveDocument::importProgress(
    const QString& path, int threshold, std::unique_ptr<QProgressDialog>* progress)
{
    const QPointer<CurveDocument> self(this);
    return [this, self, path, threshold, progress](int done, int total) {
        if (!*progress && total > threshold) {
            *progress = std::make_unique<QProgressDialog>(
                tr("Importing %1").arg(QFileInfo(path).fileName()), tr("Cancel"), 0, total, this);
            (*progress)->setWindowModality(Qt::WindowModal);
            (*progress)->setMinimumDuration(500);
        }
        if (!*progress)
            return true;
        (*progress)->setValue(done);
        return self && !(*progress)->wasCanceled();
    };
}

bool CurveDocument::importTesterFile(const QString& path)
{
    if (!m_store->treeModel() || !fileInPlace())
        return false;
    DocumentDialogScope dialogs(this);
    ImportPrompts prompts(this);
    TesterFileImporter importer(*m_store, &prompts);
    std::unique_ptr<QProgressDialog> progress;
    importer.setProgress(importProgress(path, progressDialogLines, &progress));
    const bool imported = importer.importFile(path);
    prompts.tell(importer.takeNotices());
    return imported;
}

void CurveDocument::slotImport()
{
    guarded([this] {
        if (!m_store->treeModel())
            return;
        const QPointer<CurveDocument> self(this);
        const QString path = Prompts::instance().openFileName(this, tr("Import CSV File"),
            settingOr(SettingsKeys::lastImportDir(), SettingsKeys::rootDir()), tr("CSV Files (*.csv)"));
        if (!self || path.isEmpty())
            return;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QCoreApplication::processEvents();
        importTesterFile(path);
        QSettings().setValue(SettingsKeys::lastImportDir(), QFileInfo(path).absolutePath());
        QApplication::restoreOverrideCursor();
    });
}

void CurveDocument::importMeterFile(const QString& path)
{
    DocumentDialogScope dialogs(this);
    if (!fileInPlace())
        return;
    ImportPrompts prompts(this);
    MeterFileImporter importer(*m_store, &prompts);
    std::unique_ptr<QProgressDialog> progress;
    // Cancel keeps what was done.
    importer.setProgress(importProgress(path, progressDialogStrings, &progress));
    importer.importFile(path, selectedRows());
    prompts.tell(importer.takeNotices());
}

void CurveDocument::slotImportIrradianceFile()
{
    guarded([this] {
        if (!m_store->treeModel())
            return;
        if (selectedRows().isEmpty()) {
            ImportPrompts prompts(this);
            MeterFileImporter importer(*m_store, &prompts);
            importer.importFile(QString(), {});
            prompts.tell(importer.takeNotices());
            return;
        }
        const QPointer<CurveDocument> self(this);
        const QString path
            = Prompts::instance().openFileName(this, tr("Import Irradiance/Temp data from CSV file"),
                settingOr(SettingsKeys::lastImportDir(), SettingsKeys::rootDir()), tr("CSV Files (*.csv)"));
        if (!self || path.isEmpty())
            return;
        importMeterFile(path);
    });
}

bool CurveDocument::startDataLogger(Download which)
{
    DataLoggerLauncher*& launcher = which == Download::Tester ? m_testerLogger : m_meterLogger;
    if (!launcher) {
        launcher = new DataLoggerLauncher(this, this);
        if (which == Download::Tester)
            connect(launcher, &DataLoggerLauncher::fileToImport, this,
                [this](const QString& path) { guarded([this, path] { importTesterFile(path); }); });
        else
            connect(launcher, &DataLoggerLauncher::fileToImport, this,
                [this](const QString& path) { guarded([this, path] { importMeterFile(path); }); });
    }
    return launcher->start();
}

void CurveDocument::slotDownload()
{
    guarded([this] { startDataLogger(Download::Tester); });
}

void CurveDocument::slotImportIrradianceMT410()
{
    guarded([this] { startDataLogger(Download::Meter); });
}

} // namespace IVCurve
