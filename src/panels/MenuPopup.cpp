#include "MenuPopup.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QGuiApplication>
#include <QKeySequence>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QScreen>

#include <algorithm>

#include "GlassPanel.h"

namespace halvic {

namespace menus {

bool choosable(const MenuEntry &entry)
{
    return !entry.separator && entry.enabled && bool(entry.action);
}

int step(const Menu &menu, int from, int step)
{
    const int count = int(menu.size());
    if (count == 0)
        return -1;
    int row = from >= 0 && from < count ? from : (step > 0 ? -1 : count);
    for (int i = 0; i < count; ++i) {
        row = ((row + step) % count + count) % count;
        if (choosable(menu[std::size_t(row)]))
            return row;
    }
    return -1;
}

int first(const Menu &menu)
{
    return step(menu, -1, +1);
}

int last(const Menu &menu)
{
    return step(menu, -1, -1);
}

QPoint placeAt(QPoint at, QSize size, const QRect &available)
{
    int x = at.x();
    int y = at.y();
    if (x + size.width() > available.right() + 1)
        x -= size.width();
    if (y + size.height() > available.bottom() + 1)
        y -= size.height();
    x = std::max(available.left(), std::min(x, available.right() + 1 - size.width()));
    y = std::max(available.top(), std::min(y, available.bottom() + 1 - size.height()));
    return {x, y};
}

} // namespace menus

namespace {

class MenuEntryAccessible : public QAccessibleObject, public QAccessibleActionInterface
{
public:
    explicit MenuEntryAccessible(MenuEntryItem *item)
        : QAccessibleObject(item)
    {
    }

    QWindow *window() const override { return item()->window(); }
    QAccessibleInterface *parent() const override
    {
        // The nearest item on the bus, else the window.
        for (QQuickItem *above = item()->parentItem(); above; above = above->parentItem()) {
            if (QAccessibleInterface *found = QAccessible::queryAccessibleInterface(above))
                return found;
        }
        return item()->window() ? QAccessible::queryAccessibleInterface(item()->window()) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QRect rect() const override { return QRect(item()->mapToGlobal(QPointF(0, 0)).toPoint(), item()->size().toSize()); }
    QString text(QAccessible::Text t) const override
    {
        const MenuEntry *entry = item()->entry();
        return t == QAccessible::Name && entry ? entry->title : QString();
    }
    QAccessible::Role role() const override
    {
        const MenuEntry *entry = item()->entry();
        return entry && entry->separator ? QAccessible::Separator : QAccessible::MenuItem;
    }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        const MenuEntry *entry = item()->entry();
        state.invisible = !item()->isVisible() || !item()->window() || !item()->window()->isVisible();
        state.disabled = !entry || !menus::choosable(*entry);
        state.focusable = !state.disabled;
        state.focused = item()->hasActiveFocus();
        state.checkable = entry && entry->checkable;
        state.checked = entry && entry->checkable && entry->checked;
        return state;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }
    QStringList actionNames() const override { return state().disabled ? QStringList() : QStringList{pressAction()}; }
    void doAction(const QString &name) override
    {
        // An entry of a menu already replaced is not pressed in the one open now.
        MenuPopup *popup = item()->popup();
        if (name == pressAction() && popup && item()->window() == popup->window())
            popup->trigger(item()->row());
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    MenuEntryItem *item() const { return static_cast<MenuEntryItem *>(object()); }
};

QAccessibleInterface *menuEntryAccessible(const QString &, QObject *object)
{
    auto *item = qobject_cast<MenuEntryItem *>(object);
    return item ? new MenuEntryAccessible(item) : nullptr;
}

} // namespace

void MenuEntryItem::setPopup(MenuPopup *popup)
{
    if (m_popup == popup)
        return;
    m_popup = popup;
    emit entryChanged();
}

void MenuEntryItem::setRow(int row)
{
    if (m_row == row)
        return;
    m_row = row;
    emit entryChanged();
}

const MenuEntry *MenuEntryItem::entry() const
{
    if (!m_popup)
        return nullptr;
    const Menu &menu = m_popup->entries()->menu();
    return m_row >= 0 && m_row < int(menu.size()) ? &menu[std::size_t(m_row)] : nullptr;
}

void MenuModel::setMenu(Menu menu)
{
    beginResetModel();
    m_menu = std::move(menu);
    m_current = -1;
    endResetModel();
    emit currentIndexChanged();
}

int MenuModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_menu.size());
}

QVariant MenuModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const MenuEntry &entry = m_menu[std::size_t(index.row())];
    switch (role) {
    case TitleRole:
        return entry.title;
    case ShortcutRole:
        return QKeySequence(entry.shortcut, QKeySequence::PortableText).toString(QKeySequence::NativeText);
    case EnabledRole:
        return menus::choosable(entry);
    case CheckableRole:
        return entry.checkable;
    case CheckedRole:
        return entry.checkable && entry.checked;
    case SeparatorRole:
        return entry.separator;
    default:
        return {};
    }
}

QHash<int, QByteArray> MenuModel::roleNames() const
{
    return {
        {TitleRole, "title"},
        {ShortcutRole, "shortcut"},
        {EnabledRole, "choosable"},
        {CheckableRole, "checkable"},
        {CheckedRole, "checked"},
        {SeparatorRole, "separator"},
    };
}

void MenuModel::setCurrentIndex(int row)
{
    if (row >= 0 && (row >= int(m_menu.size()) || !menus::choosable(m_menu[std::size_t(row)])))
        return;
    moveTo(row);
}

void MenuModel::moveTo(int row)
{
    if (row == m_current)
        return;
    m_current = row;
    emit currentIndexChanged();
}

MenuPopup::MenuPopup(QQmlEngine &qml, Scheduler &scheduler, QObject *parent)
    : QObject(parent)
    , m_qml(qml)
    , m_scheduler(scheduler)
{
    static const bool installed = (QAccessible::installFactory(&menuEntryAccessible), true);
    Q_UNUSED(installed);
}

MenuPopup::~MenuPopup() = default;

bool MenuPopup::isOpen() const
{
    return m_panel && m_panel->isVisible();
}

void MenuPopup::popup(const Menu &menu, QPointF at)
{
    close();
    if (menu.empty())
        return;
    m_entries.setMenu(menu);
    // Opened, the first entry is current, so a screen reader lands on the menu's first choice.
    m_entries.moveHome();

    QQmlComponent component(&m_qml, QUrl(QStringLiteral("qrc:/Halvic/Panels/MenuView.qml")));
    std::unique_ptr<QObject> view(
        component.createWithInitialProperties({{QStringLiteral("popup"), QVariant::fromValue(this)}}));
    auto *item = qobject_cast<QQuickItem *>(view.get());
    if (!item) {
        qWarning() << "the menu view did not load:" << component.errorString();
        return;
    }
    view.release();

    auto panel = std::make_unique<GlassPanel>(m_scheduler, QSize(200, 100));
    panel->setMovableByBackground(false);
    panel->setTitle(tr("Menu"));
    panel->setContent(item);
    const QSize size = panel->settledFittingSize().toSize().expandedTo(QSize(1, 1));
    panel->resize(size);
    const QPoint point = at.toPoint();
    const QScreen *screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect frame(screen ? menus::placeAt(point, size, screen->availableGeometry()) : point, size);
    GlassPanel *raw = panel.get();
    // A click elsewhere (or another window taking the keyboard) closes the menu.
    connect(raw, &QWindow::activeChanged, this, [this, raw] {
        if (m_panel.get() == raw && !raw->isActive())
            close();
    });
    // Past the window manager, so that it maps where it is put (a managed window would be
    // placed first and moved after: a click could land where it was).
    raw->setFlag(Qt::X11BypassWindowManagerHint);
    raw->setGeometry(frame);
    m_panel = std::move(panel);
    raw->show();
    raw->requestActivate();
    item->forceActiveFocus();
}

void MenuPopup::trigger(int row)
{
    const Menu &menu = m_entries.menu();
    if (!isOpen() || row < 0 || row >= int(menu.size()) || !menus::choosable(menu[std::size_t(row)]))
        return;
    // The action may open a card or quit: the menu is gone before it runs.
    const std::function<void()> action = menu[std::size_t(row)].action;
    close();
    action();
}

void MenuPopup::close()
{
    if (!m_panel)
        return;
    // The close may come from the menu's own view: let its handler finish first.
    GlassPanel *panel = m_panel.release();
    panel->hide();
    panel->deleteLater();
}

} // namespace halvic
