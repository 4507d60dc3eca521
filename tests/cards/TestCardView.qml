import Halvic.Cards
import Halvic.Panels

// The smallest card view: a header over an empty glass card.
MinimizableCard {
    id: root

    required property var controller

    state: controller.window.bubble
    icon: "checklist"
    help: "Test card — hold to expand"

    GlassCard {
        width: 300
        height: 200

        CardHeader {
            x: 14
            y: 14
            width: 272
            window: root.controller.window
            symbol: "checklist"
            title: "Test card"
        }
    }
}
