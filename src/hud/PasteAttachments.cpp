#include "PasteAttachments.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QUuid>

#include <algorithm>

#include "AppModel.h"
#include "Background.h"

namespace halvic {

namespace {

QList<QUrl> fileUrls(const QMimeData &clipboard)
{
    QList<QUrl> files;
    if (!clipboard.hasUrls())
        return files;
    const QList<QUrl> urls = clipboard.urls();
    std::copy_if(
        urls.begin(), urls.end(), std::back_inserter(files), [](const QUrl &url) { return url.isLocalFile(); });
    return files;
}

} // namespace

bool pasteAttaches(const QMimeData &clipboard)
{
    if (!fileUrls(clipboard).isEmpty())
        return true;
    return clipboard.hasImage() && clipboard.text().isEmpty();
}

PasteAttachments::PasteAttachments(AppModel &model, QString temporaryFolder, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_temporaryFolder(std::move(temporaryFolder))
{
}

QString PasteAttachments::pastedImageName()
{
    return QStringLiteral("halvic-paste-") + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper()
        + QStringLiteral(".png");
}

bool PasteAttachments::attachFromClipboard()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !pasteAttaches(*data))
        return false;
    paste(*data);
    return true;
}

void PasteAttachments::paste(const QMimeData &clipboard)
{
    if (const QList<QUrl> files = fileUrls(clipboard); !files.isEmpty()) {
        m_model.setAttachments(m_model.attachments() + files);
        return;
    }
    if (clipboard.hasImage()) {
        const QImage image = qvariant_cast<QImage>(clipboard.imageData());
        if (!image.isNull()) {
            attachImage(image);
            return;
        }
    }
    if (const QString text = clipboard.text(); !text.isEmpty())
        m_model.setDraft(m_model.draft() + text);
}

void PasteAttachments::attachImage(const QImage &image)
{
    const QString path = QDir(m_temporaryFolder).filePath(pastedImageName());
    // Encoding a large screenshot takes a while: do it off the main thread, attach after.
    // The watcher belongs to this object until its job has reported.
    QFutureWatcher<bool> *watcher
        = startInBackground<bool>([image, path] { return std::optional(image.save(path, "PNG")); }).release();
    watcher->setParent(this);
    connect(watcher, &QFutureWatcher<bool>::finished, this, [this, watcher, path] {
        watcher->deleteLater();
        // Attached even when the write failed: the engine reports a missing file itself.
        m_model.setAttachments(m_model.attachments() << QUrl::fromLocalFile(path));
        emit imageAttached(path);
    });
}

} // namespace halvic
