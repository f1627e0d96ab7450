#pragma once

#include <QString>

// The document kind of a path, from the text after the last "." of the whole path
// (compared case-insensitively). Code 11 is not used.
enum DocumentType {
    OtherDocument = 0,
    InspectionReport = 1,
    ArrayTestReport = 2,
    VerificationCertificate = 3,
    GenericReport = 4,
    InstallationDiagram = 5,
    Checklist = 6,
    ImageFile = 7,
    PdfFile = 8,
    WordProcessorFile = 9,
    SpreadsheetFile = 10,
    WebPage = 12,
    CurveData = 13,
};

DocumentType documentType(const QString& path);
