#pragma once

#include <QQmlEngine>
#include <QString>
#include <QTemporaryDir>

#include <memory>

#include "Card.h"
#include "ControlChannel.h"
#include "Scheduler.h"

namespace halvic::testing {

/// A card made afresh for each test: a temporary folder whose "root/control" is the card's
/// control folder, a QML engine that finds the project's modules, and a manual scheduler.
/// A card suite derives from it and calls setUp() and tearDown() from init() and cleanup().
template <class Panel>
class CardUnderTest
{
protected:
    void setUp()
    {
        dir = std::make_unique<QTemporaryDir>();
        qml = std::make_unique<QQmlEngine>();
        qml->addImportPath(QStringLiteral("qrc:/"));
        panel = std::make_unique<Panel>(CardContext{scheduler, *qml, ControlChannel(controlFolder())});
    }
    void tearDown()
    {
        panel.reset();
        qml.reset();
        dir.reset();
    }

    QString controlFolder() const { return dir->filePath(QStringLiteral("root/control")); }
    QString controlFile(const QString &name) const { return controlFolder() + u'/' + name; }

    ManualScheduler scheduler;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<QQmlEngine> qml;
    std::unique_ptr<Panel> panel;
};

} // namespace halvic::testing
