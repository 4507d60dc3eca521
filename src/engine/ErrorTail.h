#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

#include <deque>

namespace halvic {

/// The last lines an engine wrote to its standard error, in bounded memory whatever it
/// writes: at most `maxLines` lines and `maxBytes` bytes, the oldest going first. A line
/// longer than the byte cap keeps its end; an unfinished last line counts as a line.
class ErrorTail
{
public:
    static constexpr qsizetype maxLines = 20;
    static constexpr qsizetype maxBytes = 4096;

    void feed(QByteArrayView chunk);
    /// The kept lines, oldest first, decoded as UTF-8 (invalid bytes replaced), without
    /// carriage returns at their ends. Blank lines are left out.
    QStringList lines() const;
    void clear();
    /// Bytes held, for checking the bound.
    qsizetype heldBytes() const { return m_bytes + m_partial.size(); }

private:
    void appendToPartial(QByteArrayView bytes);
    void keepLine(QByteArray line);

    std::deque<QByteArray> m_lines;
    qsizetype m_bytes = 0;
    QByteArray m_partial;
};

/// How an engine that stopped by itself ended: its exit status (or the signal that ended it)
/// and the last lines of its standard error.
struct EngineExit
{
    int status = 0;
    bool crashed = false; ///< ended by a signal; `status` is the signal number
    QStringList lastErrorLines;

    /// "exit status 1" or "signal 11".
    QString statusText() const;
    /// The transcript line: "The engine stopped (exit status 1): <last line>".
    QString summary() const;
    /// The status followed by every kept line, for a tooltip.
    QString details() const;
};

} // namespace halvic
