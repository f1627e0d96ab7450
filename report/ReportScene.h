#pragma once

#include "ReportModel.h"

#include <QGraphicsObject>
#include <QGraphicsScene>
#include <QHash>
#include <QList>
#include <QMultiMap>
#include <QPointer>
#include <QString>
#include <QUndoCommand>
#include <memory>

class AbstractReportItem;
class QPrinter;
class QUndoStack;
class ReportPage;

// The pages of one open report with everything on them, each the view of an item of the report's
// model, which the scene keeps and saves: the lookup of items by id, the order in which Tab walks
// the fields, and the way every item's edits reach the document's undo stack.
class ReportScene : public QGraphicsScene
{
    Q_OBJECT
public:
    explicit ReportScene(QUndoStack* undoStack, QObject* parent = nullptr);

    // Loads a report file into the empty scene; tells the user and returns false when it cannot.
    bool load(const QString& path);
    // Writes the scene to a file, atomically; tells the user and returns false on failure.
    bool save(const QString& path);

    QUndoStack* undoStack() const { return m_undoStack; }
    const QList<ReportPage*>& pages() const { return m_pages; }
    QString packPath() const { return m_document->packPath; }
    // The report as it stands, every edit included: what a save writes.
    ReportDocument* document() const { return m_document.get(); }
    void setDocument(std::unique_ptr<ReportDocument> document);
    // The item entered last under an id, or none.
    AbstractReportItem* itemById(const QString& id) const;
    // The view of a model item, or none.
    AbstractReportItem* viewOf(const ReportItem* item) const;
    AbstractReportItem* tabChainHead() const { return m_head; }
    AbstractReportItem* tabChainTail() const { return m_tail; }

    void addWithUndo(AbstractReportItem* item);
    void deleteWithUndo(AbstractReportItem* item);

    // Links an item's signals to the scene, once per item.
    void connectItem(AbstractReportItem* item);
    void addToTabChain(AbstractReportItem* item);
    void addId(const QString& id, AbstractReportItem* item, bool replace);
    void registerPages();

    // After a save: the next edit of any text starts a step of its own, so that it is a change
    // to save rather than part of a step that the save already wrote.
    void startNewTextSteps();

signals:
    void modified(bool changed);
    // Typing, a paste or a drop was cut (or refused) because the field is full.
    void inputCut();

public slots:
    void newCommand(QUndoCommand* cmd);
    void print();
    void exportToPdf();
    // One page per sheet; false when the printer could not be opened.
    bool paint(QPrinter* printer);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    void stepTabChain(bool forward);
    // The first tab stop after (or the last before) an item in the order of the layout.
    AbstractReportItem* tabStopBeside(const QGraphicsItem* item, bool forward) const;
    void showFocused(AbstractReportItem* target);

    QUndoStack* m_undoStack;
    std::unique_ptr<ReportDocument> m_document = std::make_unique<ReportDocument>();
    QList<ReportPage*> m_pages;
    QMultiMap<QString, AbstractReportItem*> m_ids;
    // Views by model item, gathered again when one asked for is missing.
    mutable QHash<const ReportItem*, QPointer<QGraphicsObject>> m_views;
    AbstractReportItem* m_head = nullptr;
    AbstractReportItem* m_tail = nullptr;
};
