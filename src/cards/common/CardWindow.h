#pragma once

#include <QObject>
#include <QRect>
#include <QUrl>
#include <QtQmlIntegration>

#include <functional>
#include <memory>

#include "Bubble.h"

class QQmlEngine;

namespace halvic {

class GlassPanel;
class Scheduler;

/// Where a card's panel goes the first time it is shown: its frame for the main screen's
/// usable area and the panel's first size.
using CardPlacement = std::function<QRect(const QRect &available, QSize size)>;

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
        /// How the panel follows its bubble (called after a toggle with the new state);
        /// unset, the panel is refitted to its content around its centre.
        std::function<void(bool minimized)> onBubbleToggled = {};
    };

    CardWindow(Scheduler &scheduler, QQmlEngine &qml, QObject &controller, Options options);
    ~CardWindow() override;

    /// The panel; null until first shown (or when the view failed to load).
    GlassPanel *panel() const { return m_panel.get(); }
    /// The panel exists and is on screen.
    bool isShown() const;
    BubbleController &bubbleCtl() { return m_bubbleCtl; }
    BubbleState *bubble() { return &m_bubbleCtl.state(); }

    /// Orders the panel front, building and placing it on the first call.
    void present();
    /// Orders the panel out and nothing else: the bubble and position stay for next time.
    void orderOut();

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

    Scheduler &m_scheduler;
    QQmlEngine &m_qml;
    QObject &m_controller;
    const Options m_options;
    BubbleController m_bubbleCtl;
    std::unique_ptr<GlassPanel> m_panel;
};

} // namespace halvic
