#include "GestureMessage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "GestureProtocol.h"

namespace halvic::gestures {

namespace g = protocol::gesture;

namespace {

/// A position needs both coordinates as JSON numbers.
std::optional<QPointF> position(const QJsonObject &object)
{
    const QJsonValue x = object.value(g::x);
    const QJsonValue y = object.value(g::y);
    if (!x.isDouble() || !y.isDouble())
        return std::nullopt;
    return QPointF(x.toDouble(), y.toDouble());
}

HandsFrame handsFrame(const QJsonObject &object)
{
    HandsFrame frame;
    const QJsonValue armed = object.value(g::armed);
    if (armed.isBool())
        frame.armed = armed.toBool();
    const QJsonArray hands = object.value(g::hands).toArray();
    frame.hands.reserve(std::size_t(hands.size()));
    for (const QJsonValue &value : hands) {
        const QJsonObject hand = value.toObject();
        const QJsonValue name = hand.value(g::hand);
        const std::optional<QPointF> at = position(hand);
        if (!name.isString() || !at)
            continue;
        const QJsonValue pose = hand.value(g::pose);
        frame.hands.push_back({name.toString(), *at, pose.isString() ? pose.toString() : QStringLiteral("none")});
    }
    return frame;
}

std::optional<TrackerEvent> trackerEvent(const QJsonObject &object)
{
    const QString name = object.value(g::name).toString();
    if (name == g::arm || name == g::disarm || name == g::ready)
        return TrackerEvent{name, {}, {}};
    if (!isPointerEvent(name))
        return std::nullopt;
    const QJsonValue hand = object.value(g::hand);
    const std::optional<QPointF> at = position(object);
    if (!hand.isString() || !at)
        return std::nullopt;
    return TrackerEvent{name, hand.toString(), *at};
}

} // namespace

bool isPointerEvent(const QString &name)
{
    return name == g::pinchStart || name == g::pinchMove || name == g::pinchEnd || name == g::rclick
        || name == g::fistHold;
}

std::optional<Message> decode(QByteArrayView datagram)
{
    if (datagram.isEmpty())
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(datagram.toByteArray());
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    if (object.value(g::kind).toString() == g::hands)
        return handsFrame(object);
    if (std::optional<TrackerEvent> event = trackerEvent(object))
        return *std::move(event);
    return std::nullopt;
}

} // namespace halvic::gestures
