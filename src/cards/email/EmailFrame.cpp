#include "EmailFrame.h"

#include <algorithm>
#include <cmath>

namespace halvic {

using namespace Qt::Literals::StringLiterals;

namespace emailframe {

namespace {
constexpr int margin = 8;
constexpr int bubbleSide = 58;

int cardHeight(const QRect &available)
{
    return std::min(available.height() - 60, 780);
}
} // namespace

QRect full(const QRect &available, const QRect &current, bool centre)
{
    const int height = cardHeight(available);
    int x = centre ? available.x() + (available.width() - width) / 2 : current.x();
    int y = centre ? available.y() + (available.height() - height) / 2 : current.y();
    x = std::min(std::max(x, available.left() + margin), available.right() + 1 - width - margin);
    y = std::min(std::max(y, available.top() + margin), available.bottom() + 1 - height - margin);
    return {x, y, width, height};
}

QRect forBubble(const QRect &frame, bool minimized, const QRect &available)
{
    if (minimized)
        return {frame.x(), frame.y(), bubbleSide, bubbleSide};
    return full(available, frame, false);
}

QString page(const QString &bodyHtml)
{
    static const QString prefix = uR"(<!doctype html><html><head><meta charset="utf-8">
<style>
  body { font: 13px/1.45 -apple-system, 'Helvetica Neue', Arial, sans-serif;
         color: #1c1c1e; background: #ffffff; margin: 14px;
         overflow-wrap: break-word; }
  img { max-width: 100%; height: auto; }
  table { max-width: 100%; }
  pre { white-space: pre-wrap; }
  blockquote { border-left: 3px solid #d0d0d0; margin: 6px 0 6px 2px;
               padding-left: 10px; color: #555; }
  a { color: #0a66c2; }
</style></head><body>)"_s;
    return prefix + bodyHtml + u"</body></html>"_s;
}

std::optional<int> bodyHeight(double contentHeight)
{
    if (!std::isfinite(contentHeight) || contentHeight <= 0)
        return std::nullopt;
    return int(std::lround(std::clamp(contentHeight + 4, 60.0, 560.0)));
}

} // namespace emailframe

} // namespace halvic
