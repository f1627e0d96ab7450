#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Where the projects live, putting the favourite report templates back to the built-in ones, and
// the language of the user interface.
class DialogSettings : public QDialog
{
    Q_OBJECT
public:
    explicit DialogSettings(QWidget* parent = nullptr);
    // Whether OK stored another language; it is applied at the next start.
    bool languageChanged() const { return m_languageChanged; }

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
    QWidget* languageTab(QWidget* parent);
    // "" for the desktop's language, else a locale name.
    static QString storedLanguage();
    void storeLanguage();

    QLineEdit* m_projectsRootDir;
    QList<FavouriteRow> m_rows;
    QComboBox* m_language = nullptr;
    bool m_languageChanged = false;
};
