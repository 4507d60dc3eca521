import QtQuick
import Halvic.Hud
import Halvic.Model

// The docked strip's width handle: drag toward the screen's centre to widen the strip.
MouseArea {
    id: handle

    required property AppModel app
    required property HudController hud
    // The width when the drag started; negative while not dragging.
    property real startWidth: -1
    property real startX: 0

    width: 8
    cursorShape: Qt.SizeHorCursor
    hoverEnabled: true
    Accessible.role: Accessible.Separator
    Accessible.name: qsTr("Resize")

    onPressed: (mouse) => {
        startWidth = hud.dockStripWidth;
        // Global coordinates: the window itself changes while dragging.
        startX = mapToGlobal(mouse.x, mouse.y).x;
    }
    onPositionChanged: (mouse) => {
        if (pressed && startWidth >= 0)
            hud.dragDockWidth(startWidth, mapToGlobal(mouse.x, mouse.y).x - startX);
    }
    onReleased: startWidth = -1
    onCanceled: startWidth = -1
}
