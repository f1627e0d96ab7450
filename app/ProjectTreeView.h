#pragma once

#include <QTreeView>

class ProjectModel;

// The document browser's tree. Delete moves the selection to the trash; files dropped from
// outside the program are copied into the projects folder after a question.
class ProjectTreeView : public QTreeView
{
    Q_OBJECT
public:
    explicit ProjectTreeView(QWidget* parent = nullptr);

    void setProjectModel(ProjectModel* model);

    // The question asked before files from outside are copied in (tests read it).
    static QString dropQuestion(const QList<QUrl>& urls);

signals:
    void deleteRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    ProjectModel* m_model = nullptr;
};
