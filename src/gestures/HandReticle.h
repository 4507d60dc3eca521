#pragma once

#include <QPoint>
#include <QPointF>

#include <functional>
#include <memory>

#include "ReticleModel.h"

namespace halvic {

/// The window a reticle is drawn in: a click-through overlay above everything.
class ReticleSurface
{
public:
    virtual ~ReticleSurface() = default;
    virtual void moveTo(QPoint topLeft) = 0;
    /// Shows the window above everything without activating it.
    virtual void orderFront() = 0;
    virtual void orderOut() = 0;
};

/// Makes the window of a new reticle for its model (none where reticles are not drawn).
using ReticleSurfaceFactory = std::function<std::unique_ptr<ReticleSurface>(ReticleModel &model, int size)>;

/// A small marker under one tracked hand: its model, its overlay window and where it is.
/// Created on first use of a hand name, then only placed and hidden.
class HandReticle
{
public:
    explicit HandReticle(int size, const ReticleSurfaceFactory &makeSurface = {});
    ~HandReticle();
    HandReticle(const HandReticle &) = delete;
    HandReticle &operator=(const HandReticle &) = delete;

    ReticleModel &model() { return *m_model; }
    const ReticleModel &model() const { return *m_model; }
    int size() const { return m_size; }

    /// Centres the reticle on `centre` (desktop points, top-left origin) and shows it when it
    /// was hidden.
    void place(QPointF centre);
    void hide();

    bool isVisible() const { return m_visible; }
    /// The window's top-left corner.
    QPoint origin() const { return m_origin; }

private:
    std::unique_ptr<ReticleModel> m_model;
    std::unique_ptr<ReticleSurface> m_surface;
    int m_size;
    QPoint m_origin;
    bool m_visible = false;
};

} // namespace halvic
