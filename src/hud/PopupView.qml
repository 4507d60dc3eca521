import QtQuick
import Halvic.Panels

// One image popup: a title row with a close button over the image.
Item {
    id: popup

    /// The decoded picture, already at its display size.
    required property var image
    required property string title
    required property int imageWidth
    required property int imageHeight

    signal closeRequested()

    implicitWidth: imageWidth + 24
    implicitHeight: imageHeight + 52

    GlassCard {
        anchors.fill: parent
        radius: HalvicStyle.popupRadius
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
            IconButton {
                id: closeButton
                anchors.right: parent.right
                anchors.rightMargin: 12
                anchors.verticalCenter: parent.verticalCenter
                symbol: "xmark.circle.fill"
                symbolSize: 16
                tint: Qt.rgba(1, 1, 1, 0.7)
                help: qsTr("Close")
                onClicked: popup.closeRequested()
            }
        }

        RoundedImage {
            width: popup.imageWidth
            height: popup.imageHeight
            image: popup.image
            radius: HalvicStyle.popupImageRadius
        }
    }
}
