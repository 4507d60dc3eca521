#pragma once

#include <QObject>

#include <memory>

#include "GestureRow.h"
#include "Menu.h"

class QQmlEngine;

namespace halvic {

class Desktop;
class EventDispatcher;
class GestureController;
class HudRequests;
class PointerSink;
class Scheduler;
class WindowSystem;

/// Hand gestures on or off, in one place: the user's switch (which the engine is told of),
/// the engine's "gestures" row, its menu entry, and off once the engine that drove them has
/// exited. The gesture controller is made on first use: nothing of it exists while
/// gestures were never on.
class HandGestures final : public QObject
{
    Q_OBJECT
public:
    HandGestures(Scheduler &scheduler, QQmlEngine &qml, const HudRequests &requests, Desktop &desktop,
        QObject *parent = nullptr);
    ~HandGestures() override;

    bool isOn() const;
    /// The user's switch: tells the engine and switches.
    void toggle();
    /// Switches as the engine says; off needs no controller, so none is made for it.
    void setActive(bool on);
    /// The engine's "gestures" row switches them (the row ends with this object).
    void registerRows(EventDispatcher &dispatcher);

    /// "Hand Gestures", checked while on.
    Menu menuEntries();

signals:
    /// Switched on: the application checks that a camera is there to see the hands.
    void switchedOn();
    /// The hands did something (it counts as the user's activity).
    void activity();

private:
    GestureController &controller();

    Scheduler &m_scheduler;
    QQmlEngine &m_qml;
    const HudRequests &m_requests;
    Desktop &m_desktop;
    GestureRow m_row;
    std::unique_ptr<PointerSink> m_pointer;
    std::unique_ptr<WindowSystem> m_windows;
    // Last: it goes before the pointer and windows it acts on (releasing the button).
    std::unique_ptr<GestureController> m_controller;
};

} // namespace halvic
