#pragma once

#include <QObject>
#include <QVariantMap>
#include <QtQmlIntegration>

#include <optional>

#include "EntityRecords.h"

namespace halvic {

/// The profile as the dossier view reads it: every text, label, icon and colour name worked
/// out here, seen from `now`.
QVariantMap entityProfileView(const EntityProfile &profile, const QDateTime &now);
/// The composed dossier as the view reads it (header and sections, each with its "type").
QVariantMap composedDossierView(const ComposedDossier &dossier, const QDateTime &now);

/// "3 facts", "1 relation": a count and its noun, plural unless the count is 1.
QString entityCountText(qint64 count, const QString &noun);

/// What the dossier card shows and what the user is typing into it.
class EntityModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the dossier card")
    /// The shown entity, in the view's form (see entityProfileView).
    Q_PROPERTY(QVariantMap profile READ profileView NOTIFY profileChanged)
    Q_PROPERTY(QString name READ name NOTIFY profileChanged)
    Q_PROPERTY(QString key READ key NOTIFY profileChanged)
    /// How many quick facts wait behind "+N more" (the view shows the first four at first).
    Q_PROPERTY(int moreQuickCount READ moreQuickCount NOTIFY profileChanged)
    /// The composed layout in the view's form; empty without one.
    Q_PROPERTY(QVariantMap composed READ composedView NOTIFY composedChanged)
    Q_PROPERTY(bool hasComposed READ hasComposed NOTIFY composedChanged)
    /// A composed layout is being prepared.
    Q_PROPERTY(bool composing READ composing NOTIFY composingChanged)
    Q_PROPERTY(QString noteText READ noteText WRITE setNoteText NOTIFY noteTextChanged)
    Q_PROPERTY(bool editingSummary READ editingSummary NOTIFY editingSummaryChanged)
    Q_PROPERTY(QString summaryDraft READ summaryDraft WRITE setSummaryDraft NOTIFY summaryDraftChanged)
    /// A drill-down to another entity is pending.
    Q_PROPERTY(bool loading READ loading NOTIFY loadingChanged)
public:
    using QObject::QObject;

    const EntityProfile &profile() const { return m_profile; }
    const std::optional<ComposedDossier> &composed() const { return m_composed; }
    QString name() const { return m_profile.entity.name; }
    QString key() const { return m_profile.entity.key; }
    int moreQuickCount() const;
    bool hasComposed() const { return m_composed.has_value(); }
    bool composing() const { return m_composing; }
    QString noteText() const { return m_noteText; }
    bool editingSummary() const { return m_editingSummary; }
    QString summaryDraft() const { return m_summaryDraft; }
    bool loading() const { return m_loading; }

    QVariantMap profileView() const { return m_profileView; }
    QVariantMap composedView() const { return m_composedView; }

    void setProfile(EntityProfile profile);
    void setComposed(std::optional<ComposedDossier> composed);
    void setComposing(bool composing);
    void setNoteText(const QString &text);
    void setEditingSummary(bool editing);
    void setSummaryDraft(const QString &draft);
    void setLoading(bool loading);

signals:
    void profileChanged();
    void composedChanged();
    void composingChanged();
    void noteTextChanged();
    void editingSummaryChanged();
    void summaryDraftChanged();
    void loadingChanged();

private:
    EntityProfile m_profile;
    std::optional<ComposedDossier> m_composed;
    bool m_composing = false;
    QString m_noteText;
    bool m_editingSummary = false;
    QString m_summaryDraft;
    bool m_loading = false;
    QVariantMap m_profileView = entityProfileView({}, QDateTime::currentDateTime());
    QVariantMap m_composedView;
};

} // namespace halvic
