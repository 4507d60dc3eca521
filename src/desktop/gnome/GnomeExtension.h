#pragma once

#include <QDBusConnection>
#include <QString>
#include <QVariantList>

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>

class QObject;

namespace halvic::gnome {

/// The HUD's extension inside GNOME Shell, on the session bus: GNOME lets no other program
/// list or move windows or drive the pointer, so the extension that ships with the HUD does
/// it for us. It answers this process alone.
///
/// Thread-safe: call() waits, on worker threads only; send() and ask() never wait.
class Extension
{
public:
    /// On the session bus (the application's connection to it), or the bus at `busAddress`.
    explicit Extension(const QString &busAddress = {});
    ~Extension();
    Extension(const Extension &) = delete;
    Extension &operator=(const Extension &) = delete;

    /// Calls `method` and waits for its reply: the values it returned, or none when it failed
    /// (a window gone, say) or the extension is not there. Never on the main thread.
    std::optional<QVariantList> call(
        const QString &method, const QVariantList &arguments = {}, std::chrono::milliseconds timeout = defaultTimeout);
    /// Sends a call without waiting for, or reading, its reply.
    void send(const QString &method, const QVariantList &arguments = {});
    /// Calls `method` without waiting, from `context`'s thread: `done(true)` runs there once
    /// the extension answered, `done(false)` once it did not. The extension must outlive
    /// `context`.
    void ask(const QString &method, QObject *context, std::function<void(bool)> done);

    /// False once a call found the extension missing, disabled or refusing us; true again once
    /// one is answered.
    bool answers() const { return m_answers; }
    /// Whether the last call that found it missing was refused: the extension is there but lets
    /// in only the binary it was installed with.
    bool refused() const { return m_refused; }

    static constexpr std::chrono::milliseconds defaultTimeout{2000};

private:
    QDBusMessage message(const QString &method, const QVariantList &arguments) const;
    /// Notes whether `reply` shows the extension there.
    bool noteReply(const QDBusMessage &reply);

    const QString m_connectionName;
    QDBusConnection m_bus;
    std::atomic<bool> m_answers = true;
    std::atomic<bool> m_refused = false;
};

/// Whether a D-Bus error means the extension is not there for us (not installed, disabled,
/// refusing this process or not answering), rather than a call of ours that failed.
bool meansMissing(const QString &errorName);

} // namespace halvic::gnome
