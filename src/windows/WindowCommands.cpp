#include "WindowCommands.h"

#include "EventDispatcher.h"
#include "JsonRead.h"
#include "Logging.h"
#include "Protocol.h"
#include "WindowLayout.h"
#include "WindowManager.h"

namespace halvic {

using namespace protocol;

WindowCommands::WindowCommands(std::unique_ptr<WindowSystem> system, QString limitation, QObject *parent)
    : QObject(parent)
    , m_manager(std::make_unique<WindowManager>(std::move(system)))
    , m_limitation(std::move(limitation))
{
}

WindowCommands::~WindowCommands() = default;

void WindowCommands::registerRows(EventDispatcher &dispatcher)
{
    dispatcher.on(
        event::window, this, [this](const QJsonObject &payload) { handle(json::optObject(payload, key::command)); });
}

void WindowCommands::handle(const std::optional<QJsonObject> &command)
{
    if (!command)
        return;
    if (!m_manager->ensureAvailable()) {
        qCDebug(lcWindows) << "window command refused: no window control on this desktop";
        emit told(WindowManager::unavailableMessage());
        return;
    }
    if (!m_limitation.isEmpty())
        emit told(std::exchange(m_limitation, QString()));
    m_manager->apply(layout::withDockedInset(*command, m_strip.docked, m_strip.width, m_strip.side));
}

} // namespace halvic
