#include "AbstractReportItem.h"

AbstractReportItem::AbstractReportItem(QGraphicsItem* parent)
    : QGraphicsObject(parent)
{ }

AbstractReportItem::~AbstractReportItem()
{
    // Neighbours must not keep pointing at a destroyed item.
    if (m_previous)
        m_previous->m_next = nullptr;
    if (m_next)
        m_next->m_previous = nullptr;
}

void AbstractReportItem::setNextTabStop(AbstractReportItem* next)
{
    if (m_next == next)
        return;
    if (m_next)
        m_next->m_previous = nullptr;
    if (next) {
        if (next->m_previous)
            next->m_previous->m_next = nullptr;
        next->m_previous = this;
    }
    m_next = next;
}

void AbstractReportItem::fromModel(const ReportItem& item)
{
    setPos(item.pos);
    const ReportItemStyle& style = item.style;
    m_explicitStyleMask = style.explicitMask;
    m_editable = style.editable;
    m_colour = QColor(style.colour);
    m_backgroundColour = QColor(style.backgroundColour);
    m_fontFamily = style.fontFamily;
    m_fontSize = style.fontSize;
    m_fontWeight = style.fontWeight;
    m_padding = style.padding;
    m_id = item.id;
}

bool AbstractReportItem::toModel(ReportItem& item) const
{
    item.pos = pos();
    ReportItemStyle& style = item.style;
    style.explicitMask = m_explicitStyleMask;
    style.editable = m_editable;
    style.colour = m_colour.name();
    style.backgroundColour = m_backgroundColour.name();
    style.fontFamily = m_fontFamily;
    style.fontSize = m_fontSize;
    style.fontWeight = m_fontWeight;
    style.padding = m_padding;
    item.id = m_id;
    return true;
}

ReportItem* AbstractReportItem::model()
{
    if (!m_model) {
        m_ownModel = std::make_unique<ReportItem>(modelKind());
        toModel(*m_ownModel);
        m_model = m_ownModel.get();
    }
    return m_model;
}

void AbstractReportItem::bindModel(ReportItem* item)
{
    m_ownModel.reset();
    m_model = item;
    storeInModel();
}

std::unique_ptr<ReportItem> AbstractReportItem::takeOwnModel()
{
    model();
    return std::move(m_ownModel);
}

void AbstractReportItem::storeInModel()
{
    if (m_model)
        toModel(*m_model);
}
