#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// A named pipe at `path` whose writing end a helper thread opens as soon as anyone opens it
// for reading; it then writes `content` and closes. Opening a pipe for reading blocks until
// a writer comes, so `readerCame()` tells whether the code under test would have hung there.
class FifoWriter
{
public:
    FifoWriter(const QString &path, QByteArray content)
        : m_path(QFile::encodeName(path))
        , m_content(std::move(content))
        , m_created(::mkfifo(m_path.constData(), 0600) == 0)
    {
        if (m_created)
            m_thread = std::thread([this] { run(); });
    }
    ~FifoWriter()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    FifoWriter(const FifoWriter &) = delete;
    FifoWriter &operator=(const FifoWriter &) = delete;

    bool created() const { return m_created; }
    bool readerCame() const { return m_readerCame; }

private:
    void run()
    {
        while (!m_stop) {
            // Without a reader this fails at once (ENXIO); with one it succeeds.
            const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                m_readerCame = true;
                [[maybe_unused]] const auto written = ::write(fd, m_content.constData(), size_t(m_content.size()));
                ::close(fd);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    const QByteArray m_path;
    const QByteArray m_content;
    const bool m_created;
    std::atomic<bool> m_stop = false;
    std::atomic<bool> m_readerCame = false;
    std::thread m_thread;
};
