#include "DialogSettings.h"
#include "DialogWelcome.h"
#include "TestSupport.h"
#include "Translations.h"

#include <QAbstractButton>
#include <QLabel>
#include <QSettings>
#include <QTabWidget>

// German texts are longer than English ones: the dialogs must still show them whole.
class TestGermanLayout : public QObject
{
    Q_OBJECT
private slots:
    void init() { TestSupport::resetState(); }
    void germanTextsFitTheDialogs();
};

namespace {
// Labels and buttons of `dialog` whose text does not fit the room the layout gave them.
QStringList cutOffTexts(QWidget* dialog)
{
    QStringList cut;
    for (QWidget* widget : dialog->findChildren<QWidget*>()) {
        if (!widget->isVisible())
            continue;
        QString text;
        bool fits = true;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            text = label->text();
            fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                     : label->sizeHint().width() <= label->width();
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            text = button->text();
            fits = button->sizeHint().width() <= button->width();
        }
        if (!text.isEmpty() && !fits)
            cut.append(text);
    }
    return cut;
}
} // namespace

void TestGermanLayout::germanTextsFitTheDialogs()
{
    QSettings().setValue("locale", "de_DE");
    Translations::load(TestSupport::binaryFolder() + "/Translations");
    {
        DialogWelcome welcome;
        welcome.show();
        QVERIFY(QTest::qWaitForWindowExposed(&welcome));
        QCOMPARE(welcome.windowTitle(), QString("Willkommen bei Kestrovan!"));
        QCOMPARE(cutOffTexts(&welcome), QStringList());
    }
    DialogSettings settings;
    settings.show();
    QVERIFY(QTest::qWaitForWindowExposed(&settings));
    auto* tabs = settings.findChild<QTabWidget*>();
    QVERIFY(tabs);
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QCOMPARE(cutOffTexts(&settings), QStringList());
    }
}

KESTROVAN_TEST_MAIN(TestGermanLayout)
#include "tst_germanlayout.moc"
