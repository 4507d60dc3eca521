#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/types.h>

namespace halvic::testing {

/// A private engine root for one test: main.py holds the script the test gives, and
/// .venv/bin/python is the system interpreter, so the HUD starts it like a real engine.
class EngineRoot
{
public:
    explicit EngineRoot(const QByteArray &script = {})
    {
        QDir(m_dir.path()).mkpath(QStringLiteral(".venv/bin"));
        QFile::link(QStringLiteral("/usr/bin/python3"), python());
        if (!script.isEmpty())
            setScript(script);
    }

    QString path() const { return m_dir.path(); }
    QString python() const { return file(QStringLiteral(".venv/bin/python")); }
    QString script() const { return file(QStringLiteral("main.py")); }
    QString control() const { return file(QStringLiteral("control")); }
    QString file(const QString &relative) const { return QDir(m_dir.path()).filePath(relative); }
    QString controlFile(const QString &name) const { return QDir(control()).filePath(name); }

    void setScript(const QByteArray &script) const
    {
        QFile file(this->script());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(script);
    }

private:
    QTemporaryDir m_dir;
};

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Whether a process with this id exists and is not a zombie.
inline bool processAlive(qint64 pid)
{
    if (pid <= 0 || ::kill(pid_t(pid), 0) != 0)
        return false;
    const QByteArray stat = readAll(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype close = stat.lastIndexOf(')');
    return close < 0 || stat.mid(close + 2, 1) != "Z";
}

/// The pids written, one per line, by scripted engines into `path`.
inline QList<qint64> pidsIn(const QString &path)
{
    QList<qint64> pids;
    const QList<QByteArray> lines = readAll(path).split('\n');
    for (const QByteArray &line : lines) {
        bool ok = false;
        const qint64 pid = line.trimmed().toLongLong(&ok);
        if (ok)
            pids.append(pid);
    }
    return pids;
}

/// A scripted engine from tests/support/engines: the shared prelude followed by `name`.py.
inline QByteArray scriptedEngine(const char *name)
{
    const QString folder = qEnvironmentVariable("HALVIC_SOURCE_DIR") + QStringLiteral("/tests/support/engines/");
    const QByteArray prelude = readAll(folder + QStringLiteral("prelude.py"));
    const QByteArray body = readAll(folder + QString::fromLatin1(name) + QStringLiteral(".py"));
    if (prelude.isEmpty() || body.isEmpty())
        qFatal("scripted engine %s not found (is HALVIC_SOURCE_DIR set?)", name);
    return prelude + "\n" + body;
}

} // namespace halvic::testing
