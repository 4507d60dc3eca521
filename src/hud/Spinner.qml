import QtQml
import Halvic.Hud
import Halvic.Panels

// A turning arrow circle: one full turn every 1.2 s, only while shown, on the HUD's one
// animation clock.
SymbolIcon {
    id: spinner
    symbol: "arrow.2.circlepath"
    rotation: visible ? (FrameClock.now % 1200) * 0.3 : 0

    onVisibleChanged: visible ? FrameClock.acquire() : FrameClock.release()
    Component.onCompleted: if (visible) FrameClock.acquire()
    Component.onDestruction: if (visible) FrameClock.release()
}
