#pragma once

#include <QString>

// Hooks the report engine into the document framework.
namespace ReportSupport {
void registerWithDocuments();
// Warns when a new array test report would be made from a favourite laid out by an older pack,
// and deletes the favourite when the user agrees.
void checkArrayTestFavourite(const QString& favouritePath);
QString currentArrayTestPack();
} // namespace ReportSupport
