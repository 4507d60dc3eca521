#pragma once

#include <QRect>
#include <QString>

#include <optional>

namespace halvic {

/// Where the email card goes, how tall a message body is, and the page or text a body is shown
/// as: plain code, tested without a window.
namespace emailframe {
/// The card's width in points.
inline constexpr int width = 620;
/// The full card for a screen's usable area: centred, or keeping the current top-left corner;
/// either way 8 points inside the area.
QRect full(const QRect &available, const QRect &current, bool centre);
/// The bubble keeps the card's top-left corner; the card comes back from there.
QRect forBubble(const QRect &frame, bool minimized, const QRect &available);
/// The page a message's HTML body is shown in: our content policy and style sheet, the body
/// (made inert, see `inert`), the closing tags.
QString page(const QString &bodyHtml);
/// The body with what no request guard or content policy can stop taken out of play: inline
/// nested documents (`srcdoc`), `autofocus` (it scrolls the body away from its top) and link
/// elements (resource hints: preloads of what the message never shows, preconnects).
QString inert(const QString &bodyHtml);
/// What a reader sees of an HTML body as plain text: no markup, hidden parts (head, style,
/// script) or comments; a line for each line or block; character references decoded. Linear
/// in the body's length, for bodies the web view cannot take.
QString htmlText(QStringView html);
/// The web view loads a page as a percent-encoded data URL of at most this many bytes; a
/// longer one fails to load and shows nothing (Chromium's kMaxURLChars).
inline constexpr qsizetype maxPageUrl = 2 * 1024 * 1024;
/// The length of the data URL the web view makes of `page`.
qsizetype pageUrlLength(const QString &page);
/// The frame height for a body that measured `contentHeight` points: 60…560, or none when
/// the measurement is not a positive number.
std::optional<int> bodyHeight(double contentHeight);
} // namespace emailframe

} // namespace halvic
