#include <QClipboard>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQmlEngineExtensionPlugin>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "AppModel.h"
#include "ControlChannel.h"
#include "HudController.h"
#include "HudRequests.h"
#include "Line.h"
#include "ModelRows.h"

Q_IMPORT_QML_PLUGIN(Halvic_ModelPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_PanelsPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_HudPlugin)

using namespace halvic;
using namespace Qt::Literals::StringLiterals;

/// The HUD view itself (offscreen): why the engine stopped on the state label, and copying
/// the transcript.
class HudViewTest : public QObject
{
    Q_OBJECT

    ManualScheduler scheduler;
    std::unique_ptr<AppModel> model;
    QTemporaryDir dir;
    std::unique_ptr<HudRequests> requests;
    std::unique_ptr<HudController> hud;
    std::unique_ptr<QQmlEngine> qml;
    std::unique_ptr<QQuickWindow> window;
    QQuickItem *view = nullptr;
    std::vector<Menu> shownMenus;

    QQuickItem *named(const char *objectName) const { return view->findChild<QQuickItem *>(objectName); }
    QString attached(QQuickItem *item, const char *property) const
    {
        return QQmlProperty(item, QString::fromLatin1(property), qmlContext(item)).read().toString();
    }
    static QStringList titles(const Menu &menu)
    {
        QStringList out;
        for (const MenuEntry &entry : menu)
            out << (entry.separator ? u"--"_s : entry.title);
        return out;
    }

private slots:
    void init()
    {
        model = std::make_unique<AppModel>(scheduler);
        requests = std::make_unique<HudRequests>(ControlChannel(dir.filePath(u"control"_s)));
        hud = std::make_unique<HudController>(*model, scheduler, *requests);
        shownMenus.clear();
        connect(hud.get(), &HudController::menuRequested, this,
            [this](const Menu &menu, QPointF) { shownMenus.push_back(menu); });
        qml = std::make_unique<QQmlEngine>();
        qml->addImportPath(u"qrc:/"_s);
        QQmlComponent component(qml.get(), QUrl(u"qrc:/Halvic/Hud/HUDView.qml"_s));
        QVERIFY2(component.isReady(), qPrintable(component.errorString()));
        QObject *created = component.createWithInitialProperties(
            {{u"app"_s, QVariant::fromValue(model.get())}, {u"hud"_s, QVariant::fromValue(hud.get())}});
        view = qobject_cast<QQuickItem *>(created);
        QVERIFY2(view, qPrintable(component.errorString()));
        window = std::make_unique<QQuickWindow>();
        window->resize(360, 420);
        view->setParentItem(window->contentItem());
        view->setParent(window.get());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QGuiApplication::clipboard()->clear();
    }
    void cleanup()
    {
        window.reset();
        qml.reset();
        hud.reset();
        model.reset();
    }

    void theOffLabelSaysWhyTheEngineStopped()
    {
        QQuickItem *label = named("stateLabel");
        QVERIFY(label);
        enginestatus::started(*model);
        enginestatus::exited(*model);
        enginestatus::exitedByItself(*model, u"The engine stopped (exit status 3): boom"_s,
            u"The engine stopped (exit status 3).\nloading\nboom"_s);
        QCOMPARE(label->property("text").toString(), u"offline"_s);
        QCOMPARE(attached(label, "Accessible.description"), u"The engine stopped (exit status 3).\nloading\nboom"_s);
        QCOMPARE(attached(label, "ToolTip.text"), u"The engine stopped (exit status 3).\nloading\nboom"_s);
        QCOMPARE(model->transcript()->lines().back().text, u"The engine stopped (exit status 3): boom"_s);

        // Started again: no reason any more; stopped by the user: none either.
        enginestatus::started(*model);
        QCOMPARE(attached(label, "Accessible.description"), QString());
        enginestatus::stopped(*model);
        QCOMPARE(attached(label, "Accessible.description"), QString());
        QCOMPARE(attached(label, "ToolTip.text"), QString());
    }

    void copyAllIsPlainTextWithSpeakers()
    {
        model->push(speaker::you, u"what's on today?"_s);
        model->push(speaker::tarvel, u"Two meetings:\n10:00 and <b>14:00</b>"_s);
        model->push(speaker::task, u"Calendar synced"_s);
        hud->copyAll();
        QCOMPARE(QGuiApplication::clipboard()->text(),
            u"You: what's on today?\nHalvic: Two meetings:\n10:00 and <b>14:00</b>\nTask: Calendar synced\n"_s);
    }

    void aLineIsCopiedFromItsMenuOrWithCtrlC()
    {
        model->push(speaker::you, u"first"_s);
        model->push(speaker::tarvel, u"second"_s);
        QQuickItem *list = named("transcript");
        QVERIFY(list);
        QTRY_COMPARE(list->property("count").toInt(), 2);

        // A right click on the second line offers to copy it, then the HUD's own menu.
        QQuickItem *second = nullptr;
        QTRY_VERIFY((second = [&]() -> QQuickItem * {
            const auto children = list->property("contentItem").value<QQuickItem *>()->childItems();
            for (QQuickItem *child : children)
                if (child->property("text").toString() == u"second"_s)
                    return child;
            return nullptr;
        }()));
        const QPoint onSecond = second->mapToScene(QPointF(10, second->height() / 2)).toPoint();
        QTest::mouseClick(window.get(), Qt::RightButton, {}, onSecond);
        QTRY_COMPARE(shownMenus.size(), std::size_t(1));
        QCOMPARE(titles(shownMenus.back()),
            (QStringList{u"Copy"_s, u"Copy All"_s, u"--"_s, u"Start Halvic"_s, u"Mute Mic"_s, u"Minimize"_s, u"--"_s,
                u"Quit Halvic"_s}));
        // A newer line arriving while the menu is open does not change what "Copy" copies.
        model->push(speaker::task, u"third"_s);
        shownMenus.back().front().action();
        QCOMPARE(QGuiApplication::clipboard()->text(), u"second"_s);
        shownMenus.back()[1].action();
        QCOMPARE(QGuiApplication::clipboard()->text(), u"You: first\nHalvic: second\nTask: third\n"_s);

        // Outside the transcript, the HUD's own context menu.
        QTest::mouseClick(window.get(), Qt::RightButton, {}, QPoint(5, 5));
        QTRY_COMPARE(shownMenus.size(), std::size_t(2));
        QCOMPARE(shownMenus.back().front().title, u"Start Halvic"_s);

        // A click selects the first line; Ctrl+C copies it alone.
        QGuiApplication::clipboard()->clear();
        QQuickItem *first = nullptr;
        const auto children = list->property("contentItem").value<QQuickItem *>()->childItems();
        for (QQuickItem *child : children)
            if (child->property("text").toString() == u"first"_s)
                first = child;
        QVERIFY(first);
        QTest::mouseClick(window.get(), Qt::LeftButton, {}, first->mapToScene(QPointF(10, 5)).toPoint());
        QTRY_VERIFY(first->property("selected").toBool());
        QVERIFY(list->hasActiveFocus());
        QTest::keyClick(window.get(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"first"_s);
    }
};

QTEST_MAIN(HudViewTest)
#include "tst_hudview.moc"
