import QtQuick
import QtQuick.Controls.Basic
import Halvic.Panels

// One image popup: a title row with a close button over the image.
Item {
    id: popup

    required property url source
    required property string title
    required property int imageWidth
    required property int imageHeight

    signal closeRequested()

    implicitWidth: imageWidth + 24
    implicitHeight: imageHeight + 52

    GlassCard {
        anchors.fill: parent
        radius: 18
    }

    Column {
        anchors.fill: parent
        anchors.margins: 6
        spacing: 0

        Item {
            width: parent.width
            height: 40

            Text {
                anchors.left: parent.left
                anchors.leftMargin: 12
                anchors.right: closeButton.left
                anchors.verticalCenter: parent.verticalCenter
                text: popup.title
                color: "white"
                font.pixelSize: 12
                elide: Text.ElideRight
                maximumLineCount: 1
                textFormat: Text.PlainText
            }
            Button {
                id: closeButton
                anchors.right: parent.right
                anchors.rightMargin: 12
                anchors.verticalCenter: parent.verticalCenter
                flat: true
                padding: 2
                Accessible.name: "Close"
                ToolTip.visible: hovered
                ToolTip.text: "Close"
                background: Item {}
                contentItem: SymbolIcon {
                    symbol: "xmark.circle.fill"
                    size: 16
                    color: Qt.rgba(1, 1, 1, 0.7)
                }
                onClicked: popup.closeRequested()
            }
        }

        Image {
            width: popup.imageWidth
            height: popup.imageHeight
            source: popup.source
            fillMode: Image.PreserveAspectFit
            asynchronous: true
            smooth: true
            clip: true
        }
    }
}
