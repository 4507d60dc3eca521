// A native Wayland client for tests: one plain window whose app id and title come from the
// arguments, printing each mouse button press and release ("press <button> <x> <y>", window
// coordinates) on its own line, flushed, so that a test sees how many clicks arrived and where.
// Usage: wayland_probe APP_ID [TITLE]

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QRasterWindow>

#include <cstdio>

namespace {

class ProbeWindow : public QRasterWindow
{
protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(QRect(QPoint(), size()), Qt::darkCyan); }
    void mousePressEvent(QMouseEvent *event) override { report("press", event); }
    void mouseReleaseEvent(QMouseEvent *event) override { report("release", event); }

private:
    static void report(const char *what, const QMouseEvent *event)
    {
        const QPoint at = event->position().toPoint();
        std::printf("%s %d %d %d\n", what, int(event->button()), at.x(), at.y());
        std::fflush(stdout);
    }
};

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString appId = args.value(1, QStringLiteral("halvic-probe"));
    // The xdg app id on Wayland.
    QGuiApplication::setDesktopFileName(appId);
    ProbeWindow window;
    window.setTitle(args.value(2, appId));
    window.resize(400, 300);
    window.show();
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}
