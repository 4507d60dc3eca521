#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstring>
#include <utility>

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
    /// its line feed, and `onDropped(qsizetype)` with the length of every overlong line once
    /// its line feed comes. The view is valid only during the call.
    template <typename OnLine, typename OnDropped>
    void feed(QByteArrayView chunk, OnLine &&onLine, OnDropped &&onDropped);
    template <typename OnLine>
    void feed(QByteArrayView chunk, OnLine &&onLine)
    {
        feed(chunk, onLine, [](qsizetype) {});
    }

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
    qsizetype m_discarded = 0;
};

template <typename OnLine, typename OnDropped>
void LineFramer::feed(QByteArrayView chunk, OnLine &&onLine, OnDropped &&onDropped)
{
    while (!chunk.empty()) {
        const qsizetype lineFeed = indexOfLineFeed(chunk);
        if (lineFeed < 0) {
            if (!m_discarding && m_partial.size() + chunk.size() <= m_maxLine) {
                m_partial.append(chunk);
            } else {
                m_discarded += std::exchange(m_partial, QByteArray()).size() + chunk.size();
                m_discarding = true;
            }
            return;
        }
        const QByteArrayView head = chunk.first(lineFeed);
        chunk = chunk.sliced(lineFeed + 1);
        if (m_discarding) {
            m_discarding = false;
            onDropped(std::exchange(m_discarded, 0) + head.size());
            continue;
        }
        if (m_partial.isEmpty()) {
            if (head.size() <= m_maxLine)
                onLine(head);
            else
                onDropped(head.size());
            continue;
        }
        const bool fits = m_partial.size() + head.size() <= m_maxLine;
        if (fits)
            m_partial.append(head);
        // Move the line out first: the callback may feed this framer again.
        const QByteArray line = std::exchange(m_partial, QByteArray());
        if (fits)
            onLine(QByteArrayView(line));
        else
            onDropped(line.size() + head.size());
    }
}

} // namespace halvic
