#pragma once

#include <QString>

#include <vector>

#include "Line.h"

namespace halvic::hud {

/// How a speaker is named when the transcript is copied: "You", "Task", and "Halvic" for the
/// assistant and any other speaker (as its icon shows it).
QString speakerName(const QString &who);
/// The whole transcript as plain text, one line per transcript line, each prefixed with its
/// speaker ("You: …", "Halvic: …"), ending with a line feed.
QString transcriptText(const std::vector<Line> &lines);

} // namespace halvic::hud
