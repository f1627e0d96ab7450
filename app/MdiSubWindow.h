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

    // Whether the document is asking the user whether it may close (its save question is open).
    bool isAsking() const { return m_asking; }

signals:
    // The question asked while closing has been answered, whatever the answer.
    void questionAnswered();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool m_asking = false;
};
