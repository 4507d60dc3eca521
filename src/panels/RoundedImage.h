#pragma once

#include <QImage>
#include <QQuickPaintedItem>
#include <qqmlintegration.h>

namespace halvic {

/// An image scaled to fit and clipped to a rounded rectangle. It is painted, so the corners
/// round under the software scene graph too, which has no shader effects to mask with.
class RoundedImage : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QImage image READ image WRITE setImage NOTIFY imageChanged)
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY radiusChanged)
public:
    explicit RoundedImage(QQuickItem *parent = nullptr);

    const QImage &image() const { return m_image; }
    void setImage(const QImage &image);
    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);

    void paint(QPainter *painter) override;

signals:
    void imageChanged();
    void radiusChanged();

private:
    QImage m_image;
    qreal m_radius = 0;
};

} // namespace halvic
