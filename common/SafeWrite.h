#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

class QIODevice;

// Atomic replacement of a user's file: the data goes to a temporary file in the same folder,
// which replaces the old file only when every byte was written and flushed. On any failure the
// old file stays exactly as it was and errorString (when given) says why.
namespace SafeWrite {
// The writer writes the whole content to the device and returns false when it gave up.
using Writer = std::function<bool(QIODevice& device)>;

bool writeFile(const QString& path, const Writer& writer, QString* errorString = nullptr);
bool writeFile(const QString& path, const QByteArray& data, QString* errorString = nullptr);
} // namespace SafeWrite
