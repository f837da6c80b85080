#include "platform/PictureButton.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>

#include <utility>

namespace talveros::platform {

namespace {

bool isPressKey(const QKeyEvent *event)
{
    const int key = event->key();
    return (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter)
           && !(event->modifiers() & ~Qt::KeypadModifier);
}

// Around `area` and inside the widget: a picture keeps two pixels free around it for
// the frame, so nothing else moves.
void paintFocusFrame(QWidget *widget, const QRect &area)
{
    QPainter painter(widget);
    painter.setPen(QPen(widget->palette().color(QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(area.intersected(widget->rect())).adjusted(1, 1, -1, -1));
}

// What a screen reader sees of a picture or caption that acts: a button named by its
// caption (a label that has it as buddy, or the name the window gave it) or else by its
// tool tip, described by its tool tip, with a press action. Whether a picture acts is
// asked each time: a screen reader may be looking before the window is wired.
class PressableAccessible : public QAccessibleWidget {
public:
    explicit PressableAccessible(QWidget *widget) : QAccessibleWidget(widget, QAccessible::Button) {}

    QAccessible::Role role() const override { return acts() ? QAccessible::Button : QAccessible::Graphic; }

    QString text(QAccessible::Text t) const override
    {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty()) {
            if (auto *caption = qobject_cast<ActionCaption *>(widget()))
                text = caption->text();
            else
                text = widget()->toolTip();
        }
        return text;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (acts())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString &actionName) override
    {
        if (actionName != pressAction() || !acts()) {
            QAccessibleWidget::doAction(actionName);
        } else if (auto *picture = qobject_cast<PictureButton *>(widget())) {
            picture->press();
        } else if (auto *caption = qobject_cast<ActionCaption *>(widget())) {
            caption->press();
        }
    }

private:
    bool acts() const
    {
        const auto *picture = qobject_cast<const PictureButton *>(widget());
        return !picture || picture->acts();
    }
};

QAccessibleInterface *pressableFactory(const QString &, QObject *object)
{
    if (qobject_cast<PictureButton *>(object) || qobject_cast<ActionCaption *>(object))
        return new PressableAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

void installAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(pressableFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace

PictureButton::PictureButton(const QString &objectName, const QIcon &icon, const QString &toolTip, QWidget *parent,
                             int size)
    : QLabel(parent)
{
    setObjectName(objectName);
    setToolTip(toolTip);
    setCursor(Qt::PointingHandCursor);
    setAlignment(Qt::AlignCenter);
    setPicture(icon, size);
    setFocusPolicy(Qt::TabFocus);
    installAccessibleFactory();
}

bool PictureButton::acts() const
{
    return isSignalConnected(QMetaMethod::fromSignal(&PictureButton::clicked))
           || isSignalConnected(QMetaMethod::fromSignal(&PictureButton::doubleClicked));
}

void PictureButton::press()
{
    // One action, never both: a double-click is a click too, but the windows that act on
    // the double-click do not also want the click.
    if (isSignalConnected(QMetaMethod::fromSignal(&PictureButton::doubleClicked)))
        emit doubleClicked();
    else
        emit clicked();
}

void PictureButton::keyPressEvent(QKeyEvent *event)
{
    if (!isPressKey(event) || !acts()) {
        QLabel::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat())
        press();
}

void PictureButton::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (hasFocus())
        paintFocusFrame(this, rect());
}

void PictureButton::focusInEvent(QFocusEvent *event)
{
    QLabel::focusInEvent(event);
    update();
}

void PictureButton::focusOutEvent(QFocusEvent *event)
{
    QLabel::focusOutEvent(event);
    update();
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

ActionCaption::ActionCaption(const QString &text, QWidget *parent) : QLabel(text, parent)
{
    setFocusPolicy(Qt::TabFocus);
    installAccessibleFactory();
}

void ActionCaption::press()
{
    // The window acts in a filter on the caption's double-click; the keyboard's press
    // is that double-click, so that both stay one action in one place.
    const QPointF at = QRectF(rect()).center();
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, at, mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                            Qt::NoModifier);
    QCoreApplication::sendEvent(this, &doubleClick);
}

void ActionCaption::keyPressEvent(QKeyEvent *event)
{
    if (!isPressKey(event)) {
        QLabel::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat())
        press();
}

void ActionCaption::paintEvent(QPaintEvent *)
{
    // A label that can take the focus lays its text out as a document, a pixel off from
    // where a plain label draws it; drawn as the plain label draws it, the caption looks
    // the same as it always has. The focus frame goes round the text.
    QRect textArea;
    {
        QPainter painter(this);
        drawFrame(&painter);
        QStyleOption option;
        option.initFrom(this);
        const bool rightToLeft = text().isRightToLeft();
        const int flags = QStyle::visualAlignment(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight, alignment())
                          | (rightToLeft ? Qt::TextForceRightToLeft : Qt::TextForceLeftToRight);
        const int m = margin();
        const QRect area = contentsRect().adjusted(m, m, -m, -m);
        style()->drawItemText(&painter, area, flags, option.palette, isEnabled(), text(), foregroundRole());
        textArea = style()->itemTextRect(fontMetrics(), area, flags, isEnabled(), text());
    }
    if (hasFocus())
        paintFocusFrame(this, textArea.adjusted(-3, -3, 3, 3));
}

void ActionCaption::focusInEvent(QFocusEvent *event)
{
    QLabel::focusInEvent(event);
    update();
}

void ActionCaption::focusOutEvent(QFocusEvent *event)
{
    QLabel::focusOutEvent(event);
    update();
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
