#include "CurveSupport.h"

#include "CurveDocument.h"
#include "DocumentRegistry.h"

void CurveSupport::registerWithDocuments()
{
    DocumentRegistry::registerKind(CurveData, [](const QString& path, QWidget* parent) -> AbstractDocument* {
        return new IVCurve::CurveDocument(path, parent);
    });
}
