#pragma once

#include <QLoggingCategory>

/// One logging category per subsystem, silent unless enabled (QT_LOGGING_RULES, e.g.
/// "halvic.*.debug=true"): the HUD's only ordinary output is the restart line and the
/// engine's copied lines, but a silent failure should still leave a trace for whoever looks.
Q_DECLARE_LOGGING_CATEGORY(lcEngine)
Q_DECLARE_LOGGING_CATEGORY(lcProtocol)
Q_DECLARE_LOGGING_CATEGORY(lcWindows)
Q_DECLARE_LOGGING_CATEGORY(lcPanels)
Q_DECLARE_LOGGING_CATEGORY(lcCards)
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcGestures)
