#include "MenuPopup.h"

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
    m_panel = std::move(panel);
    raw->show();
    // Placed once mapped: X11 window managers may move a window they map.
    raw->jumpTo(frame);
    raw->requestActivate();
    item->forceActiveFocus();
}

void MenuPopup::trigger(int row)
{
    const Menu &menu = m_entries.menu();
    if (row < 0 || row >= int(menu.size()) || !menus::choosable(menu[std::size_t(row)]))
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
