#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QTest>

#include "AppMenus.h"
#include "Autostart.h"
#include "Desktop.h"
#include "HandGestures.h"
#include "HudRequests.h"
#include "Scheduler.h"

using namespace halvic;

namespace {

// "Title Shortcut [x]": what a menu item shows; "--" for a separator.
QString describe(const QString &title, const QString &shortcut, bool checkable, bool checked)
{
    QStringList parts{title};
    if (!shortcut.isEmpty())
        parts << shortcut;
    if (checkable)
        parts << (checked ? QStringLiteral("[x]") : QStringLiteral("[ ]"));
    return parts.join(u' ');
}

QStringList describe(const Menu &menu)
{
    QStringList items;
    for (const MenuEntry &entry : menu)
        items << (entry.separator ? QStringLiteral("--")
                                  : describe(entry.title, entry.shortcut, entry.checkable, entry.checked));
    return items;
}

QStringList describe(const QMenu &menu)
{
    QStringList items;
    const auto actions = menu.actions();
    for (const QAction *action : actions)
        items << (action->isSeparator()
                ? QStringLiteral("--")
                : describe(action->text(), action->shortcut().toString(), action->isCheckable(), action->isChecked()));
    return items;
}

} // namespace

class MenusTest : public QObject
{
    Q_OBJECT
private slots:
    void menusAreBuiltFromTheFeaturesEntries_data()
    {
        QTest::addColumn<bool>("atLogin");
        QTest::addColumn<QStringList>("tray");
        QTest::addColumn<QStringList>("more");
        QTest::newRow("start at login off") << false
                                            << QStringList{"Show / Hide HUD Ctrl+H", "Hand Gestures Ctrl+G [ ]",
                                                   "Start at Login [ ]", "--", "Quit Ctrl+Q"}
                                            << QStringList{"Hand Gestures Ctrl+G [ ]", "Start at Login [ ]"};
        QTest::newRow("start at login on") << true
                                           << QStringList{"Show / Hide HUD Ctrl+H", "Hand Gestures Ctrl+G [ ]",
                                                  "Start at Login [x]", "--", "Quit Ctrl+Q"}
                                           << QStringList{"Hand Gestures Ctrl+G [ ]", "Start at Login [x]"};
    }

    void menusAreBuiltFromTheFeaturesEntries()
    {
        QFETCH(bool, atLogin);
        QFETCH(QStringList, tray);
        QFETCH(QStringList, more);
        QTemporaryDir dir;
        const Autostart autostart(dir.filePath(QStringLiteral("halvic-hud.desktop")), {QStringLiteral("/bin/true")});
        ManualScheduler scheduler;
        QQmlEngine qml;
        const HudRequests requests{ControlChannel(dir.path())};
        const auto desktop = openDesktop(DesktopKind::None);
        HandGestures gestures(scheduler, qml, requests, *desktop);
        int quits = 0;
        const AppMenus menus{
            .hud =
                [] {
                    return Menu{{.title = QStringLiteral("Show / Hide HUD"),
                        .action = [] {},
                        .shortcut = QStringLiteral("Ctrl+H")}};
                },
            .features =
                [&] {
                    Menu menu = gestures.menuEntries();
                    menu.push_back(autostart.menuEntries().front());
                    return menu;
                },
            .quit = [&] { ++quits; },
        };
        QVERIFY(autostart.setEnabled(!atLogin));
        const auto widget = widgetMenu([&] { return menus.tray(); });
        // Check marks follow the entry file each time the menu opens, not when it was built.
        QVERIFY(autostart.setEnabled(atLogin));
        emit widget->aboutToShow();
        QCOMPARE(describe(*widget), tray);
        QCOMPARE(describe(menus.tray()), tray);
        QCOMPARE(describe(menus.moreExtras()), more);
        widget->actions().last()->trigger();
        QCOMPARE(quits, 1);
        menus.moreExtras().back().action();
        QCOMPARE(autostart.isEnabled(), !atLogin);
    }
};

QTEST_MAIN(MenusTest)
#include "tst_menus.moc"
