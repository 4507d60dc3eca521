#include "StoragePanel.h"

#include <QGuiApplication>
#include <QJsonArray>
#include <QPointer>
#include <QScreen>

#include "EventDispatcher.h"
#include "GlassPanel.h"
#include "Protocol.h"
#include "StorageProtocol.h"
#include "UserFiles.h"

namespace halvic {

using namespace protocol;
using namespace Qt::Literals::StringLiterals;

StoragePanel::StoragePanel(const CardContext &context, QObject *parent)
    : Card(parent)
    , m_control(context.control)
    , m_window(context.scheduler, context.qml, *this,
          {.view = QUrl(u"qrc:/Halvic/Cards/Storage/StorageView.qml"_s),
              .size = QSize(cardWidth, tallest),
              .title = tr("My Files"),
              .placement =
                  [this](const QRect &available, QSize) {
                      const QRect frame = placement(available);
                      setCardHeight(frame.height());
                      return frame;
                  },
              .bubbleFrame =
                  [this](const QRect &frame, bool minimized, const QRect &available) {
                      const QRect next = bubbleFrame(frame, minimized, available);
                      if (!minimized)
                          setCardHeight(next.height());
                      return next;
                  }})
{
    connect(&m_window, &CardWindow::hidden, this, [this] { m_model.setDropTargeted(false); });
}

StoragePanel::~StoragePanel() = default;

void StoragePanel::registerRows(EventDispatcher &dispatcher)
{
    dispatcher.on(event::storage, this, [this](const QJsonObject &payload) {
        present(records<StorageItem>(payload, key::files).value_or(std::vector<StorageItem>{}));
    });
}

QRect StoragePanel::placement(const QRect &available)
{
    const int height = std::min(available.height() - 60, tallest);
    const int x = std::min(available.x() + available.width() - cardWidth - 20, available.x() + 40);
    return {x, available.y() + 30, cardWidth, height};
}

QRect StoragePanel::bubbleFrame(const QRect &frame, bool minimized, const QRect &available)
{
    constexpr int bubble = 58;
    constexpr int margin = 8;
    if (minimized)
        return {frame.topLeft(), QSize(bubble, bubble)};
    const int height = std::min(available.height() - 60, tallest);
    const int right = available.x() + available.width() - cardWidth - margin;
    const int x = std::min(std::max(frame.x(), available.x() + margin), right);
    return {x, frame.y(), cardWidth, height};
}

void StoragePanel::setCardHeight(int height)
{
    if (m_cardHeight == height)
        return;
    m_cardHeight = height;
    emit cardHeightChanged();
}

void StoragePanel::open()
{
    m_window.expand();
    m_model.setLoading(true);
    query();
    m_window.present();
    // The user asked for the card: it takes the keyboard, unlike a card the engine shows.
    if (GlassPanel *panel = m_window.panel())
        panel->requestActivate();
}

void StoragePanel::present(std::vector<StorageItem> items)
{
    const bool shown = m_window.isShown();
    const bool bubble = m_window.bubble()->minimized();
    setAll(std::move(items));
    // A card on screen just refreshes, where it is, without taking anything from the user.
    if (shown && !bubble)
        return;
    m_window.expand();
    m_window.present();
}

void StoragePanel::toggle()
{
    if (m_window.isShown())
        m_window.hide();
    else
        open();
}

void StoragePanel::uploadURLs(const QList<QUrl> &urls)
{
    const QList<QUrl> files = regularFiles(urls);
    if (files.isEmpty())
        return;
    m_model.setUploading(true);
    QJsonArray paths;
    for (const QUrl &file : files)
        paths.append(file.toLocalFile());
    writeAction({{key::action, value::upload}, {key::paths, paths}});
}

void StoragePanel::openFile(const QString &name)
{
    writeAction({{key::action, value::open}, {key::name, name}});
}

void StoragePanel::deleteFile(const QString &name)
{
    m_model.files().removeId(name);
    writeAction({{key::action, value::remove}, {key::name, name}});
}

Menu StoragePanel::menuEntries()
{
    return {{.title = tr("My Files"),
        .action =
            [self = QPointer(this)] {
                if (self)
                    self->toggle();
            },
        .shortcut = u"Ctrl+F"_s}};
}

void StoragePanel::useFilePicker(const FilePicker &picker)
{
    connect(this, &StoragePanel::uploadPickRequested, this, [this, picker] {
        picker({u"storage"_s, tr("Upload files"), [self = QPointer(this)](const QList<QUrl> &urls) {
                    if (self)
                        self->uploadURLs(urls);
                }});
    });
}

void StoragePanel::pickFiles()
{
    emit uploadPickRequested();
}

void StoragePanel::refresh()
{
    m_model.setLoading(true);
    query();
}

void StoragePanel::setAll(std::vector<StorageItem> items)
{
    m_model.files().replaceAll(std::move(items));
    m_model.setLoading(false);
    m_model.setUploading(false);
}

void StoragePanel::query()
{
    m_control.writeJSON(controlfile::storageQuery, {});
}

void StoragePanel::writeAction(const QJsonObject &action)
{
    m_control.writeJSON(controlfile::storageAction, action);
}

} // namespace halvic
