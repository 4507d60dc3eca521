#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace halvic {

/// Reads `path` when it is a regular file of at most `maxBytes`, without ever blocking: the
/// file is opened non-blocking and checked after opening (no race with a rename), so a pipe
/// or a device under that name is refused instead of stalling the main thread.
std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxBytes);

} // namespace halvic
