#include "EntityPanel.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QJsonObject>
#include <QScreen>

#include <algorithm>

#include "EntityProtocol.h"
#include "EventDispatcher.h"
#include "GlassPanel.h"
#include "JsonRead.h"
#include "Protocol.h"
#include "SafeOpen.h"

namespace halvic {

using namespace protocol;
using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int maxCardHeight = 760;
constexpr int screenMargin = 8;
constexpr int bubbleSide = 58;

// The usable area of the screen the card is on, else the main screen's, else a laptop's.
QRect availableArea(const GlassPanel *panel)
{
    const QScreen *screen = panel && panel->screen() ? panel->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1440, 900);
}

} // namespace

QRect entityCardFrame(const QRect &available, std::optional<QPoint> from)
{
    const int w = EntityPanel::panelW;
    const int h = std::min(available.height() - 60, maxCardHeight);
    int x = from ? from->x() : available.x() + available.width() / 2 - w / 2;
    int y = from ? from->y() : available.y() + available.height() / 2 - h / 2;
    x = std::min(std::max(x, available.left() + screenMargin), available.x() + available.width() - w - screenMargin);
    y = std::min(std::max(y, available.top() + screenMargin), available.y() + available.height() - h - screenMargin);
    return {x, y, w, h};
}

QRect entityBubbleFrame(const QRect &frame, bool minimized, const QRect &available)
{
    if (minimized)
        return {frame.topLeft(), QSize(bubbleSide, bubbleSide)};
    return entityCardFrame(available, frame.topLeft());
}

std::optional<QUrl> entityLinkUrl(const QString &text)
{
    // Characters a URL fragment may hold stay as they are; everything else (spaces,
    // non-ASCII, "%", "#") is percent-encoded, so the text reads as one link.
    const QByteArray encoded = QUrl::toPercentEncoding(text, "!$&'()*+,-./:;=?@_~");
    const QUrl url = QUrl::fromEncoded(encoded, QUrl::StrictMode);
    if (!url.isValid() || !linkSchemeAllowed(url, linkschemes::webAndPhone))
        return std::nullopt;
    return url;
}

EntityPanel::EntityPanel(const CardContext &context, QObject *parent)
    : Card(parent)
    , m_control(context.control)
    , m_open([](const QUrl &url) { QDesktopServices::openUrl(url); })
    , m_window(context.scheduler, context.qml, *this,
          {.view = QUrl(u"qrc:/Halvic/Cards/Entity/EntityDossierView.qml"_s),
              .size = QSize(panelW, 740),
              .title = tr("Dossier"),
              .placement = [](const QRect &available, QSize) { return entityCardFrame(available); },
              .bubbleFrame =
                  [this](const QRect &frame, bool minimized, const QRect &available) {
                      const QRect next = entityBubbleFrame(frame, minimized, available);
                      if (!minimized)
                          setCardHeight(next.height());
                      return next;
                  }})
{
}

EntityPanel::~EntityPanel() = default;

void EntityPanel::registerRows(EventDispatcher &dispatcher)
{
    dispatcher.on(event::entityProfile, this, [this](const QJsonObject &payload) {
        const std::optional<QJsonObject> profile = json::optObject(payload, key::profile);
        if (!profile)
            return;
        std::optional<ComposedDossier> composed;
        if (const auto object = json::optObject(payload, key::composed))
            composed = ComposedDossier::from(*object);
        show(EntityProfile::from(*profile), std::move(composed), json::boolean(payload, key::composing, false));
    });
}

void EntityPanel::close(const QString &key)
{
    if (key.isEmpty() || key == m_model.key())
        m_window.hide();
}

void EntityPanel::show(EntityProfile profile, std::optional<ComposedDossier> composed, bool composing)
{
    const bool wasShown = m_window.isShown();
    const bool sameEntity = !profile.entity.key.isEmpty() && profile.entity.key == m_model.key();
    const bool refresh = sameEntity && wasShown;

    m_model.setProfile(std::move(profile));
    // The engine often sends the profile again without the dossier it composed a moment
    // ago: the card keeps showing that dossier.
    if (sameEntity && !composed && m_model.composed()) {
        m_model.setComposing(false);
    } else {
        m_model.setComposed(std::move(composed));
        m_model.setComposing(composing);
    }
    if (refresh)
        return;

    m_model.setNoteText({});
    m_model.setEditingSummary(false);
    m_model.setSummaryDraft({});
    m_model.setLoading(false);
    m_window.bubbleCtl().reset();
    updateCardHeight();
    m_window.present();
    m_window.placeAgain();
}

void EntityPanel::updateCardHeight()
{
    setCardHeight(entityCardFrame(availableArea(m_window.panel())).height());
}

void EntityPanel::setCardHeight(int height)
{
    if (height == m_cardHeight)
        return;
    m_cardHeight = height;
    emit cardHeightChanged();
}

void EntityPanel::drillDown(const QString &name)
{
    if (name.isEmpty())
        return;
    m_model.setLoading(true);
    writeCmd(value::showEntity, {{key::name, name}});
}

void EntityPanel::unrelate(const QString &other)
{
    const QString entityKey = m_model.key();
    if (other.isEmpty() || entityKey.isEmpty())
        return;
    writeCmd(value::entityUnrelate, {{key::entityKey, entityKey}, {key::other, other}});

    // The card drops the relation at once rather than wait for the engine's next profile.
    EntityProfile profile = m_model.profile();
    std::erase_if(profile.relations, [&](const EntityRelation &r) { return r.other == other; });
    std::optional<ComposedDossier> composed = m_model.composed();
    if (composed) {
        for (ComposedSection &section : composed->sections) {
            if (auto *list = std::get_if<ComposedSection::List>(&section.body))
                std::erase_if(list->rows, [&](const ComposedListRow &row) { return row.entity == other; });
        }
        std::erase_if(composed->sections, [](const ComposedSection &section) {
            const auto *list = std::get_if<ComposedSection::List>(&section.body);
            return list && list->rows.empty();
        });
    }
    m_model.setProfile(std::move(profile));
    m_model.setComposed(std::move(composed));
}

void EntityPanel::openQuick(const QString &kind, const QString &value)
{
    if (const auto text = quickLinkText(kind, value))
        openURL(*text);
}

void EntityPanel::openComposedChip(const QString &kind, const QString &value)
{
    openURL(composedChipLinkText(kind, value));
}

void EntityPanel::openURL(const QString &text)
{
    // Only web, mail and phone links reach the desktop: a dossier may be built from an
    // email, and a file: or custom-scheme link would open or run whatever it names.
    if (const auto url = entityLinkUrl(text); url && m_open)
        m_open(*url);
}

void EntityPanel::submitNote()
{
    const QString text = m_model.noteText().trimmed();
    if (text.isEmpty() || m_model.key().isEmpty())
        return;
    writeCmd(value::entityNote, {{key::entityKey, m_model.key()}, {key::text, text}});
    m_model.setNoteText({});
}

void EntityPanel::beginEditSummary()
{
    m_model.setSummaryDraft(m_model.profile().summary);
    m_model.setEditingSummary(true);
}

void EntityPanel::cancelEditSummary()
{
    m_model.setEditingSummary(false);
}

void EntityPanel::saveSummary()
{
    const QString text = m_model.summaryDraft().trimmed();
    m_model.setEditingSummary(false);
    if (!m_model.key().isEmpty())
        writeCmd(value::entitySummary, {{key::entityKey, m_model.key()}, {key::text, text}});
}

void EntityPanel::activateInput()
{
    if (GlassPanel *panel = m_window.panel()) {
        panel->raise();
        panel->requestActivate();
    }
}

void EntityPanel::writeCmd(QLatin1StringView cmd, const QJsonObject &further)
{
    QJsonObject object = further;
    object.insert(key::cmd, cmd);
    m_control.writeJSON(controlfile::entityAction, object);
}

} // namespace halvic
