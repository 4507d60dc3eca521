pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Halvic.Cards.Email
import Halvic.Panels

// One message of the thread: a header that opens and closes it; when open, the addresses,
// the body, the remote-images control and the attachments.
Rectangle {
    id: message

    required property EmailPanel controller
    /// The thread's scroll view: wheel events over a body that fits scroll it.
    required property Flickable thread

    required property string msgId
    required property string sender
    required property bool outgoing
    required property string preview
    required property string dateHuman
    required property string to
    required property string cc
    required property string bodyPage
    required property string bodyText
    required property int imagesBlocked
    required property var attachments
    required property int attachmentCount
    required property bool expanded
    required property bool imagesPending

    implicitHeight: content.implicitHeight + 20
    radius: 12
    color: outgoing ? Qt.rgba(0.39, 0.82, 1, 0.07) : Qt.rgba(0.95, 0.95, 0.97, 0.04)
    border.color: Qt.rgba(1, 1, 1, 0.1)
    border.width: 0.5

    ColumnLayout {
        id: content
        x: 10
        y: 10
        width: parent.width - 20
        spacing: 8

        AbstractButton {
            id: header
            readonly property string help: message.expanded ? qsTr("Collapse this message") : qsTr("Expand this message")
            Layout.fillWidth: true
            focusPolicy: Qt.NoFocus
            ToolTip.visible: hovered
            ToolTip.text: help
            ToolTip.delay: 600
            // Named after the message it opens, so each header says which.
            Accessible.name: message.dateHuman ? qsTr("%1: %2, %3").arg(help).arg(message.sender).arg(message.dateHuman)
                                               : qsTr("%1: %2").arg(help).arg(message.sender)
            onClicked: message.controller.toggleExpand(message.msgId)

            padding: 0
            contentItem: RowLayout {
                spacing: 6
                SymbolIcon {
                    symbol: message.expanded ? "chevron.down" : "chevron.right"
                    size: 9
                    font.weight: Font.Bold
                    color: HalvicStyle.secondary
                }
                Text {
                    text: message.sender
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    font.pixelSize: 13
                    font.weight: Font.DemiBold
                    color: message.outgoing ? HalvicStyle.cyan : HalvicStyle.primary
                    textFormat: Text.PlainText
                    elide: Text.ElideRight
                    Layout.maximumWidth: 220
                }
                Text {
                    visible: !message.expanded
                    text: message.preview
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    font.pixelSize: 11
                    color: HalvicStyle.secondary
                    textFormat: Text.PlainText
                    elide: Text.ElideRight
                    maximumLineCount: 1
                    Layout.fillWidth: true
                }
                Item {
                    visible: message.expanded
                    Layout.fillWidth: true
                }
                Text {
                    text: message.dateHuman
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    font.pixelSize: 11
                    color: HalvicStyle.secondary
                    textFormat: Text.PlainText
                }
                SymbolIcon {
                    visible: message.attachmentCount > 0
                    symbol: "paperclip"
                    size: 10
                    color: HalvicStyle.secondary
                }
                Text {
                    visible: message.attachmentCount > 0
                    text: message.attachmentCount
                    Accessible.role: Accessible.StaticText
                    Accessible.name: message.attachmentCount === 1 ? qsTr("%1 attachment").arg(text) : qsTr("%1 attachments").arg(text)
                    font.pixelSize: 11
                    color: HalvicStyle.secondary
                }
            }
            background: null
        }

        Text {
            visible: message.expanded
            text: message.to
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            font.pixelSize: 11
            color: HalvicStyle.secondary
            textFormat: Text.PlainText
            elide: Text.ElideRight
            maximumLineCount: 1
            Layout.fillWidth: true
        }
        Text {
            visible: message.expanded && message.cc.length > 0
            text: qsTr("cc %1").arg(message.cc)
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            font.pixelSize: 11
            color: HalvicStyle.secondary
            textFormat: Text.PlainText
            elide: Text.ElideRight
            maximumLineCount: 1
            Layout.fillWidth: true
        }

        // The web engine is loaded only when a body needs it: plain-text mail never starts it.
        Loader {
            active: message.expanded && message.bodyPage.length > 0 && message.controller.webBodies
            visible: active
            source: "EmailHtmlBody.qml"
            Layout.fillWidth: true
            Layout.preferredHeight: item ? item.height : 0
            onLoaded: {
                item.page = Qt.binding(() => message.bodyPage);
                item.remoteImagesBlocked = Qt.binding(() => message.imagesBlocked > 0);
                item.controller = message.controller;
                item.thread = message.thread;
                item.title = qsTr("Message from %1").arg(message.sender);
            }
        }
        TextEdit {
            visible: message.expanded && (message.bodyPage.length === 0 || !message.controller.webBodies)
            text: message.bodyText
            readOnly: true
            selectByMouse: true
            textFormat: TextEdit.PlainText
            wrapMode: TextEdit.Wrap
            font.pixelSize: 13
            color: HalvicStyle.primary
            selectionColor: HalvicStyle.accent
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            Layout.fillWidth: true
        }

        RowLayout {
            visible: message.expanded && message.imagesBlocked >= 1
            spacing: 6
            BusyIndicator {
                visible: message.imagesPending
                running: visible
                implicitWidth: 16
                implicitHeight: 16
                Accessible.name: qsTr("Loading images")
            }
            Text {
                visible: message.imagesPending
                text: qsTr("Loading images…")
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                font.pixelSize: 11
                color: HalvicStyle.secondary
            }
            Button {
                id: loadImages
                visible: !message.imagesPending
                text: qsTr("Load images")
                flat: true
                focusPolicy: Qt.NoFocus
                font.pixelSize: 11
                ToolTip.visible: hovered
                ToolTip.text: qsTr("Remote images are blocked (tracking pixels) — load them for this message")
                ToolTip.delay: 600
                Accessible.name: qsTr("%1: %2").arg(text).arg(message.sender)
                Accessible.description: ToolTip.text
                contentItem: RowLayout {
                    spacing: 4
                    SymbolIcon {
                        symbol: "photo"
                        size: 11
                        color: HalvicStyle.cyan
                    }
                    Text {
                        text: loadImages.text
                        font: loadImages.font
                        color: HalvicStyle.cyan
                        Accessible.ignored: true
                    }
                }
                background: null
                onClicked: message.controller.loadImages(message.msgId)
            }
        }

        Flow {
            visible: message.expanded && message.attachmentCount > 0
            spacing: 6
            Layout.fillWidth: true

            Repeater {
                model: message.attachments
                delegate: AbstractButton {
                    id: chip
                    required property var modelData
                    focusPolicy: Qt.NoFocus
                    padding: 6
                    ToolTip.visible: hovered
                    ToolTip.text: modelData.help
                    ToolTip.delay: 600
                    Accessible.name: modelData.help
                    onClicked: message.controller.tapAttachment(message.msgId, modelData.attId)
                    contentItem: RowLayout {
                        spacing: 5
                        BusyIndicator {
                            visible: chip.modelData.downloading
                            running: visible
                            implicitWidth: 14
                            implicitHeight: 14
                            Accessible.name: qsTr("Downloading %1").arg(chip.modelData.filename)
                        }
                        SymbolIcon {
                            visible: !chip.modelData.downloading
                            symbol: chip.modelData.icon
                            size: 12
                            color: chip.modelData.onDisk ? HalvicStyle.cyan : HalvicStyle.secondary
                        }
                        Text {
                            text: chip.modelData.filename
                            Accessible.role: Accessible.StaticText
                            Accessible.name: text
                            font.pixelSize: 11
                            font.weight: Font.Medium
                            color: HalvicStyle.primary
                            textFormat: Text.PlainText
                            elide: Text.ElideMiddle
                            Layout.maximumWidth: 150
                        }
                        Text {
                            visible: text.length > 0
                            text: chip.modelData.sizeText
                            Accessible.role: Accessible.StaticText
                            Accessible.name: text
                            font.pixelSize: 10
                            color: HalvicStyle.secondary
                        }
                    }
                    background: Rectangle {
                        radius: 8
                        color: chip.hovered ? HalvicStyle.controlHovered : HalvicStyle.field
                        border.color: HalvicStyle.hairline
                        border.width: 0.5
                    }
                }
            }
        }
    }
}
