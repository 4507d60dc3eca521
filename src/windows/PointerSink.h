#pragma once

#include <QPoint>

namespace halvic {

/// One synthetic pointer event. Positions are in desktop points, top-left origin.
struct PointerEvent
{
    enum class Type { Move, LeftDown, LeftDrag, LeftUp, RightDown, RightUp };
    Type type = Type::Move;
    QPoint position;

    bool operator==(const PointerEvent &) const = default;
};

/// Where the gesture controller's synthetic pointer events go: the desktop's input system,
/// or nowhere.
class PointerSink
{
public:
    virtual ~PointerSink() = default;
    /// Posts the event and returns without waiting for anyone to receive it.
    virtual void post(const PointerEvent &event) = 0;
};

/// A desktop that takes no synthetic input: events are dropped.
class NullPointerSink final : public PointerSink
{
public:
    void post(const PointerEvent &) override { }
};

} // namespace halvic
