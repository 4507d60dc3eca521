#include "AppMenus.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMenu>

namespace halvic {

Menu AppMenus::tray() const
{
    Menu menu = hud ? hud() : Menu();
    for (MenuEntry &entry : moreExtras())
        menu.push_back(std::move(entry));
    menu.push_back(MenuEntry::divider());
    menu.push_back({.title = QCoreApplication::translate("halvic::AppMenus", "Quit"),
        .action = quit,
        .shortcut = QStringLiteral("Ctrl+Q")});
    return menu;
}

namespace {

void applyStates(const QList<QAction *> &actions, const Menu &menu)
{
    // The items were built from these entries: a list that changed its length since (a
    // feature taken down while quitting) no longer lines up with them.
    if (actions.size() != qsizetype(menu.size()))
        return;
    for (qsizetype i = 0; i < actions.size(); ++i) {
        const MenuEntry &entry = menu[std::size_t(i)];
        if (entry.separator)
            continue;
        actions[i]->setEnabled(entry.enabled && bool(entry.action));
        actions[i]->setChecked(entry.checked);
    }
}

} // namespace

std::unique_ptr<QMenu> widgetMenu(std::function<Menu()> entries)
{
    auto menu = std::make_unique<QMenu>();
    for (const MenuEntry &entry : entries()) {
        if (entry.separator) {
            menu->addSeparator();
            continue;
        }
        QAction *action = menu->addAction(entry.title);
        action->setShortcut(QKeySequence(entry.shortcut, QKeySequence::PortableText));
        action->setCheckable(entry.checkable);
        if (entry.action)
            QObject::connect(action, &QAction::triggered, menu.get(), entry.action);
    }
    applyStates(menu->actions(), entries());
    QMenu *raw = menu.get();
    QObject::connect(
        raw, &QMenu::aboutToShow, raw, [raw, entries = std::move(entries)] { applyStates(raw->actions(), entries()); });
    return menu;
}

} // namespace halvic
