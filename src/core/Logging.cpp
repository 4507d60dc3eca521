#include "Logging.h"

// Warnings and debug lines are off by default; only critical messages pass.
Q_LOGGING_CATEGORY(lcEngine, "halvic.engine", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcProtocol, "halvic.protocol", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcWindows, "halvic.windows", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcPanels, "halvic.panels", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcCards, "halvic.cards", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcApp, "halvic.app", QtCriticalMsg)
Q_LOGGING_CATEGORY(lcGestures, "halvic.gestures", QtCriticalMsg)
