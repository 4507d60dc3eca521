#pragma once

#include <QList>
#include <QUrl>

namespace halvic {

/// The files among what the user picked or dropped that a card may pass on (to attach or to
/// upload): local file URLs naming regular files, in order, each once. Folders, devices,
/// pipes, sockets, missing files and other URLs are left out without a word. Only the
/// entries are looked up, never opened, so a pipe or device cannot stall the caller.
QList<QUrl> regularFiles(const QList<QUrl> &urls);

} // namespace halvic
