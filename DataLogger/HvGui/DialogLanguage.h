#pragma once

#include <QDialog>

class QComboBox;

namespace HvGui {

// Lets the user choose the logger's language among the catalogues in the translations folder;
// the choice is stored and takes effect when the window is built again.
class DialogLanguage : public QDialog
{
    Q_OBJECT
public:
    DialogLanguage(const QString& translationsDir, QWidget* parent = nullptr);

    void accept() override;

    // Language code of a catalogue file: the two letters before ".qm" (".._de.qm" gives de).
    static QString languageCode(const QString& filePath);

private:
    QComboBox* m_languageCombo;
};

} // namespace HvGui
