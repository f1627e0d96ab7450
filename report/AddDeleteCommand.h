#pragma once

#include <QPointer>
#include <QUndoCommand>
#include <memory>

class AbstractReportItem;
class ReportDocument;
struct ReportItem;

// Adding or deleting a report item takes its model item into the report's model or out of it;
// the view is shown or hidden to follow.
class AddDeleteCommand : public QUndoCommand
{
public:
    // An item added hands its own model item to the command; parent is the model item of the
    // view's parent, none for an item of the document's root.
    AddDeleteCommand(AbstractReportItem* item, bool added, ReportDocument* document, ReportItem* parent);
    // The command owns the item while its effect keeps the item out of the report (an addition
    // undone, a deletion done) and destroys it then.
    ~AddDeleteCommand() override;

    void undo() override;
    void redo() override;

    // True while the item is out of the report because of this command.
    bool removesItem() const;

private:
    void include(bool included);

    QPointer<AbstractReportItem> m_item;
    ReportDocument* m_document;
    ReportItem* m_parent;
    ReportItem* m_model;
    // The model item while it is out of the report's model, and where it stood there.
    std::unique_ptr<ReportItem> m_removed;
    size_t m_index = 0;
    bool m_added;
    bool m_done = false;
};
