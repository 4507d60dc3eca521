import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Halvic.Hud
import Halvic.Model
import Halvic.Panels

// The chat input: attachment chips, then a bar with attach, the message field, the
// spoken-replies toggle and send. Return sends; Shift-Return breaks the line.
ColumnLayout {
    id: input

    required property AppModel app
    required property HudController hud

    spacing: 6

    ListView {
        id: chips
        visible: input.app.attachments.length > 0
        Layout.fillWidth: true
        Layout.preferredHeight: 24
        orientation: ListView.Horizontal
        spacing: 6
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        model: input.hud.attachmentNames
        Accessible.role: Accessible.List
        Accessible.name: qsTr("Attachments")

        delegate: Rectangle {
            id: attachment
            required property string modelData
            required property int index
            readonly property string name: modelData
            height: 22
            width: chipRow.implicitWidth + 14
            radius: 11
            color: HalvicStyle.field
            border.width: 1
            border.color: HalvicStyle.hairline

            RowLayout {
                id: chipRow
                anchors.centerIn: parent
                spacing: 4
                SymbolIcon { symbol: "doc.fill"; size: 9; color: HalvicStyle.secondary }
                Text {
                    text: attachment.name
                    textFormat: Text.PlainText
                    font.pixelSize: 10
                    color: HalvicStyle.primary
                    elide: Text.ElideMiddle
                    maximumLineCount: 1
                    Layout.maximumWidth: 120
                    Accessible.name: attachment.name
                }
                IconButton {
                    symbol: "xmark"
                    symbolSize: 8
                    symbolWeight: Font.Bold
                    padding: 1
                    tint: HalvicStyle.secondary
                    help: qsTr("Remove %1").arg(attachment.name)
                    onClicked: input.hud.removeAttachment(attachment.index)
                }
            }
        }
    }

    Rectangle {
        id: bar
        Layout.fillWidth: true
        implicitHeight: row.implicitHeight + 10
        radius: 16
        color: HalvicStyle.field
        border.width: 1
        border.color: HalvicStyle.hairline

        // A click anywhere on the bar brings typing to the field.
        MouseArea {
            anchors.fill: parent
            onClicked: {
                input.hud.activateInput();
                field.forceActiveFocus();
            }
        }

        RowLayout {
            id: row
            anchors.fill: parent
            anchors.leftMargin: 6
            anchors.rightMargin: 6
            anchors.topMargin: 5
            anchors.bottomMargin: 5
            spacing: 4

            IconButton {
                Layout.alignment: Qt.AlignBottom
                symbol: "paperclip"
                tint: HalvicStyle.secondary
                help: qsTr("Attach files")
                onClicked: input.hud.attach()
            }

            ScrollView {
                id: scroller
                Layout.fillWidth: true
                Layout.alignment: Qt.AlignVCenter
                // One to eight lines, then it scrolls.
                readonly property real lineHeight: Math.ceil(fieldMetrics.height)
                Layout.preferredHeight: Math.min(Math.max(field.contentHeight, lineHeight), lineHeight * 8)
                                        + field.topPadding + field.bottomPadding
                ScrollBar.horizontal.policy: ScrollBar.AlwaysOff

                TextArea {
                    id: field
                    placeholderText: qsTr("Message Halvic\u2026")
                    placeholderTextColor: HalvicStyle.secondary
                    text: input.app.draft
                    textFormat: TextEdit.PlainText
                    wrapMode: TextEdit.Wrap
                    color: HalvicStyle.primary
                    selectionColor: HalvicStyle.accent
                    font.pixelSize: 13
                    padding: 2
                    background: null
                    Accessible.name: placeholderText

                    onTextChanged: if (input.app.draft !== text) input.app.draft = text
                    onPressed: input.hud.activateInput()
                    Keys.onPressed: (event) => {
                        // Copied files or a picture become attachments; text pastes as usual.
                        if (event.matches(StandardKey.Paste)) {
                            event.accepted = input.hud.pasteAttachments();
                            return;
                        }
                        const isReturn = event.key === Qt.Key_Return || event.key === Qt.Key_Enter;
                        if (isReturn && !(event.modifiers & Qt.ShiftModifier)) {
                            input.hud.submit();
                            event.accepted = true;
                        }
                    }
                    Connections {
                        target: input.app
                        function onDraftChanged() {
                            if (field.text !== input.app.draft) {
                                field.text = input.app.draft;
                                field.cursorPosition = field.length;
                            }
                        }
                    }
                    TextMetrics {
                        id: fieldMetrics
                        font: field.font
                        text: "Mg"
                    }
                }
            }

            IconButton {
                Layout.alignment: Qt.AlignBottom
                symbol: input.app.textVoice ? "speaker.wave.2.fill" : "speaker.slash"
                symbolSize: 12
                tint: input.app.textVoice ? HalvicStyle.cyan : HalvicStyle.secondary
                help: input.app.textVoice ? qsTr("Typed replies are also spoken aloud") : qsTr("Typed replies are text only")
                onClicked: input.hud.toggleTextVoice()
            }
            IconButton {
                Layout.alignment: Qt.AlignBottom
                symbol: "arrow.up.circle.fill"
                symbolSize: 18
                tint: HalvicStyle.accent
                enabled: input.hud.canSend
                help: qsTr("Send")
                onClicked: input.hud.submit()
            }
        }
    }
}
