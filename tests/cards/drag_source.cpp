// A plain X client for end-to-end tests: a small window that, when pressed, drags the files
// named on its command line with the desktop's drag and drop (XDND on X11), as a file
// manager would. Prints the drop's outcome ("copied" or "ignored") and, like a file manager,
// keeps running: the target fetches the dropped data after the drag has ended.
// With --copy first, it copies the files to the clipboard instead (as their URLs and, as a
// file manager also offers them, as text) and keeps running to serve the clipboard.
#include <QClipboard>
#include <QDrag>
#include <QGuiApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QRasterWindow>
#include <QRect>
#include <QScreen>
#include <QUrl>

#include <cstdio>

namespace {

class DragSource final : public QRasterWindow
{
public:
    explicit DragSource(QList<QUrl> urls)
        : m_urls(std::move(urls))
    {
        setTitle(QStringLiteral("halvic drag source"));
        resize(160, 120);
    }

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(QRect(QPoint(), size()), Qt::darkCyan); }

    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        auto *mime = new QMimeData;
        mime->setUrls(m_urls);
        // On the heap: the drag system keeps the drag until the target has taken its data.
        auto *drag = new QDrag(this);
        drag->setMimeData(mime);
        const Qt::DropAction result = drag->exec(Qt::CopyAction);
        std::printf("%s\n", result == Qt::CopyAction ? "copied" : "ignored");
        std::fflush(stdout);
    }

private:
    QList<QUrl> m_urls;
};

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QStringList paths = app.arguments().mid(1);
    const bool copy = !paths.isEmpty() && paths.first() == QStringLiteral("--copy");
    if (copy)
        paths.removeFirst();
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(path);
    if (copy) {
        auto *mime = new QMimeData;
        mime->setUrls(urls);
        mime->setText(paths.join(u'\n'));
        QGuiApplication::clipboard()->setMimeData(mime);
        std::printf("copied\n");
        std::fflush(stdout);
        return app.exec();
    }
    DragSource window(urls);
    // Off to the right, clear of the cards at the top left and the HUD at the bottom right.
    const QRect screen = app.primaryScreen()->availableGeometry();
    window.setPosition(screen.right() - 220, screen.top() + 300);
    window.show();
    return app.exec();
}
