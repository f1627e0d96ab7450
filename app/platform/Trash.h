#pragma once

#include <QString>

// Moves a file or folder to the desktop's trash, from where the user can restore it.
bool moveToTrash(const QString& path);
