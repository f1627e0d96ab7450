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

// The kind a file's first bytes show, whatever its name: GenericReport for a report container,
// CurveData for a curve database carrying our application_id, InstallationDiagram for a diagram;
// OtherDocument for anything else. The desktop's file types use the same rules, so it hands such
// a file to us even when its name has lost the extension.
DocumentType documentTypeFromContent(const QString& path);
