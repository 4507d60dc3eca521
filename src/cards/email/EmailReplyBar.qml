import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Halvic.Cards.Email
import Halvic.Panels

// The reply bar: the last error, the reply being written, its progress, and the two sends.
ColumnLayout {
    id: bar

    required property EmailPanel controller
    readonly property EmailModel thread: controller.model

    spacing: 8

    RowLayout {
        visible: bar.thread.errorText.length > 0
        spacing: 6
        Layout.fillWidth: true
        SymbolIcon {
            symbol: "exclamationmark.triangle.fill"
            size: 11
            color: HalvicStyle.orange
        }
        Text {
            text: bar.thread.errorText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            font.pixelSize: 11
            color: HalvicStyle.orange
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            Layout.fillWidth: true
        }
    }

    ScrollView {
        id: scroller
        Layout.fillWidth: true
        Layout.preferredHeight: Math.min(Math.max(field.implicitHeight, 34), 72)
        ScrollBar.horizontal.policy: ScrollBar.AlwaysOff
        background: Rectangle {
            radius: 12
            color: HalvicStyle.field
            border.color: HalvicStyle.hairline
            border.width: 1
        }

        TextArea {
            id: field
            placeholderText: qsTr("Write a reply…")
            placeholderTextColor: HalvicStyle.secondary
            text: bar.thread.replyText
            textFormat: TextEdit.PlainText
            wrapMode: TextEdit.Wrap
            color: HalvicStyle.primary
            selectionColor: HalvicStyle.accent
            font.pixelSize: 13
            padding: 8
            background: null
            Accessible.name: qsTr("Reply to %1").arg(bar.thread.title)

            onTextChanged: if (bar.thread.replyText !== text) bar.thread.replyText = text
            onPressed: bar.controller.activateInput()
            Keys.onPressed: (event) => {
                const isReturn = event.key === Qt.Key_Return || event.key === Qt.Key_Enter;
                if (isReturn && (event.modifiers & (Qt.ControlModifier | Qt.MetaModifier))) {
                    bar.controller.sendReply(false);
                    event.accepted = true;
                }
            }
            Connections {
                target: bar.thread
                function onReplyChanged() {
                    if (field.text !== bar.thread.replyText)
                        field.text = bar.thread.replyText;
                }
            }
        }
    }

    RowLayout {
        spacing: 8
        Layout.fillWidth: true

        BusyIndicator {
            visible: bar.thread.sending
            running: visible
            implicitWidth: 16
            implicitHeight: 16
            Accessible.name: qsTr("Sending")
        }
        Text {
            visible: bar.thread.sending
            text: qsTr("Sending…")
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            font.pixelSize: 12
            color: HalvicStyle.secondary
        }
        SymbolIcon {
            visible: bar.thread.sentFlash
            symbol: "checkmark.seal.fill"
            size: 11.5
            color: HalvicStyle.green
        }
        Text {
            visible: bar.thread.sentFlash
            text: qsTr("Sent")
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            font.pixelSize: 12
            color: HalvicStyle.green
        }
        Item {
            Layout.fillWidth: true
        }
        Button {
            id: replyAll
            text: qsTr("Reply all")
            enabled: bar.thread.canSend
            opacity: enabled ? 1 : 0.5
            focusPolicy: Qt.NoFocus
            font.pixelSize: 12
            ToolTip.visible: hovered
            ToolTip.text: qsTr("Reply to everyone on the thread")
            ToolTip.delay: 600
            Accessible.name: text
            Accessible.description: ToolTip.text
            contentItem: Text {
                text: replyAll.text
                font: replyAll.font
                color: HalvicStyle.primary
                Accessible.ignored: true
            }
            background: Rectangle {
                radius: height / 2
                color: replyAll.hovered ? HalvicStyle.controlHovered : HalvicStyle.field
                border.color: HalvicStyle.hairline
            }
            onClicked: bar.controller.sendReply(true)
        }
        Button {
            id: send
            text: qsTr("Send")
            enabled: bar.thread.canSend
            opacity: enabled ? 1 : 0.5
            focusPolicy: Qt.NoFocus
            leftPadding: 16
            rightPadding: 16
            topPadding: 6
            bottomPadding: 6
            font.pixelSize: 12
            font.weight: Font.DemiBold
            ToolTip.visible: hovered
            ToolTip.text: qsTr("Reply to the sender — Ctrl+Return works too")
            ToolTip.delay: 600
            Accessible.name: text
            Accessible.description: ToolTip.text
            contentItem: RowLayout {
                spacing: 5
                SymbolIcon {
                    symbol: "paperplane.fill"
                    size: 11
                    color: "white"
                }
                Text {
                    text: send.text
                    font: send.font
                    color: "white"
                    Accessible.ignored: true
                }
            }
            background: Rectangle {
                radius: height / 2
                color: HalvicStyle.accent
            }
            onClicked: bar.controller.sendReply(false)
        }
    }
}
