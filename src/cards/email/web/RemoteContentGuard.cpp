#include "RemoteContentGuard.h"

namespace halvic {

using namespace Qt::Literals::StringLiterals;

RemoteContentGuard::~RemoteContentGuard()
{
    if (m_profile)
        m_profile->setUrlRequestInterceptor(nullptr);
}

void RemoteContentGuard::setProfile(QQuickWebEngineProfile *profile)
{
    if (profile == m_profile)
        return;
    if (m_profile)
        m_profile->setUrlRequestInterceptor(nullptr);
    m_profile = profile;
    if (m_profile)
        m_profile->setUrlRequestInterceptor(this);
    emit profileChanged();
}

void RemoteContentGuard::setRemoteAllowed(bool allowed)
{
    if (allowed == m_remoteAllowed)
        return;
    m_remoteAllowed = allowed;
    emit remoteAllowedChanged();
}

bool RemoteContentGuard::allows(const QUrl &url, bool remoteAllowed)
{
    const QString scheme = url.scheme().toLower();
    // The page itself (loaded as data) and what it embeds inline.
    if (scheme == u"data"_s || scheme == u"about"_s)
        return true;
    return remoteAllowed && (scheme == u"https"_s || scheme == u"http"_s);
}

void RemoteContentGuard::interceptRequest(QWebEngineUrlRequestInfo &info)
{
    if (!allows(info.requestUrl(), m_remoteAllowed))
        info.block(true);
}

} // namespace halvic
