#include <QTest>

#include "DesktopChoice.h"

using namespace halvic;

Q_DECLARE_METATYPE(halvic::DesktopKind)

/// Which backend a session gets, from its environment ("NAME=value" pairs).
class DesktopChoiceTest : public QObject
{
    Q_OBJECT

private slots:
    void chosenFromTheSession_data()
    {
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<DesktopKind>("kind");
        QTest::newRow("X11") << QStringList{"DISPLAY=:0", "XDG_CURRENT_DESKTOP=GNOME"} << DesktopKind::X11;
        QTest::newRow("sway") << QStringList{"WAYLAND_DISPLAY=wayland-1", "DISPLAY=:0", "SWAYSOCK=/run/s.sock"}
                              << DesktopKind::Sway;
        QTest::newRow("Plasma") << QStringList{"WAYLAND_DISPLAY=wayland-0", "XDG_CURRENT_DESKTOP=KDE"}
                                << DesktopKind::KdeWayland;
        QTest::newRow("Ubuntu's GNOME") << QStringList{"XDG_SESSION_TYPE=wayland", "XDG_CURRENT_DESKTOP=ubuntu:GNOME"}
                                        << DesktopKind::GnomeWayland;
        QTest::newRow("another compositor")
            << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:1"} << DesktopKind::OtherWayland;
        QTest::newRow("a sway socket left in an X11 session")
            << QStringList{"DISPLAY=:0", "SWAYSOCK=/run/s.sock"} << DesktopKind::X11;
        QTest::newRow("no display") << QStringList{} << DesktopKind::None;
    }

    void chosenFromTheSession()
    {
        QFETCH(QStringList, environment);
        QFETCH(DesktopKind, kind);
        const auto variable = [&](const char *name) {
            const QString prefix = QString::fromLatin1(name) + u'=';
            for (const QString &pair : environment) {
                if (pair.startsWith(prefix))
                    return pair.mid(prefix.size());
            }
            return QString();
        };
        QCOMPARE(chooseDesktop(variable), kind);
        // Only sessions with a backend that reaches every application say nothing.
        QCOMPARE(desktopLimitation(kind).isEmpty(),
            kind == DesktopKind::X11 || kind == DesktopKind::Sway || kind == DesktopKind::None);
    }
};

QTEST_GUILESS_MAIN(DesktopChoiceTest)
#include "tst_desktopchoice.moc"
