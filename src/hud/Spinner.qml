import QtQuick
import Halvic.Panels

// A turning arrow circle: one full turn every 1.2 s, only while shown.
SymbolIcon {
    id: spinner
    symbol: "arrow.2.circlepath"
    RotationAnimation on rotation {
        from: 0
        to: 360
        duration: 1200
        loops: Animation.Infinite
        running: spinner.visible
    }
}
