#include "Popups.h"

#include <QBuffer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QScreen>

#include <algorithm>
#include <cmath>

#include "Background.h"
#include "EventDispatcher.h"
#include "GlassPanel.h"
#include "JsonRead.h"
#include "Protocol.h"
#include "RegularFile.h"
#include "SafeOpen.h"

namespace halvic {

using namespace Qt::Literals::StringLiterals;

namespace popups {

namespace {
// What the content adds around the image: the padding and the header row.
constexpr int chromeWidth = 24;
constexpr int chromeHeight = 52;
// Larger files are no picture to pop up; the desktop's viewer is better at them.
constexpr qint64 maxImageBytes = 64 * 1024 * 1024;

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

std::optional<QImage> decode(const QString &path)
{
    std::optional<QByteArray> bytes = readRegularFile(path, maxImageBytes);
    if (!bytes)
        return std::nullopt;
    QBuffer buffer(&*bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return std::nullopt;
    // A header alone is no picture: only a whole decode shows one.
    reader.setScaledSize(displaySize(size));
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return image;
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

void Popups::registerRows(EventDispatcher &dispatcher)
{
    dispatcher.on(protocol::event::show, this, [this](const QJsonObject &payload) {
        show(json::string(payload, protocol::key::path), json::string(payload, protocol::key::title));
    });
}

void Popups::show(const QString &path, const QString &title)
{
    // Only a regular file is read: opening a pipe or a device could block.
    if (!popups::hasImageExtension(path) || !QFileInfo(path).isFile()) {
        openExternally(path);
        return;
    }
    auto job = startInBackground<QImage>([path] { return popups::decode(path); });
    QFutureWatcher<QImage> *watcher = job.get();
    connect(
        watcher, &QFutureWatcherBase::finished, this, [this, watcher, path, title] { decoded(watcher, path, title); });
    m_decoding.push_back(std::move(job));
}

void Popups::decoded(QFutureWatcher<QImage> *job, const QString &path, const QString &title)
{
    const auto it
        = std::find_if(m_decoding.begin(), m_decoding.end(), [job](const auto &owned) { return owned.get() == job; });
    if (it == m_decoding.end())
        return;
    const std::optional<QImage> image = resultOf(*job);
    // Its finished() is still being delivered.
    it->release()->deleteLater();
    m_decoding.erase(it);
    if (!image || !showImage(*image, path, title))
        openExternally(path);
}

void Popups::openExternally(const QString &path)
{
    // Anything that is no picture goes to the desktop, unless opening it could run code.
    if (safeToOpenExternally(path))
        m_openExternally(QUrl::fromLocalFile(QFileInfo(path).canonicalFilePath()));
}

bool Popups::showImage(const QImage &image, const QString &path, const QString &title)
{
    const QSize size = popups::displaySize(image.size());

    QQmlComponent component(&m_qml, QUrl(u"qrc:/Halvic/Hud/PopupView.qml"_s));
    if (!component.isReady())
        return false;
    const QString shownTitle = title.isEmpty() ? QFileInfo(path).fileName() : title;
    std::unique_ptr<QObject> view(component.createWithInitialProperties({
        {u"image"_s, image},
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
