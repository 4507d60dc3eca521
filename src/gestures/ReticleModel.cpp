#include "ReticleModel.h"

namespace halvic {

void ReticleModel::setPose(const QString &pose)
{
    if (m_pose == pose)
        return;
    m_pose = pose;
    emit poseChanged();
}

void ReticleModel::setPrimary(bool primary)
{
    if (m_isPrimary == primary)
        return;
    m_isPrimary = primary;
    emit isPrimaryChanged();
}

void ReticleModel::setRightFlash(bool flash)
{
    if (m_rightFlash == flash)
        return;
    m_rightFlash = flash;
    emit rightFlashChanged();
}

void ReticleModel::setPulse(bool pulse)
{
    if (m_pulse == pulse)
        return;
    m_pulse = pulse;
    emit pulseChanged();
}

} // namespace halvic
