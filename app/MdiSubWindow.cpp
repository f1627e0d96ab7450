#include "MdiSubWindow.h"

#include "AbstractDocument.h"

#include <QCloseEvent>

MdiSubWindow::MdiSubWindow(AbstractDocument* document, Qt::WindowStates state)
    : QMdiSubWindow(nullptr, Qt::WindowFlags())
{
    setWidget(document);
    setWindowState(state);
    // A close refused while one of the document's dialogs ran comes back when it has returned.
    connect(document, &AbstractDocument::closeRequested, this, &QWidget::close, Qt::QueuedConnection);
    setAttribute(Qt::WA_DeleteOnClose);
}

void MdiSubWindow::closeEvent(QCloseEvent* event)
{
    auto* document = qobject_cast<AbstractDocument*>(widget());
    if (document) {
        m_asking = true;
        const bool mayClose = document->maybeSave();
        m_asking = false;
        emit questionAnswered();
        if (!mayClose) {
            event->ignore();
            return;
        }
    }
    QMdiSubWindow::closeEvent(event);
    if (document && event->isAccepted())
        document->releaseLock();
}
