#pragma once

#include <QObject>
#include <QString>

class QImage;
class QMimeData;

namespace halvic {

class AppModel;

/// Whether a paste key should attach from the clipboard instead of pasting into the focused
/// field: files are on the clipboard, or an image without any text.
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
    /// Pastes from the system clipboard.
    void pasteFromClipboard();
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

/// Lets the paste key attach files and images in every window of the application: a filter
/// on the application's key presses, acting once per key press (at its window).
class PasteMonitor : public QObject
{
    Q_OBJECT
public:
    explicit PasteMonitor(PasteAttachments &paste, QObject *parent = nullptr);
    ~PasteMonitor() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    PasteAttachments &m_paste;
};

} // namespace halvic
