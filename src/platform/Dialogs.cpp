#include "platform/Dialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace talveros::platform {

Answer WidgetDialogs::message(const QString &text, const QString &title, Icon icon, Buttons buttons)
{
    QMessageBox box(m_parent ? m_parent : QApplication::activeWindow());
    box.setWindowTitle(title.isEmpty() ? QString::fromLatin1(kAppTitle) : title);
    box.setText(text);
    switch (icon) {
    case Icon::None: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case Icon::Critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    }
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int result = box.exec();
    if (buttons == Buttons::YesNo)
        return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
    return Answer::Ok;
}

std::optional<QString> WidgetDialogs::input(const QString &prompt, const QString &title, const QString &defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent ? m_parent : QApplication::activeWindow(),
                                               title.isEmpty() ? QString::fromLatin1(kAppTitle) : title, prompt,
                                               QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

} // namespace talveros::platform

namespace talveros::platform {

QString programFaultText(const char *what)
{
    QString text = QStringLiteral("Er is een fout in het programma zelf opgetreden; de actie is afgebroken. Er is "
                                  "niets mis met de gegevens op de server.");
    if (what && *what)
        text += QStringLiteral("\n(%1)").arg(QString::fromUtf8(what));
    return text;
}

QString outOfMemoryText()
{
    return QStringLiteral("Er is niet genoeg geheugen vrij voor deze actie; ze is afgebroken.");
}

} // namespace talveros::platform
