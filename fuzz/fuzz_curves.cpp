// libFuzzer target: the two curve importers on any bytes. A tester's curve file goes into a curve
// document's store as a folder of strings; a survey meter's file is read into its readings. The
// questions they ask (checksum boxes, duplicate times) get the unattended answers.
//   build/fuzz/bin/fuzz_curves fuzz/data/curves/
#include "CurveStore.h"
#include "FileNames.h"
#include "Folders.h"
#include "KestrovanResources.h"
#include "MeterFileImporter.h"
#include "TesterFileImporter.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <memory>

using namespace IVCurve;

namespace {
struct Bench
{
    std::unique_ptr<QCoreApplication> app;
    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<CurveStore> store;
    int inputs = 0;

    // A fresh document now and then, so that the store does not grow through the whole run.
    CurveStore& freshStore()
    {
        if (!store || ++inputs % 200 == 0) {
            store.reset();
            const QString path = home->filePath(QStringLiteral("fuzz.kstcrv"));
            QFile::remove(path);
            if (!copyAsWritable(Folders::builtInTemplatePath(QStringLiteral("kstcrv")), path))
                __builtin_trap();
            store = std::make_unique<CurveStore>(path);
            if (!store->isOpen())
                __builtin_trap();
        }
        return *store;
    }
};
Bench* bench = nullptr;
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    bench = new Bench;
    bench->home = std::make_unique<QTemporaryDir>();
    qputenv("HOME", bench->home->path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (bench->home->path() + QStringLiteral("/.config")).toUtf8());
    qputenv("XDG_DATA_HOME", (bench->home->path() + QStringLiteral("/.local/share")).toUtf8());
    bench->app = std::make_unique<QCoreApplication>(*argc, *argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Halvern"));
    QCoreApplication::setApplicationName(QStringLiteral("Kestrovan Elements"));
    initKestrovanResources();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), int(size));
    CurveStore& store = bench->freshStore();
    TesterFileImporter tester(store);
    tester.importData(bytes, QStringLiteral("fuzz"));
    MeterFileImporter meter(store);
    meter.readLines(QString::fromLatin1(bytes).split(QLatin1Char('\n')));
    return 0;
}
