#pragma once

#include <QJsonObject>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

#include "WindowSystem.h"

namespace halvic {

class EventDispatcher;
class WindowManager;

/// The engine's "window" row: leaves the docked HUD's strip free and hands each command to
/// the window manager, or says once per command that this desktop has no window control.
class WindowCommands final : public QObject
{
    Q_OBJECT
public:
    /// The HUD's docked strip as the layout must keep it free.
    struct DockedStrip
    {
        bool docked = false;
        /// The strip's real width (260…760).
        double width = 0;
        QString side;
    };

    /// `system` is the window system to act on: the desktop backend's in the application, the
    /// null one in tests and fuzzing, so nothing there can reach a real desktop's windows.
    /// `limitation`, when not empty, is told with the first command: which applications this
    /// desktop's window control cannot reach.
    explicit WindowCommands(std::unique_ptr<WindowSystem> system, QString limitation = {}, QObject *parent = nullptr);
    ~WindowCommands() override;

    /// Registers the "window" row (it ends with this object).
    void registerRows(EventDispatcher &dispatcher);

    void setDockedStrip(DockedStrip strip) { m_strip = std::move(strip); }
    WindowManager &manager() { return *m_manager; }

    /// Carries out one command; an absent command does nothing.
    void handle(const std::optional<QJsonObject> &command);

signals:
    /// What the assistant tells the user about window control: that it is not available on
    /// this desktop (at each command), or, once, what it cannot reach here.
    void told(const QString &message);

private:
    std::unique_ptr<WindowManager> m_manager;
    DockedStrip m_strip;
    QString m_limitation;
};

} // namespace halvic
