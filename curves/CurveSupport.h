#pragma once

// Makes curve files (.kstcrv) open as curve documents.
namespace CurveSupport {
void registerWithDocuments();
}
