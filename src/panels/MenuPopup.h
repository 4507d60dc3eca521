#pragma once

#include <QAbstractListModel>
#include <QPointF>
#include <QPointer>
#include <QQuickItem>
#include <QRect>
#include <QtQmlIntegration>

#include <memory>

#include "Menu.h"

class QQmlEngine;

namespace halvic {

class GlassPanel;
class Scheduler;

namespace menus {
/// Whether the entry can be chosen: no separator, enabled, with an action.
bool choosable(const MenuEntry &entry);
/// The next choosable entry `step` (+1 or -1) away from `from`, wrapping around; -1 when
/// there is none. From -1 it starts before the first (down) or after the last (up).
int step(const Menu &menu, int from, int step);
/// The first and the last choosable entry; -1 when there is none.
int first(const Menu &menu);
int last(const Menu &menu);
/// Top-left of a menu of `size` opened at `at`: below and right of it, flipped up or left
/// where it would leave `available`, and kept inside it.
QPoint placeAt(QPoint at, QSize size, const QRect &available);
} // namespace menus

/// The entries of the open menu as a list model for its view, with the current (keyboard)
/// entry. Triggering goes through the popup that owns it.
class MenuModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by a MenuPopup")
    Q_PROPERTY(int currentIndex READ currentIndex WRITE setCurrentIndex NOTIFY currentIndexChanged)
public:
    enum Role { TitleRole = Qt::UserRole + 1, ShortcutRole, EnabledRole, CheckableRole, CheckedRole, SeparatorRole };

    using QAbstractListModel::QAbstractListModel;

    void setMenu(Menu menu);
    const Menu &menu() const { return m_menu; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    int currentIndex() const { return m_current; }
    /// Makes `row` current when it can be chosen (the pointer over it); -1 clears.
    void setCurrentIndex(int row);
    Q_INVOKABLE void moveUp() { moveTo(menus::step(m_menu, m_current, -1)); }
    Q_INVOKABLE void moveDown() { moveTo(menus::step(m_menu, m_current, +1)); }
    Q_INVOKABLE void moveHome() { moveTo(menus::first(m_menu)); }
    Q_INVOKABLE void moveEnd() { moveTo(menus::last(m_menu)); }

signals:
    void currentIndexChanged();

private:
    void moveTo(int row);

    Menu m_menu;
    int m_current = -1;
};

/// The HUD's popup menus (the "More" menu, the HUD's and a transcript line's context menus)
/// in a glass window of their own. Unlike a widgets menu, its window and entries are on the
/// accessibility bus. It takes the keyboard, since the user opened it; it closes on Escape,
/// when it loses activation, and before the chosen entry runs. One menu at a time.
class MenuPopup : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")
    Q_PROPERTY(halvic::MenuModel *entries READ entries CONSTANT)
public:
    MenuPopup(QQmlEngine &qml, Scheduler &scheduler, QObject *parent = nullptr);
    ~MenuPopup() override;

    /// Shows `menu` at the global position `at`, replacing an open menu.
    void popup(const Menu &menu, QPointF at);
    bool isOpen() const;
    GlassPanel *window() const { return m_panel.get(); }

    MenuModel *entries() { return &m_entries; }
    /// Closes the menu, then runs the entry at `row` when it can be chosen.
    Q_INVOKABLE void trigger(int row);
    Q_INVOKABLE void triggerCurrent() { trigger(m_entries.currentIndex()); }
    Q_INVOKABLE void close();

private:
    QQmlEngine &m_qml;
    Scheduler &m_scheduler;
    MenuModel m_entries;
    std::unique_ptr<GlassPanel> m_panel;
};

/// One entry in a menu's view, on the accessibility bus as a menu item named by its title,
/// checked when it is, pressable. Its own accessible interface, because Qt Quick in this Qt
/// does not report a disabled item as disabled.
class MenuEntryItem : public QQuickItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(halvic::MenuPopup *popup READ popup WRITE setPopup NOTIFY entryChanged)
    Q_PROPERTY(int row READ row WRITE setRow NOTIFY entryChanged)
public:
    using QQuickItem::QQuickItem;

    MenuPopup *popup() const { return m_popup; }
    void setPopup(MenuPopup *popup);
    int row() const { return m_row; }
    void setRow(int row);
    /// The entry shown; none while the item is not set up.
    const MenuEntry *entry() const;

signals:
    void entryChanged();

private:
    QPointer<MenuPopup> m_popup;
    int m_row = -1;
};

} // namespace halvic
