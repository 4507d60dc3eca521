#include "GestureRow.h"

#include "EventDispatcher.h"
#include "JsonRead.h"
#include "Protocol.h"

namespace halvic {

void GestureRow::registerRows(EventDispatcher &dispatcher)
{
    dispatcher.on(protocol::event::gestures, this,
        [this](const QJsonObject &payload) { emit switched(json::boolean(payload, protocol::key::on, false)); });
}

} // namespace halvic
