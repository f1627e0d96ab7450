#pragma once

#include <QString>

enum class KnownFolder {
    PublicDocuments, // where the shared projects folder lives
    ProgramData, // per-machine data: favourite templates, the module library
};

// The path of a known folder, with forward slashes; empty when the platform has none.
QString knownFolderPath(KnownFolder folder);
