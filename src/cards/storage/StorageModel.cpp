#include "StorageModel.h"

namespace halvic {

void StorageModel::setLoading(bool value)
{
    if (m_loading == value)
        return;
    m_loading = value;
    emit loadingChanged();
}

void StorageModel::setUploading(bool value)
{
    if (m_uploading == value)
        return;
    m_uploading = value;
    emit uploadingChanged();
}

void StorageModel::setDropTargeted(bool value)
{
    if (m_dropTargeted == value)
        return;
    m_dropTargeted = value;
    emit dropTargetedChanged();
}

} // namespace halvic
