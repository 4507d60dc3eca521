pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Layouts
import Halvic.Cards.Entity
import Halvic.Panels

// The quick contact facts as capsules, the first four at first and the rest behind "+N more".
ColumnLayout {
    id: quick

    required property EntityPanel controller
    readonly property EntityModel model: controller.model
    property bool showMore: false

    // Another entity starts with the short list.
    readonly property string shownKey: model.key
    onShownKeyChanged: showMore = false

    visible: model.quick.count > 0
    spacing: 6

    DossierSectionTitle {
        text: qsTr("Quick")
    }
    Flow {
        spacing: 6
        Layout.fillWidth: true
        Repeater {
            model: quick.model.quick
            delegate: DossierCapsule {
                required property string kind
                required property string value
                required property bool folded
                // The symbol and what the capsule does ("Call …", "Email …", "Open …").
                required symbol
                required help
                visible: !folded || quick.showMore
                tint: HalvicStyle.cyan
                label: value
                onClicked: quick.controller.openQuick(kind, value)
            }
        }
        // Only when there is more to show.
        DossierCapsule {
            visible: quick.model.moreQuickCount > 0
            label: quick.showMore ? qsTr("show less") : qsTr("+%1 more").arg(quick.model.moreQuickCount)
            help: quick.showMore ? qsTr("Show fewer quick facts")
                                 : qsTr("Show %1 more quick facts").arg(quick.model.moreQuickCount)
            onClicked: quick.showMore = !quick.showMore
        }
    }
}
