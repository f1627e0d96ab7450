#pragma once

// Hooks the installation diagram editor into the document framework.
namespace DiagramSupport {
void registerWithDocuments();
} // namespace DiagramSupport
