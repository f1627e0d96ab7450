#include "DocumentWithToolbar.h"

#include <QScrollArea>
#include <QToolBar>
#include <QVBoxLayout>

DocumentWithToolbar::DocumentWithToolbar(const QString& filePath, QWidget* parent)
    : AbstractDocument(filePath, parent)
    , m_layout(new QVBoxLayout(this))
    , m_toolBar(new QToolBar(this))
    , m_scrollArea(new QScrollArea(this))
{
    m_layout->setSpacing(0);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_toolBar->setFloatable(false);
    m_toolBar->setObjectName(QStringLiteral("documentToolBar"));
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setWidgetResizable(true);
    m_layout->addWidget(m_toolBar);
    m_layout->addWidget(m_scrollArea);
}
