#pragma once

namespace halvic {

/// Makes what the web engine needs from Qt before its first page: Qt's global shared OpenGL
/// context. Qt makes that context at start-up only when asked to, and the HUD asks only when
/// Qt Quick draws with OpenGL; with the software scene graph it does not, so that start-up
/// loads no OpenGL driver for email bodies that may never come. Call before the first HTML
/// body is shown. False when the web engine cannot run here (no real display, no OpenGL): then
/// bodies are shown as their text.
bool prepareWebEngine();

} // namespace halvic
