#include <QGuiApplication>
#include <QQmlEngineExtensionPlugin>

#include "Delegate.h"

Q_IMPORT_QML_PLUGIN(Halvic_ModelPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_AppPlugin)

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Halvic"));
    QGuiApplication::setOrganizationName(QStringLiteral("Halvic"));
    QGuiApplication::setQuitOnLastWindowClosed(false);

    halvic::Delegate delegate;
    if (!delegate.launch())
        return 1;
    return QGuiApplication::exec();
}
