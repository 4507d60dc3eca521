#pragma once

#include <QByteArray>
#include <QDir>
#include <QTemporaryFile>

#include <cstdio>
#include <unistd.h>

namespace halvic::testing {

/// Sends one of the process's standard streams (1 or 2) into a file while it lives.
class CapturedOutput
{
public:
    explicit CapturedOutput(int fd)
        : m_fd(fd)
    {
        m_file.open();
        std::fflush(fd == 1 ? stdout : stderr);
        m_saved = ::dup(fd);
        ::dup2(m_file.handle(), fd);
    }
    ~CapturedOutput()
    {
        std::fflush(m_fd == 1 ? stdout : stderr);
        ::dup2(m_saved, m_fd);
        ::close(m_saved);
    }
    CapturedOutput(const CapturedOutput &) = delete;
    CapturedOutput &operator=(const CapturedOutput &) = delete;

    QByteArray text()
    {
        std::fflush(m_fd == 1 ? stdout : stderr);
        m_file.seek(0);
        return m_file.readAll();
    }

private:
    int m_fd;
    int m_saved = -1;
    QTemporaryFile m_file;
};

/// Open file descriptors of this process.
inline int openDescriptorCount()
{
    return int(
        QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size());
}

} // namespace halvic::testing
