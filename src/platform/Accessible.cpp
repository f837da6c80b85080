#include "platform/Accessible.h"

#include <QLabel>

namespace talveros::platform {

QString captionOf(const QWidget *control)
{
    if (!control || !control->parentWidget())
        return {};
    const auto labels = control->parentWidget()->findChildren<QLabel *>(Qt::FindDirectChildrenOnly);
    for (const QLabel *label : labels) {
        if (label->buddy() == control) {
            QString text = label->text();
            text.replace(QLatin1String("&&"), QLatin1String("\x01"));
            text.remove(QLatin1Char('&'));
            text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
            return text.simplified();
        }
    }
    return {};
}

void speak(std::initializer_list<Spoken> controls)
{
    for (const Spoken &s : controls) {
        s.control->setAccessibleName(s.name.simplified());
        if (!s.description.isEmpty())
            s.control->setAccessibleDescription(s.description.simplified());
    }
}

void chainFocus(const QList<QWidget *> &controls)
{
    QWidget *previous = nullptr;
    for (QWidget *control : controls) {
        if (control->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

} // namespace talveros::platform
