#include "HudLogic.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <array>
#include <initializer_list>

#include "DockStrip.h"

namespace halvic::hud {

using namespace Qt::Literals::StringLiterals;

OrbColor orbColor(EngineState state, bool muted, bool recording)
{
    if (muted || recording)
        return OrbColor::Red;
    switch (state) {
    case EngineState::Booting:
    case EngineState::Thinking:
        return OrbColor::Orange;
    case EngineState::Listening:
        return OrbColor::Cyan;
    case EngineState::Speaking:
        return OrbColor::Green;
    case EngineState::Restarting:
        return OrbColor::Yellow;
    case EngineState::Off:
    case EngineState::Other:
        break;
    }
    return OrbColor::Grey;
}

QColor toColor(OrbColor color)
{
    switch (color) {
    case OrbColor::Red:
        return QColor(0xFF, 0x45, 0x3A);
    case OrbColor::Orange:
        return QColor(0xFF, 0x9F, 0x0A);
    case OrbColor::Cyan:
        return QColor(0x64, 0xD2, 0xFF);
    case OrbColor::Green:
        return QColor(0x30, 0xD1, 0x58);
    case OrbColor::Yellow:
        return QColor(0xFF, 0xD6, 0x0A);
    case OrbColor::Grey:
        break;
    }
    return QColor(0x98, 0x98, 0x9D);
}

bool orbPulses(EngineState state, bool muted, bool recording)
{
    if (muted)
        return false;
    return recording || engine::isBusy(state);
}

std::chrono::milliseconds pulsePeriod(bool recording)
{
    return std::chrono::milliseconds(recording ? 700 : 1100);
}

QString speakerSymbol(const QString &who)
{
    if (who == "you"_L1)
        return u"person.fill"_s;
    if (who == "task"_L1)
        return u"checkmark.seal.fill"_s;
    return u"sparkle"_s;
}

bool canSend(const QString &draft, const QList<QUrl> &attachments)
{
    return !draft.trimmed().isEmpty() || !attachments.isEmpty();
}

QString echoText(const QString &draft, const QList<QUrl> &attachments)
{
    const QString text = draft.trimmed();
    if (attachments.isEmpty())
        return text;
    QStringList names;
    names.reserve(attachments.size());
    for (const QUrl &url : attachments)
        names << url.fileName();
    const QString clip = u"\U0001F4CE "_s + names.join(", "_L1);
    return text.isEmpty() ? clip : text + u"  "_s + clip;
}

QString agentEmoji(const QString &agent, const QString &desc, bool stalled, bool done)
{
    if (stalled && !done)
        return u"\u26A0\uFE0F"_s;
    struct Group
    {
        std::initializer_list<QLatin1StringView> words;
        QString emoji;
    };
    const std::array groups{
        Group{{"search"_L1, "research"_L1, "find"_L1}, u"\U0001F50D"_s},
        Group{{"web"_L1, "fetch"_L1, "http"_L1}, u"\U0001F310"_s},
        Group{{"cod"_L1, "build"_L1, "compil"_L1, "swift"_L1, "python"_L1}, u"\U0001F4BB"_s},
        Group{{"run"_L1, "exec"_L1, "bash"_L1, "script"_L1}, u"\u2699\uFE0F"_s},
    };
    const QString text = (agent + u' ' + desc).toLower();
    for (const Group &group : groups) {
        if (std::any_of(group.words.begin(), group.words.end(), [&](QLatin1StringView w) { return text.contains(w); }))
            return group.emoji;
    }
    return u"\U0001F916"_s;
}

QString shortLabel(const QString &desc)
{
    return desc.split(u' ', Qt::SkipEmptyParts).mid(0, 3).join(u' ');
}

QString elapsedText(std::chrono::milliseconds elapsed)
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
    if (seconds < 60)
        return QCoreApplication::translate("HudLogic", "%1s").arg(seconds);
    return QCoreApplication::translate("HudLogic", "%1m %2s").arg(seconds / 60).arg(seconds % 60);
}

double draggedDockWidth(double startWidth, double translation, const QString &dockSide)
{
    const double outward = dockSide == "right"_L1 ? -translation : translation;
    return dock::stripWidth(startWidth + outward);
}

} // namespace halvic::hud
