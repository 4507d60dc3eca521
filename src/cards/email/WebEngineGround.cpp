#include "WebEngineGround.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QOpenGLContext>
#include <QThread>

// Exported by Qt GUI (version Qt_6) for exactly this purpose; Qt WebEngine's own
// initialisation uses it. Not in a public header.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);

namespace halvic {

bool prepareWebEngine()
{
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!app || QThread::currentThread() != app->thread())
        return false;
    // The web engine draws only on a real display; without one (offscreen, minimal) it crashes.
    const QString platform = QGuiApplication::platformName();
    if (platform != u"xcb" && platform != u"wayland")
        return false;
    if (QOpenGLContext::globalShareContext())
        return true;
    // Owned by the application object, so it goes before the display connection does.
    auto *context = new QOpenGLContext(app);
    context->setFormat(QSurfaceFormat::defaultFormat());
    if (!context->create()) {
        delete context;
        return false;
    }
    qt_gl_set_global_share_context(context);
    return true;
}

} // namespace halvic
