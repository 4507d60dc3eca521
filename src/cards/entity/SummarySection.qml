import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Halvic.Cards.Entity
import Halvic.Panels

// The profile's summary and the user's read of the entity, and the editor that rewrites the
// summary.
ColumnLayout {
    id: summary

    required property EntityPanel controller
    readonly property EntityModel model: controller.model

    spacing: 6

    RowLayout {
        Layout.fillWidth: true
        DossierSectionTitle {
            text: qsTr("Summary")
            Layout.fillWidth: true
        }
        IconButton {
            visible: !summary.model.editingSummary
            symbol: "pencil"
            tint: HalvicStyle.secondary
            help: qsTr("Rewrite this summary")
            Accessible.ignored: !visible
            onClicked: summary.controller.beginEditSummary()
        }
    }
    DossierText {
        visible: !summary.model.editingSummary && text.length > 0
        text: summary.model.heading.summary
        Layout.fillWidth: true
    }
    DossierCaption {
        visible: !summary.model.editingSummary && summary.model.heading.read.length > 0
        text: qsTr("your read: %1").arg(summary.model.heading.read)
        font.italic: true
        Layout.fillWidth: true
    }
    ColumnLayout {
        visible: summary.model.editingSummary
        spacing: 6
        Layout.fillWidth: true

        ScrollView {
            Layout.fillWidth: true
            Layout.preferredHeight: Math.min(summaryField.implicitHeight, 84)
            TextArea {
                id: summaryField
                text: summary.model.summaryDraft
                textFormat: TextEdit.PlainText
                wrapMode: TextEdit.Wrap
                color: HalvicStyle.primary
                selectionColor: HalvicStyle.accent
                font.pixelSize: HalvicStyle.bodySize
                Accessible.name: qsTr("Summary")
                Accessible.ignored: !visible
                background: Rectangle {
                    radius: 8
                    color: HalvicStyle.field
                    border.width: 1
                    border.color: HalvicStyle.hairline
                }
                onTextChanged: if (summary.model.summaryDraft !== text) summary.model.summaryDraft = text
                onPressed: summary.controller.activateInput()
            }
        }
        RowLayout {
            spacing: 6
            Layout.alignment: Qt.AlignRight
            Button {
                text: qsTr("Cancel")
                focusPolicy: Qt.NoFocus
                Accessible.name: qsTr("Cancel rewriting the summary")
                Accessible.ignored: !visible
                onClicked: summary.controller.cancelEditSummary()
            }
            Button {
                text: qsTr("Save")
                focusPolicy: Qt.NoFocus
                Accessible.name: qsTr("Save the summary")
                Accessible.ignored: !visible
                onClicked: summary.controller.saveSummary()
            }
        }
    }
}
