#pragma once

#include <QRect>
#include <QString>

#include <optional>

namespace halvic {

/// Where the email card goes and how tall a message body is: plain maths, tested without a
/// window.
namespace emailframe {
/// The card's width in points.
inline constexpr int width = 620;
/// The full card for a screen's usable area: centred, or keeping the current top-left corner;
/// either way 8 points inside the area.
QRect full(const QRect &available, const QRect &current, bool centre);
/// The bubble keeps the card's top-left corner; the card comes back from there.
QRect forBubble(const QRect &frame, bool minimized, const QRect &available);
/// The page a message's HTML body is shown in: our style sheet, the body, the closing tags.
QString page(const QString &bodyHtml);
/// The frame height for a body that measured `contentHeight` points: 60…560, or none when
/// the measurement is not a positive number.
std::optional<int> bodyHeight(double contentHeight);
} // namespace emailframe

} // namespace halvic
