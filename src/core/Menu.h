#pragma once

#include <QString>

#include <functional>
#include <vector>

namespace halvic {

/// One item of a menu the HUD shows (the tray menu, the HUD's "More" and context menus, a
/// transcript line's menu). A plain value: a menu is built afresh each time it is shown, so
/// `checked` and `enabled` say what holds at that moment.
struct MenuEntry
{
    QString title;
    std::function<void()> action;
    bool enabled = true;
    bool checkable = false;
    bool checked = false;
    bool separator = false;
    /// In QKeySequence's portable text ("Ctrl+G"); empty for none.
    QString shortcut{};

    static MenuEntry divider()
    {
        MenuEntry entry;
        entry.separator = true;
        return entry;
    }
};
using Menu = std::vector<MenuEntry>;

} // namespace halvic
