#include "Applications.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <array>

namespace halvic::apps {

namespace {

using L = QLatin1StringView;

const QList<L> codeIds{L("code"), L("code-oss"), L("com.visualstudio.code"), L("visual-studio-code"), L("codium")};
const QList<L> codePrograms{L("code"), L("code-oss"), L("codium")};
const QList<L> terminalIds{
    L("org.gnome.Terminal"), L("org.gnome.Console"), L("org.kde.konsole"), L("xfce4-terminal"), L("debian-xterm")};
const QList<L> terminalPrograms{
    L("x-terminal-emulator"), L("gnome-terminal"), L("kgx"), L("konsole"), L("xfce4-terminal"), L("xterm")};

// Linux has no Safari, Finder, Notes or Mail: their places go to the usual GNOME, KDE and
// Xfce counterparts (the WebKit browser for Safari).
const std::array<Alias, 17> aliasTable{{
    {L("vscode"), L("Visual Studio Code"), L("com.microsoft.VSCode"), codeIds, codePrograms},
    {L("vs code"), L("Visual Studio Code"), L("com.microsoft.VSCode"), codeIds, codePrograms},
    {L("code"), L("Visual Studio Code"), L("com.microsoft.VSCode"), codeIds, codePrograms},
    {L("teams"), L("Microsoft Teams"), L("com.microsoft.teams2"),
        {L("teams-for-linux"), L("com.github.IsmaelMartinez.teams_for_linux"), L("teams")},
        {L("teams-for-linux"), L("teams")}},
    {L("chrome"), L("Google Chrome"), L("com.google.Chrome"),
        {L("google-chrome"), L("com.google.Chrome"), L("chromium"), L("org.chromium.Chromium")},
        {L("google-chrome"), L("google-chrome-stable"), L("chromium")}},
    {L("safari"), L("Safari"), L("com.apple.Safari"), {L("org.gnome.Epiphany"), L("epiphany-browser")},
        {L("epiphany-browser"), L("epiphany")}},
    {L("terminal"), L("Terminal"), L("com.apple.Terminal"), terminalIds, terminalPrograms},
    {L("iterm"), L("iTerm"), L("com.googlecode.iterm2"), terminalIds, terminalPrograms},
    {L("slack"), L("Slack"), L("com.tinyspeck.slackmacgap"), {L("slack"), L("com.slack.Slack")}, {L("slack")}},
    {L("notes"), L("Notes"), L("com.apple.Notes"), {L("org.gnome.Notes"), L("bijiben"), L("org.kde.knotes"), L("xpad")},
        {L("gnome-notes"), L("bijiben"), L("knotes"), L("xpad")}},
    {L("finder"), L("Finder"), L("com.apple.finder"),
        {L("org.gnome.Nautilus"), L("org.kde.dolphin"), L("thunar"), L("pcmanfm")},
        {L("nautilus"), L("dolphin"), L("thunar"), L("pcmanfm")}},
    {L("mail"), L("Mail"), L("com.apple.mail"),
        {L("org.gnome.Evolution"), L("thunderbird"), L("org.mozilla.Thunderbird"), L("org.kde.kmail2")},
        {L("evolution"), L("thunderbird"), L("kmail")}},
    {L("whatsapp"), L("WhatsApp"), L("net.whatsapp.WhatsApp"),
        {L("com.github.eneshecan.WhatsAppForLinux"), L("whatsapp-for-linux"), L("whatsapp-desktop-linux")},
        {L("whatsapp-for-linux")}},
    {L("spotify"), L("Spotify"), L("com.spotify.client"), {L("spotify"), L("com.spotify.Client")}, {L("spotify")}},
    {L("cursor"), L("Cursor"), L("com.todesktop.230313mzl4w4u92"), {L("cursor")}, {L("cursor")}},
    {L("arc"), L("Arc"), L("company.thebrowser.Browser"), {L("arc")}, {L("arc")}},
    {L("notion"), L("Notion"), L("notion.id"), {L("notion-app"), L("notion-app-enhanced")},
        {L("notion-app"), L("notion-app-enhanced")}},
}};

bool containsLower(const QList<L> &list, const QString &lowercased)
{
    return std::any_of(
        list.begin(), list.end(), [&](L item) { return item.compare(lowercased, Qt::CaseInsensitive) == 0; });
}

bool aliasNames(const Alias &alias, const RunningApp &app)
{
    const QString id = app.appId.toLower();
    return id == alias.bundleId.toString().toLower() || containsLower(alias.desktopIds, id)
        || containsLower(alias.programs, app.wmInstance.toLower());
}

template <typename Pred>
std::optional<qsizetype> firstIndex(const QList<RunningApp> &running, Pred pred)
{
    for (qsizetype i = 0; i < running.size(); ++i)
        if (pred(running.at(i)))
            return i;
    return std::nullopt;
}

// --- desktop entries -------------------------------------------------------------------

/// Undoes the escapes of a desktop-entry string value.
QString unescapeValue(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out.append(c);
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 's':
            out.append(QLatin1Char(' '));
            break;
        case 'n':
            out.append(QLatin1Char('\n'));
            break;
        case 't':
            out.append(QLatin1Char('\t'));
            break;
        case 'r':
            out.append(QLatin1Char('\r'));
            break;
        case '\\':
            out.append(QLatin1Char('\\'));
            break;
        default:
            out.append(c).append(next);
            break;
        }
    }
    return out;
}

QString programName(const DesktopEntry &entry)
{
    const QStringList command = splitExec(entry.exec);
    return command.isEmpty() ? QString() : QFileInfo(command.first()).fileName();
}

} // namespace

std::span<const Alias> aliases()
{
    return aliasTable;
}

const Alias *aliasFor(const QString &lowercasedName)
{
    const auto it = std::find_if(
        aliasTable.begin(), aliasTable.end(), [&](const Alias &alias) { return alias.name == lowercasedName; });
    return it != aliasTable.end() ? &*it : nullptr;
}

int matchScore(const RunningApp &app, const QString &query, const Alias *alias)
{
    const QString name = app.name.trimmed().toLower();
    const QString wanted = alias ? alias->displayName.toString().toLower() : query;
    int score = 0;
    if (!name.isEmpty() && name == wanted)
        score = std::max(score, 100);
    if (!wanted.isEmpty() && name.contains(wanted))
        score = std::max(score, 80);
    if (name.size() > 2 && query.contains(name))
        score = std::max(score, 70);
    if (!query.isEmpty() && name.contains(query))
        score = std::max(score, 60);
    if (!query.isEmpty() && app.appId.toLower().contains(query))
        score = std::max(score, 40);
    return score;
}

std::optional<qsizetype> findRunning(const QList<RunningApp> &running, const QString &name)
{
    const QString query = name.trimmed().toLower();
    if (query.isEmpty())
        return std::nullopt;
    const Alias *alias = aliasFor(query);
    if (alias) {
        if (auto found = firstIndex(running, [&](const RunningApp &app) { return aliasNames(*alias, app); }))
            return found;
    }
    if (query.contains(QLatin1Char('.'))) {
        if (auto found = firstIndex(running, [&](const RunningApp &app) { return app.appId.toLower() == query; }))
            return found;
    }
    if (auto found = firstIndex(running, [&](const RunningApp &app) {
            return app.name.trimmed().toLower() == query || app.wmClass.toLower() == query;
        }))
        return found;

    std::optional<qsizetype> best;
    int bestScore = 0;
    for (qsizetype i = 0; i < running.size(); ++i) {
        const int score = matchScore(running.at(i), query, alias);
        if (score > bestScore) {
            bestScore = score;
            best = i;
        }
    }
    return best;
}

std::optional<DesktopEntry> parseDesktopEntry(const QString &id, const QByteArray &contents)
{
    DesktopEntry entry;
    entry.id = id;
    QString type;
    bool inMainGroup = false;
    bool hidden = false;
    QString tryExec;
    const QList<QByteArray> lines = contents.split('\n');
    for (const QByteArray &raw : lines) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == QLatin1StringView("[Desktop Entry]");
            continue;
        }
        if (!inMainGroup)
            continue;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = unescapeValue(line.mid(equals + 1).trimmed());
        if (key == QLatin1StringView("Type"))
            type = value;
        else if (key == QLatin1StringView("Name"))
            entry.name = value;
        else if (key == QLatin1StringView("Exec"))
            entry.exec = value;
        else if (key == QLatin1StringView("TryExec"))
            tryExec = value;
        else if (key == QLatin1StringView("StartupWMClass"))
            entry.startupWMClass = value;
        else if (key == QLatin1StringView("Path"))
            entry.path = value;
        else if (key == QLatin1StringView("Hidden"))
            hidden = value == QLatin1StringView("true");
    }
    if (type != QLatin1StringView("Application") || hidden || splitExec(entry.exec).isEmpty())
        return std::nullopt;
    if (!tryExec.isEmpty() && QStandardPaths::findExecutable(tryExec).isEmpty() && !QFileInfo(tryExec).isExecutable())
        return std::nullopt;
    return entry;
}

QStringList splitExec(const QString &exec)
{
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (quoted) {
            if (c == QLatin1Char('"'))
                quoted = false;
            else if (c == QLatin1Char('\\') && i + 1 < exec.size())
                word.append(exec.at(++i));
            else
                word.append(c);
            continue;
        }
        if (c == QLatin1Char('"')) {
            quoted = true;
            inWord = true;
        } else if (c.isSpace()) {
            if (inWord)
                words.append(std::exchange(word, QString()));
            inWord = false;
        } else if (c == QLatin1Char('%') && i + 1 < exec.size()) {
            // Field codes stand for files and URLs we never pass; "%%" is a literal percent.
            const QChar code = exec.at(++i);
            if (code == QLatin1Char('%')) {
                word.append(code);
                inWord = true;
            }
        } else {
            word.append(c);
            inWord = true;
        }
    }
    if (inWord && !word.isEmpty())
        words.append(word);
    return words;
}

DesktopEntries::DesktopEntries(const QStringList &dataDirs)
{
    QStringList seenIds;
    for (const QString &dataDir : dataDirs) {
        const QDir applications(QDir(dataDir).filePath(QStringLiteral("applications")));
        if (!applications.exists())
            continue;
        QStringList files;
        QDirIterator it(applications.path(), {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.append(applications.relativeFilePath(it.next()));
        files.sort();
        for (const QString &relative : std::as_const(files)) {
            QString id = relative.chopped(int(sizeof(".desktop")) - 1);
            id.replace(QLatin1Char('/'), QLatin1Char('-'));
            if (seenIds.contains(id))
                continue;
            seenIds.append(id);
            QFile file(applications.filePath(relative));
            if (!file.open(QIODevice::ReadOnly))
                continue;
            if (auto entry = parseDesktopEntry(id, file.read(1 << 20))) {
                entry->file = file.fileName();
                m_entries.append(*entry);
            }
        }
    }
}

QStringList DesktopEntries::sessionDataDirs()
{
    QString home = qEnvironmentVariable("XDG_DATA_HOME");
    if (home.isEmpty())
        home = QDir::home().filePath(QStringLiteral(".local/share"));
    QString system = qEnvironmentVariable("XDG_DATA_DIRS");
    if (system.isEmpty())
        system = QStringLiteral("/usr/local/share:/usr/share");
    QStringList dirs{home};
    dirs.append(system.split(QLatin1Char(':'), Qt::SkipEmptyParts));
    return dirs;
}

std::optional<DesktopEntry> DesktopEntries::byId(const QString &id) const
{
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
        [&](const DesktopEntry &entry) { return entry.id.compare(id, Qt::CaseInsensitive) == 0; });
    return it != m_entries.end() ? std::optional(*it) : std::nullopt;
}

std::optional<DesktopEntry> DesktopEntries::forWindowClass(const QString &wmInstance, const QString &wmClass) const
{
    const auto find = [this](auto pred) -> std::optional<DesktopEntry> {
        const auto it = std::find_if(m_entries.begin(), m_entries.end(), pred);
        return it != m_entries.end() ? std::optional(*it) : std::nullopt;
    };
    const auto same
        = [](const QString &a, const QString &b) { return !a.isEmpty() && a.compare(b, Qt::CaseInsensitive) == 0; };
    if (auto entry = find([&](const DesktopEntry &e) { return same(e.startupWMClass, wmClass); }))
        return entry;
    if (auto entry = find([&](const DesktopEntry &e) { return same(e.id, wmInstance) || same(e.id, wmClass); }))
        return entry;
    return find([&](const DesktopEntry &e) {
        return e.startupWMClass.isEmpty() && (same(programName(e), wmInstance) || same(programName(e), wmClass));
    });
}

std::optional<DesktopEntry> DesktopEntries::forName(const QString &name) const
{
    const QString query = name.trimmed().toLower();
    if (query.isEmpty())
        return std::nullopt;
    const Alias *alias = aliasFor(query);
    if (alias) {
        for (const L id : alias->desktopIds)
            if (auto entry = byId(id))
                return entry;
        for (const L program : alias->programs) {
            if (!QStandardPaths::findExecutable(program).isEmpty())
                return DesktopEntry{program, alias->displayName, program, {}, {}, {}};
        }
    }
    if (query.contains(QLatin1Char('.'))) {
        if (auto entry = byId(query))
            return entry;
    }
    const QString wanted = alias ? alias->displayName.toString().toLower() : query;
    const auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const DesktopEntry &entry) {
        return entry.name.toLower().contains(wanted) || entry.id.toLower().contains(wanted);
    });
    return it != m_entries.end() ? std::optional(*it) : std::nullopt;
}

} // namespace halvic::apps
