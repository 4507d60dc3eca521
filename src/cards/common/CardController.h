#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QUrl>
#include <QVariantMap>
#include <QtQmlIntegration>

#include <memory>

#include "Bubble.h"
#include "ControlChannel.h"

class QJsonObject;
class QQmlEngine;

namespace halvic {

class GlassPanel;
class Scheduler;

/// The part every card controller shares: one glass panel, built from the card's QML view on
/// first show and afterwards only shown and hidden; the card's bubble; and the writer of the
/// card's action files. A card derives from it, keeps its own model and operations, and
/// hands the view what it needs through viewProperties().
class CardController : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Card controllers are created by the application")
    Q_PROPERTY(halvic::BubbleState *bubble READ bubble CONSTANT)
public:
    /// What the panel is built from: the view's QML file, the panel's first size and the
    /// distance of its first position from the top right of the main screen's usable area.
    struct Look
    {
        QUrl view;
        QSize size;
        int margin = 20;
    };

    CardController(Scheduler &scheduler, QQmlEngine &qml, ControlChannel control, Look look,
                   QObject *parent = nullptr);
    ~CardController() override;

    /// The card's panel; null until the card is first shown (or when its view failed to load).
    GlassPanel *panel() const;
    BubbleController &bubbleCtl() { return *m_bubbleCtl; }
    BubbleState *bubble() { return &m_bubbleCtl->state(); }
    /// The panel exists and is on screen.
    bool isShown() const;

    /// Where a new card of `size` goes: `margin` points in from the top right of `available`.
    static QPoint topRightOrigin(const QRect &available, QSize size, int margin);

    /// The view's minimise button: card to bubble.
    Q_INVOKABLE void minimize();
    /// The view's close button, and every engine request to put the card away: stops the
    /// card's pending timer, expands its bubble and orders the panel out. The model keeps
    /// its contents.
    Q_INVOKABLE void hide();

signals:
    /// The panel has just been built (once per card).
    void panelCreated();

protected:
    /// Orders the panel front without taking focus, building it on the first call.
    void present();
    /// Replaces the control file `name` whole (atomically); failures are silent.
    void writeAction(QLatin1StringView name, const QJsonObject &object) const;
    /// The view's initial properties besides "controller" (usually "model").
    virtual QVariantMap viewProperties() = 0;
    /// Destroys the panel and its view. A card calls it first thing in its destructor, so
    /// the view goes before the model it shows.
    void releasePanel();
    /// Cards with a pending timer (a debounce, a flash) stop it here.
    virtual void stopPendingTimer() {}

private:
    std::unique_ptr<GlassPanel> buildPanel();

    Scheduler &m_scheduler;
    QQmlEngine &m_qml;
    const ControlChannel m_control;
    const Look m_look;
    std::unique_ptr<BubbleController> m_bubbleCtl;
    std::unique_ptr<GlassPanel> m_panel;
};

} // namespace halvic
