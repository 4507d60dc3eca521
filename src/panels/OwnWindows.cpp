#include "OwnWindows.h"

#include <QGuiApplication>

namespace halvic {

namespace {

OwnWindows &untouched()
{
    static OwnWindows windows;
    return windows;
}

OwnWindows *installed = nullptr;

} // namespace

void OwnWindows::prepare(QWindow &) { }

void OwnWindows::placed(QWindow &, const QRect &) { }

bool OwnWindows::leftButtonHeld()
{
    // Qt knows about presses on our own windows only.
    return QGuiApplication::mouseButtons() & Qt::LeftButton;
}

OwnWindows &OwnWindows::current()
{
    return installed ? *installed : untouched();
}

void OwnWindows::install(OwnWindows &windows)
{
    installed = &windows;
}

void OwnWindows::uninstall(const OwnWindows &windows)
{
    if (installed == &windows)
        installed = nullptr;
}

} // namespace halvic
