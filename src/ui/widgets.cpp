// The product's pictures and the decorative image labels.
#include "ui/widgets.h"

#include <QFont>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace kavero::ui {

QPixmap productLogo(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 0, size);
    gradient.setColorAt(0, QColor(0x3a, 0x7b, 0xd5));
    gradient.setColorAt(1, QColor(0x1c, 0x4a, 0x8f));
    QPainterPath path;
    const qreal margin = size / 16.0;
    path.addRoundedRect(QRectF(margin, margin, size - 2 * margin, size - 2 * margin), size / 6.0, size / 6.0);
    painter.fillPath(path, gradient);
    QFont font;
    font.setBold(true);
    font.setPixelSize(size * 5 / 8);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, QStringLiteral("K"));
    return pixmap;
}

QIcon productIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(productLogo(size));
    return icon;
}

QLabel* imageLabel(const char* name, const QIcon& icon, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setPixmap(icon.pixmap(16, 16));
    label->setFixedSize(16, 16);
    return label;
}

} // namespace kavero::ui
