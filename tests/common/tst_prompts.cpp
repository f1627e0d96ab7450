#include "Prompts.h"
#include "TestSupport.h"

// The seam itself, without a window: what a program without windows answers, and how a test's
// implementation replaces the installed one.
class TestPrompts : public QObject
{
    Q_OBJECT
private slots:
    void unattendedAnswersCautiously();
    void installReplacesAndGivesBackThePrevious();
};

void TestPrompts::unattendedAnswersCautiously()
{
    UnattendedPrompts prompts;
    QCOMPARE(UnattendedPrompts::cautiousAnswer(Prompt::Ok), Prompt::Ok);
    QCOMPARE(UnattendedPrompts::cautiousAnswer(Prompt::NoButton), Prompt::Ok);
    QCOMPARE(UnattendedPrompts::cautiousAnswer(Prompt::Yes | Prompt::No), Prompt::No);
    QCOMPARE(UnattendedPrompts::cautiousAnswer(Prompt::Yes | Prompt::No | Prompt::Cancel), Prompt::Cancel);
    QCOMPARE(UnattendedPrompts::cautiousAnswer(Prompt::Ok | Prompt::Cancel), Prompt::Cancel);
    QCOMPARE(UnattendedPrompts::cautiousAnswer(Prompt::Save | Prompt::Discard), Prompt::NoButton);

    MessageRequest request;
    request.text = "Delete everything?";
    request.buttons = Prompt::Yes | Prompt::No;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Delete everything\\?"));
    QCOMPARE(prompts.message(request), Prompt::No);

    bool ok = true;
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Name"));
    QCOMPARE(prompts.text(nullptr, "Name", "Label", "initial", &ok), QString());
    QVERIFY(!ok);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Open"));
    QVERIFY(prompts.openFileName(nullptr, "Open", "/tmp", "*").isEmpty());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Colour"));
    QVERIFY(!prompts.color(nullptr, "Colour", Qt::red).isValid());
    QCOMPARE(prompts.execDialog(nullptr), 0);
}

void TestPrompts::installReplacesAndGivesBackThePrevious()
{
    ScriptedPrompts& scripted = ScriptedPrompts::get();
    QCOMPARE(&Prompts::instance(), static_cast<Prompts*>(&scripted));
    std::unique_ptr<Prompts> previous = Prompts::install(std::make_unique<UnattendedPrompts>());
    QCOMPARE(previous.get(), static_cast<Prompts*>(&scripted));
    QVERIFY(dynamic_cast<UnattendedPrompts*>(&Prompts::instance()));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Overwrite\\?"));
    QVERIFY(!Prompts::askYesNo(nullptr, "Overwrite?"));
    Prompts::install(std::move(previous));
    QCOMPARE(&Prompts::instance(), static_cast<Prompts*>(&scripted));

    // Through the scripted seam the shorthands pass on what they were given.
    scripted.buttons << Prompt::Yes;
    QVERIFY(Prompts::askYesNo(nullptr, "Go on?", "Details"));
    QCOMPARE(scripted.asked.size(), 1);
    QCOMPARE(scripted.asked.first().message.icon, Prompt::Question);
    QCOMPARE(scripted.asked.first().message.buttons, Prompt::Yes | Prompt::No);
    QCOMPARE(scripted.asked.first().message.informativeText, QString("Details"));
    QCOMPARE(scripted.asked.first().message.parent, nullptr);
    scripted.reset();
}

KESTROVAN_TEST_MAIN(TestPrompts)
#include "tst_prompts.moc"
