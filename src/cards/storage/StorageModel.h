#pragma once

#include <QObject>
#include <QtQmlIntegration>

#include "RecordListModel.h"
#include "StorageItem.h"

namespace halvic {

/// What the storage card shows: the engine's list of files and whether a list or an upload
/// is on its way.
class StorageModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the storage card")
    Q_PROPERTY(halvic::RecordList *files READ fileList CONSTANT)
    Q_PROPERTY(bool loading READ loading NOTIFY loadingChanged)
    Q_PROPERTY(bool uploading READ uploading NOTIFY uploadingChanged)
    Q_PROPERTY(bool dropTargeted READ dropTargeted WRITE setDropTargeted NOTIFY dropTargetedChanged)
public:
    using QObject::QObject;

    RecordListModel<StorageItem> &files() { return m_files; }
    bool loading() const { return m_loading; }
    bool uploading() const { return m_uploading; }
    bool dropTargeted() const { return m_dropTargeted; }
    void setLoading(bool value);
    void setUploading(bool value);
    void setDropTargeted(bool value);

signals:
    void loadingChanged();
    void uploadingChanged();
    void dropTargetedChanged();

private:
    RecordList *fileList() { return &m_files; }

    RecordListModel<StorageItem> m_files;
    bool m_loading = false;
    bool m_uploading = false;
    bool m_dropTargeted = false;
};

} // namespace halvic
