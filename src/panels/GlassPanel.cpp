#include "GlassPanel.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <cmath>

#include <algorithm>

#include "OwnWindows.h"

namespace halvic {

namespace {

constexpr double screenMargin = 8;
constexpr int hintGap = 6;

bool takesPresses(const QQuickItem *item)
{
    if (!(item->acceptedMouseButtons() & Qt::LeftButton) && !item->acceptTouchEvents())
        return false;
    // Controls, mouse areas, flickables and text fields handle presses themselves.
    for (const char *control :
        {"QQuickControl", "QQuickMouseArea", "QQuickFlickable", "QQuickTextInput", "QQuickTextEdit"}) {
        if (item->inherits(control))
            return true;
    }
    // Any pointer handler makes Qt Quick accept every button on its item. A tap or hover
    // handler does not stop a drag or a long press, so such an item stays background.
    const auto children = item->children();
    return std::any_of(children.cbegin(), children.cend(), [](const QObject *child) {
        return child->inherits("QQuickPointerHandler") && !child->inherits("QQuickTapHandler")
            && !child->inherits("QQuickHoverHandler");
    });
}

// Any visible item under the point that takes left presses makes the point a control.
bool controlUnder(const QQuickItem *item, QPointF scenePos)
{
    const auto children = item->childItems();
    for (const QQuickItem *child : children) {
        if (!child->isVisible())
            continue;
        if (child->contains(child->mapFromScene(scenePos)) && takesPresses(child))
            return true;
        if (controlUnder(child, scenePos))
            return true;
    }
    return false;
}

} // namespace

GlassPanel::GlassPanel(Scheduler &scheduler, QSize size, QWindow *parent)
    : QQuickWindow(parent)
    , m_longPress(scheduler)
    , m_glide(*this, scheduler, [this] {
        fillWindow();
        emit glideLanded();
    })
{
    setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setColor(Qt::transparent);
    resize(size);
    setTitle(tr("Halvic"));
    OwnWindows::current().prepare(*this);
}

GlassPanel::~GlassPanel()
{
    // The content belongs to this window's scene; remove it while the window still exists.
    delete m_content.data();
}

void GlassPanel::setContent(QQuickItem *item)
{
    delete m_content.data();
    m_content = item;
    if (!item)
        return;
    item->setParentItem(contentItem());
    item->setParent(this);
    connect(item, &QQuickItem::implicitWidthChanged, this, &GlassPanel::fittingSizeChanged);
    connect(item, &QQuickItem::implicitHeightChanged, this, &GlassPanel::fittingSizeChanged);
    connect(this, &GlassPanel::fittingSizeChanged, this, &GlassPanel::fitToContent, Qt::UniqueConnection);
    connect(this, &QWindow::widthChanged, item, [this] { fillWindow(); });
    connect(this, &QWindow::heightChanged, item, [this] { fillWindow(); });
    fitToContent();
    fillWindow();
}

void GlassPanel::jumpTo(const QRect &frame)
{
    m_glide.jumpTo(frame);
    // A glide cut short may have left the content larger than the window.
    fillWindow();
}

void GlassPanel::fillWindow()
{
    // The content fills the window (a docked strip is taller than its content asks).
    if (!m_content)
        return;
    if (!isGliding()) {
        m_content->setSize(size());
        return;
    }
    // Growing, the content keeps the size it is heading for and the window uncovers it: laid
    // out once, it does not reflow (and ask for other sizes) on every step. Shrinking, it
    // follows the window.
    const QSize target = restingGeometry().size();
    m_content->setSize(QSizeF(std::max(width(), target.width()), std::max(height(), target.height())));
}

namespace {

// Lays out `item` and everything in it now, innermost first, instead of on the next frame:
// a layout learns its size from its children's.
void layOutTree(QQuickItem *item)
{
    const auto children = item->childItems();
    for (QQuickItem *child : children)
        layOutTree(child);
    item->ensurePolished();
}

} // namespace

void GlassPanel::layOutNow()
{
    if (m_content)
        layOutTree(m_content);
}

QSizeF GlassPanel::settledFittingSize()
{
    if (!m_content)
        return {};
    // Wrapped text asks for more height when narrower: measure at the width asked for.
    if (const qreal width = m_content->implicitWidth(); width > 1)
        m_content->setWidth(width);
    layOutNow();
    return fittingSize();
}

QSizeF GlassPanel::fittingSize() const
{
    return m_content ? QSizeF(m_content->implicitWidth(), m_content->implicitHeight()) : QSizeF();
}

void GlassPanel::setFollowsContent(bool follow)
{
    if (m_followsContent == follow)
        return;
    m_followsContent = follow;
    fitToContent();
}

void GlassPanel::fitToContent()
{
    if (!m_followsContent)
        return;
    const QSize fitting = fittingSize().toSize();
    if (fitting.width() > 1 && fitting.height() > 1 && fitting != size()) {
        resize(fitting);
        OwnWindows::current().placed(*this, QRect(position(), fitting));
    }
}

void GlassPanel::setShowsWithoutActivating(bool without)
{
    // Read by Qt's xcb platform when the window is shown.
    setProperty("_q_showWithoutActivating", without);
}

bool GlassPanel::isBackgroundAt(QPointF windowPos) const
{
    return !controlUnder(contentItem(), windowPos);
}

bool GlassPanel::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        const bool background = isBackgroundAt(mouse->position());
        m_longPress.press(mouse->globalPosition(), background);
        m_backgroundPress = background && m_movableByBackground ? std::optional(mouse->globalPosition()) : std::nullopt;
        break;
    }
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (!(mouse->buttons() & Qt::LeftButton))
            break;
        m_longPress.move(mouse->globalPosition());
        if (m_backgroundPress) {
            const QPointF travel = mouse->globalPosition() - *m_backgroundPress;
            if (std::hypot(travel.x(), travel.y()) > LongPress::threshold) {
                m_backgroundPress.reset();
                m_glide.stop();
                fillWindow();
                emit userMoveStarted();
                startSystemMove();
            }
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            m_longPress.release();
            m_backgroundPress.reset();
        }
        break;
    case QEvent::Show:
        // Window managers that place a newly mapped window themselves are told where it goes.
        OwnWindows::current().placed(*this, geometry());
        break;
    default:
        break;
    }
    return QQuickWindow::event(event);
}

std::optional<QRectF> refitKeepingCenter(const QRectF &frame, QSizeF fitting, const std::optional<QRectF> &visible)
{
    const double w = fitting.width();
    const double h = fitting.height();
    if (!(w > 1) || !(h > 1))
        return std::nullopt;
    const QPointF centre = frame.center();
    double x = centre.x() - w / 2;
    double y = centre.y() - h / 2;
    if (visible) {
        x = std::max(x, visible->left() + screenMargin);
        x = std::min(x, visible->right() - w - screenMargin);
        y = std::max(y, visible->top() + screenMargin);
        y = std::min(y, visible->bottom() - h - screenMargin);
    }
    return QRectF(x, y, w, h);
}

void refitKeepingCenter(GlassPanel &panel)
{
    if (!panel.content())
        return;
    panel.content()->polish();
    const QScreen *screen = panel.screen() ? panel.screen() : QGuiApplication::primaryScreen();
    const std::optional<QRectF> visible = screen ? std::optional(QRectF(screen->availableGeometry())) : std::nullopt;
    if (const auto frame = refitKeepingCenter(QRectF(panel.restingGeometry()), panel.fittingSize(), visible))
        panel.jumpTo(frame->toRect());
}

QPoint GlassPanel::hintPosition(QSizeF size) const
{
    const QScreen *shown = screen() ? screen() : QGuiApplication::primaryScreen();
    return hintBeside(
        restingGeometry(), size.toSize(), shown ? std::optional(shown->availableGeometry()) : std::nullopt);
}

QPoint hintBeside(const QRect &anchor, QSize size, const std::optional<QRect> &visible)
{
    const int rightOf = anchor.x() + anchor.width() + hintGap;
    const int leftOf = anchor.x() - hintGap - size.width();
    const int below = anchor.y() + anchor.height() + hintGap;
    const int above = anchor.y() - hintGap - size.height();
    const int middleY = anchor.y() + (anchor.height() - size.height()) / 2;
    const int middleX = anchor.x() + (anchor.width() - size.width()) / 2;
    if (!visible)
        return {rightOf, middleY};
    const int left = visible->x();
    const int top = visible->y();
    const int right = left + visible->width();
    const int bottom = top + visible->height();
    // Along the side it takes the hint may slide to stay on screen; it never crosses the bubble.
    const int y = std::clamp(middleY, top, std::max(top, bottom - size.height()));
    const int x = std::clamp(middleX, left, std::max(left, right - size.width()));
    if (rightOf + size.width() <= right)
        return {rightOf, y};
    if (leftOf >= left)
        return {leftOf, y};
    if (below + size.height() <= bottom)
        return {x, below};
    return {x, above};
}

} // namespace halvic
