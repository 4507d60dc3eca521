#include <QProcessEnvironment>
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
        QTest::addColumn<QString>("environment");
        QTest::addColumn<DesktopKind>("kind");
        QTest::newRow("X11") << "DISPLAY=:0 XDG_CURRENT_DESKTOP=GNOME" << DesktopKind::X11;
        QTest::newRow("sway") << "WAYLAND_DISPLAY=wayland-1 DISPLAY=:0 SWAYSOCK=/run/s.sock" << DesktopKind::Sway;
        QTest::newRow("Plasma") << "WAYLAND_DISPLAY=wayland-0 XDG_CURRENT_DESKTOP=KDE" << DesktopKind::KdeWayland;
        QTest::newRow("Ubuntu's GNOME") << "XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=ubuntu:GNOME"
                                        << DesktopKind::GnomeWayland;
        QTest::newRow("another compositor") << "WAYLAND_DISPLAY=wayland-0 DISPLAY=:1" << DesktopKind::OtherWayland;
        QTest::newRow("a sway socket left in an X11 session") << "DISPLAY=:0 SWAYSOCK=/run/s.sock" << DesktopKind::X11;
        QTest::newRow("no display") << "" << DesktopKind::None;
    }

    void chosenFromTheSession()
    {
        QFETCH(QString, environment);
        QFETCH(DesktopKind, kind);
        QProcessEnvironment session;
        for (const QString &pair : environment.split(u' ', Qt::SkipEmptyParts))
            session.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
        QCOMPARE(chooseDesktop([&](const char *name) { return session.value(QLatin1StringView(name)); }), kind);
        // Only sessions with a backend that reaches every application say nothing (GNOME's
        // backend tells itself when its extension is not enabled).
        QCOMPARE(desktopLimitation(kind).isEmpty(), kind != DesktopKind::OtherWayland);
    }
};

QTEST_GUILESS_MAIN(DesktopChoiceTest)
#include "tst_desktopchoice.moc"
