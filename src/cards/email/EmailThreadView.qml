pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Halvic.Cards
import Halvic.Cards.Email
import Halvic.Panels

// The email card: the thread's header, its messages (newest open), and the reply bar.
// Minimises to a bubble.
MinimizableCard {
    id: root

    required property EmailPanel controller
    readonly property EmailModel thread: controller.model

    state: controller.window.bubble
    icon: "envelope.open.fill"
    help: qsTr("Email — hold to expand")

    // Scroll so the newest message's top is at the top: at once for the first thread, animated
    // when another thread replaces it.
    function showNewest(animated) {
        const newest = messages.itemAt(messages.count - 1);
        if (!newest)
            return;
        const target = Math.max(0, Math.min(newest.y, flick.contentHeight - flick.height));
        if (animated) {
            scrollAnimation.to = target;
            scrollAnimation.restart();
        } else {
            flick.contentY = target;
        }
    }

    property string shownThread
    Connections {
        target: root.thread
        function onThreadChanged() {
            if (root.thread.threadId === root.shownThread)
                return;
            const first = root.shownThread === "";
            root.shownThread = root.thread.threadId;
            Qt.callLater(root.showNewest, !first);
        }
    }
    Component.onCompleted: {
        shownThread = thread.threadId;
        Qt.callLater(showNewest, false);
    }

    GlassCard {
        width: 620
        height: root.height
        radius: 18

        ColumnLayout {
            anchors.fill: parent
            spacing: 0

            CardHeader {
                window: root.controller.window
                symbol: "envelope.open.fill"
                symbolColor: HalvicStyle.cyan
                title: root.thread.title
                titleColor: HalvicStyle.primary
                titleSize: 14
                subtitle: root.thread.countLine
                spacing: 8
                closeHelp: qsTr("Close")
                closeHides: false
                Layout.fillWidth: true
                Layout.leftMargin: 16
                Layout.rightMargin: 16
                Layout.topMargin: 12
                Layout.bottomMargin: 10
                onCloseClicked: root.controller.dismiss()
            }

            Rectangle {
                color: HalvicStyle.separator
                implicitHeight: 1
                Layout.fillWidth: true
            }

            // A column rather than a list view: a thread is a handful of messages, and a body's
            // web page should not be rebuilt each time it scrolls back into view.
            Flickable {
                id: flick
                clip: true
                contentWidth: width
                contentHeight: column.height + 24
                boundsBehavior: Flickable.StopAtBounds
                Accessible.role: Accessible.List
                Accessible.name: qsTr("Messages")
                Layout.fillWidth: true
                Layout.fillHeight: true
                ScrollBar.vertical: ScrollBar {}

                NumberAnimation {
                    id: scrollAnimation
                    target: flick
                    property: "contentY"
                    duration: 250
                    easing.type: Easing.InOutQuad
                }

                Column {
                    id: column
                    x: 12
                    y: 12
                    width: flick.width - 24
                    spacing: 8

                    Repeater {
                        id: messages
                        model: root.thread
                        delegate: EmailMessageView {
                            controller: root.controller
                            thread: flick
                            width: column.width
                        }
                    }
                }
            }

            Rectangle {
                color: HalvicStyle.separator
                implicitHeight: 1
                Layout.fillWidth: true
            }

            EmailReplyBar {
                controller: root.controller
                Layout.fillWidth: true
                Layout.leftMargin: 14
                Layout.rightMargin: 14
                Layout.topMargin: 10
                Layout.bottomMargin: 10
            }
        }
    }
}
