#pragma once

#include <QIcon>
#include <QLabel>

namespace talveros::platform {

// A picture that acts as a button: it shows an icon and a tool tip and reports clicks
// and double-clicks, which the windows use for different actions.
class PictureButton : public QLabel {
    Q_OBJECT
public:
    PictureButton(const QString &objectName, const QIcon &icon, const QString &toolTip, QWidget *parent = nullptr,
                  int size = 32);

    void setPicture(const QIcon &icon, int size);

signals:
    void clicked();
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    // The release that ends a double-click is not a click of its own. A press starts
    // afresh, should that release have gone elsewhere (a box the double-click opened).
    bool m_releaseEndsDoubleClick = false;
};

// An icon from the desktop's theme, or a drawn stand-in when the theme lacks it.
QIcon themedIcon(const QString &name, const QColor &fallback, const QString &glyph = {});

} // namespace talveros::platform
