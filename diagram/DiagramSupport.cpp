#include "DiagramSupport.h"

#include "DocumentRegistry.h"
#include "InstallationDiagramDocument.h"

void DiagramSupport::registerWithDocuments()
{
    DocumentRegistry::registerKind(
        InstallationDiagram, [](const QString& path, QWidget* parent) -> AbstractDocument* {
            return new InstallationDiagramDocument(path, parent);
        });
}
