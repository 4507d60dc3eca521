#include "Autostart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace halvic {

using namespace Qt::Literals::StringLiterals;

namespace {

// An argument needs quotes when it holds a space or a character the Exec key reserves.
bool needsQuotes(const QString &argument)
{
    static const QString reserved = u" \t\n\"'\\><~|&;$*?#()`"_s;
    return argument.isEmpty()
        || std::any_of(argument.begin(), argument.end(), [](QChar c) { return reserved.contains(c); });
}

QString quoted(const QString &argument)
{
    QString out = u"\""_s;
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            out += u'\\';
        out += c;
    }
    return out + u'"';
}

// The string escapes of a desktop entry value: a backslash is written twice; "%" is a field
// code in Exec, so a literal one is doubled.
QString escapedValue(const QString &exec)
{
    QString out;
    for (const QChar c : exec) {
        if (c == u'\\')
            out += u"\\\\"_s;
        else if (c == u'%')
            out += u"%%"_s;
        else
            out += c;
    }
    return out;
}

} // namespace

Autostart::Autostart(QString entryPath, QStringList command)
    : m_entryPath(std::move(entryPath))
    , m_command(std::move(command))
{
}

QString Autostart::entryPathFor(const std::function<QString(const char *)> &variable, const QString &home)
{
    QString config = variable("XDG_CONFIG_HOME");
    // A relative XDG_CONFIG_HOME is invalid for XDG and is ignored, as desktops do.
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir(home).filePath(u".config"_s);
    return QDir(config).filePath(u"autostart/"_s + QLatin1StringView(fileName));
}

QString Autostart::execLine(const QStringList &command)
{
    QStringList parts;
    for (const QString &argument : command)
        parts << (needsQuotes(argument) ? quoted(argument) : argument);
    return escapedValue(parts.join(u' '));
}

bool Autostart::isEnabled() const
{
    QFile file(m_entryPath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bool inEntry = false;
    // An entry is small; anything far larger is not one of ours and is read no further.
    for (int lineNumber = 0; lineNumber < 1000 && !file.atEnd(); ++lineNumber) {
        const QByteArray line = file.readLine(4096).trimmed();
        if (line.startsWith('[')) {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry)
            continue;
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArray key = line.first(equals).trimmed();
        const QByteArray value = line.sliced(equals + 1).trimmed();
        if (key == "Hidden" && value == "true")
            return false;
        if (key == "X-GNOME-Autostart-enabled" && value == "false")
            return false;
    }
    return true;
}

bool Autostart::setEnabled(bool on) const
{
    if (!on)
        return !QFileInfo::exists(m_entryPath) || QFile::remove(m_entryPath);
    if (!QDir().mkpath(QFileInfo(m_entryPath).path()))
        return false;
    QSaveFile file(m_entryPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QString entry = u"[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Halvic HUD\n"
                          "Comment=The Halvic assistant's heads-up display, started with the session\n"
                          "Exec=%1\n"
                          "Icon=halvic-hud\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n"_s.arg(execLine(m_command));
    file.write(entry.toUtf8());
    return file.commit();
}

Menu Autostart::menuEntries() const
{
    // The entry's file and command are all it is: the action keeps its own copy.
    return {{.title = QCoreApplication::translate("halvic::Autostart", "Start at Login"),
        .action = [autostart = *this] { autostart.setEnabled(!autostart.isEnabled()); },
        .checkable = true,
        .checked = isEnabled(),
        .shortcut = {}}};
}

} // namespace halvic
