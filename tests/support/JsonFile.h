#pragma once

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace halvic::testing {

/// The JSON object in a control file; empty when the file is missing or holds no object.
inline QJsonObject readJson(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

} // namespace halvic::testing
