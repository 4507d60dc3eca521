#include "ErrorTail.h"

#include <QCoreApplication>

namespace halvic {

namespace {

// Starts `bytes` at a character boundary, so a cut never leaves half a UTF-8 sequence.
QByteArrayView fromCharacterStart(QByteArrayView bytes)
{
    qsizetype skip = 0;
    while (skip < bytes.size() && skip < 3 && (uchar(bytes[skip]) & 0xC0) == 0x80)
        ++skip;
    return bytes.sliced(skip);
}

} // namespace

void ErrorTail::feed(QByteArrayView chunk)
{
    while (!chunk.isEmpty()) {
        const qsizetype lineFeed = chunk.indexOf('\n');
        if (lineFeed < 0) {
            appendToPartial(chunk);
            return;
        }
        appendToPartial(chunk.first(lineFeed));
        keepLine(std::exchange(m_partial, {}));
        chunk = chunk.sliced(lineFeed + 1);
    }
}

void ErrorTail::appendToPartial(QByteArrayView bytes)
{
    if (bytes.size() >= maxBytes) {
        m_partial = fromCharacterStart(bytes.last(maxBytes)).toByteArray();
        return;
    }
    m_partial.append(bytes);
    if (m_partial.size() > maxBytes)
        m_partial = fromCharacterStart(QByteArrayView(m_partial).last(maxBytes)).toByteArray();
}

void ErrorTail::keepLine(QByteArray line)
{
    while (line.endsWith('\r'))
        line.chop(1);
    if (line.trimmed().isEmpty())
        return;
    m_bytes += line.size();
    m_lines.push_back(std::move(line));
    while (qsizetype(m_lines.size()) > maxLines || m_bytes > maxBytes) {
        m_bytes -= m_lines.front().size();
        m_lines.pop_front();
    }
}

QStringList ErrorTail::lines() const
{
    QStringList out;
    for (const QByteArray &line : m_lines)
        out << QString::fromUtf8(line);
    QByteArray partial = m_partial;
    while (partial.endsWith('\r'))
        partial.chop(1);
    if (!partial.trimmed().isEmpty()) {
        // The unfinished line is the newest; the bounds hold for it too.
        out << QString::fromUtf8(partial);
        qsizetype bytes = m_bytes + partial.size();
        qsizetype dropped = 0;
        while (out.size() - dropped > maxLines || bytes > maxBytes) {
            bytes -= m_lines[size_t(dropped)].size();
            ++dropped;
        }
        out.remove(0, dropped);
    }
    return out;
}

void ErrorTail::clear()
{
    m_lines.clear();
    m_bytes = 0;
    m_partial.clear();
}

QString EngineExit::statusText() const
{
    return crashed ? QCoreApplication::translate("ErrorTail", "signal %1").arg(status)
                   : QCoreApplication::translate("ErrorTail", "exit status %1").arg(status);
}

QString EngineExit::summary() const
{
    if (lastErrorLines.isEmpty())
        return QCoreApplication::translate("ErrorTail", "The engine stopped (%1).").arg(statusText());
    return QCoreApplication::translate("ErrorTail", "The engine stopped (%1): %2")
        .arg(statusText(), lastErrorLines.constLast().trimmed());
}

QString EngineExit::details() const
{
    QString text = QCoreApplication::translate("ErrorTail", "The engine stopped (%1).").arg(statusText());
    for (const QString &line : lastErrorLines)
        text += QLatin1Char('\n') + line;
    return text;
}

} // namespace halvic
