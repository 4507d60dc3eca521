#pragma once

#include <QObject>

#include <memory>
#include <vector>

#include "Card.h"

namespace halvic {

class EntityPanel;
class EventDispatcher;
class MemoryPanel;
class TasksPanel;
class ComposePanel;
class StoragePanel;

/// Owns every card and registers their engine rows, including the one "card_close" row that
/// offers the identifier to each card in turn. A new card is one line in the constructor.
class Cards final : public QObject
{
    Q_OBJECT
public:
    explicit Cards(CardContext context, QObject *parent = nullptr);
    ~Cards() override;

    void registerRows(EventDispatcher &dispatcher);
    /// The HUD's memory button: the memory card opens, with the keyboard.
    void openMemory();
    /// The cards' menu entries, in the cards' order.
    Menu menuEntries() const;
    /// Gives the cards that take files from the user the file chooser.
    void useFilePicker(const FilePicker &picker) const;

    TasksPanel &tasks() { return *m_tasks; }
    ComposePanel &compose() { return *m_compose; }
    StoragePanel &storage() { return *m_storage; }
    EntityPanel &entity() { return *m_entity; }
    MemoryPanel &memory() { return *m_memory; }
    const std::vector<std::unique_ptr<Card>> &all() const { return m_cards; }

private:
    template <class C>
    C *add()
    {
        auto card = std::make_unique<C>(m_context);
        C *raw = card.get();
        m_cards.push_back(std::move(card));
        return raw;
    }

    CardContext m_context;
    std::vector<std::unique_ptr<Card>> m_cards;
    TasksPanel *m_tasks = nullptr;
    ComposePanel *m_compose = nullptr;
    StoragePanel *m_storage = nullptr;
    EntityPanel *m_entity = nullptr;
    MemoryPanel *m_memory = nullptr;
};

} // namespace halvic
