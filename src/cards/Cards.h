#pragma once

#include <QObject>

#include <memory>
#include <vector>

#include "Card.h"

namespace halvic {

class EventDispatcher;

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

    const std::vector<std::unique_ptr<Card>> &all() const { return m_cards; }
    /// The card of type `C`; none when there is no such card.
    template <class C>
    C *find() const
    {
        for (const auto &card : m_cards) {
            if (auto *found = dynamic_cast<C *>(card.get()))
                return found;
        }
        return nullptr;
    }

private:
    template <class C>
    void add()
    {
        m_cards.push_back(std::make_unique<C>(m_context));
    }

    CardContext m_context;
    std::vector<std::unique_ptr<Card>> m_cards;
};

} // namespace halvic
