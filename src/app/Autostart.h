#pragma once

#include <QString>
#include <QStringList>

#include <functional>

#include "Menu.h"

namespace halvic {

/// Starting the HUD with the desktop session: an XDG autostart entry,
/// <config>/autostart/halvic-hud.desktop. Whether it is on is read from that file every time,
/// so it survives reinstalling and follows edits made elsewhere.
class Autostart
{
public:
    static constexpr auto fileName = "halvic-hud.desktop";

    /// `entryPath` is the entry's file; `command` the program and its arguments to start.
    Autostart(QString entryPath, QStringList command);

    /// The entry's file: under $XDG_CONFIG_HOME when that is an absolute path, else under
    /// ~/.config. `variable` reads the environment.
    static QString entryPathFor(const std::function<QString(const char *)> &variable, const QString &home);

    /// The entry exists and is not switched off (Hidden, or GNOME's enabled key false).
    bool isEnabled() const;
    /// Writes the entry (atomically) or removes it. False when that failed.
    bool setEnabled(bool on) const;

    /// "Start at Login", checked as the entry says now; switching it writes or removes the
    /// entry (a failed write leaves it as the file says, which the next look at the menu shows).
    Menu menuEntries() const;

    const QString &entryPath() const { return m_entryPath; }
    /// The Exec value for `command`, quoted as desktop entries require.
    static QString execLine(const QStringList &command);

private:
    QString m_entryPath;
    QStringList m_command;
};

} // namespace halvic
