#pragma once

#include <QList>
#include <QUrl>
#include <QtQmlIntegration>

#include <vector>

#include "Card.h"
#include "StorageItem.h"
#include "StorageModel.h"

namespace halvic {

/// The storage card ("My Files"): the files the engine keeps for the user as a grid of
/// tiles. It never touches the files: it asks the engine for the list (storage_query.json)
/// and for opening, deleting and uploading (storage_action.json), and shows the list the
/// engine sends back.
class StoragePanel final : public Card
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")
    Q_PROPERTY(halvic::StorageModel *model READ modelObject CONSTANT)
    /// The card's height on the screen it was first shown on.
    Q_PROPERTY(int cardHeight READ cardHeight NOTIFY cardHeightChanged)
public:
    static constexpr int cardWidth = 720;
    static constexpr int tallest = 460;

    explicit StoragePanel(const CardContext &context, QObject *parent = nullptr);
    ~StoragePanel() override;

    CardWindow *window() override { return &m_window; }
    void registerRows(EventDispatcher &dispatcher) override;
    /// "My Files" (Ctrl+F): toggle().
    Menu menuEntries() override;
    /// "Add files" shows the chooser, titled "Upload files"; what is chosen is uploaded.
    void useFilePicker(const FilePicker &picker) override;

    StorageModel &model() { return m_model; }
    int cardHeight() const { return m_cardHeight; }

    /// The card's frame on a screen whose usable area is `available`: near its top left,
    /// 720 wide and at most 460 high.
    static QRect placement(const QRect &available);
    /// The bubble keeps the card's top-left corner; the card coming back keeps the bubble's
    /// top edge and stays 8 points inside the screen's sides.
    static QRect bubbleFrame(const QRect &frame, bool minimized, const QRect &available);

    /// The user opens the card: it comes up as the full card and asks for the list.
    void open();
    /// The engine's list ("storage"): a card on screen refreshes in place, a bubble opens
    /// into the card, a hidden card comes up.
    void present(std::vector<StorageItem> items);
    /// The tray's "My Files": hides the card when it is on screen, else opens it.
    void toggle();
    /// Asks the engine to upload the regular files among `urls`; nothing when there are none.
    void uploadURLs(const QList<QUrl> &urls);

    /// A tile's double click.
    Q_INVOKABLE void openFile(const QString &name);
    /// A tile's delete button: the tile goes at once; the engine's next list is the truth.
    Q_INVOKABLE void deleteFile(const QString &name);
    /// Files dropped on the card.
    Q_INVOKABLE void upload(const QList<QUrl> &urls) { uploadURLs(urls); }
    /// "Add files": asks the application for the file chooser (its answer comes to
    /// uploadURLs).
    Q_INVOKABLE void pickFiles();
    /// The refresh button.
    Q_INVOKABLE void refresh();

signals:
    void uploadPickRequested();
    void cardHeightChanged();

private:
    StorageModel *modelObject() { return &m_model; }
    void setAll(std::vector<StorageItem> items);
    void query();
    void writeAction(const QJsonObject &action);
    void setCardHeight(int height);

    const ControlChannel m_control;
    StorageModel m_model;
    int m_cardHeight = tallest;
    CardWindow m_window;
};

} // namespace halvic
