#include "DocumentRegistry.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>

namespace {
struct Registry
{
    QHash<int, DocumentRegistry::Constructor> byKind;
    QSet<int> singleWriters;
    QHash<QString, DocumentRegistry::Constructor> byName;
    QHash<QString, DocumentRegistry::FavouriteCheck> favouriteChecks;
};

Registry& registry()
{
    static Registry r;
    return r;
}
} // namespace

void DocumentRegistry::registerKind(DocumentType type, Constructor constructor, bool singleWriter)
{
    registry().byKind.insert(type, std::move(constructor));
    if (singleWriter)
        registry().singleWriters.insert(type);
    else
        registry().singleWriters.remove(type);
}

bool DocumentRegistry::isSingleWriter(DocumentType type)
{
    return registry().singleWriters.contains(type);
}

void DocumentRegistry::registerNamedFile(const QString& fileName, Constructor constructor)
{
    registry().byName.insert(fileName, std::move(constructor));
}

void DocumentRegistry::registerFavouriteCheck(const QString& suffix, FavouriteCheck check)
{
    registry().favouriteChecks.insert(suffix.toLower(), std::move(check));
}

DocumentRegistry::Constructor DocumentRegistry::constructorFor(DocumentType type)
{
    return registry().byKind.value(type);
}

DocumentRegistry::Constructor DocumentRegistry::constructorForName(const QString& fileName)
{
    return registry().byName.value(fileName);
}

DocumentRegistry::FavouriteCheck DocumentRegistry::favouriteCheckFor(const QString& suffix)
{
    return registry().favouriteChecks.value(suffix.toLower());
}

void DocumentRegistry::clear()
{
    registry() = Registry();
}

const std::vector<DocumentRegistry::NewKind>& DocumentRegistry::newKinds()
{
    static const std::vector<NewKind> kinds {
        { InspectionReport, "actionNewInspectionReport",
            QT_TRANSLATE_NOOP("MainWindow", "New Inspection Report"), "inspection",
            QT_TRANSLATE_NOOP("MainWindow", "Inspection Report"), "kstir" },
        { ArrayTestReport, "actionNewTestReport", QT_TRANSLATE_NOOP("MainWindow", "New PV Array Test Report"),
            "report", QT_TRANSLATE_NOOP("MainWindow", "Array Test Report"), "kstatr" },
        { VerificationCertificate, "actionNewVerificationCertificate",
            QT_TRANSLATE_NOOP("MainWindow", "New Verification Certificate"), "certificate",
            QT_TRANSLATE_NOOP("MainWindow", "Verification Certificate"), "kstvc" },
        { InstallationDiagram, "actionNewInstallationDiagram",
            QT_TRANSLATE_NOOP("MainWindow", "New Installation Diagram"), "installation_diagram",
            QT_TRANSLATE_NOOP("MainWindow", "Installation Diagram"), "kstid" },
        { Checklist, "actionNewChecklist", QT_TRANSLATE_NOOP("MainWindow", "New Checklist"), "checklist",
            QT_TRANSLATE_NOOP("MainWindow", "Checklist"), "kstchk" },
        { CurveData, "actionNewCurveData", QT_TRANSLATE_NOOP("MainWindow", "New String Data Report"), "chart",
            QT_TRANSLATE_NOOP("MainWindow", "String Data Report"), "kstcrv" },
    };
    return kinds;
}
