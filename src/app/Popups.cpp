#include "Popups.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QScreen>

#include <algorithm>
#include <cmath>

#include "GlassPanel.h"
#include "SafeOpen.h"

namespace halvic {

using namespace Qt::Literals::StringLiterals;

namespace popups {

namespace {
// What the content adds around the image: the padding and the header row.
constexpr int chromeWidth = 24;
constexpr int chromeHeight = 52;

} // namespace

bool hasImageExtension(const QString &path)
{
    static const QStringList extensions{
        u"png"_s, u"jpg"_s, u"jpeg"_s, u"gif"_s, u"webp"_s, u"heic"_s, u"bmp"_s, u"tiff"_s};
    return extensions.contains(QFileInfo(path).suffix().toLower());
}

QSize displaySize(QSize imageSize)
{
    const int longer = std::max(imageSize.width(), imageSize.height());
    if (longer <= maxSide)
        return imageSize;
    const double scale = double(maxSide) / longer;
    return {int(std::lround(imageSize.width() * scale)), int(std::lround(imageSize.height() * scale))};
}

int nextOffset(int offset)
{
    return offset >= cascadeLast ? 0 : offset + cascadeStep;
}

} // namespace popups

Popups::Popups(QQmlEngine &qml, Scheduler &scheduler, Opener openExternally, QObject *parent)
    : QObject(parent)
    , m_qml(qml)
    , m_scheduler(scheduler)
    , m_openExternally(std::move(openExternally))
{
}

Popups::~Popups()
{
    // Destroying a visible window hides it first, which would call close() on a list that
    // is being torn down.
    for (const auto &panel : m_windows)
        panel->disconnect(this);
}

std::vector<GlassPanel *> Popups::windows() const
{
    std::vector<GlassPanel *> panels;
    for (const auto &panel : m_windows)
        panels.push_back(panel.get());
    return panels;
}

void Popups::show(const QString &path, const QString &title)
{
    if (popups::hasImageExtension(path) && showImage(path, title))
        return;
    // Anything else goes to the desktop, unless opening it could run code.
    if (safeToOpenExternally(path))
        m_openExternally(QUrl::fromLocalFile(QFileInfo(path).canonicalFilePath()));
}

bool Popups::showImage(const QString &path, const QString &title)
{
    // Only a regular file: opening a pipe or a device could block the main thread.
    if (!QFileInfo(path).isFile())
        return false;
    QImageReader reader(path);
    const QSize imageSize = reader.size();
    if (!reader.canRead() || !imageSize.isValid() || imageSize.isEmpty())
        return false;
    const QSize size = popups::displaySize(imageSize);

    QQmlComponent component(&m_qml, QUrl(u"qrc:/Halvic/App/PopupView.qml"_s));
    if (!component.isReady())
        return false;
    const QString shownTitle = title.isEmpty() ? QFileInfo(path).fileName() : title;
    std::unique_ptr<QObject> view(component.createWithInitialProperties({
        {u"source"_s, QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())},
        {u"title"_s, shownTitle},
        {u"imageWidth"_s, size.width()},
        {u"imageHeight"_s, size.height()},
    }));
    auto *item = qobject_cast<QQuickItem *>(view.get());
    if (!item)
        return false;
    view.release();

    auto panel = std::make_unique<GlassPanel>(m_scheduler, QSize(size.width() + 24, size.height() + 52));
    // A picture the engine shows never takes the keyboard from what the user is typing in.
    panel->setShowsWithoutActivating(true);
    panel->setContent(item);
    panel->setTitle(shownTitle);
    GlassPanel *raw = panel.get();
    connect(item, SIGNAL(closeRequested()), raw, SLOT(close()));
    connect(raw, &QWindow::visibleChanged, this, [this, raw](bool visible) {
        if (!visible)
            close(raw);
    });
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRectF visible = screen->availableGeometry();
        const QPointF centre = visible.center();
        raw->setPosition(
            QPointF(centre.x() - size.width() / 2.0 + m_offset, centre.y() - size.height() / 2.0 + m_offset).toPoint());
    }
    m_offset = popups::nextOffset(m_offset);
    m_windows.push_back(std::move(panel));
    raw->show();
    raw->raise();
    return true;
}

void Popups::close(GlassPanel *panel)
{
    const auto it
        = std::find_if(m_windows.begin(), m_windows.end(), [panel](const auto &p) { return p.get() == panel; });
    if (it == m_windows.end())
        return;
    // The close may come from the panel's own button: let its handler finish first.
    GlassPanel *released = it->release();
    m_windows.erase(it);
    released->hide();
    released->deleteLater();
}

void Popups::closeAll()
{
    while (!m_windows.empty())
        close(m_windows.front().get());
}

} // namespace halvic
