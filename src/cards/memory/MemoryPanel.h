#pragma once

#include <QRect>
#include <QtQmlIntegration>

#include <optional>
#include <vector>

#include "Card.h"
#include "MemoryModel.h"

namespace halvic {

/// Where the memory card goes for its mode: the notes list is a narrow column, the graph a
/// wide map, fullscreen the whole visible area less 20 points. Keeps the top-left corner
/// where it can, 8 points inside `visible` (a 1440 × 900 area at the origin when there is
/// no screen).
QRect memoryCardFrame(
    MemoryMode::Value mode, bool fullscreen, const QRect &current, const std::optional<QRect> &visible);

/// The memory card: what the engine remembers about the user, as a searchable list the user
/// corrects and prunes, or as a graph of linked memories. Opened by the user only (the HUD's
/// memory button and the menu); every change goes to the engine as a request file and shows
/// here at once.
class MemoryPanel final : public Card
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")
    Q_PROPERTY(halvic::MemoryModel *model READ modelObject CONSTANT)
public:
    static constexpr int notesWidth = 340;
    static constexpr int notesMaxHeight = 640;

    explicit MemoryPanel(const CardContext &context, QObject *parent = nullptr);
    ~MemoryPanel() override;

    CardWindow *window() override { return &m_window; }
    void registerRows(EventDispatcher &dispatcher) override;
    /// "What Halvic Remembers" (Ctrl+R): toggle().
    Menu menuEntries() override;

    MemoryModel &model() { return m_model; }

    /// Shows the card in notes mode, asks the engine for the memories matching the current
    /// query and gives the card the keyboard (the user asked for it).
    void open();
    /// Puts the card away when it is on screen, opens it otherwise.
    Q_INVOKABLE void toggle();
    /// The engine's answer to a query: the whole list.
    void setAll(std::vector<MemoryItem> items);
    /// The engine forgot a memory.
    void remove(const QString &id);
    /// A new graph from the engine.
    void setGraph(std::vector<GraphNode> nodes, std::vector<GraphEdge> edges);
    /// Switches between the list and the graph; entering the graph asks for it again.
    Q_INVOKABLE void selectMode(halvic::MemoryMode::Value mode);
    /// The graph's fullscreen button.
    Q_INVOKABLE void toggleFullscreen();
    /// Fits the panel to the mode (see memoryCardFrame), gliding there or at once; nothing
    /// before the first show.
    void applySize(bool glide = true);

    /// The search field, submitted or cleared: asks the engine for the matching memories.
    Q_INVOKABLE void search(const QString &query);
    /// The row's trash button: the memory leaves the list at once and the engine forgets it.
    Q_INVOKABLE void forget(const QString &id, const QString &text);
    /// Saves a correction of memory `id` to `text` and tells the engine.
    void edit(const QString &id, const QString &text);
    /// A row's pencil: its correction starts from the memory's text.
    Q_INVOKABLE void beginCorrection(const QString &id);
    /// The user typed into memory `id`'s correction.
    Q_INVOKABLE void setCorrectionDraft(const QString &id, const QString &draft);
    /// Leaves the row's edit mode without saving.
    Q_INVOKABLE void cancelCorrection(const QString &id);
    /// Leaves the row's edit mode; the draft trimmed is saved when it is not empty and not
    /// the memory's text; otherwise nothing is sent.
    Q_INVOKABLE void commitCorrection(const QString &id);
    /// Links two memories (shown at once unless they are linked already).
    Q_INVOKABLE void link(const QString &a, const QString &b);
    /// Cuts every link between two memories.
    Q_INVOKABLE void unlink(const QString &a, const QString &b);
    /// The graph's reload button.
    Q_INVOKABLE void reloadGraph();

private:
    MemoryModel *modelObject() { return &m_model; }
    void receiveGraph(const QJsonObject &payload);
    bool mayMinimize() const;
    QRect bubbleFrame(const QRect &frame, bool minimized, const QRect &available);

    const ControlChannel m_control;
    MemoryModel m_model;
    quint64 m_graphGeneration = 0;
    CardWindow m_window;
};

} // namespace halvic
