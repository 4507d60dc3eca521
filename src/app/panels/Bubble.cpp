#include "Bubble.h"

#include <QPointer>

#include "GlassPanel.h"

namespace halvic {

void BubbleState::setMinimized(bool value)
{
    if (m_minimized == value)
        return;
    m_minimized = value;
    emit minimizedChanged();
}

void BubbleState::setPressCue(bool value)
{
    if (m_pressCue == value)
        return;
    m_pressCue = value;
    emit pressCueChanged();
}

BubbleController::BubbleController(Scheduler &scheduler, QObject *parent)
    : QObject(parent)
    , m_scheduler(scheduler)
{
}

void BubbleController::attach(GlassPanel &panel)
{
    const QPointer<BubbleController> self(this);
    panel.setLongPressHooks({
        .canLongPress = [self] { return self && (self->m_state.minimized() || self->canMinimize()); },
        .onLongPressBegin = [self] { if (self) self->cue(); },
        .onLongPress = [self] { if (self) self->toggle(); },
    });
}

void BubbleController::toggle()
{
    const bool minimized = !m_state.minimized();
    m_state.setMinimized(minimized);
    // Let the view start its change before the panel is resized.
    m_scheduler.callAfter(Duration(0), this, [this, minimized] { onToggled(minimized); });
}

void BubbleController::cue()
{
    m_state.setPressCue(true);
    m_scheduler.callAfter(cueLength, this, [this] { m_state.setPressCue(false); });
}

void BubbleController::reset()
{
    m_state.setMinimized(false);
    m_state.setPressCue(false);
}

} // namespace halvic
