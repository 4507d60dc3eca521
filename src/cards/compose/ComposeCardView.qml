pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Halvic.Cards
import Halvic.Cards.Compose
import Halvic.Panels

// The compose card: an email or event draft to review and edit, then send (book), cancel or
// close. Files dropped on an email draft are attached. Minimises to a bubble.
MinimizableCard {
    id: root

    required property ComposePanel controller
    readonly property ComposeModel draft: controller.model
    readonly property bool email: draft.isEmail

    state: controller.window.bubble
    icon: email ? "envelope.fill" : "calendar.badge.plus"
    help: qsTr("Draft minimized — hold to expand")
    // Files dropped on an email draft, or on its bubble, are attached.
    takesFiles: root.email
    onFilesOverChanged: root.draft.dropTargeted = root.filesOver
    onFilesDropped: drop => {
        if (root.controller.dropUrls(drop.urls))
            drop.accept(Qt.CopyAction);
        else
            drop.accepted = false;
    }

    GlassCard {
        width: 460
        height: column.implicitHeight + 32

        ColumnLayout {
            id: column
            x: 16
            y: 16
            width: parent.width - 32
            spacing: 10

            CardHeader {
                window: root.controller.window
                symbol: root.email ? "envelope.fill" : "calendar.badge.plus"
                symbolColor: HalvicStyle.cyan
                title: root.controller.heading
                closeHelp: qsTr("Close without sending")
                closeHides: false
                Layout.fillWidth: true
                onCloseClicked: root.controller.dismiss()
            }

            // The email draft.
            ColumnLayout {
                visible: root.email
                spacing: 10
                Layout.fillWidth: true

                ComposeField {
                    label: qsTr("To")
                    text: root.draft.to
                    Layout.fillWidth: true
                    onEdited: value => {
                        root.draft.to = value;
                        root.controller.noteEdited();
                    }
                }
                ComposeField {
                    label: qsTr("Cc")
                    text: root.draft.cc
                    Layout.fillWidth: true
                    onEdited: value => {
                        root.draft.cc = value;
                        root.controller.noteEdited();
                    }
                }
                ComposeField {
                    label: qsTr("Subject")
                    text: root.draft.subject
                    Layout.fillWidth: true
                    onEdited: value => {
                        root.draft.subject = value;
                        root.controller.noteEdited();
                    }
                }
                ColumnLayout {
                    spacing: 4
                    Layout.fillWidth: true

                    Text {
                        text: qsTr("Body")
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        font.pixelSize: 10
                        font.weight: Font.DemiBold
                        color: HalvicStyle.secondary
                    }
                    ScrollView {
                        Layout.fillWidth: true
                        Layout.preferredHeight: 170
                        background: Rectangle {
                            radius: 10
                            color: HalvicStyle.field
                            border.width: 0.5
                            border.color: HalvicStyle.hairline
                        }

                        TextArea {
                            text: root.draft.body
                            Accessible.name: qsTr("Body")
                            font.pixelSize: 13
                            color: HalvicStyle.primary
                            wrapMode: TextEdit.Wrap
                            selectByMouse: true
                            background: null
                            // A new draft's text arrives through the binding and equals the
                            // model's; anything else is the user typing.
                            onTextChanged: {
                                if (text === root.draft.body)
                                    return;
                                root.draft.body = text;
                                root.controller.noteEdited();
                            }
                        }
                    }
                }
                ColumnLayout {
                    spacing: 4
                    Layout.fillWidth: true

                    Text {
                        text: qsTr("Attachments")
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        font.pixelSize: 10
                        font.weight: Font.DemiBold
                        color: HalvicStyle.secondary
                    }
                    Rectangle {
                        radius: 10
                        color: HalvicStyle.field
                        border.width: root.draft.dropTargeted ? 1.5 : 0.5
                        border.color: root.draft.dropTargeted ? HalvicStyle.cyan : HalvicStyle.hairline
                        implicitHeight: 40
                        Layout.fillWidth: true

                        // A tap anywhere in the box picks files, also beside the chips once
                        // files are attached (the chips and their buttons lie above it).
                        Button {
                            anchors.fill: parent
                            flat: true
                            focusPolicy: Qt.NoFocus
                            Accessible.name: qsTr("Pick files to attach")
                            ToolTip.visible: hovered
                            ToolTip.text: qsTr("Pick files to attach")
                            ToolTip.delay: 600
                            background: null
                            contentItem: RowLayout {
                                visible: root.draft.attachments.count === 0
                                spacing: 6
                                SymbolIcon {
                                    symbol: "paperclip"
                                    size: 12
                                    color: HalvicStyle.secondary
                                    Layout.leftMargin: 10
                                }
                                Text {
                                    text: qsTr("Add files — or drop them on the card")
                                    Accessible.role: Accessible.StaticText
                                    Accessible.name: text
                                    Accessible.ignored: !visible
                                    font.pixelSize: 12
                                    color: HalvicStyle.secondary
                                    Layout.fillWidth: true
                                }
                            }
                            onClicked: root.controller.pickAttachments()
                        }

                        RowLayout {
                            anchors.fill: parent
                            anchors.leftMargin: 10
                            anchors.rightMargin: 10
                            visible: root.draft.attachments.count > 0
                            spacing: 6

                            // Built only for the chips in view, however many files there are.
                            ListView {
                                orientation: ListView.Horizontal
                                // Only a row of chips wider than the box scrolls; otherwise a
                                // press beside the chips goes through to the box.
                                interactive: contentWidth > width
                                clip: true
                                spacing: 6
                                boundsBehavior: Flickable.StopAtBounds
                                model: root.draft.attachments
                                Accessible.role: Accessible.List
                                Accessible.name: qsTr("Attachments")
                                Layout.fillWidth: true
                                Layout.preferredHeight: 24
                                Layout.alignment: Qt.AlignVCenter

                                delegate: Rectangle {
                                    id: chip

                                    required property string path
                                    required property string name

                                    height: 24
                                    width: chipRow.implicitWidth + 12
                                    radius: 12
                                    color: HalvicStyle.controlHovered

                                    RowLayout {
                                        id: chipRow
                                        anchors.centerIn: parent
                                        spacing: 4

                                        SymbolIcon {
                                            symbol: "doc.fill"
                                            size: 9
                                            color: HalvicStyle.secondary
                                        }
                                        Text {
                                            text: chip.name
                                            Accessible.role: Accessible.StaticText
                                            Accessible.name: text
                                            font.pixelSize: 10
                                            font.weight: Font.Medium
                                            color: HalvicStyle.primary
                                            elide: Text.ElideMiddle
                                            textFormat: Text.PlainText
                                            Layout.maximumWidth: 120
                                        }
                                        IconButton {
                                            symbol: "xmark"
                                            symbolSize: 8
                                            symbolWeight: Font.Bold
                                            help: qsTr("Remove %1").arg(chip.name)
                                            onClicked: root.controller.removeAttachment(chip.path)
                                        }
                                    }
                                }
                            }
                            Button {
                                flat: true
                                focusPolicy: Qt.NoFocus
                                Accessible.name: qsTr("Add more files")
                                background: null
                                contentItem: RowLayout {
                                    spacing: 4
                                    SymbolIcon {
                                        symbol: "paperclip"
                                        size: 11
                                        color: HalvicStyle.cyan
                                    }
                                    Text {
                                        text: qsTr("Add more")
                                        Accessible.ignored: true
                                        font.pixelSize: 11
                                        color: HalvicStyle.cyan
                                    }
                                }
                                onClicked: root.controller.pickAttachments()
                            }
                        }
                    }
                }
            }

            // The event draft.
            ColumnLayout {
                visible: !root.email
                spacing: 10
                Layout.fillWidth: true

                ComposeField {
                    label: qsTr("Title")
                    text: root.draft.title
                    Layout.fillWidth: true
                    onEdited: value => {
                        root.draft.title = value;
                        root.controller.noteEdited();
                    }
                }
                RowLayout {
                    spacing: 10
                    Layout.fillWidth: true

                    ComposeField {
                        label: qsTr("Starts")
                        text: root.draft.start
                        Layout.fillWidth: true
                        onEdited: value => {
                            root.draft.start = value;
                            root.controller.noteEdited();
                        }
                    }
                    ComposeField {
                        label: qsTr("Ends")
                        text: root.draft.end
                        Layout.fillWidth: true
                        onEdited: value => {
                            root.draft.end = value;
                            root.controller.noteEdited();
                        }
                    }
                }
                ComposeField {
                    label: qsTr("Attendees")
                    text: root.draft.attendees
                    Layout.fillWidth: true
                    onEdited: value => {
                        root.draft.attendees = value;
                        root.controller.noteEdited();
                    }
                }
                Switch {
                    id: meetSwitch
                    text: qsTr("Attach a Google Meet link")
                    checked: root.draft.meet
                    focusPolicy: Qt.NoFocus
                    font.pixelSize: 12
                    Accessible.name: text
                    contentItem: Text {
                        text: meetSwitch.text
                        Accessible.ignored: true
                        font: meetSwitch.font
                        color: HalvicStyle.primary
                        leftPadding: meetSwitch.indicator.width + meetSwitch.spacing
                        verticalAlignment: Text.AlignVCenter
                    }
                    onToggled: {
                        root.draft.meet = checked;
                        root.controller.noteEdited();
                    }
                }
                Rectangle {
                    visible: root.draft.context.length > 0
                    radius: 10
                    color: HalvicStyle.field
                    border.width: 0.5
                    border.color: HalvicStyle.hairline
                    implicitHeight: contextColumn.implicitHeight + 16
                    Layout.fillWidth: true

                    ColumnLayout {
                        id: contextColumn
                        x: 10
                        y: 8
                        width: parent.width - 20
                        spacing: 4

                        RowLayout {
                            spacing: 6
                            SymbolIcon {
                                symbol: "clock"
                                size: 11
                                color: HalvicStyle.secondary
                            }
                            Text {
                                text: qsTr("Also that day")
                                Accessible.role: Accessible.StaticText
                                Accessible.name: text
                                font.pixelSize: 11
                                font.weight: Font.DemiBold
                                color: HalvicStyle.secondary
                            }
                        }
                        // At most a handful of lines in view; a long day scrolls.
                        ListView {
                            clip: true
                            interactive: contentHeight > height
                            boundsBehavior: Flickable.StopAtBounds
                            model: root.draft.context
                            Accessible.role: Accessible.List
                            Accessible.name: qsTr("Also that day")
                            Layout.fillWidth: true
                            Layout.preferredHeight: Math.min(root.draft.context.length, 6) * 16

                            delegate: Text {
                                required property string modelData
                                width: ListView.view.width
                                height: 16
                                text: modelData
                                Accessible.role: Accessible.StaticText
                                Accessible.name: text
                                font.pixelSize: 11
                                color: HalvicStyle.primary
                                elide: Text.ElideRight
                                maximumLineCount: 1
                                textFormat: Text.PlainText
                            }
                        }
                    }
                }
            }

            // The decision.
            RowLayout {
                spacing: 8
                Layout.fillWidth: true

                Item {
                    Layout.fillWidth: true
                }
                Button {
                    id: cancelButton
                    text: qsTr("Cancel")
                    focusPolicy: Qt.NoFocus
                    // Named after what it acts on; the HUD has buttons of its own.
                    Accessible.name: root.email ? qsTr("Cancel email") : qsTr("Cancel event")
                    Accessible.description: root.email ? qsTr("Don't send this") : qsTr("Don't book this")
                    ToolTip.visible: hovered
                    ToolTip.text: Accessible.description
                    ToolTip.delay: 600
                    leftPadding: 14
                    rightPadding: 14
                    topPadding: 6
                    bottomPadding: 6
                    contentItem: Text {
                        text: cancelButton.text
                        Accessible.ignored: true
                        font.pixelSize: 12
                        color: HalvicStyle.primary
                        horizontalAlignment: Text.AlignHCenter
                    }
                    background: Rectangle {
                        radius: height / 2
                        color: cancelButton.down ? HalvicStyle.controlPressed : HalvicStyle.field
                        border.width: 0.5
                        border.color: HalvicStyle.hairline
                    }
                    onClicked: root.controller.cancel()
                }
                Button {
                    id: sendButton
                    text: root.email ? qsTr("Send") : qsTr("Book")
                    focusPolicy: Qt.NoFocus
                    Accessible.name: root.email ? qsTr("Send email") : qsTr("Book event")
                    Accessible.description: root.email ? qsTr("Send it — with your edits") : qsTr("Book it — with your edits")
                    ToolTip.visible: hovered
                    ToolTip.text: Accessible.description
                    ToolTip.delay: 600
                    leftPadding: 16
                    rightPadding: 16
                    topPadding: 6
                    bottomPadding: 6
                    contentItem: RowLayout {
                        spacing: 6
                        SymbolIcon {
                            symbol: root.email ? "paperplane.fill" : "checkmark"
                            size: 12
                            color: "white"
                        }
                        Text {
                            text: sendButton.text
                            Accessible.ignored: true
                            font.pixelSize: 12
                            font.weight: Font.DemiBold
                            color: "white"
                        }
                    }
                    background: Rectangle {
                        radius: height / 2
                        color: sendButton.down ? Qt.darker(HalvicStyle.accent, 1.2) : HalvicStyle.accent
                    }
                    onClicked: root.controller.send()
                }
            }
        }
    }
}
