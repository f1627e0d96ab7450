#include "AddDeleteCommand.h"

#include "AbstractReportItem.h"
#include "ReportModel.h"

#include <algorithm>

AddDeleteCommand::AddDeleteCommand(
    AbstractReportItem* item, bool added, ReportDocument* document, ReportItem* parent)
    : m_item(item)
    , m_document(document)
    , m_parent(parent)
    , m_model(item->model())
    , m_added(added)
{
    if (added) {
        m_removed = item->takeOwnModel();
        if (m_parent)
            m_index = m_parent->children.size();
        else if (m_document)
            m_index = m_document->items.size();
    }
}

AddDeleteCommand::~AddDeleteCommand()
{
    if (m_item && removesItem())
        delete m_item.data();
}

bool AddDeleteCommand::removesItem() const
{
    return m_added != m_done;
}

void AddDeleteCommand::include(bool included)
{
    std::vector<std::unique_ptr<ReportItem>>* siblings
        = m_parent ? &m_parent->children : (m_document ? &m_document->items : nullptr);
    if (siblings && included && m_removed) {
        m_removed->parent = m_parent;
        siblings->insert(siblings->begin() + std::min(m_index, siblings->size()), std::move(m_removed));
    } else if (siblings && !included && !m_removed) {
        auto at = std::find_if(siblings->begin(), siblings->end(),
            [this](const std::unique_ptr<ReportItem>& sibling) { return sibling.get() == m_model; });
        if (at != siblings->end()) {
            m_index = size_t(at - siblings->begin());
            m_removed = std::move(*at);
            siblings->erase(at);
        }
    }
    if (m_item)
        m_item->setVisible(included);
}

void AddDeleteCommand::undo()
{
    m_done = false;
    include(!m_added);
}

void AddDeleteCommand::redo()
{
    m_done = true;
    include(m_added);
}
