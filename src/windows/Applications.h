#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>

/// Finding applications by the loose names the engine uses: the alias table, matching
/// running applications, and desktop entries for starting them.
namespace halvic::apps {

/// One alias the engine may use for a well-known application, with the desktop-entry ids
/// and program names it goes by on Linux beside its macOS bundle identifier.
struct Alias
{
    QLatin1StringView name;
    QLatin1StringView displayName;
    QLatin1StringView bundleId;
    QList<QLatin1StringView> desktopIds;
    QList<QLatin1StringView> programs;
};

/// The alias of a lowercased name, if it has one.
const Alias *aliasFor(const QString &lowercasedName);
std::span<const Alias> aliases();

/// An application with at least one ordinary window: the windows of one process.
struct RunningApp
{
    qint64 pid = 0;
    /// The desktop entry's name when one is known, else the WM_CLASS class.
    QString name;
    /// The desktop-entry id when one is known, else the WM_CLASS instance.
    QString appId;
    QString wmClass;
    QString wmInstance;
    /// Window ids, oldest first.
    QList<quint32> windows;

    bool operator==(const RunningApp &) const = default;
};

/// The score a running application earns against a query in the last matching pass
/// (0: no match).
int matchScore(const RunningApp &app, const QString &query, const Alias *alias);

/// The running application an engine name means, by alias, desktop id, exact name and then
/// best score; ties go to the earlier application. An empty name matches nothing.
std::optional<qsizetype> findRunning(const QList<RunningApp> &running, const QString &name);

/// What a desktop entry (a .desktop file) says about starting an application.
struct DesktopEntry
{
    QString id;
    QString name;
    QString exec;
    QString startupWMClass;
    QString path;
    QString file;

    bool operator==(const DesktopEntry &) const = default;
};

/// Parses the [Desktop Entry] group of an application entry; none for other types, hidden
/// entries and entries without a program.
std::optional<DesktopEntry> parseDesktopEntry(const QString &id, const QByteArray &contents);

/// Splits an Exec line into program and arguments: quoting and escapes undone, field codes
/// (%f, %U, ...) dropped, "%%" kept as "%".
QStringList splitExec(const QString &exec);

/// The application desktop entries in XDG data folders, first folder winning for a repeated
/// id, each folder's entries in file-name order.
class DesktopEntries
{
public:
    /// Reads the entries under "applications" in each of `dataDirs`.
    explicit DesktopEntries(const QStringList &dataDirs);
    /// The XDG data folders of this session ($XDG_DATA_HOME, then $XDG_DATA_DIRS).
    static QStringList sessionDataDirs();

    const QList<DesktopEntry> &all() const { return m_entries; }
    std::optional<DesktopEntry> byId(const QString &id) const;
    /// The entry of a running window, by StartupWMClass, then by id or program name equal
    /// to the WM_CLASS instance or class.
    std::optional<DesktopEntry> forWindowClass(const QString &wmInstance, const QString &wmClass) const;
    /// The entry to start for an engine name (alias ids, a desktop id, then the first entry
    /// whose name or id contains the wanted name). Alias programs found on PATH stand in
    /// when no entry exists.
    std::optional<DesktopEntry> forName(const QString &name) const;

private:
    QList<DesktopEntry> m_entries;
};

} // namespace halvic::apps
