#pragma once

#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtQmlIntegration>

#include <optional>

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

signals:
    /// The content asks for another size.
    void fittingSizeChanged();
    /// A drag of the background has handed the window to the window manager to move: the
    /// moves that follow are the user's (any other move is the program's own).
    void userMoveStarted();

protected:
    bool event(QEvent *event) override;

private:
    void fitToContent();
    void joinAllDesktops();

    LongPress m_longPress;
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

} // namespace halvic
