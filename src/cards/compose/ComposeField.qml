import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Halvic.Panels

// One labelled text field of a draft: a small label above a plain field. `edited` reports
// the user's typing only, never a new draft's text.
ColumnLayout {
    id: field

    property string label
    property string text

    signal edited(string text)

    spacing: 4

    Text {
        text: field.label
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        font.pixelSize: 10
        font.weight: Font.DemiBold
        color: HalvicStyle.secondary
    }
    TextField {
        text: field.text
        Accessible.name: field.label
        font.pixelSize: 13
        color: HalvicStyle.primary
        selectByMouse: true
        leftPadding: 10
        rightPadding: 10
        topPadding: 6
        bottomPadding: 6
        background: Rectangle {
            radius: 10
            color: HalvicStyle.field
            border.width: 0.5
            border.color: HalvicStyle.hairline
        }
        Layout.fillWidth: true
        onTextEdited: field.edited(text)
    }
}
