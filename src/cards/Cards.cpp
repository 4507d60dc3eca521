#include "Cards.h"

#include "ComposePanel.h"
#include "EmailCard.h"
#include "EntityPanel.h"
#include "EventDispatcher.h"
#include "JsonRead.h"
#include "MemoryPanel.h"
#include "Protocol.h"
#include "StoragePanel.h"
#include "TasksPanel.h"

namespace halvic {

using namespace protocol;

Cards::Cards(CardContext context, QObject *parent)
    : QObject(parent)
    , m_context(std::move(context))
{
    // "card_close" reaches the cards, and the menus show their entries, in this order.
    add<TasksPanel>();
    add<ComposePanel>();
    add<EmailCard>();
    add<EntityPanel>();
    add<MemoryPanel>();
    add<StoragePanel>();
}

Cards::~Cards() = default;

void Cards::registerRows(EventDispatcher &dispatcher)
{
    for (const auto &card : m_cards)
        card->registerRows(dispatcher);
    dispatcher.on(event::cardClose, this, [this](const QJsonObject &payload) {
        const QString id = json::string(payload, key::draftId);
        for (const auto &card : m_cards)
            card->close(id);
    });
}

void Cards::openMemory()
{
    if (auto *memory = find<MemoryPanel>())
        memory->open();
}

Menu Cards::menuEntries() const
{
    Menu menu;
    for (const auto &card : m_cards) {
        for (MenuEntry &entry : card->menuEntries())
            menu.push_back(std::move(entry));
    }
    return menu;
}

void Cards::useFilePicker(const FilePicker &picker) const
{
    for (const auto &card : m_cards)
        card->useFilePicker(picker);
}

} // namespace halvic
