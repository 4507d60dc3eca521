#include "EmailFrame.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

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
    // What the page may load at all: images, styles and fonts; no frames, objects, scripts or
    // anything else, whatever the request guard allows. Remote images wait for the guard.
    static const QString prefix = uR"(<!doctype html><html><head><meta charset="utf-8">
<meta http-equiv="Content-Security-Policy" content="default-src 'none'; img-src data: http: https:; style-src 'unsafe-inline' data: http: https:; font-src data: http: https:">
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
    return prefix + inert(bodyHtml) + u"</body></html>"_s;
}

QString inert(const QString &bodyHtml)
{
    // The parser reads attribute and tag names letter for letter (ASCII case aside), never
    // decoding them, and ends them only at these characters.
    using RE = QRegularExpression;
    static const RE attribute(
        uR"((?<=[\t\n\f\r /"'])(?:srcdoc|autofocus)(?=[\t\n\f\r />=]|$))"_s, RE::CaseInsensitiveOption);
    static const RE link(uR"(<link(?=[\t\n\f\r />]|$))"_s, RE::CaseInsensitiveOption);
    // A zero-width non-joiner after the first letter unmakes the attribute (an iframe's inline
    // document; autofocus) and leaves the same words in the text looking as they did. A
    // content policy cannot do this: Chromium lets srcdoc frames through frame-src 'none'.
    QString html;
    html.reserve(bodyHtml.size());
    qsizetype copied = 0;
    for (auto matches = attribute.globalMatch(bodyHtml); matches.hasNext();) {
        const qsizetype at = matches.next().capturedStart() + 1;
        html.append(QStringView(bodyHtml).sliced(copied, at - copied)).append(QChar(0x200C));
        copied = at;
    }
    html.append(QStringView(bodyHtml).sliced(copied));
    // A link element becomes <wbr>: void, invisible and inert. Its hints load what the message
    // never shows (a preloaded image looks like any other to the request guard) or open
    // connections without a request (preconnect); a linked style sheet goes with them, as in
    // most mail readers.
    html.replace(link, u"<wbr"_s);
    return html;
}

namespace {

// A character reference at the start of `html` ("&amp;", "&#233;", "&#x2019;"), decoded,
// with the length it takes; none when it is none we know.
std::optional<std::pair<QString, qsizetype>> characterReference(QStringView html)
{
    static const QHash<QString, QString> named{{u"amp"_s, u"&"_s}, {u"lt"_s, u"<"_s}, {u"gt"_s, u">"_s},
        {u"quot"_s, u"\""_s}, {u"apos"_s, u"'"_s}, {u"nbsp"_s, u"\u00A0"_s}, {u"copy"_s, u"\u00A9"_s},
        {u"hellip"_s, u"\u2026"_s}, {u"mdash"_s, u"\u2014"_s}, {u"ndash"_s, u"\u2013"_s}, {u"rsquo"_s, u"\u2019"_s},
        {u"lsquo"_s, u"\u2018"_s}, {u"rdquo"_s, u"\u201D"_s}, {u"ldquo"_s, u"\u201C"_s}, {u"zwnj"_s, u"\u200C"_s}};
    const qsizetype end = html.first(std::min<qsizetype>(html.size(), 12)).indexOf(u';');
    if (end < 2)
        return std::nullopt;
    const QStringView name = html.sliced(1, end - 1);
    if (name.startsWith(u'#')) {
        const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
        bool ok = false;
        const uint code = name.sliced(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
        if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return std::nullopt;
        const char32_t character = code;
        return std::pair(QString::fromUcs4(&character, 1), end + 1);
    }
    const auto found = named.constFind(name.toString());
    if (found == named.constEnd())
        return std::nullopt;
    return std::pair(*found, end + 1);
}

} // namespace

QString htmlText(QStringView html)
{
    // Elements whose content no reader sees, and elements that start or end a line.
    static const QSet<QString> hidden{u"head"_s, u"style"_s, u"script"_s, u"title"_s, u"template"_s};
    static const QSet<QString> lines{u"br"_s, u"p"_s, u"div"_s, u"tr"_s, u"li"_s, u"ul"_s, u"ol"_s, u"table"_s,
        u"blockquote"_s, u"pre"_s, u"hr"_s, u"h1"_s, u"h2"_s, u"h3"_s, u"h4"_s, u"h5"_s, u"h6"_s};
    QString text;
    bool space = false;
    const auto append = [&](QStringView part) {
        if (space && !text.isEmpty() && !text.endsWith(u'\n'))
            text += u' ';
        space = false;
        text += part;
    };
    qsizetype at = 0;
    while (at < html.size()) {
        const QChar c = html[at];
        if (c == u'<' && html.sliced(at).startsWith(u"<!--")) {
            const qsizetype end = html.indexOf(u"-->", at + 4);
            at = end < 0 ? html.size() : end + 3;
        } else if (c == u'<') {
            const qsizetype end = html.indexOf(u'>', at);
            if (end < 0)
                break;
            const QStringView tag = html.sliced(at + 1, end - at - 1);
            const bool closing = tag.startsWith(u'/');
            const QStringView rest = tag.sliced(closing ? 1 : 0);
            const auto nameEnd
                = std::find_if(rest.begin(), rest.end(), [](QChar ch) { return ch.isSpace() || ch == u'/'; });
            const QString name = rest.first(nameEnd - rest.begin()).toString().toLower();
            at = end + 1;
            if (!closing && hidden.contains(name)) {
                const qsizetype close = html.indexOf(QString(u"</"_s + name), at, Qt::CaseInsensitive);
                at = close < 0 ? html.size() : close;
            } else if (lines.contains(name)) {
                while (text.endsWith(u' '))
                    text.chop(1);
                if (!text.isEmpty() && !text.endsWith(u"\n\n"))
                    text += u'\n';
                space = false;
            } else {
                space = space || name == u"td" || name == u"th";
            }
        } else if (c.isSpace()) {
            space = true;
            ++at;
        } else if (const auto reference = c == u'&' ? characterReference(html.sliced(at)) : std::nullopt) {
            append(reference->first);
            at += reference->second;
        } else {
            append(html.sliced(at, 1));
            ++at;
        }
    }
    return text.trimmed();
}

qsizetype pageUrlLength(const QString &page)
{
    // "data:text/html;charset=UTF-8," and the page's UTF-8 bytes, percent-encoded.
    qsizetype length = qsizetype(sizeof "data:text/html;charset=UTF-8,") - 1;
    for (const char byte : page.toUtf8()) {
        const bool unreserved = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z')
            || (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' || byte == '~';
        length += unreserved ? 1 : 3;
    }
    return length;
}

std::optional<int> bodyHeight(double contentHeight)
{
    if (!std::isfinite(contentHeight) || contentHeight <= 0)
        return std::nullopt;
    return int(std::lround(std::clamp(contentHeight + 4, 60.0, 560.0)));
}

} // namespace emailframe

} // namespace halvic
