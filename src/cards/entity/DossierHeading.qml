pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Halvic.Cards.Entity
import Halvic.Panels

// The dossier's heading: type, name, aliases, counts, the composed role and badges, and a
// shimmer while the engine arranges the dossier.
ColumnLayout {
    id: heading

    required property EntityModel model
    // The shimmer runs only while the card is on screen.
    property bool animate: true

    spacing: 4

    RowLayout {
        spacing: 8
        Layout.fillWidth: true

        Rectangle {
            id: typePill
            readonly property color tint: HalvicStyle.named(heading.model.heading.typeColor)
            implicitWidth: typeRow.implicitWidth + 14
            implicitHeight: typeRow.implicitHeight + 4
            radius: height / 2
            color: Qt.rgba(tint.r, tint.g, tint.b, 0.2)

            Row {
                id: typeRow
                anchors.centerIn: parent
                spacing: 4
                SymbolIcon {
                    symbol: heading.model.heading.typeIcon
                    size: 10
                    color: typePill.tint
                    anchors.verticalCenter: parent.verticalCenter
                }
                DossierText {
                    text: heading.model.heading.typeLabel
                    font.pixelSize: 10
                    font.weight: Font.DemiBold
                    color: typePill.tint
                    wrapMode: Text.NoWrap
                    anchors.verticalCenter: parent.verticalCenter
                }
            }
        }
        TextEdit {
            text: heading.model.heading.title
            readOnly: true
            selectByMouse: true
            textFormat: TextEdit.PlainText
            wrapMode: TextEdit.Wrap
            color: "white"
            selectionColor: HalvicStyle.accent
            font.pixelSize: 15
            font.weight: Font.DemiBold
            activeFocusOnPress: false
            Accessible.role: Accessible.Heading
            Accessible.name: text
            Accessible.ignored: !visible
            Layout.fillWidth: true
        }
        BusyIndicator {
            visible: heading.model.loading
            running: visible
            Accessible.name: qsTr("Opening…")
            Accessible.ignored: !visible
            Layout.preferredWidth: 18
            Layout.preferredHeight: 18
        }
    }
    DossierCaption {
        visible: text.length > 0
        text: heading.model.heading.aka
        Layout.fillWidth: true
    }
    DossierCaption {
        text: heading.model.heading.countsLine
        Layout.fillWidth: true
    }
    DossierText {
        visible: heading.model.hasComposed && text.length > 0
        text: heading.model.roleLine
        font.pixelSize: 12
        Layout.fillWidth: true
    }
    Flow {
        visible: heading.model.hasComposed && badges.count > 0
        spacing: 6
        Layout.fillWidth: true
        Repeater {
            id: badges
            model: heading.model.badges
            delegate: Rectangle {
                id: badgeCapsule
                required property string modelData
                implicitWidth: badge.implicitWidth + 12
                implicitHeight: badge.implicitHeight + 4
                radius: height / 2
                color: HalvicStyle.field
                border.width: 1
                border.color: HalvicStyle.hairline
                DossierText {
                    id: badge
                    anchors.centerIn: parent
                    text: badgeCapsule.modelData
                    wrapMode: Text.NoWrap
                    font.pixelSize: 10
                }
            }
        }
    }
    // While the engine arranges the dossier.
    Item {
        visible: heading.model.composing
        clip: true
        implicitWidth: organizing.implicitWidth
        implicitHeight: organizing.implicitHeight

        Row {
            id: organizing
            spacing: 4
            SymbolIcon {
                symbol: "sparkles"
                size: 11
                color: HalvicStyle.purple
                anchors.verticalCenter: parent.verticalCenter
            }
            DossierCaption {
                text: qsTr("organizing…")
                wrapMode: Text.NoWrap
                anchors.verticalCenter: parent.verticalCenter
            }
        }
        Rectangle {
            id: band
            width: parent.width * 0.5
            height: parent.height
            gradient: Gradient {
                orientation: Gradient.Horizontal
                GradientStop { position: 0; color: Qt.rgba(1, 1, 1, 0) }
                GradientStop { position: 0.5; color: Qt.rgba(1, 1, 1, 0.35) }
                GradientStop { position: 1; color: Qt.rgba(1, 1, 1, 0) }
            }
            NumberAnimation on x {
                running: heading.model.composing && heading.animate
                from: -0.85 * band.parent.width
                to: band.parent.width
                duration: 1150
                easing.type: Easing.InOutQuad
                loops: Animation.Infinite
            }
        }
    }
}
