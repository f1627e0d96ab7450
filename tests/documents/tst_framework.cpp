#include "DocumentFactory.h"
#include "DocumentRegistry.h"
#include "Folders.h"
#include "GraphicsDocument.h"
#include "TestSupport.h"

#include <QAction>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QMessageBox>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <stdexcept>

class TestFramework : public QObject
{
    Q_OBJECT
private slots:
    void init() { TestSupport::resetState(); }
    void cleanup() { DocumentRegistry::clear(); }

    void documentType_data();
    void documentType();
    void titleFollowsTheModifiedFlag();
    void maybeSaveAnswers();
    void zoomStaysWithinItsRange();
    void controlWheelKeepsTheScenePointUnderTheCursor();
    void plainWheelScrollsWithoutZooming();
    void factoryUsesTheRegisteredClass();
    void otherKindsGoToTheDesktop();
    void oursWithoutExtensionIsNotHandedBack_data();
    void oursWithoutExtensionIsNotHandedBack();
    void searchResultsOpenByExactName();
    void exceptionDuringConstructionIsReported();
    void newDocumentsSeedAndReuseTheFavourite();
    void newDocumentRunsTheFavouriteCheck();
    void newDocumentInAMissingFolderFailsCleanly();
};

void TestFramework::documentType_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("code");
    QTest::newRow("inspection") << "/p/Site A.kstir" << 1;
    QTest::newRow("capitals") << "/p/SITE.KSTIR" << 1;
    QTest::newRow("test report") << "/p/a.kstatr" << 2;
    QTest::newRow("certificate") << "/p/a.kstvc" << 3;
    QTest::newRow("report") << "/p/a.kstreport" << 4;
    QTest::newRow("diagram") << "/p/a.kstid" << 5;
    QTest::newRow("checklist") << "/p/a.kstchk" << 6;
    QTest::newRow("jpeg") << "/p/photo.JPEG" << 7;
    QTest::newRow("tiff") << "/p/photo.tif" << 7;
    QTest::newRow("pdf") << "/p/a.pdf" << 8;
    QTest::newRow("doc") << "/p/a.doc" << 9;
    QTest::newRow("csv") << "/p/results.csv" << 10;
    QTest::newRow("url") << "/p/link.URL" << 12;
    QTest::newRow("curves") << "/p/strings.kstcrv" << 13;
    QTest::newRow("last dot of the whole path") << "/p/my.kstir/file" << 0;
    QTest::newRow("no suffix") << "/p/Search Results" << 0;
    QTest::newRow("unknown") << "/p/a.docx" << 0;
}

void TestFramework::documentType()
{
    QFETCH(QString, path);
    QFETCH(int, code);
    QCOMPARE(int(::documentType(path)), code);
}

void TestFramework::titleFollowsTheModifiedFlag()
{
    TestDocument doc("/projects/Site A.kstir");
    QCOMPARE(doc.fileName(), QString("Site A.kstir"));
    QCOMPARE(doc.windowTitle(), QString("Site A.kstir"));
    QSignalSpy titles(&doc, &AbstractDocument::titleChanged);
    doc.setModified(true);
    QCOMPARE(doc.windowTitle(), QString("Site A.kstir *"));
    doc.setModified(true);
    QCOMPARE(titles.count(), 1);
    doc.save();
    QCOMPARE(doc.windowTitle(), QString("Site A.kstir"));
    QCOMPARE(titles.count(), 2);
    QCOMPARE(titles.last().first().value<AbstractDocument*>(), &doc);
}

void TestFramework::maybeSaveAnswers()
{
    auto& prompts = ScriptedPrompts::get();
    TestDocument doc("/projects/Site A.kstir");
    QVERIFY(doc.maybeSave());
    QVERIFY(prompts.asked.isEmpty());

    doc.setModified(true);
    prompts.buttons << QMessageBox::Cancel << QMessageBox::No;
    QVERIFY(!doc.maybeSave());
    QCOMPARE(prompts.asked.last().message.text, QString("Save changes to Site A.kstir?"));
    QCOMPARE(prompts.asked.last().message.icon, QMessageBox::Information);
    QCOMPARE(prompts.asked.last().message.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QVERIFY(doc.maybeSave());
    QCOMPARE(doc.saves, 0);

    // A save that fails must not let the document close and lose the changes.
    doc.failSave = true;
    prompts.buttons << QMessageBox::Yes;
    QVERIFY(!doc.maybeSave());
    QCOMPARE(doc.saves, 1);
    doc.failSave = false;
    prompts.buttons << QMessageBox::Yes;
    QVERIFY(doc.maybeSave());
    QVERIFY(!doc.isModified());
}

void TestFramework::zoomStaysWithinItsRange()
{
    GraphicsDocument doc("/p/a.kstid");
    QCOMPARE(doc.zoomLevel(), 0);
    QCOMPARE(doc.view()->transform().m11(), 1.0);
    for (int i = 0; i < 7; ++i)
        doc.zoomInAction()->trigger();
    QCOMPARE(doc.zoomLevel(), 7);
    QCOMPARE(doc.view()->transform().m11(), 12.0);
    QVERIFY(!doc.zoomInAction()->isEnabled());
    doc.zoomInAction()->trigger(); // disabled: nothing happens
    QCOMPARE(doc.zoomLevel(), 7);
    doc.zoomOutAction()->trigger();
    QVERIFY(doc.zoomInAction()->isEnabled());
    QCOMPARE(doc.view()->transform().m11(), 8.0);
    for (int i = 0; i < 13; ++i)
        doc.zoomOutAction()->trigger();
    QCOMPARE(doc.zoomLevel(), -7);
    QCOMPARE(doc.view()->transform().m11(), 1.0 / 12.0);
    QVERIFY(!doc.zoomOutAction()->isEnabled());
    QCOMPARE(GraphicsDocument::zoomFactor(-3), 1.0 / 3.0);
    QCOMPARE(GraphicsDocument::zoomFactor(5), 6.0);
}

static void sendWheel(QWidget* target, const QPoint& pos, int delta, Qt::KeyboardModifiers modifiers)
{
    QWheelEvent event(QPointF(pos), QPointF(target->mapToGlobal(pos)), QPoint(), QPoint(0, delta),
        Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

void TestFramework::controlWheelKeepsTheScenePointUnderTheCursor()
{
    GraphicsDocument doc("/p/a.kstid");
    QGraphicsScene scene(0, 0, 4000, 4000);
    scene.addRect(0, 0, 4000, 4000);
    doc.view()->setScene(&scene);
    doc.resize(800, 600);
    doc.show();
    QVERIFY(QTest::qWaitForWindowExposed(&doc));
    doc.view()->centerOn(1000, 1000);

    QWidget* viewport = doc.view()->viewport();
    const QPoint cursor(150, 120);
    const QPointF before = doc.view()->mapToScene(cursor);
    sendWheel(viewport, cursor, 120, Qt::ControlModifier);
    QCOMPARE(doc.zoomLevel(), 1);
    QPointF after = doc.view()->mapToScene(cursor);
    QVERIFY2(qAbs(after.x() - before.x()) <= 2 && qAbs(after.y() - before.y()) <= 2,
        qPrintable(
            QString("%1,%2 moved to %3,%4").arg(before.x()).arg(before.y()).arg(after.x()).arg(after.y())));

    sendWheel(viewport, cursor, -120, Qt::ControlModifier);
    sendWheel(viewport, cursor, -120, Qt::ControlModifier);
    QCOMPARE(doc.zoomLevel(), -1);
    after = doc.view()->mapToScene(cursor);
    QVERIFY(qAbs(after.x() - before.x()) <= 3 && qAbs(after.y() - before.y()) <= 3);
}

void TestFramework::plainWheelScrollsWithoutZooming()
{
    GraphicsDocument doc("/p/a.kstid");
    QGraphicsScene scene(0, 0, 4000, 4000);
    doc.view()->setScene(&scene);
    doc.resize(800, 600);
    doc.show();
    QVERIFY(QTest::qWaitForWindowExposed(&doc));
    const int before = doc.view()->verticalScrollBar()->value();
    sendWheel(doc.view()->viewport(), QPoint(100, 100), -120, Qt::NoModifier);
    QCOMPARE(doc.zoomLevel(), 0);
    QVERIFY(doc.view()->verticalScrollBar()->value() > before);
}

void TestFramework::factoryUsesTheRegisteredClass()
{
    DocumentRegistry::registerKind(InspectionReport,
        [](const QString& path, QWidget* parent) { return new TestDocument(path, parent); });
    std::unique_ptr<AbstractDocument> doc(createDocument("/p/Site.KSTIR"));
    QVERIFY(doc);
    QVERIFY(qobject_cast<TestDocument*>(doc.get()));
    QVERIFY(doc->isValid());
    QVERIFY(TestSupport::openedUrls().isEmpty());
    QVERIFY(!QApplication::overrideCursor());
}

void TestFramework::otherKindsGoToTheDesktop()
{
    auto& prompts = ScriptedPrompts::get();
    QCOMPARE(createDocument("/p/manual.pdf"), nullptr);
    QCOMPARE(TestSupport::openedUrls(), QList<QUrl> { QUrl::fromLocalFile("/p/manual.pdf") });
    QVERIFY(prompts.asked.isEmpty());

    // A kind whose class is not registered (yet) also goes to the desktop.
    TestSupport::setDesktopSucceeds(false);
    QCOMPARE(createDocument("/p/plan.kstid"), nullptr);
    QCOMPARE(prompts.asked.size(), 1);
    QCOMPARE(prompts.asked[0].message.icon, QMessageBox::Warning);
    QCOMPARE(prompts.asked[0].message.text, QString("There was an problem trying to open /p/plan.kstid"));
    QCOMPARE(prompts.asked[0].message.informativeText,
        QString("Please make sure a program is associated with this file type."));
    QVERIFY(!QApplication::overrideCursor());
}

void TestFramework::oursWithoutExtensionIsNotHandedBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("extension"); // empty: the desktop gets it
    QByteArray curves("SQLite format 3\0", 16);
    curves += QByteArray(52, '\0') + "KCRV" + QByteArray(100, '\0');
    QByteArray otherDatabase = curves;
    otherDatabase.replace(68, 4, "ABCD");
    const QByteArray report("\x00\x00\x31\x75\x78\x9c\xdd\x5b", 8);
    QTest::newRow("report") << "Site A" << report << ".kstir, .kstatr, .kstvc, .kstchk";
    QTest::newRow("report with a foreign extension")
        << "Site A.old" << report << ".kstir, .kstatr, .kstvc, .kstchk";
    QTest::newRow("curves") << "Strings" << curves << ".kstcrv";
    QTest::newRow("diagram")
        << "Plan" << QByteArray("<?xml version=\"1.0\"?>\n<installation_diagram>\n</installation_diagram>\n")
        << ".kstid";
    QTest::newRow("someone else's database") << "Strings" << otherDatabase << "";
    QTest::newRow("payload too large for a report")
        << "Site A" << QByteArray("\x08\x00\x00\x00\x78\x9c", 6) << "";
    QTest::newRow("text") << "notes" << QByteArray("installation_diagram") << "";
    QTest::newRow("a report's bytes named as a picture") << "Site A.png" << report << "";
}

// The desktop recognises our files by content and starts us for them: handing one back to it
// would start us again, without end.
void TestFramework::oursWithoutExtensionIsNotHandedBack()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, extension);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    auto& prompts = ScriptedPrompts::get();
    QCOMPARE(createDocument(path), nullptr);
    if (extension.isEmpty()) {
        QCOMPARE(TestSupport::openedUrls(), QList<QUrl> { QUrl::fromLocalFile(path) });
        QVERIFY(prompts.asked.isEmpty());
        return;
    }
    QVERIFY(TestSupport::openedUrls().isEmpty());
    QCOMPARE(prompts.messageTexts(),
        QStringList { QString("%1 is a Kestrovan file whose name has lost its extension.").arg(path) });
    QCOMPARE(prompts.asked[0].message.icon, QMessageBox::Warning);
    QCOMPARE(prompts.asked[0].message.informativeText,
        QString("Give it the extension of its kind (%1) to open it.").arg(extension));
}

void TestFramework::searchResultsOpenByExactName()
{
    DocumentRegistry::registerNamedFile("Search Results", [](const QString& path, QWidget* parent) {
        auto* doc = new TestDocument(path, parent);
        doc->setValid(false);
        return doc;
    });
    std::unique_ptr<AbstractDocument> doc(createDocument("/data/Search Results"));
    QVERIFY(doc);
    QVERIFY(doc->isValid());
    QCOMPARE(createDocument("/data/Search Results.txt"), nullptr);
    QCOMPARE(TestSupport::openedUrls().size(), 1);
}

void TestFramework::exceptionDuringConstructionIsReported()
{
    DocumentRegistry::registerKind(
        Checklist, [](const QString&, QWidget*) -> AbstractDocument* { throw std::runtime_error("broken"); });
    QCOMPARE(createDocument("/p/a.kstchk"), nullptr);
    auto& prompts = ScriptedPrompts::get();
    QCOMPARE(prompts.messageTexts(), QStringList { "Failed to create document" });
    QCOMPARE(prompts.asked[0].message.icon, QMessageBox::Critical);
    QVERIFY(TestSupport::openedUrls().isEmpty());
    QVERIFY(!QApplication::overrideCursor());
}

void TestFramework::newDocumentsSeedAndReuseTheFavourite()
{
    QTemporaryDir project;
    const QString favourite = Folders::instance()->favouriteTemplatePath("kstid");
    QVERIFY(!QFileInfo::exists(favourite));

    const QString first = createNewDocument(project.path(), "Installation Diagram.kstid");
    QCOMPARE(first, project.filePath("Installation Diagram.kstid"));
    QVERIFY(QFileInfo::exists(favourite));
    QVERIFY(QFileInfo(favourite).isWritable());
    QVERIFY(QFileInfo(first).isWritable());

    // The favourite is the source from now on: change it and the next copy follows it.
    {
        QFile f(favourite);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<installation_diagram><label id=\"ID1\"/></installation_diagram>");
    }
    const QString second = createNewDocument(project.path(), "Installation Diagram.kstid");
    QCOMPARE(second, project.filePath("Installation Diagram (2).kstid"));
    QFile copy(second);
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QVERIFY(copy.readAll().contains("label"));

    // The first checklist seeds its favourite; the second, in the same folder, is numbered.
    QCOMPARE(createNewDocument(project.path(), "Checklist.kstchk"), project.filePath("Checklist.kstchk"));
    QVERIFY(QFileInfo::exists(Folders::instance()->favouriteTemplatePath("kstchk")));
    QCOMPARE(createNewDocument(project.path(), "Checklist.kstchk"), project.filePath("Checklist (2).kstchk"));

    // The curve template is an SQLite database made at build time.
    const QString curves = createNewDocument(project.path(), "String Data Report.kstcrv");
    QFile db(curves);
    QVERIFY(db.open(QIODevice::ReadOnly));
    QVERIFY(db.read(16).startsWith("SQLite format 3"));
    QVERIFY(ScriptedPrompts::get().asked.isEmpty());
}

void TestFramework::newDocumentRunsTheFavouriteCheck()
{
    QTemporaryDir project;
    QStringList checked;
    DocumentRegistry::registerFavouriteCheck("kstid", [&checked](const QString& favourite) {
        checked << favourite;
        QFile::remove(favourite); // as if the user agreed to replace an outdated favourite
    });
    createNewDocument(project.path(), "a.kstid"); // no favourite yet: no check
    QVERIFY(checked.isEmpty());
    const QString path = createNewDocument(project.path(), "a.kstid");
    QCOMPARE(checked, QStringList { Folders::instance()->favouriteTemplatePath("kstid") });
    QVERIFY(QFileInfo::exists(Folders::instance()->favouriteTemplatePath("kstid")));
    QCOMPARE(path, project.filePath("a (2).kstid"));
}

void TestFramework::newDocumentInAMissingFolderFailsCleanly()
{
    const QString path = createNewDocument("/nonexistent/folder", "Checklist.kstid");
    QVERIFY(path.isEmpty());
    QCOMPARE(ScriptedPrompts::get().asked.size(), 1);
    QCOMPARE(ScriptedPrompts::get().asked[0].message.icon, QMessageBox::Critical);
    QVERIFY(ScriptedPrompts::get().asked[0].message.text.contains("/nonexistent/folder/Checklist.kstid"));

    // A kind without a built-in template cannot be created either, and says so.
    QTemporaryDir project;
    QVERIFY(createNewDocument(project.path(), "notes.txt").isEmpty());
    QCOMPARE(ScriptedPrompts::get().asked.size(), 2);
    QVERIFY(QDir(project.path()).isEmpty());
}

KESTROVAN_TEST_MAIN(TestFramework)
#include "tst_framework.moc"
