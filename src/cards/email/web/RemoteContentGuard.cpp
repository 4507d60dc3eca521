#include "RemoteContentGuard.h"

#include "BodyRequests.h"

namespace halvic {

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

void RemoteContentGuard::interceptRequest(QWebEngineUrlRequestInfo &info)
{
    if (!bodyMayLoad(info.requestUrl(), info.resourceType(), m_remoteAllowed))
        info.block(true);
}

} // namespace halvic
