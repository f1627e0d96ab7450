#pragma once

#include <QGuiApplication>
#include <QList>
#include <QStringList>
#include <QUrl>
#include <QtTest>
#include <functional>
#include <memory>
#include <type_traits>

// The test support comes in three layers, one library each, and a test links the lowest its code
// allows (tests/CMakeLists.txt picks it): the core (this header's plain part) links no widgets;
// KESTROVAN_TEST_WIDGETS adds QApplication, dialogs and TestDocument; KESTROVAN_TEST_APP adds
// the application's document kinds.
#ifdef KESTROVAN_TEST_WIDGETS
#include "ScriptedPrompts.h"
#include "TestDocument.h"

#include <QApplication>
#include <QMessageBox>
#endif

namespace TestSupport {
// Gives the test program a fresh HOME and XDG folders, before the application object exists.
void prepareEnvironment();
// Application identity, resources and a desktop that opens nothing; the widget layer adds the
// scripted prompts (answering dialogs by class), the application layer registers the document
// kinds.
void initApplication();
void initWidgetApplication();
void initAppApplication();
// Empties the settings store and recreates Folders, between test cases (the widget layer also
// forgets what was asked and scripted).
void resetState();
QString homeFolder();
// Web addresses and files handed to the desktop since the last resetState().
QList<QUrl>& openedUrls();
// When false, the desktop reports that it could not open anything.
void setDesktopSucceeds(bool succeeds);
// Folder of the built programs (bin/) and of the tests' data files.
QString binaryFolder();
QString dataFolder();
// QTest::qExec; with the widget layer, every test function is checked for prompts it did not
// script.
int exec(QObject* test, int argc, char** argv);
// What a layer above adds to resetState(), and to the end of exec() (its count of failures).
void setLayerHooks(std::function<void()> reset, std::function<int()> finish);
} // namespace TestSupport

#if defined(KESTROVAN_TEST_APP)
#define KESTROVAN_TEST_APPLICATION QApplication
#define KESTROVAN_TEST_INIT TestSupport::initAppApplication
#elif defined(KESTROVAN_TEST_WIDGETS)
#define KESTROVAN_TEST_APPLICATION QApplication
#define KESTROVAN_TEST_INIT TestSupport::initWidgetApplication
#else
#define KESTROVAN_TEST_APPLICATION QGuiApplication
#define KESTROVAN_TEST_INIT TestSupport::initApplication
#endif

#define KESTROVAN_TEST_MAIN(TestClass)                                                                       \
    int main(int argc, char** argv)                                                                          \
    {                                                                                                        \
        TestSupport::prepareEnvironment();                                                                   \
        KESTROVAN_TEST_APPLICATION app(argc, argv);                                                          \
        KESTROVAN_TEST_INIT();                                                                               \
        TestClass test;                                                                                      \
        return TestSupport::exec(&test, argc, argv);                                                         \
    }
