#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QUrl>

#include <chrono>

#include "EngineState.h"

namespace halvic::hud {

/// The orb's colour for an engine state (red wins while muted or recording).
enum class OrbColor { Red, Orange, Cyan, Green, Yellow, Grey };
OrbColor orbColor(EngineState state, bool muted, bool recording);
QColor toColor(OrbColor color);

/// Whether the orb pulses: not muted, and recording or a busy state.
bool orbPulses(EngineState state, bool muted, bool recording);
/// One half-cycle of the pulse: faster while recording.
std::chrono::milliseconds pulsePeriod(bool recording);

/// The symbol beside a transcript line, by speaker.
QString speakerSymbol(const QString &who);

/// Whether the chat input has something to send.
bool canSend(const QString &draft, const QList<QUrl> &attachments);
/// The transcript echo of a sent message: the trimmed text and the attachment names.
QString echoText(const QString &draft, const QList<QUrl> &attachments);

/// The emoji of an agent chip, from its name and description.
QString agentEmoji(const QString &agent, const QString &desc, bool stalled, bool done);
/// The first three words of a description.
QString shortLabel(const QString &desc);
/// Elapsed time as "59s" or "2m 5s".
QString elapsedText(std::chrono::milliseconds elapsed);

/// The docked strip's width after dragging the resize handle by `translation`.
double draggedDockWidth(double startWidth, double translation, const QString &dockSide);

} // namespace halvic::hud
