#pragma once

#include "AbstractDocument.h"

class QScrollArea;
class QToolBar;
class QVBoxLayout;

// A document with a tool bar above a scroll area. Subclasses put their actions into the tool
// bar and their content widget into the scroll area.
class DocumentWithToolbar : public AbstractDocument
{
    Q_OBJECT
public:
    DocumentWithToolbar(const QString& filePath, QWidget* parent = nullptr);

    QToolBar* toolBar() const { return m_toolBar; }
    QScrollArea* scrollArea() const { return m_scrollArea; }
    QVBoxLayout* documentLayout() const { return m_layout; }

private:
    QVBoxLayout* m_layout;
    QToolBar* m_toolBar;
    QScrollArea* m_scrollArea;
};
