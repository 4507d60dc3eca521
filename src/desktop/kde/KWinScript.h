#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>

namespace halvic::kwin {

/// The script KWin runs for us, and the D-Bus channel it works on. KWin lets no other
/// program list or move windows, so one script, loaded once for the session, asks us for
/// commands (our reply to its "Next" call is held back until there is one) and hands back each
/// answer with "Done". Calls from any bus peer but KWin are refused.
///
/// The bus connection, the loading and the replies live on a thread of their own: request()
/// waits only in the caller's thread, and post() never waits.
class Script
{
public:
    /// Connects to the session bus (or `busAddress`) and loads the script into KWin.
    explicit Script(QString busAddress = {});
    ~Script();
    Script(const Script &) = delete;
    Script &operator=(const Script &) = delete;

    /// Sends `command` ({"op": …}) and waits for its result; none when KWin does not answer
    /// within `timeout` or the command failed there. Never on the main thread.
    std::optional<QJsonValue> request(QJsonObject command, std::chrono::milliseconds timeout = std::chrono::seconds(2));
    /// Sends `command` without waiting for, or keeping, its result.
    void post(QJsonObject command);

    /// The script is loading or asking for work; false once KWin has not taken it.
    bool isAvailable() const;

private:
    class Channel;
    std::unique_ptr<Channel> m_channel;
};

} // namespace halvic::kwin
