#include "SwayIpc.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace halvic::sway {

namespace {

constexpr char magic[] = "i3-ipc";
constexpr qsizetype magicSize = 6;
constexpr qsizetype headerSize = magicSize + 8;
// A tree of a few hundred windows is well under a megabyte; anything near this is not sway.
constexpr quint32 largestReply = 64u << 20;

class Socket
{
public:
    Socket()
        : m_fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0))
    {
    }
    ~Socket()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Socket(const Socket &) = delete;
    Socket &operator=(const Socket &) = delete;

    int fd() const { return m_fd; }

private:
    int m_fd;
};

bool writeAll(int fd, const QByteArray &data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::send(fd, data.constData() + done, std::size_t(data.size() - done), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

bool readAll(int fd, char *into, qsizetype size)
{
    qsizetype done = 0;
    while (done < size) {
        const ssize_t n = ::recv(fd, into + done, std::size_t(size - done), 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

} // namespace

Ipc::Ipc(QString socketPath, std::chrono::milliseconds timeout)
    : m_socketPath(std::move(socketPath))
    , m_timeout(timeout)
{
}

QByteArray Ipc::frame(Message type, const QByteArray &payload)
{
    QByteArray out(magic, magicSize);
    const quint32 length = quint32(payload.size());
    const quint32 code = quint32(type);
    out.append(reinterpret_cast<const char *>(&length), sizeof length);
    out.append(reinterpret_cast<const char *>(&code), sizeof code);
    out.append(payload);
    return out;
}

std::optional<QJsonDocument> Ipc::request(Message type, const QByteArray &payload) const
{
    const QByteArray path = m_socketPath.toLocal8Bit();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || std::size_t(path.size()) >= sizeof address.sun_path)
        return std::nullopt;
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));

    const Socket socket;
    if (socket.fd() < 0)
        return std::nullopt;
    timeval limit{};
    limit.tv_sec = time_t(m_timeout.count() / 1000);
    limit.tv_usec = suseconds_t((m_timeout.count() % 1000) * 1000);
    ::setsockopt(socket.fd(), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    ::setsockopt(socket.fd(), SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    if (::connect(socket.fd(), reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0)
        return std::nullopt;
    if (!writeAll(socket.fd(), frame(type, payload)))
        return std::nullopt;

    char header[headerSize];
    if (!readAll(socket.fd(), header, headerSize) || std::memcmp(header, magic, magicSize) != 0)
        return std::nullopt;
    quint32 length = 0;
    quint32 replyType = 0;
    std::memcpy(&length, header + magicSize, sizeof length);
    std::memcpy(&replyType, header + magicSize + 4, sizeof replyType);
    if (replyType != quint32(type) || length > largestReply)
        return std::nullopt;
    QByteArray body(qsizetype(length), Qt::Uninitialized);
    if (!readAll(socket.fd(), body.data(), body.size()))
        return std::nullopt;
    QJsonParseError error{};
    QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError)
        return std::nullopt;
    return document;
}

bool Ipc::command(const QString &commands) const
{
    const auto reply = request(Message::RunCommand, commands.toUtf8());
    if (!reply || !reply->isArray() || reply->array().isEmpty())
        return false;
    const QJsonArray results = reply->array();
    for (const QJsonValue &result : results) {
        if (!result.toObject().value(QLatin1String("success")).toBool())
            return false;
    }
    return true;
}

} // namespace halvic::sway
