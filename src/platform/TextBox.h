#pragma once

#include <QString>

class QLineEdit;
class QWidget;

namespace talveros::platform {

// The text of a single-line or multi-line text box, whichever it is. For a multi-line
// box it is the text the program last put in, changed only where the administrator
// edited it: the box shows every line break as a plain new line (and may show
// special blanks differently), yet the network's other programs expect their CR LF
// and every other character back exactly as stored.
QString boxText(const QWidget *box);
void setBoxText(QWidget *box, const QString &text);

// How a multi-line box shows a stored text: every line break (CR LF, LF or a lone CR)
// as one new line.
QString shownText(const QString &stored);
// The stored text after the administrator changed its shown form into `shown`: the
// unchanged beginning and end keep their stored characters, and the edited middle is
// taken as typed, with each new line stored as CR LF.
QString storedAfterEdit(const QString &stored, const QString &shown);

// A length limit for what the administrator types, never for what the program puts
// in: a longer stored value is shown whole, and typing cannot make it longer still.
void limitTyping(QLineEdit *box, int limit);
// The limit limitTyping set; 0 when there is none.
int typingLimit(const QLineEdit *box);

} // namespace talveros::platform
