#pragma once

#include <functional>
#include <memory>

#include "Menu.h"

class QMenu;

namespace halvic {

/// Where the features' menu entries go. Each feature lists its entries once; the tray menu
/// carries the HUD's, the other features' and Quit; the HUD's "More" menu, which has its own
/// for the HUD and for quitting, carries the other features' when there is no tray.
struct AppMenus
{
    /// Showing the HUD, the assistant's power, the mic.
    std::function<Menu()> hud;
    /// Everything else a menu opens or switches (cards, gestures, start at login).
    std::function<Menu()> features;
    std::function<void()> quit;

    Menu tray() const;
    Menu moreExtras() const { return features ? features() : Menu(); }
};

/// A widgets menu (what a tray icon takes) with the items of `entries()`, built once from
/// them; each time it is about to show, the items take their checked and enabled states
/// from the entries afresh (so a change made elsewhere, a file edited say, shows).
std::unique_ptr<QMenu> widgetMenu(std::function<Menu()> entries);

} // namespace halvic
