#include "ReportScene.h"

#include "AbstractDocument.h"
#include "AbstractReportItem.h"
#include "AddDeleteCommand.h"
#include "GraphicsTextItem.h"
#include "MainWindowRef.h"
#include "Prompts.h"
#include "ReportFile.h"
#include "ReportPage.h"
#include "ReportTable.h"
#include "ReportTableCell.h"
#include "SettingsKeys.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGraphicsRectItem>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QSettings>
#include <QTextCursor>
#include <QTextDocument>
#include <QUndoStack>

ReportScene::ReportScene(QUndoStack* undoStack, QObject* parent)
    : QGraphicsScene(parent)
    , m_undoStack(undoStack)
{
    setBackgroundBrush(QBrush(Qt::gray));
}

bool ReportScene::load(const QString& path)
{
    // The layout set follows the language of the user interface.
    return ReportFile::load(
        this, path, QSettings().value(SettingsKeys::locale(), SettingsKeys::defaultLocale()).toString());
}

bool ReportScene::save(const QString& path)
{
    // Writing takes the focus away, which ends the editing of the focused field and so commits
    // what is typed there; afterwards the user goes on where they were, keys and caret included.
    QGraphicsItem* focused = focusItem();
    const QPointer<QGraphicsObject> focusedObject = focused ? focused->toGraphicsObject() : nullptr;
    auto* editor = qobject_cast<GraphicsTextItem*>(focusedObject.data());
    const Qt::TextInteractionFlags interaction
        = editor ? editor->textInteractionFlags() : Qt::TextInteractionFlags();
    const QTextCursor caret = editor ? editor->textCursor() : QTextCursor();
    const bool saved = ReportFile::save(this, path);
    if (focusedObject && focusedObject->scene() == this && !focusItem()) {
        if (editor)
            editor->setTextInteractionFlags(interaction);
        focusedObject->setFocus(Qt::OtherFocusReason);
        if (editor)
            editor->setTextCursor(caret);
    }
    return saved;
}

AbstractReportItem* ReportScene::itemById(const QString& id) const
{
    return m_ids.value(id);
}

AbstractReportItem* ReportScene::viewOf(const ReportItem* item) const
{
    const auto found = [this, item]() -> AbstractReportItem* {
        auto* view = static_cast<AbstractReportItem*>(m_views.value(item).data());
        return view && view->boundModel() == item ? view : nullptr;
    };
    if (AbstractReportItem* view = found())
        return view;
    m_views.clear();
    for (QGraphicsItem* candidate : items()) {
        if (!ReportItemType::isReportItem(candidate))
            continue;
        auto* view = static_cast<AbstractReportItem*>(static_cast<QGraphicsObject*>(candidate));
        if (view->boundModel())
            m_views.insert(view->boundModel(), view);
    }
    return found();
}

void ReportScene::connectItem(AbstractReportItem* item)
{
    connect(item, QOverload<bool>::of(&AbstractReportItem::modified), this, &ReportScene::modified,
        Qt::UniqueConnection);
    connect(item, &AbstractReportItem::newCommand, this, &ReportScene::newCommand, Qt::UniqueConnection);
    connect(item, &AbstractReportItem::addRequested, this, &ReportScene::addWithUndo, Qt::UniqueConnection);
    connect(
        item, &AbstractReportItem::deleteRequested, this, &ReportScene::deleteWithUndo, Qt::UniqueConnection);
}

void ReportScene::addToTabChain(AbstractReportItem* item)
{
    if (m_tail)
        m_tail->setNextTabStop(item);
    else
        m_head = item;
    m_tail = item;
}

void ReportScene::addId(const QString& id, AbstractReportItem* item, bool replace)
{
    if (replace)
        m_ids.replace(id, item);
    else
        m_ids.insert(id, item);
}

void ReportScene::registerPages()
{
    m_pages.clear();
    QList<ReportPage*> pages;
    for (QGraphicsItem* item : items(Qt::AscendingOrder)) {
        if (!item->parentItem() && item->type() == ReportPage::Type)
            pages.append(static_cast<ReportPage*>(item));
    }
    // A page number beyond the pages present goes to the end instead of leaving a gap.
    for (ReportPage* page : pages)
        m_pages.insert(std::min(page->pageNumber() - 1, int(m_pages.size())), page);
}

void ReportScene::newCommand(QUndoCommand* cmd)
{
    m_undoStack->push(cmd);
}

void ReportScene::setDocument(std::unique_ptr<ReportDocument> document)
{
    m_document = std::move(document);
}

namespace {
ReportItem* parentModel(AbstractReportItem* item)
{
    QGraphicsItem* parent = item->parentItem();
    return parent && ReportItemType::isReportItem(parent)
        ? static_cast<AbstractReportItem*>(static_cast<QGraphicsObject*>(parent))->model()
        : nullptr;
}
} // namespace

void ReportScene::addWithUndo(AbstractReportItem* item)
{
    connectItem(item);
    newCommand(new AddDeleteCommand(item, true, m_document.get(), parentModel(item)));
}

void ReportScene::deleteWithUndo(AbstractReportItem* item)
{
    newCommand(new AddDeleteCommand(item, false, m_document.get(), item->model()->parent));
}

void ReportScene::keyPressEvent(QKeyEvent* event)
{
    const bool tab = event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier);
    const bool backtab = event->key() == Qt::Key_Backtab || (event->key() == Qt::Key_Tab && !tab);
    if (!tab && !backtab) {
        QGraphicsScene::keyPressEvent(event);
        return;
    }
    stepTabChain(tab);
    event->accept();
}

// QGraphicsScene::event turns Tab and Backtab into its own focus chain before any key handler
// sees them; the report's chain takes them first.
bool ReportScene::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(key);
            return true;
        }
    }
    return QGraphicsScene::event(event);
}

void ReportScene::stepTabChain(bool forward)
{
    AbstractReportItem* current = nullptr;
    for (QGraphicsItem* item = focusItem(); item; item = item->parentItem()) {
        if (ReportItemType::isReportItem(item)) {
            current = static_cast<AbstractReportItem*>(static_cast<QGraphicsObject*>(item));
            break;
        }
    }
    AbstractReportItem* target = nullptr;
    if (current && current->type() == ReportTableCell::Type) {
        // Inside a table Tab goes from value to value; past the last one it leaves the table
        // for the field that follows it in the layout.
        auto* cell = static_cast<ReportTableCell*>(current);
        if (ReportTableCell* next = cell->table()->nextEditableCell(cell, forward)) {
            cell->table()->editCell(next);
            showFocused(next);
            return;
        }
        target = tabStopBeside(cell->table(), forward);
    } else if (current) {
        target = forward ? current->nextTabStop() : current->previousTabStop();
    }
    if (!target)
        target = forward ? m_head : m_tail;
    if (!target)
        return;
    target->setFocus(Qt::OtherFocusReason);
    showFocused(target);
}

void ReportScene::showFocused(AbstractReportItem* target)
{
    // Also after a wrap from the last field to the first: the field may be pages away.
    for (QGraphicsView* view : views())
        view->ensureVisible(target, 50, 50);
}

AbstractReportItem* ReportScene::tabStopBeside(const QGraphicsItem* item, bool forward) const
{
    // The layout's order is its items depth first, as the chain was built.
    QList<QGraphicsItem*> order;
    QList<QGraphicsItem*> pending;
    for (QGraphicsItem* top : items(Qt::AscendingOrder)) {
        if (!top->parentItem())
            pending.append(top);
    }
    std::reverse(pending.begin(), pending.end());
    while (!pending.isEmpty()) {
        QGraphicsItem* next = pending.takeLast();
        order.append(next);
        const QList<QGraphicsItem*> children = next->childItems();
        for (auto it = children.crbegin(); it != children.crend(); ++it)
            pending.append(*it);
    }
    const int at = order.indexOf(const_cast<QGraphicsItem*>(item));
    if (at < 0)
        return nullptr;
    auto inChain = [this](QGraphicsItem* candidate) -> AbstractReportItem* {
        if (!ReportItemType::isReportItem(candidate))
            return nullptr;
        auto* reportItem = static_cast<AbstractReportItem*>(static_cast<QGraphicsObject*>(candidate));
        return reportItem == m_head || reportItem->previousTabStop() ? reportItem : nullptr;
    };
    for (int i = forward ? at + 1 : at - 1; i >= 0 && i < order.size(); i += forward ? 1 : -1) {
        if (AbstractReportItem* stop = inChain(order.at(i)))
            return stop;
    }
    return nullptr;
}

void ReportScene::startNewTextSteps()
{
    for (QGraphicsItem* item : items()) {
        const int type = item->type();
        if (type == ReportItemType::Text || type == ReportItemType::CheckBox || type == ReportItemType::Cell)
            static_cast<ReportText*>(item)->textItem()->startNewUndoStep();
    }
}

void ReportScene::print()
{
    DocumentDialogScope dialogs(this);
    setFocusItem(nullptr);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    QPrintDialog dialog(&printer, currentMainWindow());
    if (Prompts::instance().execDialog(&dialog) == QDialog::Accepted)
        paint(&printer);
}

void ReportScene::exportToPdf()
{
    DocumentDialogScope dialogs(this);
    setFocusItem(nullptr);
    QSettings settings;
    const QString folder = settings.value(SettingsKeys::lastPdfExportDir()).toString();
    const QString fileName = Prompts::instance().saveFileName(currentMainWindow(),
        QCoreApplication::translate("ReportScene", "Export PDF"), folder,
        QCoreApplication::translate("ReportScene", "PDF Files (*.pdf)"));
    if (fileName.isEmpty())
        return;
    settings.setValue(SettingsKeys::lastPdfExportDir(), QFileInfo(fileName).absolutePath());
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    // Set explicitly: a name without ".pdf" must still give a PDF file.
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(fileName);
    if (!paint(&printer)) {
        Prompts::show(QMessageBox::Warning, currentMainWindow(),
            QCoreApplication::translate("Error Message", "Error opening %1 for writing").arg(fileName),
            QCoreApplication::translate("Error Message", "Is the file read-only or has it been deleted?"));
    }
}

bool ReportScene::paint(QPrinter* printer)
{
    QPainter painter;
    if (!painter.begin(printer))
        return false;
    bool first = true;
    for (ReportPage* page : m_pages) {
        if (!first)
            printer->newPage();
        first = false;
        // The outline shows the sheet on screen; on paper it would be a frame at the sheet's edge.
        const QPen outline = page->paper()->pen();
        page->paper()->setPen(Qt::NoPen);
        render(&painter, QRectF(), page->sceneBoundingRect(), Qt::KeepAspectRatio);
        page->paper()->setPen(outline);
    }
    return painter.end();
}
