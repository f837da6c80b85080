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

    // The holiday preset ends with this number: the network's help desk.
    static QString holidayTelephoneNumber();

    QLabel *tickerStateHeading = nullptr;
    QLineEdit *messageBox = nullptr;
    platform::PictureButton *sendButton = nullptr;
    QLabel *sendCaption = nullptr;
    platform::PictureButton *stopButton = nullptr;
    QLabel *stopCaption = nullptr;
    QRadioButton *presetGeneral = nullptr;
    QRadioButton *presetMaintenance = nullptr;
    QRadioButton *presetHoliday = nullptr;
};

} // namespace talveros::messages
