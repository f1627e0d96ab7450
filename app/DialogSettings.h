#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Where the projects live, and putting the favourite report templates back to the built-in ones.
class DialogSettings : public QDialog
{
    Q_OBJECT
public:
    explicit DialogSettings(QWidget* parent = nullptr);

public slots:
    void accept() override;

private slots:
    void browseProjectsRoot();
    void restoreCHK();
    void restoreIR();
    void restoreATR();
    void restoreVC();

private:
    struct FavouriteRow
    {
        QString suffix;
        QPushButton* button;
        QLabel* comment;
    };
    void refreshRow(const FavouriteRow& row);
    void restore(const QString& suffix);

    QLineEdit* m_projectsRootDir;
    QList<FavouriteRow> m_rows;
};
