#pragma once

#include <QByteArray>

#include <memory>

#include "PointerSink.h"

namespace halvic {

/// Synthetic pointer events through the X server's XTest extension, on a connection of its
/// own. Each event is flushed at once; nothing waits for a reply.
class XTestPointerSink final : public PointerSink
{
public:
    /// Connects to `display` (the session's $DISPLAY when empty); none without an X server
    /// or without XTest. `pixelsPerPoint` turns desktop points into X pixels.
    static std::unique_ptr<XTestPointerSink> connect(const QByteArray &display = {}, double pixelsPerPoint = 1.0);
    ~XTestPointerSink() override;

    void post(const PointerEvent &event) override;

private:
    struct Display;
    XTestPointerSink(std::unique_ptr<Display> display, double pixelsPerPoint);

    std::unique_ptr<Display> m_display;
    double m_pixelsPerPoint = 1.0;
};

} // namespace halvic
