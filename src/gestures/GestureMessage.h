#pragma once

#include <QByteArrayView>
#include <QPointF>
#include <QString>

#include <optional>
#include <variant>
#include <vector>

namespace halvic::gestures {

/// One hand the tracker sees, at a position normalised to the first display (0..1 across,
/// origin top-left).
struct Hand
{
    QString name;
    QPointF position;
    QString pose;

    bool operator==(const Hand &) const = default;
};

/// The hands stream: every hand currently seen, and the tracker's armed state when it sent one.
struct HandsFrame
{
    std::optional<bool> armed;
    std::vector<Hand> hands;

    bool operator==(const HandsFrame &) const = default;
};

/// A discrete tracker event ("arm", "pinch_start", ...). Pointer events carry their hand and
/// position; the others carry neither.
struct TrackerEvent
{
    QString name;
    QString hand;
    QPointF position;

    bool operator==(const TrackerEvent &) const = default;
};

using Message = std::variant<HandsFrame, TrackerEvent>;

/// Decodes one datagram. Anything that is not a JSON object of a kind the controller acts on
/// gives none: empty data, other JSON, unknown event names, pointer events without a string
/// "hand" and numeric "x" and "y". Hands without a name or numeric coordinates are left out
/// of their frame.
std::optional<Message> decode(QByteArrayView datagram);

/// Whether the event name moves or clicks the pointer (and so needs a hand and a position).
bool isPointerEvent(const QString &name);

} // namespace halvic::gestures
