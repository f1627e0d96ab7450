#include "CurveSupport.h"

#include "CurveDocument.h"
#include "DocumentRegistry.h"

void CurveSupport::registerWithDocuments()
{
    // A curve file is an SQLite database: a second writer's save would drop the first one's curves.
    DocumentRegistry::registerKind(
        CurveData,
        [](const QString& path, QWidget* parent) -> AbstractDocument* {
            return new IVCurve::CurveDocument(path, parent);
        },
        true);
}
