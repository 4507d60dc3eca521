#include "RoundedImage.h"

#include <QPainter>
#include <QPainterPath>

namespace halvic {

RoundedImage::RoundedImage(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void RoundedImage::setImage(const QImage &image)
{
    m_image = image;
    emit imageChanged();
    update();
}

void RoundedImage::setRadius(qreal radius)
{
    if (qFuzzyCompare(m_radius, radius))
        return;
    m_radius = radius;
    emit radiusChanged();
    update();
}

void RoundedImage::paint(QPainter *painter)
{
    if (m_image.isNull())
        return;
    const QSizeF fitted = QSizeF(m_image.size()).scaled(size(), Qt::KeepAspectRatio);
    const QRectF target(QPointF((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    // The image as the fill of the rounded shape: its edge is antialiased, where a clip
    // path's would be jagged.
    QBrush brush(m_image);
    brush.setTransform(QTransform::fromTranslate(target.x(), target.y())
                           .scale(target.width() / m_image.width(), target.height() / m_image.height()));
    QPainterPath shape;
    shape.addRoundedRect(target, m_radius, m_radius);
    painter->setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter->setPen(Qt::NoPen);
    painter->fillPath(shape, brush);
}

} // namespace halvic
