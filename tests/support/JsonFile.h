#pragma once

#include <QDir>
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

/// Writes `content` to `name` in `dir`, readable by all and executable when asked; the path,
/// or empty when it cannot be written.
inline QString writeFile(const QDir &dir, const QString &name, const QByteArray &content, bool executable = false)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(content);
    file.close();
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    if (executable)
        permissions |= QFile::ExeOwner | QFile::ExeUser;
    file.setPermissions(permissions);
    return path;
}

} // namespace halvic::testing
