#pragma once

#include <QMdiSubWindow>

class AbstractDocument;

// The sub-window of one document. It asks the document before it lets itself be closed and
// is deleted, together with the document, when it closes.
class MdiSubWindow : public QMdiSubWindow
{
    Q_OBJECT
public:
    MdiSubWindow(AbstractDocument* document, Qt::WindowStates state);

protected:
    void closeEvent(QCloseEvent* event) override;
};
