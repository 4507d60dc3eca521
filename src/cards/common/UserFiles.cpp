#include "UserFiles.h"

#include <QFileInfo>
#include <QSet>

namespace halvic {

QList<QUrl> regularFiles(const QList<QUrl> &urls)
{
    QList<QUrl> files;
    QSet<QUrl> seen;
    for (const QUrl &url : urls) {
        if (!url.isLocalFile() || seen.contains(url))
            continue;
        // A link to a regular file is followed and counts as that file.
        if (!QFileInfo(url.toLocalFile()).isFile())
            continue;
        seen.insert(url);
        files << url;
    }
    return files;
}

} // namespace halvic
