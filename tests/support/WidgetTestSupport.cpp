// The widget layer of the test support: QApplication, dialogs named by class, TestDocument.
#include "TestSupport.h"

#include "TestDocument.h"

#include <QDialog>
#include <QEventLoop>
#include <QFile>
#include <QPointer>
#include <QTimer>

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

void TestSupport::removeFileAndCloseWhileAsked(AbstractDocument* doc)
{
    QPointer<QWidget> sub = doc->parentWidget();
    const QString path = doc->filePath();
    ScriptedPrompts::get().whileOpen = [sub, path] {
        QEventLoop loop;
        QTimer::singleShot(0, &loop, [&loop, sub, path] {
            QFile::remove(path);
            if (sub)
                sub->close();
            // Leave the loop one round later, after it has run what the close posted.
            QTimer::singleShot(0, &loop, &QEventLoop::quit);
        });
        loop.exec();
    };
}
