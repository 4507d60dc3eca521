#pragma once

#include <QObject>
#include <QtQmlIntegration>

#include <functional>

#include "ScheduledCall.h"

namespace halvic {

class GlassPanel;

/// Whether a card shows as a small bubble, and the brief shrink cue after a long press.
class BubbleState : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by a BubbleController")
    Q_PROPERTY(bool minimized READ minimized WRITE setMinimized NOTIFY minimizedChanged)
    Q_PROPERTY(bool pressCue READ pressCue WRITE setPressCue NOTIFY pressCueChanged)
public:
    using QObject::QObject;

    bool minimized() const { return m_minimized; }
    bool pressCue() const { return m_pressCue; }
    void setMinimized(bool value);
    void setPressCue(bool value);

signals:
    void minimizedChanged();
    void pressCueChanged();

private:
    bool m_minimized = false;
    bool m_pressCue = false;
};

/// Minimise-to-bubble for one card: a long press on the card's panel toggles between the
/// card and its bubble. The card controller resizes its panel in `onToggled`.
class BubbleController : public QObject
{
    Q_OBJECT
public:
    static constexpr Duration cueLength{160};

    explicit BubbleController(Scheduler &scheduler, QObject *parent = nullptr);

    BubbleState &state() { return m_state; }
    /// Asked before shrinking; a bubble can always be expanded.
    std::function<bool()> canMinimize = [] { return true; };

    /// Installs this controller's long-press hooks on a card's panel.
    void attach(GlassPanel &panel);
    void toggle();
    void cue();
    void reset();

signals:
    /// On the next turn of the event loop after a toggle, with the new `minimized` value
    /// (after two quick toggles, once, with the latest); the card resizes its panel here.
    void toggled(bool minimized);

private:
    BubbleState m_state;
    ScheduledCall m_toggled;
    ScheduledCall m_cueEnd;
};

} // namespace halvic
