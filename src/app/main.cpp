#include <QApplication>
#include <QCommandLineParser>
#include <QQmlEngineExtensionPlugin>
#include <QQuickWindow>

#include <unistd.h>

#include "Delegate.h"
#include "EmailCard.h"
#include "EmailCardMain.h"
#include "Logging.h"
#include "Paths.h"
#include "Platform.h"
#include "Translations.h"

Q_IMPORT_QML_PLUGIN(Halvic_ModelPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_PanelsPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_HudPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_CardsPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_GesturesPlugin)
// One line per card, made by the build from the cards' folders.
#include "CardPlugins.h"

int main(int argc, char *argv[])
{
    const QByteArray platform = halvic::forcedPlatform([](const char *name) { return qgetenv(name); });
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
    // Transparent panels need an alpha channel from the first window on.
    QQuickWindow::setDefaultAlphaBuffer(true);
    // Without hardware OpenGL, Qt Quick's own software renderer looks the same and spares
    // the HUD the software rasterizer's memory. Chosen before any window exists.
    const auto variable = [](const char *name) { return qgetenv(name); };
    const QByteArray qpa = qgetenv("QT_QPA_PLATFORM");
    const bool onX11 = (qpa.isEmpty() || qpa.startsWith("xcb")) && !qgetenv("DISPLAY").isEmpty();
    const bool software = halvic::useSoftwareSceneGraph(variable, halvic::readGraphicsFacts(onX11));
    if (software)
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    // The web engine is loaded only when an email body needs it, but what it shares with the
    // scene graph has to be settled now.
    const bool softwareDrawing = software || qgetenv("QT_QUICK_BACKEND") == "software";
    const halvic::WebEngineSetup web = halvic::webEngineSetup(variable, softwareDrawing, geteuid() == 0);
    if (web.shareOpenGLContexts)
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (!web.chromiumFlags.isEmpty())
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", web.chromiumFlags);
    if (web.disableSandbox)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");

    // Started by the HUD as its email card: nothing else of the HUD runs here, and no widgets.
    const bool emailCard = argc == 3 && QLatin1StringView(argv[1]) == halvic::EmailCard::processOption;
    const std::unique_ptr<QGuiApplication> app
        = emailCard ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QApplication>(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Halvic"));
    QGuiApplication::setOrganizationName(QStringLiteral("Halvic"));
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QGuiApplication::setApplicationVersion(QStringLiteral(HALVIC_VERSION));
    const halvic::Translations translations;
    if (emailCard) {
        bool isNumber = false;
        const int channel = QByteArrayView(argv[2]).toInt(&isNumber);
        return isNumber ? halvic::runEmailCard(channel) : 1;
    }

    QCommandLineParser options;
    options.setApplicationDescription(QCoreApplication::translate("main", "The Halvic assistant's heads-up display."));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption engineRoot(QStringLiteral("engine"),
        QCoreApplication::translate(
            "main", "Use the engine in <folder> for this run (instead of TARVEL_VOICE_DIR and the usual places)."),
        QCoreApplication::translate("main", "folder"));
    options.addOption(engineRoot);
    options.process(*app);
    if (options.isSet(engineRoot))
        halvic::Paths::setRootOption(options.value(engineRoot));

    qCDebug(lcApp) << "scene graph:" << (software ? "software" : "default");
    halvic::Delegate delegate;
    if (!delegate.launch())
        return 1;
    return QGuiApplication::exec();
}
