#include "SafeOpen.h"

#include <QFileInfo>
#include <QMimeDatabase>

#include <algorithm>

namespace halvic {

using namespace Qt::Literals::StringLiterals;

namespace {
bool canRunCode(const QMimeType &type)
{
    // Executables, shared objects, shell and other scripts, and desktop entries all inherit
    // from one of these (or are one).
    static const QStringList dangerous{
        u"application/x-executable"_s,
        u"application/x-sharedlib"_s,
        u"application/x-shellscript"_s,
        u"application/x-desktop"_s,
        u"text/x-script"_s,
        u"application/x-ms-dos-executable"_s,
        u"application/x-msi"_s,
        u"application/java-archive"_s,
        u"application/x-java-jnlp-file"_s,
    };
    return std::any_of(dangerous.cbegin(), dangerous.cend(), [&](const QString &name) { return type.inherits(name); })
        || (type.name().startsWith(u"text/x-"_s) && type.name().endsWith(u"script"_s));
}
} // namespace

bool safeToOpenExternally(const QString &path)
{
    if (path.isEmpty())
        return false;
    // Judge the file a link points at, not the link.
    const QFileInfo info(QFileInfo(path).canonicalFilePath());
    if (!info.exists() || !info.isFile())
        return false;
    const auto anyExecute = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther | QFile::ExeUser;
    if (info.permissions() & anyExecute)
        return false;
    if (info.suffix().compare(u"desktop"_s, Qt::CaseInsensitive) == 0)
        return false;
    // By name and by content: a script with an innocent extension is still a script.
    const QMimeDatabase mimes;
    return !canRunCode(mimes.mimeTypeForFile(info, QMimeDatabase::MatchDefault))
        && !canRunCode(mimes.mimeTypeForFile(info, QMimeDatabase::MatchContent));
}

bool linkSchemeAllowed(const QUrl &url, const QStringList &schemes)
{
    return url.isValid() && !url.scheme().isEmpty() && schemes.contains(url.scheme(), Qt::CaseInsensitive);
}

} // namespace halvic
