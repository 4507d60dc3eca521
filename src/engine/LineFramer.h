#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstring>

namespace halvic {

/// Cuts a byte stream into line-feed terminated lines. A partial line waits for the next chunk;
/// a line longer than the cap is dropped up to its line feed so memory stays bounded.
class LineFramer
{
public:
    static constexpr qsizetype defaultMaxLine = 8 * 1024 * 1024;

    explicit LineFramer(qsizetype maxLineBytes = defaultMaxLine)
        : m_maxLine(maxLineBytes)
    {
    }

    /// Calls `onLine(QByteArrayView)` for every line completed by `chunk`, in order, without
    /// its line feed. The view is valid only during the call.
    template <typename OnLine>
    void feed(QByteArrayView chunk, OnLine &&onLine);

    /// Bytes held back for an unfinished line.
    qsizetype pendingBytes() const { return m_partial.size(); }
    /// True while the rest of an overlong line is being thrown away.
    bool discarding() const { return m_discarding; }

private:
    static qsizetype indexOfLineFeed(QByteArrayView bytes)
    {
        const void *found = bytes.empty() ? nullptr : std::memchr(bytes.data(), '\n', size_t(bytes.size()));
        return found ? static_cast<const char *>(found) - bytes.data() : -1;
    }

    qsizetype m_maxLine;
    QByteArray m_partial;
    bool m_discarding = false;
};

template <typename OnLine>
void LineFramer::feed(QByteArrayView chunk, OnLine &&onLine)
{
    while (!chunk.empty()) {
        const qsizetype lineFeed = indexOfLineFeed(chunk);
        if (lineFeed < 0) {
            if (!m_discarding && m_partial.size() + chunk.size() <= m_maxLine) {
                m_partial.append(chunk);
            } else {
                m_partial = QByteArray();
                m_discarding = true;
            }
            return;
        }
        const QByteArrayView head = chunk.first(lineFeed);
        chunk = chunk.sliced(lineFeed + 1);
        if (m_discarding) {
            m_discarding = false;
            continue;
        }
        if (m_partial.isEmpty()) {
            if (head.size() <= m_maxLine)
                onLine(head);
            continue;
        }
        const bool fits = m_partial.size() + head.size() <= m_maxLine;
        if (fits)
            m_partial.append(head);
        // Move the line out first: the callback may feed this framer again.
        const QByteArray line = std::exchange(m_partial, QByteArray());
        if (fits)
            onLine(QByteArrayView(line));
    }
}

} // namespace halvic
