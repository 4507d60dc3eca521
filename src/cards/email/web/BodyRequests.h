#pragma once

#include <QUrl>
#include <QWebEngineUrlRequestInfo>

namespace halvic {

/// Whether a message body's page may load `url` as a resource of `type`. The page itself and
/// what it carries inline (data:) may load; from the web, only what a message displays
/// (images, style sheets, fonts) and only once the message no longer holds it back. Never
/// anything local (no file: probing), no hints (prefetch), frames, objects, scripts, pings or
/// media: a message's page has no player the user asked for, and media loads on its own
/// (autoplay, preload), telling the sender more than an image does.
inline bool bodyMayLoad(const QUrl &url, QWebEngineUrlRequestInfo::ResourceType type, bool remoteAllowed)
{
    using Info = QWebEngineUrlRequestInfo;
    const QString scheme = url.scheme().toLower();
    const bool embedded = scheme == QLatin1StringView("data") || scheme == QLatin1StringView("about");
    const bool web = scheme == QLatin1StringView("https") || scheme == QLatin1StringView("http");
    switch (type) {
    case Info::ResourceTypeMainFrame:
        return embedded;
    case Info::ResourceTypeImage:
    case Info::ResourceTypeStylesheet:
    case Info::ResourceTypeFontResource:
        return embedded || (web && remoteAllowed);
    default:
        return false;
    }
}

} // namespace halvic
