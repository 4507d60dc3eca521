#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

namespace halvic {

/// Whether the desktop's default application may be asked to open `path`: only an existing
/// regular file that cannot run anything (not executable, not a script, not a desktop entry).
/// Every place that hands a local file to the desktop asks this first.
bool safeToOpenExternally(const QString &path);

/// Whether a link from the engine or from a message may be handed to the desktop: its scheme
/// (any case) is one of `schemes` and it is otherwise a valid URL. Everything else (file:,
/// smb:, custom schemes that start programs) is refused.
bool linkSchemeAllowed(const QUrl &url, const QStringList &schemes);

namespace linkschemes {
/// Web pages and new mail.
inline const QStringList web{QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("mailto")};
/// Web pages, new mail and phone calls.
inline const QStringList webAndPhone{
    QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("mailto"), QStringLiteral("tel")};
} // namespace linkschemes

} // namespace halvic
