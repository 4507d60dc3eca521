pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Halvic.Cards
import Halvic.Cards.Entity
import Halvic.Panels

// The entity dossier: a header naming the entity, then either the engine's composed layout
// or the plain profile, the raw memory, and a bar for notes. Minimises to a bubble.
MinimizableCard {
    id: root

    required property EntityPanel controller
    readonly property EntityModel model: controller.model

    state: controller.window.bubble
    icon: model.heading.typeIcon
    tint: HalvicStyle.green
    help: qsTr("Dossier — hold to expand")

    // Every accessible item below leaves the accessibility bus while it is hidden: Qt keeps
    // hidden items there, only marked invisible, and a screen reader still finds them.

    GlassCard {
        width: 560
        height: root.controller.cardHeight
        radius: 18

        ColumnLayout {
            anchors.fill: parent
            anchors.margins: 14
            spacing: 8

            CardHeader {
                window: root.controller.window
                spacing: 8
                buttonAlignment: Qt.AlignTop
                closeHelp: qsTr("Close")
                Layout.fillWidth: true

                DossierHeading {
                    model: root.model
                    animate: root.visible
                    Layout.fillWidth: true
                    Layout.alignment: Qt.AlignTop
                }
            }

            Rectangle {
                color: HalvicStyle.separator
                Layout.fillWidth: true
                Layout.preferredHeight: 1
            }

            ScrollView {
                id: scroll
                clip: true
                contentWidth: availableWidth
                ScrollBar.horizontal.policy: ScrollBar.AlwaysOff
                Layout.fillWidth: true
                Layout.fillHeight: true

                ColumnLayout {
                    width: scroll.availableWidth
                    spacing: 6

                    // The engine's own layout, when it sent one.
                    Repeater {
                        model: root.model.sections
                        delegate: ComposedSection {
                            controller: root.controller
                            Layout.fillWidth: true
                        }
                    }

                    // The plain profile, until (or unless) a composed layout comes.
                    ProfileSections {
                        visible: !root.model.hasComposed
                        controller: root.controller
                        Layout.fillWidth: true
                    }

                    RawMemory {
                        model: root.model
                        Layout.fillWidth: true
                    }
                }
            }

            NoteBar {
                controller: root.controller
                Layout.fillWidth: true
            }
        }
    }
}
