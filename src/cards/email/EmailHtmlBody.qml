import QtQuick
import QtWebEngine
import Halvic.EmailWeb
import Halvic.Cards.Email

// A message's HTML body in a locked-down page: no page scripts, its own off-the-record
// profile, nothing local and (until the user asks) nothing remote loaded, no navigation away
// from it, and clicked web and mail links handed to the desktop. Sized to its content between
// 60 and 560 points; a body that fits lets the wheel scroll the thread.
Rectangle {
    id: body

    property string page
    // Blocked until told otherwise, so nothing loads before the message says what it holds back.
    property bool remoteImagesBlocked: true
    property EmailPanel controller
    property Flickable thread
    property string title
    property bool contentFits: true
    property bool allowInitial: false
    property string loadedPage

    function load() {
        if (page === loadedPage)
            return;
        loadedPage = page;
        allowInitial = true;
        web.loadHtml(page);
    }

    function measure() {
        // Where the body ends, its margin included: its scroll height leaves the margins out,
        // and the page's never reports less than the view, so a short body could not shrink.
        web.runJavaScript(
            "(function(b){return b.getBoundingClientRect().bottom + window.scrollY"
            + " + parseFloat(getComputedStyle(b).marginBottom);})(document.body)",
            WebEngineScript.ApplicationWorld, (h) => {
            const frame = body.controller ? body.controller.bodyFrameHeight(Number(h)) : 0;
            if (frame > 0) {
                body.height = frame;
                body.contentFits = Number(h) + 4 <= 560;
            }
        });
    }

    height: 200
    Accessible.role: Accessible.Grouping
    Accessible.name: title
    color: "white"
    radius: 10
    border.color: Qt.rgba(1, 1, 1, 0.12)
    border.width: 0.5
    clip: true

    // Once the message's properties have all settled: a refresh may change the page and what
    // it holds back at once.
    onPageChanged: Qt.callLater(load)
    // The engine sends the message again once its images may load: show it afresh.
    onRemoteImagesBlockedChanged: {
        loadedPage = "";
        Qt.callLater(load);
    }

    // What the page says on its console (mostly loads it was refused) is for whoever debugs
    // the cards, not for the HUD's output.
    LoggingCategory {
        id: pageLog
        name: "halvic.cards"
        defaultLogLevel: LoggingCategory.Critical
    }

    WebEngineProfile {
        id: profile
        offTheRecord: true
        httpCacheType: WebEngineProfile.MemoryHttpCache
        persistentCookiesPolicy: WebEngineProfile.NoPersistentCookies
    }
    RemoteContentGuard {
        profile: profile
        remoteAllowed: !body.remoteImagesBlocked
    }

    WebEngineView {
        id: web
        anchors.fill: parent
        anchors.margins: 0.5
        profile: profile
        settings.javascriptEnabled: false
        settings.javascriptCanOpenWindows: false
        settings.localContentCanAccessRemoteUrls: false
        settings.localContentCanAccessFileUrls: false
        settings.localStorageEnabled: false
        settings.pluginsEnabled: false
        settings.errorPageEnabled: false
        settings.dnsPrefetchEnabled: false
        settings.autoLoadIconsForPage: false

        onNavigationRequested: (request) => {
            if (request.navigationType === WebEngineNavigationRequest.LinkClickedNavigation) {
                body.controller.openLink(request.url);
                request.reject();
            } else if (body.allowInitial && request.isMainFrame) {
                body.allowInitial = false;
                request.accept();
            } else {
                request.reject();
            }
        }
        onJavaScriptConsoleMessage: (level, message) => console.debug(pageLog, message)
        // Never a window of ours: a web or mail link goes to the desktop, anything else nowhere.
        onNewWindowRequested: (request) => body.controller.openLink(request.requestedUrl)
        onLoadingChanged: (info) => {
            if (info.status === WebEngineView.LoadSucceededStatus) {
                body.measure();
                remeasure.restart();
            }
        }
    }

    // Late layout (images, fonts) changes the height after the load.
    Timer {
        id: remeasure
        interval: 1200
        onTriggered: body.measure()
    }

    MouseArea {
        anchors.fill: web
        enabled: body.contentFits && body.thread !== null
        acceptedButtons: Qt.NoButton
        onWheel: (wheel) => {
            const flick = body.thread;
            const step = wheel.pixelDelta.y !== 0 ? wheel.pixelDelta.y : wheel.angleDelta.y / 120 * 48;
            flick.contentY = Math.max(0, Math.min(flick.contentHeight - flick.height, flick.contentY - step));
        }
    }
}
