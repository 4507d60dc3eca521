pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Halvic.Cards.Memory
import Halvic.Panels

// One memory: its text and footer, a correction button and a forget button; while
// correcting, a field with save and cancel. The edit state and draft are the model's, so
// they outlive the row when it scrolls out of view.
Column {
    id: row

    required property MemoryPanel controller
    required property string memoryId
    required property string text
    required property string footer
    required property bool linked

    readonly property var corrections: controller.model.corrections
    readonly property bool editing: corrections[memoryId] !== undefined

    RowLayout {
        visible: !row.editing
        width: parent.width
        spacing: 6

        ColumnLayout {
            spacing: 3
            Layout.fillWidth: true
            Layout.leftMargin: 14
            Layout.topMargin: 7
            Layout.bottomMargin: 7

            Text {
                text: row.text
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                font.pixelSize: 13
                color: HalvicStyle.primary
                wrapMode: Text.Wrap
                textFormat: Text.PlainText
                Layout.fillWidth: true
            }
            Text {
                visible: row.footer.length > 0
                text: row.footer
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                font.pixelSize: 10
                color: HalvicStyle.secondary
                wrapMode: Text.Wrap
                textFormat: Text.PlainText
                Layout.fillWidth: true
            }
        }
        SymbolIcon {
            visible: row.linked
            symbol: "link"
            size: 11
            color: HalvicStyle.accent
            Accessible.ignored: false
            Accessible.role: Accessible.Graphic
            Accessible.name: qsTr("connected fact")
        }
        IconButton {
            symbol: "pencil"
            symbolSize: 11
            tint: HalvicStyle.secondary
            // Named after the memory it acts on.
            help: qsTr("Correct this memory: %1").arg(row.text)
            onClicked: {
                row.controller.beginCorrection(row.memoryId);
                draft.forceActiveFocus();
            }
        }
        IconButton {
            symbol: "trash"
            symbolSize: 11
            tint: Qt.rgba(1, 0.27, 0.23, 0.85)
            help: qsTr("Forget this \u2014 delete permanently: %1").arg(row.text)
            Layout.rightMargin: 14
            onClicked: row.controller.forget(row.memoryId, row.text)
        }
    }

    RowLayout {
        visible: row.editing
        width: parent.width
        spacing: 6

        TextArea {
            id: draft
            text: row.editing ? row.corrections[row.memoryId] : ""
            onTextChanged: if (row.editing) row.controller.setCorrectionDraft(row.memoryId, text)
            textFormat: TextEdit.PlainText
            wrapMode: TextEdit.Wrap
            color: HalvicStyle.primary
            selectionColor: HalvicStyle.accent
            font.pixelSize: 13
            padding: 4
            background: Rectangle {
                radius: HalvicStyle.controlRadius
                color: HalvicStyle.field
            }
            Accessible.name: qsTr("Correction of: %1").arg(row.text)
            Layout.fillWidth: true
            Layout.leftMargin: 14
            Layout.topMargin: 7
            Layout.bottomMargin: 7
            // One to four lines, then it scrolls within itself.
            Layout.maximumHeight: Math.ceil(font.pixelSize * 1.4) * 4 + topPadding + bottomPadding
            Keys.onPressed: (event) => {
                const isReturn = event.key === Qt.Key_Return || event.key === Qt.Key_Enter;
                if (isReturn && !(event.modifiers & Qt.ShiftModifier)) {
                    row.controller.commitCorrection(row.memoryId);
                    event.accepted = true;
                }
            }
        }
        IconButton {
            symbol: "checkmark.circle.fill"
            symbolSize: 15
            tint: HalvicStyle.green
            help: qsTr("Save correction: %1").arg(row.text)
            onClicked: row.controller.commitCorrection(row.memoryId)
        }
        Button {
            id: cancel
            text: qsTr("Cancel")
            flat: true
            focusPolicy: Qt.NoFocus
            font.pixelSize: 11
            Accessible.name: qsTr("Cancel correction: %1").arg(row.text)
            Layout.rightMargin: 14
            contentItem: Text {
                text: cancel.text
                font: cancel.font
                color: HalvicStyle.secondary
                Accessible.ignored: true
            }
            background: null
            onClicked: row.controller.cancelCorrection(row.memoryId)
        }
    }

    Rectangle {
        width: parent.width
        height: 1
        color: HalvicStyle.separator
    }
}
