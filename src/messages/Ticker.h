#pragma once

#include "platform/Dialogs.h"

#include <QObject>
#include <QString>

namespace talveros::messages {

class CommunicationTab;

// The broadcast message of the network's ticker: the first row of TALVERO_berichten.
// A stored text means the users' ticker runs; an empty one means it is stopped.
class Ticker : public QObject {
    Q_OBJECT
public:
    Ticker(CommunicationTab &tab, platform::Dialogs &dialogs, QObject *parent = nullptr);

    // Start-up: the stored message into the message box and the matching state. A
    // table without its row shows the stopped state with an empty box.
    void load();
    bool isRunning() const;
    void showRunning();
    void showStopped();

public slots:
    void send();
    void stop();
    void takePreset(int preset);

private:
    // Stores the text; false when the message row is missing (reported, nothing written).
    bool store(const QString &text);

    CommunicationTab &m_tab;
    platform::Dialogs &m_dialogs;
};

QString missingMessageRowText();
// What the administrator hears when the reply to a stored message never came.
QString messageNotStoredText();
QString messageOutcomeUnknownText();
QString messageChangedMeanwhileText();

} // namespace talveros::messages
