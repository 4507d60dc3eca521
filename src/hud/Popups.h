#pragma once

#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QQmlEngine;

namespace halvic {

class EventDispatcher;
class GlassPanel;
class Scheduler;

namespace popups {
/// The longest side of an image popup.
inline constexpr int maxSide = 520;
/// How far each new popup lands from the previous one, and where the cascade starts over.
inline constexpr int cascadeStep = 30;
inline constexpr int cascadeLast = 120;

/// Whether the path's extension (any case) is one of the image types a popup shows.
bool hasImageExtension(const QString &path);
/// The image's size scaled down so its longer side is at most 520, the aspect kept.
QSize displaySize(QSize imageSize);
/// The cascade offset after `offset`: 0, 30, 60, 90, 120, then 0 again.
int nextOffset(int offset);
/// The image in the regular file `path`, decoded at its display size; none when the file is
/// no image or does not decode to its end. Any thread.
std::optional<QImage> decode(const QString &path);
} // namespace popups

/// Image popups the engine asks for: each image in a small glass window of its own near the
/// centre of the screen, cascading; any other (harmless) file, and an image file that does
/// not decode, in the desktop's default application. Images are decoded on the thread pool.
class Popups : public QObject
{
    Q_OBJECT
public:
    using Opener = std::function<void(const QUrl &)>;

    /// `openExternally` hands a file to the desktop (QDesktopServices in the application).
    Popups(QQmlEngine &qml, Scheduler &scheduler, Opener openExternally, QObject *parent = nullptr);
    ~Popups() override;

    /// Registers the engine's "show" row (it ends with this object).
    void registerRows(EventDispatcher &dispatcher);

    void show(const QString &path, const QString &title);
    void closeAll();

    /// The open popup windows, oldest first.
    std::vector<GlassPanel *> windows() const;
    int offset() const { return m_offset; }
    /// Images still being decoded.
    std::size_t decoding() const { return m_decoding.size(); }

private:
    void decoded(QFutureWatcher<QImage> *job, const QString &path, const QString &title);
    bool showImage(const QImage &image, const QString &path, const QString &title);
    void openExternally(const QString &path);
    void close(GlassPanel *panel);

    QQmlEngine &m_qml;
    Scheduler &m_scheduler;
    Opener m_openExternally;
    std::vector<std::unique_ptr<GlassPanel>> m_windows;
    std::vector<std::unique_ptr<QFutureWatcher<QImage>>> m_decoding;
    int m_offset = 0;
};

} // namespace halvic
