#include <QApplication>
#include <QQmlEngineExtensionPlugin>
#include <QQuickWindow>

#include "Delegate.h"
#include "Platform.h"

Q_IMPORT_QML_PLUGIN(Halvic_ModelPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_PanelsPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_HudPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_CardsPlugin)
// One line per card, made by the build from the cards' folders.
#include "CardPlugins.h"

int main(int argc, char *argv[])
{
    const QByteArray platform = halvic::forcedPlatform([](const char *name) { return qgetenv(name); });
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
    // Transparent panels need an alpha channel from the first window on.
    QQuickWindow::setDefaultAlphaBuffer(true);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Halvic"));
    QApplication::setOrganizationName(QStringLiteral("Halvic"));
    QApplication::setQuitOnLastWindowClosed(false);

    halvic::Delegate delegate;
    if (!delegate.launch())
        return 1;
    return QApplication::exec();
}
