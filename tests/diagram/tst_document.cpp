#include "ConnectionPoint.h"
#include "DiagramComponentKinds.h"
#include "DiagramConnection.h"
#include "DiagramGraphicsScene.h"
#include "DiagramLabel.h"
#include "DiagramSupport.h"
#include "DiagramTestSupport.h"
#include "DialogComponentSettings.h"
#include "DocumentFactory.h"
#include "DocumentRegistry.h"
#include "Folders.h"
#include "InstallationDiagramDocument.h"
#include "TestSupport.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolBar>
#include <QUndoStack>
#include <memory>

using namespace DiagramTestSupport;

// The diagram as a document: its tool bar, undo and the modified mark, saving, print and PDF,
// and how the shell opens and creates diagrams.
class TestDiagramDocument : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void toolBarHoldsTheActionsInOrder();
    void wireButtonAndModeStayInStep();
    void everyEditIsOneUndoStep();
    void captionEditsAndDeletionUndo();
    void cleanStateDrivesTheModifiedMark();
    void failedSaveKeepsTheDocumentModified();
    void pdfIsAnA4LandscapePage();
    void shellOpensAndCreatesDiagrams();
    void hostileFileGivesAnInvalidDocument();
    void closingUnderAnOpenDialogIsSurvived();

private:
    std::unique_ptr<InstallationDiagramDocument> open(const QByteArray& content = "<installation_diagram/>");
    DiagramComponent* add(InstallationDiagramDocument* doc, int type, const QPointF& at,
        const QString& caption = QStringLiteral("Caption"));
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestDiagramDocument::initTestCase()
{
    DiagramSupport::registerWithDocuments();
}

void TestDiagramDocument::init()
{
    TestSupport::resetState();
    ScriptedPrompts::get().reset();
    installMenuScript();
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestDiagramDocument::cleanup()
{
    DiagramMenus::install(nullptr);
}

namespace {
// At every step of the history, down and up again, the items show the model that is saved.
void walkHistory(DiagramGraphicsScene* scene, QUndoStack* stack)
{
    const int top = stack->index();
    for (int i : { -1, +1 }) {
        for (int index = top; index >= 0 && index <= stack->count(); index += i) {
            stack->setIndex(index);
            const QString differs = shownDiffersFromModel(scene);
            QVERIFY2(differs.isEmpty(), qPrintable(QStringLiteral("at step %1: %2").arg(index).arg(differs)));
        }
        stack->setIndex(top);
    }
}
} // namespace

std::unique_ptr<InstallationDiagramDocument> TestDiagramDocument::open(const QByteArray& content)
{
    const QString path = writeFile(m_dir->path(), "Site.kstid", content);
    return std::make_unique<InstallationDiagramDocument>(path);
}

DiagramComponent* TestDiagramDocument::add(
    InstallationDiagramDocument* doc, int type, const QPointF& at, const QString& caption)
{
    answerCaptionDialog(caption);
    return doc->scene()->addComponent(type, at);
}

void TestDiagramDocument::toolBarHoldsTheActionsInOrder()
{
    auto doc = open();
    QVERIFY(doc->isValid());
    QVERIFY(!doc->isModified());
    QStringList names;
    for (QAction* action : doc->toolBar()->actions())
        names << (action->isSeparator() ? QString("-") : action->objectName());
    QCOMPARE(names,
        (QStringList { "actionZoomIn", "actionZoomOut", "-", "actionSave", "-", "actionPrint",
            "actionExportToPdf", "-", "actionWire", "-", "actionSingleWire", "actionDcCable", "actionAcCable",
            "-", "actionUndo", "actionRedo" }));
    struct Expected
    {
        const char* name;
        const char* toolTip;
        const char* shortcut;
    };
    for (const Expected& e :
        { Expected { "actionSave", "Save", "Ctrl+S" }, Expected { "actionPrint", "Print", "Ctrl+P" },
            Expected { "actionExportToPdf", "Export to PDF", "Ctrl+Shift+E" },
            Expected { "actionWire", "Wire", "" }, Expected { "actionSingleWire", "Single wire", "" },
            Expected { "actionDcCable", "DC cable", "" }, Expected { "actionAcCable", "AC cable", "" },
            Expected { "actionUndo", "Undo", "Ctrl+Z" }, Expected { "actionRedo", "Redo", "Ctrl+Y" } }) {
        auto* action = doc->findChild<QAction*>(e.name);
        QVERIFY2(action, e.name);
        QCOMPARE(action->toolTip(), QString(e.toolTip));
        QCOMPARE(action->shortcut(), QKeySequence(QString(e.shortcut)));
        QVERIFY2(!action->icon().isNull(), e.name);
    }
    QVERIFY(doc->findChild<QAction*>("actionRedo")->shortcuts().contains(QKeySequence("Ctrl+Shift+Z")));
    QVERIFY(!doc->findChild<QAction*>("actionSave")->isEnabled());
    QVERIFY(doc->findChild<QAction*>("actionWire")->isCheckable());
    auto* single = doc->findChild<QAction*>("actionSingleWire");
    QVERIFY(single->isChecked());
    QVERIFY(!single->isEnabled());
    QVERIFY(single->actionGroup()->isExclusive());
}

void TestDiagramDocument::wireButtonAndModeStayInStep()
{
    auto doc = open();
    auto* wire = doc->findChild<QAction*>("actionWire");
    auto* dc = doc->findChild<QAction*>("actionDcCable");
    wire->trigger();
    QCOMPARE(doc->scene()->mode(), int(Diagram::WireMode));
    QVERIFY(dc->isEnabled());
    dc->trigger();
    QCOMPARE(doc->scene()->cableType(), int(Diagram::DcCable));
    QCOMPARE(doc->scene()->pendingConnection()->kind(), int(Diagram::DcCable));
    doc->findChild<QAction*>("actionAcCable")->trigger();
    QCOMPARE(doc->scene()->pendingConnection()->type(), Diagram::ConnectionType + 3);
    // Drawing with the pointer does not touch the document until a cable is finished.
    move(doc->scene(), QPointF(40, 40));
    QVERIFY(!doc->isModified());
    // A right click leaves wire mode; the button follows.
    rightClick(doc->scene(), QPointF(10, 10));
    QVERIFY(!wire->isChecked());
    QVERIFY(!dc->isEnabled());
    QCOMPARE(doc->scene()->mode(), int(Diagram::NormalMode));
    QVERIFY(!doc->scene()->pendingConnection());
    QVERIFY(!doc->isModified());
    // Exporting leaves wire mode too, even when the chooser is cancelled.
    wire->trigger();
    ScriptedPrompts::get().paths = QStringList { QString() };
    doc->findChild<QAction*>("actionExportToPdf")->trigger();
    QVERIFY(!wire->isChecked());
}

void TestDiagramDocument::everyEditIsOneUndoStep()
{
    auto doc = open();
    QUndoStack* stack = doc->undoStack();
    QSignalSpy indexChanged(stack, &QUndoStack::indexChanged);
    DiagramGraphicsScene* scene = doc->scene();
    DiagramComponent* inverter = add(doc.get(), Diagram::InverterType, QPointF(0, 0));
    DiagramComponent* isolator = add(doc.get(), Diagram::AcIsolatorType, QPointF(400, 0));
    placeCaption(scene, isolator, QPointF(400, 300));
    QCOMPARE(stack->count(), 2);
    QCOMPARE(stack->text(0), QString("Add Inverter"));
    QCOMPARE(indexChanged.count(), 2);

    doc->findChild<QAction*>("actionWire")->trigger();
    doc->findChild<QAction*>("actionDcCable")->trigger();
    drawCable(scene, QPointF(148, 50), QPointF(402, 30));
    doc->findChild<QAction*>("actionWire")->trigger();
    QCOMPARE(stack->count(), 3);
    QCOMPARE(stack->text(2), QString("Add Connection"));
    DiagramConnection* cable = inverter->connections().first()->connection();

    drag(scene, QPointF(450, 50), QPointF(500, 150));
    QCOMPARE(isolator->pos(), QPointF(50, 100) + QPointF(400, 0));
    QCOMPARE(stack->count(), 4);

    // Undo the move: the cable end goes back with the component.
    auto* undo = doc->findChild<QAction*>("actionUndo");
    auto* redo = doc->findChild<QAction*>("actionRedo");
    undo->trigger();
    QCOMPARE(isolator->pos(), QPointF(400, 0));
    QCOMPARE(cable->endB()->pos(), QPointF(400, 30));
    redo->trigger();
    QCOMPARE(cable->endB()->pos(), QPointF(450, 130));

    // Undo the cable: out of the drawing and out of both components' lists.
    undo->trigger();
    undo->trigger();
    QVERIFY(!cable->scene());
    QVERIFY(inverter->connections().isEmpty());
    QVERIFY(isolator->connections().isEmpty());
    redo->trigger();
    QCOMPARE(cable->scene(), scene);
    QCOMPARE(cable->endA()->component(), inverter);
    QCOMPARE(cable->endB()->component(), isolator);
    redo->trigger();

    // Delete the component through its menu, then undo: attached again where it was.
    menus().choice = "Delete Inverter";
    rightClick(scene, QPointF(20, 80));
    QVERIFY(!inverter->scene());
    QVERIFY(!inverter->caption()->scene());
    QVERIFY(!cable->endA()->component());
    QCOMPARE(stack->count(), 5);
    undo->trigger();
    QCOMPARE(inverter->scene(), scene);
    QCOMPARE(inverter->caption()->scene(), scene);
    QCOMPARE(cable->endA()->component(), inverter);
    QCOMPARE(inverter->connections(), QList<ConnectionPoint*> { cable->endA() });

    // Delete the cable through its menu, undo, redo.
    menus().choice = "Delete Connection";
    rightClick(scene, cable->route().at(1));
    QVERIFY(!cable->scene());
    QVERIFY(inverter->connections().isEmpty());
    undo->trigger();
    QCOMPARE(inverter->connections().size(), 1);
    redo->trigger();
    QVERIFY(!cable->scene());

    // The cable being drawn may hang on a component that undo takes away; it is let go, and a
    // redo after it is gone does not reach for it.
    doc->findChild<QAction*>("actionWire")->trigger();
    move(scene, QPointF(20, 80));
    QCOMPARE(scene->pendingConnection()->endA()->component(), inverter);
    const int before = stack->index();
    while (stack->index() > 0 && inverter->scene())
        undo->trigger();
    QVERIFY(!inverter->scene());
    QVERIFY(!scene->pendingConnection()->endA()->component());
    doc->findChild<QAction*>("actionWire")->trigger();
    QVERIFY(!scene->pendingConnection());
    while (stack->index() < before)
        redo->trigger();
    QCOMPARE(inverter->scene(), scene);
    QVERIFY(inverter->connections().isEmpty()); // the only cable it had is deleted again

    // Undo everything: an empty drawing, and back at the state the file had.
    while (stack->canUndo())
        stack->undo();
    QVERIFY(scene->diagramItems().isEmpty());
    QVERIFY(!doc->isModified());
    QVERIFY(!doc->findChild<QAction*>("actionSave")->isEnabled());
    while (stack->canRedo())
        stack->redo();
    QCOMPARE(scene->diagramItems().size(), 2);
    QVERIFY(doc->isModified());
    walkHistory(scene, stack);
}

void TestDiagramDocument::captionEditsAndDeletionUndo()
{
    auto doc = open();
    QUndoStack* stack = doc->undoStack();
    DiagramComponent* meter = add(doc.get(), Diagram::GenerationMeterType, QPointF(300, 300), "Meter");
    DiagramComponent* note = add(doc.get(), Diagram::LabelType, QPointF(0, 0), "Note");
    const QPointF captionAt = meter->caption()->sceneBoundingRect().center();

    // Set Label Text: prefilled with the text, one undo step, nothing when unchanged.
    menus().choice = "Set Label Text";
    captionDialogTexts().clear();
    answerCaptionDialog("Export meter");
    rightClick(doc->scene(), captionAt);
    QCOMPARE(captionDialogTexts(), QStringList { "Meter" });
    QCOMPARE(meter->caption()->text(), QString("Export meter"));
    QCOMPARE(stack->count(), 3);
    answerCaptionDialog("Export meter");
    rightClick(doc->scene(), captionAt);
    QCOMPARE(stack->count(), 3);
    stack->undo();
    QCOMPARE(meter->caption()->text(), QString("Meter"));
    stack->redo();

    // A caption dragged away is one step.
    DiagramLabel* caption = meter->caption();
    const QPointF before = caption->pos();
    drag(doc->scene(), captionAt, captionAt + QPointF(0, -50));
    QCOMPARE(caption->pos(), before + QPointF(0, -50));
    QCOMPARE(stack->count(), 4);
    stack->undo();
    QCOMPARE(caption->pos(), before);

    // Delete Label removes the caption; undo brings the same caption back.
    menus().choice = "Delete Label";
    rightClick(doc->scene(), captionAt);
    QVERIFY(!meter->caption());
    QVERIFY(!caption->scene());
    stack->undo();
    QCOMPARE(meter->caption(), caption);
    QCOMPARE(caption->scene(), doc->scene());
    stack->redo();
    QVERIFY(!meter->caption());

    // Emptying a text in the dialog is the same as deleting it, in one step: for a note, the
    // note goes (it would be an empty white box, and creation refuses empty text).
    stack->undo();
    menus().choice = "Set Label Text";
    const int steps = stack->index();
    answerCaptionDialog("");
    rightClick(doc->scene(), captionAt);
    QVERIFY(!meter->caption());
    QCOMPARE(stack->index(), steps + 1);
    stack->undo();
    QCOMPARE(meter->caption(), caption);
    QCOMPARE(caption->text(), QString("Export meter"));
    answerCaptionDialog("");
    rightClick(doc->scene(), note->caption()->sceneBoundingRect().center());
    QVERIFY(!note->scene());
    QCOMPARE(stack->index(), steps + 1);
    stack->undo();
    QCOMPARE(note->scene(), doc->scene());
    QCOMPARE(note->caption()->text(), QString("Note"));
    stack->redo();
    stack->undo();
    menus().choice = "Delete Label";
    rightClick(doc->scene(), captionAt);
    QVERIFY(!meter->caption());

    // A note without its text could not be seen: deleting its text deletes the note.
    rightClick(doc->scene(), note->caption()->sceneBoundingRect().center());
    QVERIFY(!note->scene());
    stack->undo();
    QCOMPARE(note->scene(), doc->scene());
    QCOMPARE(note->caption()->text(), QString("Note"));

    // Saving without the caption writes no label child for the meter.
    stack->redo();
    doc->save();
    QFile file(doc->filePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    QVERIFY(saved.contains("<generation_meter"));
    QVERIFY(!saved.contains("text=\"Export meter\""));
    QVERIFY(!saved.contains("Note"));
    walkHistory(doc->scene(), stack);
}

void TestDiagramDocument::cleanStateDrivesTheModifiedMark()
{
    auto doc = open();
    QSignalSpy titles(doc.get(), &AbstractDocument::titleChanged);
    auto* save = doc->findChild<QAction*>("actionSave");

    // A cancelled caption dialog changes nothing.
    answerCaptionDialog("x", false);
    QVERIFY(!doc->scene()->addComponent(Diagram::InverterType, QPointF()));
    QVERIFY(!doc->isModified());
    QCOMPARE(titles.count(), 0);

    add(doc.get(), Diagram::PanelType, QPointF(10, 10));
    QVERIFY(doc->isModified());
    QVERIFY(save->isEnabled());
    QCOMPARE(doc->windowTitle(), QString("Site.kstid *"));
    save->trigger();
    QVERIFY(!doc->isModified());
    QVERIFY(!save->isEnabled());
    QVERIFY(doc->undoStack()->isClean());
    QCOMPARE(doc->windowTitle(), QString("Site.kstid"));

    // Undo after a save marks it again; redo back to the saved state clears the mark.
    doc->undoStack()->undo();
    QVERIFY(doc->isModified());
    doc->undoStack()->redo();
    QVERIFY(!doc->isModified());

    // Closing: Cancel keeps it open, No closes without saving, Yes saves.
    add(doc.get(), Diagram::PanelType, QPointF(100, 10));
    ScriptedPrompts::get().buttons = { QMessageBox::Cancel };
    QVERIFY(!doc->maybeSave());
    QCOMPARE(ScriptedPrompts::get().messageTexts().last(), QString("Save changes to Site.kstid?"));
    ScriptedPrompts::get().buttons = { QMessageBox::No };
    QVERIFY(doc->maybeSave());
    QVERIFY(doc->isModified());
    ScriptedPrompts::get().buttons = { QMessageBox::Yes };
    QVERIFY(doc->maybeSave());
    QVERIFY(!doc->isModified());
    QFile file(doc->filePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count("<panel"), 2);
}

void TestDiagramDocument::failedSaveKeepsTheDocumentModified()
{
    auto doc = open();
    add(doc.get(), Diagram::InverterType, QPointF(0, 0));
    // The file's name is taken by a folder now: the write must fail.
    QVERIFY(QFile::remove(doc->filePath()));
    QVERIFY(QDir().mkdir(doc->filePath()));
    doc->save();
    QVERIFY(doc->isModified());
    QVERIFY(doc->findChild<QAction*>("actionSave")->isEnabled());
    QVERIFY(!doc->undoStack()->isClean());
    QCOMPARE(ScriptedPrompts::get().messageTexts().last(),
        QString("Error opening %1 for writing").arg(doc->filePath()));
}

void TestDiagramDocument::pdfIsAnA4LandscapePage()
{
    auto doc = open();
    add(doc.get(), Diagram::InverterType, QPointF(0, 0));
    add(doc.get(), Diagram::PanelType, QPointF(-200, 0));
    const QString pdf = m_dir->filePath("out/diagram.pdf");
    QDir().mkpath(m_dir->filePath("out"));
    ScriptedPrompts::get().paths = QStringList { pdf };
    doc->findChild<QAction*>("actionExportToPdf")->trigger();
    const ScriptedPrompts::Asked& asked = ScriptedPrompts::get().asked.last();
    QCOMPARE(asked.kind, QString("save"));
    QCOMPARE(asked.caption, QString("Export PDF"));
    QCOMPARE(asked.filter, QString("PDF Files (*.pdf)"));
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    // One page, 297 x 210 mm in points.
    QCOMPARE(bytes.count("/Type /Page\n"), 1);
    QCOMPARE(bytes.count("/MediaBox [0 0 842.000000 595.000000]"), 1);
    QCOMPARE(QSettings().value("Directories/LastPdfExportDir").toString(), m_dir->filePath("out"));

    // The next export starts there; an empty answer (the chooser cancelled) writes nothing.
    ScriptedPrompts::get().paths = QStringList { QString() };
    doc->findChild<QAction*>("actionExportToPdf")->trigger();
    QCOMPARE(ScriptedPrompts::get().asked.last().dir, m_dir->filePath("out"));
    QCOMPARE(QDir(m_dir->filePath("out")).entryList(QDir::Files), QStringList { "diagram.pdf" });

    // Printing asks with the print dialog; a refused dialog prints nothing.
    doc->findChild<QAction*>("actionPrint")->trigger();
    QCOMPARE(ScriptedPrompts::get().asked.last().kind, QString("dialog"));
}

void TestDiagramDocument::shellOpensAndCreatesDiagrams()
{
    const QString path = createNewDocument(m_dir->path(), "Installation Diagram.kstid");
    QCOMPARE(path, m_dir->filePath("Installation Diagram.kstid"));
    QVERIFY(QFile::exists(path));
    QVERIFY(QFileInfo(Folders::instance()->favouriteTemplatePath("kstid")).isWritable());
    const QString second = createNewDocument(m_dir->path(), "Installation Diagram.kstid");
    QCOMPARE(second, m_dir->filePath("Installation Diagram (2).kstid"));

    std::unique_ptr<AbstractDocument> doc(createDocument(path));
    auto* diagram = qobject_cast<InstallationDiagramDocument*>(doc.get());
    QVERIFY(diagram);
    QVERIFY(diagram->isValid());
    QVERIFY(diagram->scene()->diagramItems().isEmpty());
    std::unique_ptr<AbstractDocument> capitals(
        createDocument(writeFile(m_dir->path(), "CAPS.KSTID", "<installation_diagram/>")));
    QVERIFY(qobject_cast<InstallationDiagramDocument*>(capitals.get()));
}

void TestDiagramDocument::hostileFileGivesAnInvalidDocument()
{
    auto doc
        = open("<!DOCTYPE lol [<!ENTITY lol \"lol\">]><installation_diagram>&lol;</installation_diagram>");
    QVERIFY(!doc->isValid());
    QCOMPARE(ScriptedPrompts::get().messageTexts().size(), 1);
    auto broken = open("<installation_diagram><panel");
    QVERIFY(!broken->isValid());
}

// The shell closes a document whose file vanished, even while one of the document's dialogs or
// menus is open; the code after the dialog must not touch what is gone.
void TestDiagramDocument::closingUnderAnOpenDialogIsSurvived()
{
    auto doc = open();
    add(doc.get(), Diagram::InverterType, QPointF(0, 0), "Inverter");
    DiagramGraphicsScene* scene = doc->scene();
    DiagramLabel* caption = static_cast<DiagramComponent*>(scene->diagramItems().first())->caption();
    ScriptedPrompts::get().dialogHandler = [&doc](QDialog* dialog) {
        static_cast<DialogComponentSettings*>(dialog)->setText("Too late");
        doc.reset();
        return int(QDialog::Accepted);
    };
    scene->editCaption(caption);
    QVERIFY(!doc);

    doc = open();
    scene = doc->scene();
    ScriptedPrompts::get().dialogHandler = [&doc](QDialog* dialog) {
        static_cast<DialogComponentSettings*>(dialog)->setText("Too late");
        doc.reset();
        return int(QDialog::Accepted);
    };
    QVERIFY(!scene->addComponent(Diagram::AcIsolatorType, QPointF()));
    QVERIFY(!doc);

    // A menu of an item, and the page's own menu.
    for (const QPointF& at : { QPointF(20, 20), QPointF(900, 900) }) {
        doc = open();
        add(doc.get(), Diagram::InverterType, QPointF(0, 0), "Inverter");
        scene = doc->scene();
        DiagramMenus::install([&doc](QMenu& menu, const QPoint&) -> QAction* {
            QAction* first = menu.actions().first();
            doc.reset();
            return first;
        });
        rightClick(scene, at);
        QVERIFY(!doc);
    }
}

KESTROVAN_TEST_MAIN(TestDiagramDocument)
#include "tst_document.moc"
