pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Halvic.Cards.Entity
import Halvic.Panels

// The entity dossier: a header naming the entity, then either the engine's composed layout
// or the plain profile, the raw memory, and a bar for notes. Minimises to a bubble.
MinimizableCard {
    id: root

    required property EntityPanel controller
    readonly property EntityModel model: controller.model
    readonly property var profile: model.profile
    readonly property var composed: model.composed

    property bool showMoreQuick: false
    property bool rawExpanded: false

    state: controller.window.bubble
    icon: profile.typeIcon
    tint: HalvicStyle.green
    help: "Dossier \u2014 hold to expand"

    // Another entity starts with the short quick list and the raw memory folded.
    readonly property string shownKey: model.key
    onShownKeyChanged: {
        showMoreQuick = false;
        rawExpanded = false;
    }

    // Every accessible item below leaves the accessibility bus while it is hidden: Qt keeps
    // hidden items there, only marked invisible, and a screen reader still finds them.

    // A text a sighted user reads, on the accessibility bus too; engine text stays plain.
    component BodyText: Text {
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        Accessible.ignored: !visible
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        color: HalvicStyle.primary
        font.pixelSize: HalvicStyle.bodySize
    }
    component CaptionText: BodyText {
        font.pixelSize: HalvicStyle.captionSize
        color: HalvicStyle.secondary
    }
    // Titles as given: the engine's composed titles are written to be read as they are.
    component SectionTitle: Text {
        Accessible.role: Accessible.Heading
        Accessible.name: text
        Accessible.ignored: !visible
        textFormat: Text.PlainText
        font.pixelSize: HalvicStyle.captionSize
        font.weight: Font.DemiBold
        color: HalvicStyle.secondary
        Layout.topMargin: 6
    }
    // A small rounded capsule with a symbol and a text; clickable when it opens something.
    component Capsule: Button {
        id: capsule
        property string symbol
        property color tint: HalvicStyle.primary
        property string label
        property string help
        flat: true
        focusPolicy: Qt.NoFocus
        padding: 0
        leftPadding: 8
        rightPadding: 8
        topPadding: 3
        bottomPadding: 3
        contentItem: Row {
            spacing: 4
            SymbolIcon {
                visible: capsule.symbol.length > 0
                symbol: capsule.symbol
                size: 11
                color: capsule.tint
                anchors.verticalCenter: parent.verticalCenter
            }
            Text {
                text: capsule.label
                textFormat: Text.PlainText
                font.pixelSize: HalvicStyle.captionSize
                color: HalvicStyle.primary
                Accessible.ignored: true
                anchors.verticalCenter: parent.verticalCenter
            }
        }
        background: Rectangle {
            radius: height / 2
            color: capsule.down ? HalvicStyle.controlPressed
                                : (capsule.hovered ? HalvicStyle.controlHovered : HalvicStyle.field)
            border.width: 1
            border.color: HalvicStyle.hairline
        }
        ToolTip.visible: hovered && help.length > 0
        ToolTip.text: help
        ToolTip.delay: 600
        Accessible.name: help.length > 0 ? help : label
        Accessible.description: label
        Accessible.ignored: !visible
    }

    component SymbolMenuItem: MenuItem {
        id: menuItem
        property string symbol
        Accessible.name: text
        contentItem: Row {
            spacing: 6
            SymbolIcon {
                symbol: menuItem.symbol
                color: HalvicStyle.primary
                anchors.verticalCenter: parent.verticalCenter
            }
            Text {
                text: menuItem.text
                textFormat: Text.PlainText
                font.pixelSize: HalvicStyle.bodySize
                color: HalvicStyle.primary
                Accessible.ignored: true
                anchors.verticalCenter: parent.verticalCenter
            }
        }
        background: Rectangle {
            color: menuItem.highlighted ? HalvicStyle.controlHovered : HalvicStyle.glass
        }
    }

    GlassCard {
        width: 560
        height: root.controller.cardHeight
        radius: 18

        ColumnLayout {
            anchors.fill: parent
            anchors.margins: 14
            spacing: 8

            // Header: type, name, aliases, counts, the composed role and badges.
            RowLayout {
                spacing: 8
                Layout.fillWidth: true

                ColumnLayout {
                    spacing: 4
                    Layout.fillWidth: true
                    Layout.alignment: Qt.AlignTop

                    RowLayout {
                        spacing: 8
                        Layout.fillWidth: true

                        Rectangle {
                            readonly property color tint: HalvicStyle.named(root.profile.typeColor)
                            implicitWidth: typeRow.implicitWidth + 14
                            implicitHeight: typeRow.implicitHeight + 4
                            radius: height / 2
                            color: Qt.rgba(tint.r, tint.g, tint.b, 0.2)

                            Row {
                                id: typeRow
                                anchors.centerIn: parent
                                spacing: 4
                                SymbolIcon {
                                    symbol: root.profile.typeIcon
                                    size: 10
                                    color: parent.parent.tint
                                    anchors.verticalCenter: parent.verticalCenter
                                }
                                BodyText {
                                    text: root.profile.typeLabel
                                    font.pixelSize: 10
                                    font.weight: Font.DemiBold
                                    color: parent.parent.tint
                                    wrapMode: Text.NoWrap
                                    anchors.verticalCenter: parent.verticalCenter
                                }
                            }
                        }
                        TextEdit {
                            text: root.profile.title
                            readOnly: true
                            selectByMouse: true
                            textFormat: TextEdit.PlainText
                            wrapMode: TextEdit.Wrap
                            color: "white"
                            selectionColor: HalvicStyle.accent
                            font.pixelSize: 15
                            font.weight: Font.DemiBold
                            activeFocusOnPress: false
                            Accessible.role: Accessible.Heading
                            Accessible.name: text
                            Accessible.ignored: !visible
                            Layout.fillWidth: true
                        }
                        BusyIndicator {
                            visible: root.model.loading
                            running: visible
                            Accessible.name: "Opening\u2026"
                            Accessible.ignored: !visible
                            Layout.preferredWidth: 18
                            Layout.preferredHeight: 18
                        }
                    }
                    CaptionText {
                        visible: text.length > 0
                        text: root.profile.aka
                        Layout.fillWidth: true
                    }
                    CaptionText {
                        text: root.profile.countsLine
                        Layout.fillWidth: true
                    }
                    BodyText {
                        visible: root.model.hasComposed && text.length > 0
                        text: root.composed.roleLine ?? ""
                        font.pixelSize: 12
                        Layout.fillWidth: true
                    }
                    Flow {
                        visible: root.model.hasComposed && badges.count > 0
                        spacing: 6
                        Layout.fillWidth: true
                        Repeater {
                            id: badges
                            model: root.composed.badges ?? []
                            delegate: Rectangle {
                                required property string modelData
                                implicitWidth: badge.implicitWidth + 12
                                implicitHeight: badge.implicitHeight + 4
                                radius: height / 2
                                color: HalvicStyle.field
                                border.width: 1
                                border.color: HalvicStyle.hairline
                                BodyText {
                                    id: badge
                                    anchors.centerIn: parent
                                    text: parent.modelData
                                    wrapMode: Text.NoWrap
                                    font.pixelSize: 10
                                }
                            }
                        }
                    }
                    // While the engine arranges the dossier.
                    Item {
                        visible: root.model.composing
                        clip: true
                        implicitWidth: organizing.implicitWidth
                        implicitHeight: organizing.implicitHeight

                        Row {
                            id: organizing
                            spacing: 4
                            SymbolIcon {
                                symbol: "sparkles"
                                size: 11
                                color: HalvicStyle.purple
                                anchors.verticalCenter: parent.verticalCenter
                            }
                            CaptionText {
                                text: "organizing\u2026"
                                wrapMode: Text.NoWrap
                                anchors.verticalCenter: parent.verticalCenter
                            }
                        }
                        Rectangle {
                            id: band
                            width: parent.width * 0.5
                            height: parent.height
                            gradient: Gradient {
                                orientation: Gradient.Horizontal
                                GradientStop { position: 0; color: Qt.rgba(1, 1, 1, 0) }
                                GradientStop { position: 0.5; color: Qt.rgba(1, 1, 1, 0.35) }
                                GradientStop { position: 1; color: Qt.rgba(1, 1, 1, 0) }
                            }
                            NumberAnimation on x {
                                running: root.model.composing && root.visible
                                from: -0.85 * band.parent.width
                                to: band.parent.width
                                duration: 1150
                                easing.type: Easing.InOutQuad
                                loops: Animation.Infinite
                            }
                        }
                    }
                }
                IconButton {
                    symbol: "minus.circle.fill"
                    symbolSize: 15
                    tint: HalvicStyle.control
                    help: "Minimize to a bubble \u2014 hold the bubble to reopen"
                    Accessible.ignored: !visible
                    Layout.alignment: Qt.AlignTop
                    onClicked: root.controller.window.minimize()
                }
                IconButton {
                    symbol: "xmark.circle.fill"
                    symbolSize: 15
                    tint: Qt.rgba(1, 1, 1, 0.75)
                    help: "Close"
                    Accessible.ignored: !visible
                    Layout.alignment: Qt.AlignTop
                    onClicked: root.controller.window.hide()
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
                        model: root.model.hasComposed ? root.composed.sections : []
                        delegate: ColumnLayout {
                            id: section
                            required property var modelData
                            spacing: 4
                            Layout.fillWidth: true

                            SectionTitle {
                                visible: text.length > 0
                                text: section.modelData.title
                            }
                            BodyText {
                                visible: section.modelData.type === "text"
                                text: section.modelData.body ?? ""
                                Layout.fillWidth: true
                            }
                            Repeater {
                                model: section.modelData.type === "kv" ? section.modelData.rows : []
                                delegate: RowLayout {
                                    required property var modelData
                                    spacing: 10
                                    Layout.fillWidth: true
                                    CaptionText {
                                        text: parent.modelData.k
                                        Layout.preferredWidth: 150
                                        Layout.alignment: Qt.AlignTop
                                    }
                                    BodyText {
                                        text: parent.modelData.v
                                        Layout.fillWidth: true
                                    }
                                }
                            }
                            Flow {
                                visible: section.modelData.type === "chips"
                                spacing: 6
                                Layout.fillWidth: true
                                Repeater {
                                    model: section.modelData.type === "chips" ? section.modelData.chips : []
                                    delegate: Capsule {
                                        required property var modelData
                                        symbol: modelData.icon
                                        tint: HalvicStyle.cyan
                                        label: modelData.label.length > 0 ? modelData.label + "  " + modelData.value
                                                                          : modelData.value
                                        help: "Open " + modelData.value
                                        onClicked: root.controller.openComposedChip(modelData.kind, modelData.value)
                                    }
                                }
                            }
                            Repeater {
                                model: section.modelData.type === "list" ? section.modelData.rows : []
                                delegate: RowLayout {
                                    id: listRow
                                    required property var modelData
                                    spacing: 8
                                    Layout.fillWidth: true

                                    SymbolIcon {
                                        symbol: listRow.modelData.icon
                                        size: 14
                                        color: HalvicStyle.named(listRow.modelData.color)
                                        Layout.alignment: Qt.AlignTop
                                    }
                                    ColumnLayout {
                                        spacing: 1
                                        Layout.fillWidth: true
                                        BodyText {
                                            text: listRow.modelData.title
                                            Layout.fillWidth: true
                                        }
                                        CaptionText {
                                            visible: text.length > 0
                                            text: listRow.modelData.sub
                                            Layout.fillWidth: true
                                        }
                                    }
                                    CaptionText {
                                        visible: text.length > 0
                                        text: listRow.modelData.date
                                        wrapMode: Text.NoWrap
                                        Layout.alignment: Qt.AlignTop
                                    }
                                    IconButton {
                                        visible: listRow.modelData.entity.length > 0
                                        symbol: "chevron.right"
                                        tint: HalvicStyle.secondary
                                        help: "Open " + listRow.modelData.entity + "'s dossier"
                                        Accessible.ignored: !visible
                                        Layout.alignment: Qt.AlignTop
                                        onClicked: root.controller.drillDown(listRow.modelData.entity)
                                    }
                                }
                            }
                        }
                    }

                    // The plain profile, until (or unless) a composed layout comes.
                    ColumnLayout {
                        visible: !root.model.hasComposed
                        spacing: 6
                        Layout.fillWidth: true

                        RowLayout {
                            Layout.fillWidth: true
                            SectionTitle {
                                text: "Summary"
                                Layout.fillWidth: true
                            }
                            IconButton {
                                visible: !root.model.editingSummary
                                symbol: "pencil"
                                tint: HalvicStyle.secondary
                                help: "Rewrite this summary"
                                Accessible.ignored: !visible
                                onClicked: root.controller.beginEditSummary()
                            }
                        }
                        BodyText {
                            visible: !root.model.editingSummary && text.length > 0
                            text: root.profile.summary
                            Layout.fillWidth: true
                        }
                        CaptionText {
                            visible: !root.model.editingSummary && root.profile.read.length > 0
                            text: "your read: " + root.profile.read
                            font.italic: true
                            Layout.fillWidth: true
                        }
                        ColumnLayout {
                            visible: root.model.editingSummary
                            spacing: 6
                            Layout.fillWidth: true

                            ScrollView {
                                Layout.fillWidth: true
                                Layout.preferredHeight: Math.min(summaryField.implicitHeight, 84)
                                TextArea {
                                    id: summaryField
                                    text: root.model.summaryDraft
                                    textFormat: TextEdit.PlainText
                                    wrapMode: TextEdit.Wrap
                                    color: HalvicStyle.primary
                                    selectionColor: HalvicStyle.accent
                                    font.pixelSize: HalvicStyle.bodySize
                                    Accessible.name: "Summary"
                                    Accessible.ignored: !visible
                                    background: Rectangle {
                                        radius: 8
                                        color: HalvicStyle.field
                                        border.width: 1
                                        border.color: HalvicStyle.hairline
                                    }
                                    onTextChanged: if (root.model.summaryDraft !== text) root.model.summaryDraft = text
                                    onPressed: root.controller.activateInput()
                                }
                            }
                            RowLayout {
                                spacing: 6
                                Layout.alignment: Qt.AlignRight
                                Button {
                                    text: "Cancel"
                                    focusPolicy: Qt.NoFocus
                                    Accessible.name: "Cancel rewriting the summary"
                                    Accessible.ignored: !visible
                                    onClicked: root.controller.cancelEditSummary()
                                }
                                Button {
                                    text: "Save"
                                    focusPolicy: Qt.NoFocus
                                    Accessible.name: "Save the summary"
                                    Accessible.ignored: !visible
                                    onClicked: root.controller.saveSummary()
                                }
                            }
                        }

                        SectionTitle {
                            visible: root.profile.quick.length > 0
                            text: "Quick"
                        }
                        Flow {
                            visible: root.profile.quick.length > 0
                            spacing: 6
                            Layout.fillWidth: true
                            Repeater {
                                model: root.showMoreQuick ? root.profile.quick
                                                          : root.profile.quick.slice(0, root.profile.quick.length
                                                                                        - root.model.moreQuickCount)
                                delegate: Capsule {
                                    required property var modelData
                                    symbol: modelData.icon
                                    tint: HalvicStyle.cyan
                                    label: modelData.value
                                    help: modelData.kind === "phone" ? "Call " + modelData.value
                                        : modelData.kind === "email" ? "Email " + modelData.value
                                        : modelData.kind === "url" ? "Open " + modelData.value
                                        : modelData.value
                                    onClicked: root.controller.openQuick(modelData.kind, modelData.value)
                                }
                            }
                            // Only when there is more to show.
                            Repeater {
                                model: root.model.moreQuickCount > 0 ? 1 : 0
                                delegate: Capsule {
                                    label: root.showMoreQuick ? "show less" : "+" + root.model.moreQuickCount + " more"
                                    help: root.showMoreQuick ? "Show fewer quick facts"
                                                             : "Show " + root.model.moreQuickCount + " more quick facts"
                                    onClicked: root.showMoreQuick = !root.showMoreQuick
                                }
                            }
                        }

                        SectionTitle {
                            visible: root.profile.relationGroups.length > 0
                            text: "Relations"
                        }
                        Repeater {
                            model: root.profile.relationGroups
                            delegate: ColumnLayout {
                                id: group
                                required property var modelData
                                spacing: 2
                                Layout.fillWidth: true
                                CaptionText {
                                    text: group.modelData.title
                                    font.weight: Font.DemiBold
                                }
                                Repeater {
                                    model: group.modelData.rows
                                    delegate: ItemDelegate {
                                        id: relation
                                        required property var modelData
                                        focusPolicy: Qt.NoFocus
                                        padding: 4
                                        Layout.fillWidth: true
                                        readonly property string help: "Open " + modelData.other + "'s dossier"
                                        Accessible.name: help
                                        Accessible.role: Accessible.Button
                                        Accessible.ignored: !visible
                                        ToolTip.visible: hovered
                                        ToolTip.text: help
                                        ToolTip.delay: 600
                                        background: Rectangle {
                                            radius: HalvicStyle.controlRadius
                                            color: relation.down ? HalvicStyle.controlPressed
                                                 : (relation.hovered ? HalvicStyle.controlHovered : "transparent")
                                        }
                                        contentItem: RowLayout {
                                            spacing: 8
                                            SymbolIcon {
                                                symbol: relation.modelData.icon
                                                size: 12
                                                color: HalvicStyle.named(relation.modelData.color)
                                                Layout.alignment: Qt.AlignTop
                                            }
                                            ColumnLayout {
                                                spacing: 1
                                                Layout.fillWidth: true
                                                BodyText {
                                                    text: relation.modelData.other
                                                    Layout.fillWidth: true
                                                }
                                                CaptionText {
                                                    visible: text.length > 0
                                                    text: relation.modelData.summary
                                                    maximumLineCount: 2
                                                    elide: Text.ElideRight
                                                    Layout.fillWidth: true
                                                }
                                            }
                                            SymbolIcon {
                                                symbol: "chevron.right"
                                                color: HalvicStyle.secondary
                                            }
                                        }
                                        onClicked: root.controller.drillDown(modelData.other)

                                        TapHandler {
                                            acceptedButtons: Qt.RightButton
                                            onTapped: relationMenu.popup()
                                        }
                                        Menu {
                                            id: relationMenu
                                            SymbolMenuItem {
                                                symbol: "arrow.up.right.square"
                                                text: "Open"
                                                onTriggered: root.controller.drillDown(relation.modelData.other)
                                            }
                                            SymbolMenuItem {
                                                symbol: "person.badge.minus"
                                                text: "Not related \u2014 remove"
                                                onTriggered: root.controller.unrelate(relation.modelData.other)
                                            }
                                        }
                                    }
                                }
                            }
                        }

                        SectionTitle {
                            visible: root.profile.timeline.length > 0
                            text: "Timeline"
                        }
                        Repeater {
                            model: root.profile.timeline
                            delegate: RowLayout {
                                id: moment
                                required property var modelData
                                spacing: 8
                                Layout.fillWidth: true
                                Rectangle {
                                    width: 6
                                    height: 6
                                    radius: 3
                                    color: HalvicStyle.named(moment.modelData.color)
                                    Layout.alignment: Qt.AlignTop
                                    Layout.topMargin: 5
                                }
                                CaptionText {
                                    text: moment.modelData.date
                                    wrapMode: Text.NoWrap
                                    Layout.preferredWidth: 70
                                    Layout.alignment: Qt.AlignTop
                                }
                                BodyText {
                                    text: moment.modelData.fact
                                    Layout.fillWidth: true
                                }
                            }
                        }
                        CaptionText {
                            visible: text.length > 0
                            text: root.profile.timelineNote
                        }

                        SectionTitle {
                            visible: root.profile.factGroups.length > 0
                            text: "Durable facts"
                        }
                        Repeater {
                            model: root.profile.factGroups
                            delegate: ColumnLayout {
                                id: factGroup
                                required property var modelData
                                spacing: 2
                                Layout.fillWidth: true
                                CaptionText {
                                    text: factGroup.modelData.title
                                    font.weight: Font.DemiBold
                                    color: HalvicStyle.named(factGroup.modelData.color)
                                }
                                Repeater {
                                    model: factGroup.modelData.facts
                                    delegate: BodyText {
                                        required property var modelData
                                        text: "\u2022 " + modelData.fact
                                        Layout.fillWidth: true
                                    }
                                }
                            }
                        }

                        SectionTitle {
                            visible: root.profile.tasks.length > 0
                            text: "Open tasks"
                        }
                        Repeater {
                            model: root.profile.tasks
                            delegate: RowLayout {
                                id: task
                                required property var modelData
                                spacing: 8
                                Layout.fillWidth: true
                                SymbolIcon {
                                    symbol: "circle"
                                    color: HalvicStyle.secondary
                                    Layout.alignment: Qt.AlignTop
                                }
                                BodyText {
                                    text: task.modelData.text
                                    Layout.fillWidth: true
                                }
                                CaptionText {
                                    visible: text.length > 0
                                    text: task.modelData.due
                                    color: HalvicStyle.orange
                                    wrapMode: Text.NoWrap
                                    Layout.alignment: Qt.AlignTop
                                }
                            }
                        }
                    }

                    // What the engine holds about the entity, as stored.
                    ItemDelegate {
                        id: rawToggle
                        focusPolicy: Qt.NoFocus
                        padding: 4
                        Layout.fillWidth: true
                        Layout.topMargin: 6
                        readonly property string help: (root.rawExpanded ? "Hide raw memory, " : "Show raw memory, ")
                                                       + root.profile.rawLabel
                        Accessible.name: help
                        Accessible.role: Accessible.Button
                        Accessible.ignored: !visible
                        background: Rectangle {
                            radius: HalvicStyle.controlRadius
                            color: rawToggle.hovered ? HalvicStyle.controlHovered : "transparent"
                        }
                        contentItem: RowLayout {
                            spacing: 6
                            SymbolIcon {
                                symbol: root.rawExpanded ? "chevron.down" : "chevron.right"
                                color: HalvicStyle.secondary
                            }
                            SymbolIcon {
                                symbol: "archivebox"
                                color: HalvicStyle.secondary
                            }
                            BodyText {
                                text: "Raw memory"
                                color: HalvicStyle.secondary
                            }
                            CaptionText {
                                text: root.profile.rawLabel
                                Layout.fillWidth: true
                            }
                        }
                        onClicked: root.rawExpanded = !root.rawExpanded
                    }
                    CaptionText {
                        visible: root.rawExpanded && root.profile.rawFacts.length === 0
                        text: "No raw memory stored."
                    }
                    Repeater {
                        model: root.rawExpanded ? root.profile.rawFacts : []
                        delegate: CaptionText {
                            required property var modelData
                            text: modelData.kind + " \u00b7 " + modelData.fact
                                  + (modelData.date.length > 0 ? " \u00b7 " + modelData.date : "")
                            Layout.fillWidth: true
                        }
                    }
                }
            }

            // The note bar.
            Rectangle {
                implicitHeight: noteRow.implicitHeight + 8
                radius: 16
                color: HalvicStyle.field
                border.width: 1
                border.color: HalvicStyle.hairline
                Layout.fillWidth: true

                RowLayout {
                    id: noteRow
                    anchors.fill: parent
                    anchors.leftMargin: 10
                    anchors.rightMargin: 4
                    spacing: 4

                    TextField {
                        id: noteField
                        placeholderText: "Add a note about " + (root.model.name.length > 0 ? root.model.name : "them")
                        placeholderTextColor: HalvicStyle.secondary
                        text: root.model.noteText
                        color: HalvicStyle.primary
                        selectionColor: HalvicStyle.accent
                        font.pixelSize: HalvicStyle.bodySize
                        background: null
                        Accessible.name: placeholderText
                        Accessible.ignored: !visible
                        Layout.fillWidth: true
                        onTextChanged: if (root.model.noteText !== text) root.model.noteText = text
                        onPressed: root.controller.activateInput()
                        onAccepted: root.controller.submitNote()
                    }
                    IconButton {
                        symbol: "arrow.up.circle.fill"
                        symbolSize: 20
                        tint: HalvicStyle.accent
                        help: "Save this note"
                        Accessible.ignored: !visible
                        onClicked: root.controller.submitNote()
                    }
                }
            }
        }
    }
}
