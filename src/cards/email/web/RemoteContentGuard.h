#pragma once

#include <QPointer>
#include <QQuickWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>
#include <QtQmlIntegration>

#include <atomic>

namespace halvic {

/// What a message body's page may load beyond itself (see bodyMayLoad): remote images and
/// styles only once the message no longer holds them back, so a tracking pixel the engine
/// missed cannot fire before the user asks for images.
class RemoteContentGuard : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT
    QML_ELEMENT
    /// The body's own profile; the guard watches every request it makes.
    Q_PROPERTY(QQuickWebEngineProfile *profile READ profile WRITE setProfile NOTIFY profileChanged)
    Q_PROPERTY(bool remoteAllowed READ remoteAllowed WRITE setRemoteAllowed NOTIFY remoteAllowedChanged)
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    ~RemoteContentGuard() override;

    QQuickWebEngineProfile *profile() const { return m_profile; }
    void setProfile(QQuickWebEngineProfile *profile);
    bool remoteAllowed() const { return m_remoteAllowed; }
    void setRemoteAllowed(bool allowed);

    void interceptRequest(QWebEngineUrlRequestInfo &info) override;

signals:
    void profileChanged();
    void remoteAllowedChanged();

private:
    QPointer<QQuickWebEngineProfile> m_profile;
    // Read by the web engine's request hook.
    std::atomic<bool> m_remoteAllowed = false;
};

} // namespace halvic
