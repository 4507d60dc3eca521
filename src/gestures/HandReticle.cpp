#include "HandReticle.h"

#include <cmath>

namespace halvic {

HandReticle::HandReticle(int size, const ReticleSurfaceFactory &makeSurface)
    : m_model(std::make_unique<ReticleModel>())
    , m_size(size)
{
    if (makeSurface)
        m_surface = makeSurface(*m_model, size);
}

HandReticle::~HandReticle()
{
    // The window shows the model: it goes first.
    m_surface.reset();
}

void HandReticle::place(QPointF centre)
{
    const QPoint origin(int(std::lround(centre.x() - m_size * 0.5)), int(std::lround(centre.y() - m_size * 0.5)));
    if (origin != m_origin || !m_visible) {
        m_origin = origin;
        if (m_surface)
            m_surface->moveTo(origin);
    }
    if (m_visible)
        return;
    m_visible = true;
    if (m_surface)
        m_surface->orderFront();
}

void HandReticle::hide()
{
    if (!m_visible)
        return;
    m_visible = false;
    if (m_surface)
        m_surface->orderOut();
}

} // namespace halvic
