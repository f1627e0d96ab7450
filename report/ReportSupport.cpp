#include "ReportSupport.h"

#include "Brand.h"
#include "DocumentRegistry.h"
#include "GraphicalReportDocument.h"
#include "MainWindowRef.h"
#include "Prompts.h"
#include "ReportReader.h"

#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>

void ReportSupport::registerWithDocuments()
{
    for (DocumentType type :
        { InspectionReport, ArrayTestReport, VerificationCertificate, GenericReport, Checklist })
        DocumentRegistry::registerKind(type, [](const QString& path, QWidget* parent) -> AbstractDocument* {
            return new GraphicalReportDocument(path, parent);
        });
    DocumentRegistry::registerFavouriteCheck(
        QStringLiteral("kstatr"), &ReportSupport::checkArrayTestFavourite);
}

QString ReportSupport::currentArrayTestPack()
{
    return QStringLiteral(":res/%1/kstatr_rev3.pak").arg(Brand::templateFolderName());
}

void ReportSupport::checkArrayTestFavourite(const QString& favouritePath)
{
    QString packPath;
    if (!ReportReader::readPackPath(favouritePath, &packPath) || packPath == currentArrayTestPack())
        return;
    MessageRequest request;
    request.parent = currentMainWindow();
    request.icon = QMessageBox::Warning;
    request.text = QCoreApplication::translate("Warning Message",
        "You are creating an Array Test Report from a favourite that was created in an older version of the "
        "program. If you use this version then you will not be able to import data into it.");
    request.informativeText = QCoreApplication::translate(
        "Warning Message", "Would you like to replace the favourite with the new version of the report?");
    request.buttons = QMessageBox::Yes | QMessageBox::No;
    if (Prompts::instance().message(request) == QMessageBox::Yes)
        QFile::remove(favouritePath);
}
