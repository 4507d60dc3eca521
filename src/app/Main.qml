import QtQuick
import QtQuick.Window
import Halvic.Model

// The first HUD window: the engine's state and the running transcript.
Window {
    id: root

    required property AppModel app

    width: 360
    height: 300
    visible: true
    color: "#E61C1C22"
    title: "Halvic"
    flags: Qt.Tool | Qt.FramelessWindowHint | Qt.WindowStaysOnTopHint

    Column {
        anchors.fill: parent
        anchors.margins: 14
        spacing: 8

        Text {
            text: "Halvic"
            color: "white"
            font.pixelSize: 15
            font.bold: true
            Accessible.name: text
        }
        Text {
            id: stateLine
            text: root.app.stateLabel
            color: root.app.state === "restarting" ? "#FFD60A" : "#A0A0A8"
            font.pixelSize: 12
            textFormat: Text.PlainText
            Accessible.name: text
        }
        ListView {
            id: transcriptView
            width: parent.width
            height: parent.height - y
            clip: true
            spacing: 4
            model: root.app.transcript
            Accessible.name: "Transcript"
            onCountChanged: positionViewAtEnd()
            delegate: Text {
                required property string who
                required property string text
                width: ListView.view.width
                wrapMode: Text.Wrap
                textFormat: Text.PlainText
                color: who === "you" ? "#E0E0FF" : (who === "task" ? "#B0D0B0" : "white")
                font.pixelSize: 13
                text: (who === "you" ? "› " : who === "task" ? "• " : "") + this.text
            }
        }
    }
}
