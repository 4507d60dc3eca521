pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Halvic.Cards
import Halvic.Cards.Storage
import Halvic.Panels

// The storage card: the user's stored files as a grid of tiles, with upload (button or
// drop), refresh, and a count. Minimises to a bubble.
MinimizableCard {
    id: root

    required property StoragePanel controller
    readonly property StorageModel files: controller.model
    readonly property int count: files.files.count

    state: controller.window.bubble
    icon: "folder.fill"
    help: qsTr("Your files — hold to expand")
    // Files dropped on the card, or on its bubble, are uploaded.
    takesFiles: true
    onFilesOverChanged: root.files.dropTargeted = root.filesOver
    onFilesDropped: drop => {
        root.controller.upload(drop.urls);
        drop.accept(Qt.CopyAction);
    }

    GlassCard {
        width: 720
        height: Math.max(root.controller.cardHeight, root.height)
        radius: 18

        ColumnLayout {
            anchors.fill: parent
            spacing: 0

            CardHeader {
                window: root.controller.window
                symbol: "folder.fill"
                title: qsTr("My Files")
                Layout.fillWidth: true
                Layout.margins: 14

                RowLayout {
                    visible: root.files.uploading
                    spacing: 4
                    BusyIndicator {
                        running: root.files.uploading
                        implicitWidth: 16
                        implicitHeight: 16
                        Accessible.name: qsTr("Uploading")
                    }
                    Text {
                        text: qsTr("Uploading…")
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        font.pixelSize: 11
                        color: HalvicStyle.secondary
                    }
                }
                Text {
                    visible: !root.files.uploading && root.count > 0
                    text: root.count === 1 ? qsTr("%1 item").arg(root.count) : qsTr("%1 items").arg(root.count)
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    font.pixelSize: 11
                    color: HalvicStyle.secondary
                }
                Item {
                    Layout.fillWidth: true
                }
                Button {
                    id: addButton
                    text: qsTr("Add files")
                    flat: true
                    focusPolicy: Qt.NoFocus
                    Accessible.name: text
                    Accessible.description: qsTr("Upload files to storage")
                    ToolTip.visible: hovered
                    ToolTip.text: Accessible.description
                    ToolTip.delay: 600
                    padding: 4
                    contentItem: RowLayout {
                        spacing: 4
                        SymbolIcon {
                            symbol: "plus"
                            size: 11.5
                            color: HalvicStyle.primary
                        }
                        Text {
                            text: addButton.text
                            Accessible.ignored: true
                            font.pixelSize: 12
                            color: HalvicStyle.primary
                        }
                    }
                    background: Rectangle {
                        radius: HalvicStyle.controlRadius
                        color: addButton.down ? HalvicStyle.controlPressed
                                              : (addButton.hovered ? HalvicStyle.controlHovered : "transparent")
                    }
                    onClicked: root.controller.pickFiles()
                }
                IconButton {
                    symbol: "arrow.clockwise"
                    symbolSize: 12
                    symbolWeight: Font.DemiBold
                    help: qsTr("Refresh the list")
                    onClicked: root.controller.refresh()
                }
            }
            Rectangle {
                height: 1
                color: HalvicStyle.separator
                Layout.fillWidth: true
            }

            // Nothing stored yet.
            ColumnLayout {
                visible: root.count === 0
                spacing: 6
                Layout.fillWidth: true
                Layout.fillHeight: true
                Layout.margins: 16

                Item {
                    Layout.fillHeight: true
                }
                SymbolIcon {
                    symbol: "tray"
                    size: 30
                    color: HalvicStyle.secondary
                    Layout.alignment: Qt.AlignHCenter
                }
                Text {
                    text: qsTr("No files yet.")
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    font.pixelSize: 13
                    color: HalvicStyle.primary
                    Layout.alignment: Qt.AlignHCenter
                }
                Text {
                    text: qsTr("Drop files here, or use “Add files”.")
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    font.pixelSize: 11
                    color: HalvicStyle.secondary
                    Layout.alignment: Qt.AlignHCenter
                }
                Item {
                    Layout.fillHeight: true
                }
            }

            // Adaptive columns, 120 to 168 points wide with 14 between; tiles are built only
            // for the rows in view, however many files there are.
            GridView {
                id: grid

                readonly property int columns: Math.max(1, Math.floor((width + 14) / (120 + 14)))

                visible: root.count > 0
                clip: true
                boundsBehavior: Flickable.StopAtBounds
                model: root.files.files
                cellWidth: Math.min(width / columns, 168 + 14)
                cellHeight: 136
                Accessible.role: Accessible.List
                Accessible.name: qsTr("Files")
                Layout.fillWidth: true
                Layout.fillHeight: true
                Layout.margins: 16
                ScrollBar.vertical: ScrollBar {}

                delegate: Item {
                    id: cell

                    required property string name
                    required property string icon
                    required property string sizeText
                    required property string help

                    width: grid.cellWidth
                    height: grid.cellHeight

                    StorageTile {
                        width: cell.width - 14
                        height: cell.height - 14
                        name: cell.name
                        icon: cell.icon
                        sizeText: cell.sizeText
                        help: cell.help
                        onOpenRequested: root.controller.openFile(cell.name)
                        onDeleteRequested: root.controller.deleteFile(cell.name)
                    }
                }
            }
        }

        // Files dragged over the card: a cyan tint in a dashed border. Drawn on a canvas,
        // which the software scene graph also draws.
        Canvas {
            id: dropHighlight
            anchors.fill: parent
            visible: root.files.dropTargeted
            onVisibleChanged: requestPaint()
            onPaint: {
                const context = getContext("2d");
                context.reset();
                const inset = 1.5;
                const radius = 18 - inset;
                const w = width - 2 * inset;
                const h = height - 2 * inset;
                context.beginPath();
                context.roundedRect(inset, inset, w, h, radius, radius);
                context.fillStyle = Qt.rgba(HalvicStyle.cyan.r, HalvicStyle.cyan.g, HalvicStyle.cyan.b, 0.15);
                context.fill();
                context.setLineDash([6, 4]);
                context.lineWidth = 2;
                context.strokeStyle = Qt.rgba(HalvicStyle.cyan.r, HalvicStyle.cyan.g, HalvicStyle.cyan.b, 0.9);
                context.stroke();
            }
        }
    }
}
