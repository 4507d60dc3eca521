#pragma once

#include <QObject>

namespace halvic {

class EventDispatcher;

/// The engine's "gestures" row: says whether the engine asked for hand gestures on or off
/// (off when its "on" is missing or not a boolean).
class GestureRow final : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    /// Registers the row (it ends with this object).
    void registerRows(EventDispatcher &dispatcher);

signals:
    void switched(bool on);
};

} // namespace halvic
