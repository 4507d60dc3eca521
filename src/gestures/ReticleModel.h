#pragma once

#include <QObject>
#include <QString>
#include <QtQmlIntegration>

namespace halvic {

/// What one hand's reticle shows: the tracker's pose, whether this hand drives the pointer,
/// a right click that just happened and the centre "ready" pulse.
class ReticleModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by its reticle")
    /// "pinch", "mpinch", "fist", "point" or "none".
    Q_PROPERTY(QString pose READ pose WRITE setPose NOTIFY poseChanged)
    Q_PROPERTY(bool isPrimary READ isPrimary WRITE setPrimary NOTIFY isPrimaryChanged)
    Q_PROPERTY(bool rightFlash READ rightFlash WRITE setRightFlash NOTIFY rightFlashChanged)
    Q_PROPERTY(bool pulse READ pulse WRITE setPulse NOTIFY pulseChanged)
public:
    using QObject::QObject;

    QString pose() const { return m_pose; }
    void setPose(const QString &pose);
    bool isPrimary() const { return m_isPrimary; }
    void setPrimary(bool primary);
    bool rightFlash() const { return m_rightFlash; }
    void setRightFlash(bool flash);
    bool pulse() const { return m_pulse; }
    void setPulse(bool pulse);

signals:
    void poseChanged();
    void isPrimaryChanged();
    void rightFlashChanged();
    void pulseChanged();

private:
    QString m_pose = QStringLiteral("none");
    bool m_isPrimary = true;
    bool m_rightFlash = false;
    bool m_pulse = false;
};

} // namespace halvic
