#pragma once

#include <QString>

class QWidget;

namespace talveros::platform {

// The text of a single-line or multi-line text box, whichever it is.
QString boxText(const QWidget *box);
void setBoxText(QWidget *box, const QString &text);

} // namespace talveros::platform
