#pragma once

#include <QIcon>
#include <QString>

// A window icon sharp at every size a desktop draws it: the given picture together with the
// pictures of the folder (one per size, rendered from the same source at build time).
QIcon windowIconWithSizes(const QString& picture, const QString& sizesFolder);
