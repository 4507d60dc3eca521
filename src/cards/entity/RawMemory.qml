pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Halvic.Cards.Entity
import Halvic.Panels

// What the engine holds about the entity, as stored: folded behind a toggle.
ColumnLayout {
    id: raw

    required property EntityModel model
    property bool expanded: false

    // Another entity starts with the raw memory folded.
    readonly property string shownKey: model.key
    onShownKeyChanged: expanded = false

    spacing: 6

    ItemDelegate {
        id: rawToggle
        readonly property string help: (raw.expanded ? qsTr("Hide raw memory, %1") : qsTr("Show raw memory, %1"))
                                       .arg(raw.model.heading.rawLabel)
        focusPolicy: Qt.NoFocus
        padding: 4
        Layout.fillWidth: true
        Layout.topMargin: 6
        Accessible.name: help
        Accessible.role: Accessible.Button
        Accessible.ignored: !visible
        background: Rectangle {
            radius: HalvicStyle.controlRadius
            color: rawToggle.hovered ? HalvicStyle.controlHovered : "transparent"
        }
        contentItem: RowLayout {
            spacing: 6
            SymbolIcon {
                symbol: raw.expanded ? "chevron.down" : "chevron.right"
                color: HalvicStyle.secondary
            }
            SymbolIcon {
                symbol: "archivebox"
                color: HalvicStyle.secondary
            }
            DossierText {
                text: qsTr("Raw memory")
                color: HalvicStyle.secondary
            }
            DossierCaption {
                text: raw.model.heading.rawLabel
                Layout.fillWidth: true
            }
        }
        onClicked: raw.expanded = !raw.expanded
    }
    DossierCaption {
        visible: raw.expanded && raw.model.facts.count === 0
        text: qsTr("No raw memory stored.")
    }
    Repeater {
        model: raw.expanded ? raw.model.facts : null
        delegate: DossierCaption {
            required property string rawLine
            text: rawLine
            Layout.fillWidth: true
        }
    }
}
