#include "ComposePanel.h"

#include <QPointer>
#include <QSet>

#include "ComposeProtocol.h"
#include "EventDispatcher.h"
#include "Protocol.h"
#include "UserFiles.h"

namespace halvic {

using namespace protocol;
using namespace Qt::Literals::StringLiterals;

ComposePanel::ComposePanel(const CardContext &context, QObject *parent)
    : Card(parent)
    , m_control(context.control)
    , m_editTimer(context.scheduler, editDelay, [this] { writeAction(value::edit, true); })
    , m_window(context.scheduler, context.qml, *this,
          {.view = QUrl(u"qrc:/Halvic/Cards/Compose/ComposeCardView.qml"_s),
              .size = cardSize,
              .title = tr("Draft"),
              .placement = cardplacement::centredRaised(raise),
              .refitsOnShow = true})
{
    // However the card goes away, no edit is left pending and no drag highlight stays.
    connect(&m_model, &ComposeModel::kindChanged, this, &ComposePanel::headingChanged);
    connect(&m_window, &CardWindow::hidden, this, [this] {
        m_editTimer.cancel();
        m_model.setDropTargeted(false);
    });
}

ComposePanel::~ComposePanel() = default;

void ComposePanel::registerRows(EventDispatcher &dispatcher)
{
    dispatcher.on(event::compose, this, [this](const QJsonObject &payload) { showEmail(EmailDraft::from(payload)); });
    dispatcher.on(event::eventCard, this, [this](const QJsonObject &payload) { showEvent(EventDraft::from(payload)); });
}

void ComposePanel::showEmail(const EmailDraft &draft)
{
    const QString previous = m_model.draftId();
    m_editTimer.cancel();
    m_model.load(draft);
    show(previous);
}

void ComposePanel::showEvent(const EventDraft &draft)
{
    const QString previous = m_model.draftId();
    m_editTimer.cancel();
    m_model.load(draft);
    show(previous);
}

void ComposePanel::show(const QString &previousDraftId)
{
    // A new draft always opens as the full card; the same draft again keeps its bubble.
    if (m_model.draftId() != previousDraftId)
        m_window.bubbleCtl().reset();
    m_window.setTitle(heading());
    m_window.present();
}

QString ComposePanel::heading() const
{
    return m_model.isEmail() ? tr("Email — review before it sends") : tr("Event — confirm before it books");
}

void ComposePanel::close(const QString &draftId)
{
    if (draftId.isEmpty() || draftId == m_model.draftId())
        hideCard();
}

void ComposePanel::send()
{
    writeAction(value::send, true);
    hideCard();
}

void ComposePanel::cancel()
{
    writeAction(value::cancel, false);
    hideCard();
}

void ComposePanel::dismiss()
{
    writeAction(value::close, false);
    hideCard();
}

void ComposePanel::noteEdited()
{
    m_editTimer.restart();
}

void ComposePanel::useFilePicker(const FilePicker &picker)
{
    connect(this, &ComposePanel::attachmentsPickRequested, this, [this, picker] {
        picker({u"compose"_s, tr("Attach files"), [self = QPointer(this)](const QList<QUrl> &urls) {
                    if (self)
                        self->addAttachments(urls);
                }});
    });
}

void ComposePanel::pickAttachments()
{
    emit attachmentsPickRequested();
}

void ComposePanel::addAttachments(const QList<QUrl> &urls)
{
    QSet<QString> attached;
    for (const Attachment &file : m_model.attachments().records())
        attached.insert(file.id);
    std::vector<Attachment> files = m_model.attachments().records();
    const std::size_t before = files.size();
    for (const QUrl &url : regularFiles(urls)) {
        const QString path = url.toLocalFile();
        if (attached.contains(path))
            continue;
        attached.insert(path);
        files.push_back({path});
    }
    if (files.size() == before)
        return;
    m_model.attachments().replaceAll(std::move(files));
    noteEdited();
}

void ComposePanel::removeAttachment(const QString &path)
{
    if (m_model.attachments().removeId(path) > 0)
        noteEdited();
}

bool ComposePanel::dropUrls(const QList<QUrl> &urls)
{
    if (!m_model.isEmail() || urls.isEmpty())
        return false;
    addAttachments(urls);
    return true;
}

void ComposePanel::hideCard()
{
    // The window's hidden() stops the pending edit and the drag highlight.
    m_window.hide();
}

void ComposePanel::writeAction(QLatin1StringView action, bool includeFields)
{
    if (m_model.draftId().isEmpty())
        return;
    // No stale "edit" may follow the user's decision.
    if (action != value::edit)
        m_editTimer.cancel();
    QJsonObject object{{key::kind, m_model.kind()}, {key::draftId, m_model.draftId()}, {key::action, action}};
    if (includeFields)
        object.insert(key::fields, m_model.fields());
    m_control.writeJSON(controlfile::cardAction, object);
}

} // namespace halvic
