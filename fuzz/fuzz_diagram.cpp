// libFuzzer target: the installation diagram loader. Each input is written to a file and opened
// as a drawing; what loads is saved and opened again, which must then succeed.
#include "DiagramGraphicsScene.h"
#include "FuzzSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QUndoStack>
#include <cstdlib>
#include <memory>

namespace {
QString g_folder;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    Prompts::install(std::make_unique<SilentPrompts>());
    g_folder
        = QDir::tempPath() + QStringLiteral("/kestrovan-fuzz-%1").arg(QCoreApplication::applicationPid());
    QDir().mkpath(g_folder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = g_folder + QStringLiteral("/input.kstid");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        return 0;
    file.close();
    QUndoStack stack;
    auto scene = std::make_unique<DiagramGraphicsScene>(&stack);
    if (!scene->load(path))
        return 0;
    const QString saved = g_folder + QStringLiteral("/saved.kstid");
    if (!scene->save(saved))
        std::abort();
    QUndoStack again;
    DiagramGraphicsScene reopened(&again);
    // A file the program saved always reopens.
    if (!reopened.load(saved))
        std::abort();
    return 0;
}
