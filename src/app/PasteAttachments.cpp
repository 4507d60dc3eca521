#include "PasteAttachments.h"

#include <QClipboard>
#include <QDir>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QUuid>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

#include "AppModel.h"

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

void PasteAttachments::pasteFromClipboard()
{
    if (const QMimeData *data = QGuiApplication::clipboard()->mimeData())
        paste(*data);
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
    auto *watcher = new QFutureWatcher<void>(this);
    connect(watcher, &QFutureWatcher<void>::finished, this, [this, watcher, path] {
        watcher->deleteLater();
        // Attached even when the write failed: the engine reports a missing file itself.
        m_model.setAttachments(m_model.attachments() << QUrl::fromLocalFile(path));
        emit imageAttached(path);
    });
    watcher->setFuture(QtConcurrent::run([image, path] { image.save(path, "PNG"); }));
}

PasteMonitor::PasteMonitor(PasteAttachments &paste, QObject *parent)
    : QObject(parent)
    , m_paste(paste)
{
    qApp->installEventFilter(this);
}

PasteMonitor::~PasteMonitor()
{
    qApp->removeEventFilter(this);
}

bool PasteMonitor::eventFilter(QObject *watched, QEvent *event)
{
    // A key press reaches the filter at its window and again at the focused item; act once.
    if (event->type() != QEvent::KeyPress || !watched->isWindowType())
        return false;
    if (!static_cast<QKeyEvent *>(event)->matches(QKeySequence::Paste))
        return false;
    const QMimeData *clipboard = QGuiApplication::clipboard()->mimeData();
    if (!clipboard || !pasteAttaches(*clipboard))
        return false;
    m_paste.paste(*clipboard);
    return true;
}

} // namespace halvic
