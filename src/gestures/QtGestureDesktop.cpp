#include "QtGestureDesktop.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickView>
#include <QRegion>
#include <QThreadPool>

#include "GlassPanel.h"
#include "Logging.h"
#include "OwnWindows.h"

namespace halvic {

namespace {

class QuickReticleSurface final : public ReticleSurface
{
public:
    QuickReticleSurface(QQmlEngine &qml, ReticleModel &model, int size)
        : m_view(std::make_unique<QQuickView>(&qml, nullptr))
        , m_size(size)
    {
        // Unmanaged and input-transparent (an empty input shape on X11): clicks reach the
        // window below, and the window manager neither places nor focuses it.
        m_view->setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowTransparentForInput
            | Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint);
        m_view->setColor(Qt::transparent);
        m_view->setTitle(QCoreApplication::translate("ReticleView", "Hand reticle"));
        m_view->setResizeMode(QQuickView::SizeRootObjectToView);
        m_view->resize(size, size);
        // Round without a compositor: only the disc is drawn on screen.
        m_view->setMask(QRegion(0, 0, size, size, QRegion::Ellipse));
        m_view->setInitialProperties({{QStringLiteral("reticle"), QVariant::fromValue(&model)}});
        m_view->setSource(QUrl(QStringLiteral("qrc:/Halvic/Gestures/ReticleView.qml")));
        if (m_view->status() != QQuickView::Ready)
            qCWarning(lcGestures) << m_view->errors();
    }

    void moveTo(QPoint topLeft) override
    {
        // Where the desktop would give the reticle the clicks meant for the window below, it
        // sits just below and right of the pointer's tip instead of around it.
        const int clear = m_size / 2 + 1;
        m_view->setPosition(OwnWindows::current().overlaysPassInput() ? topLeft : topLeft + QPoint(clear, clear));
        // Unmanaged windows keep their place in the stack while the window manager raises
        // the windows it manages: back on top with every move (one request, no reply).
        if (m_view->isVisible())
            m_view->raise();
    }
    void orderFront() override
    {
        m_view->show();
        m_view->raise();
    }
    void orderOut() override { m_view->hide(); }

private:
    std::unique_ptr<QQuickView> m_view;
    int m_size = 0;
};

} // namespace

ReticleSurfaceFactory quickReticleFactory(QQmlEngine &qml)
{
    const QPointer<QQmlEngine> engine(&qml);
    return [engine](ReticleModel &model, int size) -> std::unique_ptr<ReticleSurface> {
        if (!engine)
            return nullptr;
        return std::make_unique<QuickReticleSurface>(*engine, model, size);
    };
}

bool glassPanelAt(QPointF point)
{
    const QWindowList windows = QGuiApplication::topLevelWindows();
    for (QWindow *window : windows) {
        const auto *panel = qobject_cast<GlassPanel *>(window);
        if (panel && panel->isVisible() && QRectF(panel->geometry()).contains(point))
            return true;
    }
    return false;
}

GestureDesktop qtGestureDesktop(QQmlEngine &qml, quint16 port)
{
    GestureDesktop desktop;
    desktop.screens = [] { return screens::current(); };
    desktop.overHud = &glassPanelAt;
    desktop.makeReticle = quickReticleFactory(qml);
    desktop.listenPort = port;
    desktop.ownPid = QCoreApplication::applicationPid();
    // One thread, so fists are handled in the order they came; the pool waits for its work
    // when the controller lets go of it.
    auto windowThread = std::make_shared<QThreadPool>();
    windowThread->setMaxThreadCount(1);
    desktop.runWindowWork = [windowThread](std::function<void()> work) { windowThread->start(std::move(work)); };
    return desktop;
}

} // namespace halvic
