#pragma once

#include <QObject>
#include <QString>

class QImage;
class QMimeData;

namespace halvic {

class AppModel;

/// Whether the paste key in the chat field should attach from the clipboard instead of
/// pasting text: files are on the clipboard, or an image without any text.
bool pasteAttaches(const QMimeData &clipboard);

/// Attaches the clipboard's content to the next chat message: files as they are, an image as
/// a new PNG file in the temporary folder; text goes to the end of the draft instead.
class PasteAttachments : public QObject
{
    Q_OBJECT
public:
    PasteAttachments(AppModel &model, QString temporaryFolder, QObject *parent = nullptr);

    /// Acts on `clipboard` (the system clipboard's data in the application).
    void paste(const QMimeData &clipboard);
    /// Attaches what the system clipboard holds when it is something to attach; false when
    /// it is text, which the field pastes itself.
    bool attachFromClipboard();
    /// The file name a pasted image gets.
    static QString pastedImageName();

signals:
    /// A pasted image has been written (or failed to be) and attached.
    void imageAttached(const QString &path);

private:
    void attachImage(const QImage &image);

    AppModel &m_model;
    QString m_temporaryFolder;
};

} // namespace halvic
