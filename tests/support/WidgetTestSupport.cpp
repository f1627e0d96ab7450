// The widget layer of the test support: QApplication, dialogs named by class, TestDocument.
#include "TestSupport.h"

#include <QDialog>

namespace {
class WidgetScriptedPrompts : public ScriptedPrompts
{
protected:
    QString dialogClassName(QDialog* dialog) const override
    {
        return QString::fromLatin1(dialog->metaObject()->className());
    }
};
} // namespace

TestDocument::TestDocument(const QString& path, QWidget* parent)
    : AbstractDocument(path, parent)
{
    setValid(true);
}

void TestDocument::save()
{
    ++saves;
    if (!failSave)
        setModified(false);
}

void TestSupport::initWidgetApplication()
{
    initApplication();
    installPrompts(std::make_unique<WidgetScriptedPrompts>());
    qRegisterMetaType<AbstractDocument*>("AbstractDocument*");
}
