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
    // Let the view start its change before the panel is resized.
    , m_toggled(scheduler, Duration(0), [this] { emit toggled(m_state.minimized()); })
    , m_cueEnd(scheduler, cueLength, [this] { m_state.setPressCue(false); })
{
}

void BubbleController::attach(GlassPanel &panel)
{
    const QPointer<BubbleController> self(this);
    panel.setLongPressHooks({
        .canLongPress = [self] { return self && (self->m_state.minimized() || self->canMinimize()); },
        .onLongPressBegin =
            [self] {
                if (self)
                    self->cue();
            },
        .onLongPress =
            [self] {
                if (self)
                    self->toggle();
            },
    });
}

void BubbleController::toggle()
{
    m_state.setMinimized(!m_state.minimized());
    m_toggled.restart();
}

void BubbleController::cue()
{
    m_state.setPressCue(true);
    m_cueEnd.restart();
}

void BubbleController::reset()
{
    m_state.setMinimized(false);
    m_state.setPressCue(false);
}

} // namespace halvic
