#include "CardFormats.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

#include <array>
#include <utility>

namespace halvic {

using namespace Qt::Literals::StringLiterals;

std::optional<QDateTime> parseInternetDateTime(const QString &text)
{
    // Qt's ISO parser also takes dates without a zone (as local time) and other shapes; an
    // internet date-time has all of date, time and zone, so check the shape first.
    static const QRegularExpression internetDateTime(
        u"^\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}:\\d{2}(\\.\\d+)?(Z|[+-]\\d{2}:\\d{2})$"_s);
    if (!internetDateTime.match(text).hasMatch())
        return std::nullopt;
    const QDateTime when = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!when.isValid())
        return std::nullopt;
    return when;
}

QString memPrettyTime(const QString &timestamp)
{
    const std::optional<QDateTime> when = parseInternetDateTime(timestamp);
    if (!when)
        return {};
    // Month names in the language of the translation (C for the English original).
    const QLocale locale(QCoreApplication::translate("CardFormats", "C", "locale of the dates' month names"));
    return locale.toString(
        when->toLocalTime(), QCoreApplication::translate("CardFormats", "MMM d, HH:mm", "date format"));
}

QString storageIcon(const QString &type)
{
    static const std::array<std::pair<QStringList, QString>, 10> kinds{{
        {{u"txt"_s, u"text"_s, u"md"_s, u"markdown"_s, u"rtf"_s, u"log"_s}, u"doc.text"_s},
        {{u"pdf"_s}, u"doc.richtext"_s},
        {{u"csv"_s, u"tsv"_s, u"xls"_s, u"xlsx"_s, u"numbers"_s, u"sheet"_s}, u"tablecells"_s},
        {{u"doc"_s, u"docx"_s, u"pages"_s, u"odt"_s}, u"doc.text.fill"_s},
        {{u"ppt"_s, u"pptx"_s, u"key"_s}, u"rectangle.on.rectangle"_s},
        {{u"png"_s, u"jpg"_s, u"jpeg"_s, u"gif"_s, u"webp"_s, u"heic"_s, u"bmp"_s, u"tiff"_s, u"svg"_s}, u"photo"_s},
        {{u"mp3"_s, u"wav"_s, u"m4a"_s, u"aac"_s, u"flac"_s, u"ogg"_s}, u"waveform"_s},
        {{u"mp4"_s, u"mov"_s, u"avi"_s, u"mkv"_s, u"webm"_s, u"m4v"_s}, u"film"_s},
        {{u"zip"_s, u"tar"_s, u"gz"_s, u"rar"_s, u"7z"_s, u"bz2"_s}, u"doc.zipper"_s},
        {{u"json"_s, u"js"_s, u"ts"_s, u"py"_s, u"swift"_s, u"html"_s, u"css"_s, u"sh"_s, u"rb"_s, u"go"_s, u"rs"_s,
             u"java"_s, u"c"_s, u"cpp"_s, u"yml"_s, u"yaml"_s, u"toml"_s, u"xml"_s},
            u"chevron.left.forwardslash.chevron.right"_s},
    }};
    const QString lowered = type.toLower();
    for (const auto &[types, symbol] : kinds) {
        if (types.contains(lowered))
            return symbol;
    }
    return u"doc"_s;
}

QString storageSize(qint64 bytes)
{
    constexpr double kib = 1024.0;
    constexpr double mib = kib * 1024.0;
    constexpr double gib = mib * 1024.0;
    if (bytes < 1)
        return {};
    if (bytes < 1024)
        return QCoreApplication::translate("CardFormats", "%1 B").arg(bytes);
    // printf's rounding (1536 bytes is "2 KB"), as the sizes have always been shown.
    if (bytes < qint64(mib))
        return QCoreApplication::translate("CardFormats", "%1 KB").arg(QString::asprintf("%.0f", double(bytes) / kib));
    if (bytes < qint64(gib))
        return QCoreApplication::translate("CardFormats", "%1 MB").arg(QString::asprintf("%.1f", double(bytes) / mib));
    return QCoreApplication::translate("CardFormats", "%1 GB").arg(QString::asprintf("%.1f", double(bytes) / gib));
}

} // namespace halvic
