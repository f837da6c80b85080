#pragma once

#include <QString>

class QLineEdit;
class QPlainTextEdit;
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
// A limit of 0 limits nothing. Either way the box takes what is pasted or dropped into
// it as if those characters were typed one by one (see keptAfterEdit), so every
// one-line box the program fills or the administrator edits goes through here.
void limitTyping(QLineEdit *box, int limit);
// A multi-line box takes what is pasted or dropped into it as typed as well: new lines
// kept, tabs (which move to the next box), other control characters and half
// characters left out. The program's own text is never touched.
void limitTyping(QPlainTextEdit *box);
// Characters the box refuses when typed, refused as well when pasted.
void restrictTyping(QLineEdit *box, bool (*allowed)(QChar));
// The text an edit that turned `before` into `after` leaves when its new characters are
// taken as typing takes them: control characters and half characters left out, and
// those `allowed` refuses; a character that would make the text longer than `limit`
// (0: none) and longer than it was refused, with every one after it. `cursor` receives
// where the kept characters end.
QString keptAfterEdit(const QString &before, const QString &after, int limit, bool (*allowed)(QChar) = nullptr,
                      qsizetype *cursor = nullptr);
// The limit limitTyping set; 0 when there is none.
int typingLimit(const QLineEdit *box);

} // namespace talveros::platform
