# Prints the screen extents "x y width height" of the first accessible object of the HUD
# whose name equals argv[1] (optionally also whose role name equals argv[2]); exits 1 when
# there is none. With --list, prints "role<TAB>name" of every showing object instead. Reads
# the tree over AT-SPI, as a screen reader would.
import sys

import pyatspi

APPS = {"Halvic", "halvic-hud"}


def walk(node, depth=0):
    if node is None or depth > 60:
        return
    yield node
    for i in range(node.childCount):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        yield from walk(child, depth + 1)


def showing():
    """Every object of the HUD that is showing (the application itself left out)."""
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None or app.name not in APPS:
            continue
        for node in walk(app):
            try:
                if node is not app and node.getState().contains(pyatspi.STATE_SHOWING):
                    yield node
            except Exception:
                continue


def main():
    if sys.argv[1] == "--list":
        for node in showing():
            try:
                print(f"{node.getRoleName()}\t{node.name}")
            except Exception:
                continue
        return 0
    name = sys.argv[1]
    role = sys.argv[2] if len(sys.argv) > 2 else None
    for node in showing():
        try:
            if node.name != name or (role and node.getRoleName() != role):
                continue
            ext = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        except Exception:
            continue
        print(ext.x, ext.y, ext.width, ext.height)
        return 0
    return 1


sys.exit(main())
