#pragma once

#include "platform/PictureButton.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>

namespace talveros::messages {

// "Communicatie": the message for all users of the network, the pictures that switch
// their ticker on and off, and the three preset texts. It opens in the stopped look;
// start-up shows the state that matches the stored message.
class CommunicationTab : public QWidget {
    Q_OBJECT
public:
    explicit CommunicationTab(QWidget *parent = nullptr);

    // The third preset ends with this number; the network's help desk.
    static QString holidayTelephoneNumber();

    QLabel *Label9 = nullptr;     // state line
    QLineEdit *Text144 = nullptr; // the message; the administrator cannot type in it
    platform::PictureButton *Image25 = nullptr; // send (start the ticker)
    QLabel *Label11 = nullptr;
    platform::PictureButton *Image26 = nullptr; // stop the ticker
    QLabel *Label12 = nullptr;
    QRadioButton *Option1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QRadioButton *Option3 = nullptr;
};

} // namespace talveros::messages
