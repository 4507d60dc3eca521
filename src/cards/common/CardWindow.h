#pragma once

#include <QObject>
#include <QRect>
#include <QUrl>
#include <QtQmlIntegration>

#include <functional>
#include <memory>
#include <optional>

#include "Bubble.h"

class QQmlEngine;

namespace halvic {

class GlassPanel;
class Scheduler;

/// Where a card's panel goes the first time it is shown: its frame for the main screen's
/// usable area and the panel's first size.
using CardPlacement = std::function<QRect(const QRect &available, QSize size)>;

/// A card's frame when its bubble toggles: from its current frame, whether it is now the
/// bubble, and its screen's usable area. Without one, the panel refits around its centre.
using BubbleFrame = std::function<QRect(const QRect &frame, bool minimized, const QRect &available)>;

namespace cardplacement {
/// `margin` points in from the top right (the tasks card).
CardPlacement topRight(int margin);
/// Centred, raised by `raise` points (the compose card).
CardPlacement centredRaised(int raise);
} // namespace cardplacement

/// A card's window, owned by the card as its last member (so it goes first, before the model
/// its view shows): one glass panel built from the card's QML view on first show and only
/// shown and hidden afterwards, the card's bubble, its first placement, and whether showing it
/// takes the keyboard. The view is given the card's controller and nothing else.
class CardWindow : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by a card")
    Q_PROPERTY(halvic::BubbleState *bubble READ bubble CONSTANT)
public:
    struct Options
    {
        /// The view's QML file; it has a required property "controller".
        QUrl view;
        QSize size;
        /// The window's name, for window lists and the accessibility bus.
        QString title;
        CardPlacement placement;
        /// Only a card the user must type into at once takes the keyboard when it appears;
        /// every other card appears without taking it from the application in use.
        bool takesFocus = false;
        /// At every show of the card (not only the first) the panel takes its content's size
        /// and is placed again; shown as a bubble it is refitted around its centre instead.
        bool refitsOnShow = false;
        /// The panel's frame when the card turns into its bubble (`minimized` true) or back,
        /// from its frame before and the usable area of its screen. Without one the panel is
        /// refitted to its content around its centre.
        BubbleFrame bubbleFrame = {};
    };

    CardWindow(Scheduler &scheduler, QQmlEngine &qml, QObject &controller, Options options);
    ~CardWindow() override;

    /// The panel; null until first shown (or when the view failed to load).
    GlassPanel *panel() const { return m_panel.get(); }
    /// The panel exists and is on screen.
    bool isShown() const;
    BubbleController &bubbleCtl() { return m_bubbleCtl; }
    BubbleState *bubble() { return &m_bubbleCtl.state(); }
    /// Renames the window (a card whose title follows what it shows).
    void setTitle(const QString &title);

    /// Orders the panel front, building and placing it on the first call; takes the keyboard
    /// when the card does.
    void present() { present(m_options.takesFocus); }
    /// The same, taking the keyboard or not whatever the card does (a refresh of a card the
    /// user is not typing into).
    void present(bool takeFocus);
    /// The usable area of the panel's screen (else the main screen's); none without either.
    std::optional<QRect> availableArea() const;
    /// Orders the panel out and nothing else: the bubble and position stay for next time.
    void orderOut();
    /// Shows the card rather than its bubble: resets the bubble and, if it was one, refits
    /// the panel to the card around its centre.
    void expand();
    /// Places the panel again as on its first show, on the screen it is on: for cards that
    /// come back to their place whenever they show something new.
    void placeAgain();

    /// The view's minimise button: card to bubble, when the bubble controller allows it.
    Q_INVOKABLE void minimize();
    /// The view's close button and every engine request to put the card away: expands the
    /// bubble and orders the panel out. The card's model keeps its contents.
    Q_INVOKABLE void hide();

signals:
    /// The panel has just been built (once).
    void panelCreated();
    /// hide() ran; cards stop their pending timers here.
    void hidden();

private:
    std::unique_ptr<GlassPanel> buildPanel();
    void refitAndPlace();
    void fitBubbleState(bool minimized);

    Scheduler &m_scheduler;
    QQmlEngine &m_qml;
    QObject &m_controller;
    const Options m_options;
    QString m_title;
    BubbleController m_bubbleCtl;
    std::unique_ptr<GlassPanel> m_panel;
};

} // namespace halvic
