#pragma once

#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtQmlIntegration>

#include <optional>

#include "FrameGlide.h"
#include "LongPress.h"

namespace halvic {

class Scheduler;

/// The borderless floating window of the HUD and of every card: a frameless, transparent
/// tool window that stays on top and joins all desktops. A long press on its background
/// (not on a control) runs its long-press hooks; dragging the background moves it.
class GlassPanel : public QQuickWindow
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by panel controllers")
public:
    GlassPanel(Scheduler &scheduler, QSize size, QWindow *parent = nullptr);
    ~GlassPanel() override;

    void setLongPressHooks(LongPress::Hooks hooks) { m_longPress.setHooks(std::move(hooks)); }
    const LongPress &longPress() const { return m_longPress; }

    /// Puts `item` (created for this panel) in the window; the panel owns it from now on.
    void setContent(QQuickItem *item);
    QQuickItem *content() const { return m_content; }
    /// The size the content asks for (its implicit size); empty without content.
    QSizeF fittingSize() const;
    /// The same once the content is laid out at the width it asks for, now rather than on the
    /// next frame (until the window's next resize it keeps that width).
    QSizeF settledFittingSize();
    /// Lays the content out now rather than on the next frame, so that it is measured before
    /// it is drawn.
    void layOutNow();
    /// While true the window takes the content's fitting size whenever it changes.
    void setFollowsContent(bool follow);
    bool followsContent() const { return m_followsContent; }

    /// Whether showing the panel leaves the keyboard with the application in use (cards and
    /// popups the engine opens); on X11 it is mapped with _NET_WM_USER_TIME 0, which EWMH
    /// window managers honour by not activating it.
    void setShowsWithoutActivating(bool without);

    /// Whether dragging the background moves the window (the default); a card whose
    /// background belongs to a map it pans turns this off.
    void setMovableByBackground(bool movable) { m_movableByBackground = movable; }
    bool movableByBackground() const { return m_movableByBackground; }

    /// True when nothing under `windowPos` takes mouse presses (buttons, fields, lists).
    bool isBackgroundAt(QPointF windowPos) const;

    /// Moves and resizes the panel to `frame` along the panels' spring (a hidden panel goes
    /// there at once). A drag of the panel by the user ends the glide.
    void glideTo(const QRect &frame) { m_glide.glideTo(frame); }
    /// Puts the panel at `frame` at once, ending a glide.
    void jumpTo(const QRect &frame);
    bool isGliding() const { return m_glide.isGliding(); }
    /// Where the panel is heading: the end of its glide, else its frame.
    QRect restingGeometry() const { return m_glide.target(); }

    /// Where a hint of `size` goes beside this panel on its screen, never over it (a bubble's
    /// help, in a window of its own).
    Q_INVOKABLE QPoint hintPosition(QSizeF size) const;

signals:
    /// The content asks for another size.
    void fittingSizeChanged();
    /// A drag of the background has handed the window to the window manager to move: the
    /// moves that follow are the user's (any other move is the program's own).
    void userMoveStarted();
    /// A glide has reached its frame.
    void glideLanded();

protected:
    bool event(QEvent *event) override;

private:
    void fitToContent();
    void fillWindow();

    LongPress m_longPress;
    FrameGlide m_glide;
    QPointer<QQuickItem> m_content;
    bool m_followsContent = true;
    bool m_movableByBackground = true;
    /// Where a press on the background started; a drag beyond the long-press threshold
    /// hands the move to the window manager.
    std::optional<QPointF> m_backgroundPress;
};

/// Where a panel of `fitting` size goes when it is re-fitted around the centre of `frame`,
/// kept 8 points inside `visible` when there is a screen. None when the size is degenerate.
std::optional<QRectF> refitKeepingCenter(const QRectF &frame, QSizeF fitting, const std::optional<QRectF> &visible);

/// Resizes `panel` to its content's fitting size around its centre, inside its screen.
void refitKeepingCenter(GlassPanel &panel);

/// Top-left of a hint of `size` beside `anchor`, a gap away and never over it: right of it
/// when it fits in `visible`, else left, else below, else above, kept inside `visible` along
/// that side. Without a screen, right of it.
QPoint hintBeside(const QRect &anchor, QSize size, const std::optional<QRect> &visible);

} // namespace halvic
