#include "platform/PictureButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include <utility>

namespace talveros::platform {

PictureButton::PictureButton(const QString &objectName, const QIcon &icon, const QString &toolTip, QWidget *parent,
                             int size)
    : QLabel(parent)
{
    setObjectName(objectName);
    setToolTip(toolTip);
    setCursor(Qt::PointingHandCursor);
    setAlignment(Qt::AlignCenter);
    setPicture(icon, size);
}

void PictureButton::setPicture(const QIcon &icon, int size)
{
    setPixmap(icon.pixmap(size, size));
    setFixedSize(size + 4, size + 4);
}

void PictureButton::mousePressEvent(QMouseEvent *event)
{
    m_releaseEndsDoubleClick = false;
    QLabel::mousePressEvent(event);
}

void PictureButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        const bool second = std::exchange(m_releaseEndsDoubleClick, false);
        // A double-click is one click and one double-click: its second press lands on
        // whatever the first click left in this place (the message's send and stop
        // buttons take turns).
        if (!second && rect().contains(event->position().toPoint()))
            emit clicked();
    }
    QLabel::mouseReleaseEvent(event);
}

void PictureButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The base class passes the event on as a press, which starts afresh.
    QLabel::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        m_releaseEndsDoubleClick = true;
        emit doubleClicked();
    }
}

QIcon themedIcon(const QString &name, const QColor &fallback, const QString &glyph)
{
    QIcon icon = QIcon::fromTheme(name);
    if (!icon.isNull())
        return icon;
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(fallback.darker(160), 3));
    painter.setBrush(fallback);
    painter.drawRoundedRect(QRectF(4, 4, 56, 56), 12, 12);
    if (!glyph.isEmpty()) {
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(glyph.size() > 1 ? 22 : 34);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QRectF(0, 0, 64, 64), Qt::AlignCenter, glyph);
    }
    return QIcon(pixmap);
}

} // namespace talveros::platform
