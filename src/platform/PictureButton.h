#pragma once

#include <QIcon>
#include <QLabel>

namespace talveros::platform {

// A picture that acts as a button: it shows an icon and a tool tip and reports clicks
// and double-clicks, which the windows use for different actions.
//
// It is a button for the keyboard and for screen readers too: Tab reaches it (a click
// does not move the focus, so the mouse works as before), Space or Enter presses it, and
// a frame shows while it has the focus. A press is one double-click when the window acts
// on the double-click, else one click; a held key does not repeat it. A picture that is
// only decoration takes no focus (Qt::NoFocus) and is no button to a screen reader.
class PictureButton : public QLabel {
    Q_OBJECT
public:
    PictureButton(const QString &objectName, const QIcon &icon, const QString &toolTip, QWidget *parent = nullptr,
                  int size = 32);

    void setPicture(const QIcon &icon, int size);

    // Whether the window acts on it at all, by click or double-click.
    bool acts() const;
    // The keyboard's and the screen reader's press.
    void press();

signals:
    void clicked();
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // The release that ends a double-click is not a click of its own. A press starts
    // afresh, should that release have gone elsewhere (a box the double-click opened).
    bool m_releaseEndsDoubleClick = false;
};

// A caption the window acts on when it is double-clicked (through an event filter of
// the window's), made a button for the keyboard and screen readers as PictureButton
// is: Space or Enter is that double-click, once.
class ActionCaption : public QLabel {
    Q_OBJECT
public:
    explicit ActionCaption(const QString &text, QWidget *parent = nullptr);

    void press();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
};

// An icon from the desktop's theme, or a drawn stand-in when the theme lacks it.
QIcon themedIcon(const QString &name, const QColor &fallback, const QString &glyph = {});

} // namespace talveros::platform
