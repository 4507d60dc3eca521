import QtQuick
import QtQuick.Layouts
import Halvic.Cards.Entity
import Halvic.Panels

// One section of the engine's composed layout: its title, then the body its kind names.
ColumnLayout {
    id: section

    required property EntityPanel controller
    required property string title
    // "text", "kv", "chips" or "list".
    required property string kind
    required property string body
    // The rows of a kv, chips or list section, as values of that kind's view type.
    required property var rows

    spacing: 4

    DossierSectionTitle {
        visible: text.length > 0
        text: section.title
    }
    // Not a bound pragma: the Loader below creates these components, which Qt 6.4 refuses
    // for components bound to this file's context.
    Loader {
        sourceComponent: ({text: textBody, kv: kvBody, chips: chipsBody, list: listBody})[section.kind] ?? null
        Layout.fillWidth: true
    }

    Component {
        id: textBody
        DossierText {
            text: section.body
        }
    }
    Component {
        id: kvBody
        ColumnLayout {
            spacing: 4
            Repeater {
                model: section.rows
                delegate: RowLayout {
                    id: kvRow
                    required property var modelData
                    spacing: 10
                    Layout.fillWidth: true
                    DossierCaption {
                        text: kvRow.modelData.k
                        Layout.preferredWidth: 150
                        Layout.alignment: Qt.AlignTop
                    }
                    DossierText {
                        text: kvRow.modelData.v
                        Layout.fillWidth: true
                    }
                }
            }
        }
    }
    Component {
        id: chipsBody
        Flow {
            spacing: 6
            Repeater {
                model: section.rows
                delegate: DossierCapsule {
                    required property var modelData
                    symbol: modelData.icon
                    tint: HalvicStyle.cyan
                    label: modelData.label
                    help: qsTr("Open %1").arg(modelData.value)
                    onClicked: section.controller.openComposedChip(modelData.kind, modelData.value)
                }
            }
        }
    }
    Component {
        id: listBody
        ColumnLayout {
            spacing: 4
            Repeater {
                model: section.rows
                delegate: ComposedListItem {
                    controller: section.controller
                }
            }
        }
    }
}
