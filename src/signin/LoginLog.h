#pragma once

#include "platform/Services.h"

#include <QDateTime>
#include <QString>

namespace talveros::signin {

// What the login log records of the workstation. Kept for the whole run; a value its
// source cannot supply keeps what it had.
struct WorkstationInfo {
    QString dateTime;
    QString userName;
    QString adapterDescription;
    QString adapterAddress;
    QString boardMaker;
    QString boardType;
    QString printerName;
};

// The text up to its first NUL character.
QString trimAtNul(const QString &text);

// The account running the program, whole whatever its length, so that the log names
// every account exactly; when it cannot be told the stored name is left unchanged.
QString readUserName(const platform::Workstation &workstation, WorkstationInfo &info);
// The last board reported wins; a property without value is skipped.
void readBoardInfo(const platform::Workstation &workstation, WorkstationInfo &info);
// The last adapter whose manufacturer is known and not "Microsoft" wins; each of its
// two properties is skipped on its own when it has no value.
void readNetworkAdapter(const platform::Workstation &workstation, WorkstationInfo &info);

// "yyyy/mm/dd" with the workstation's date separator, three blanks, the time of day in
// the workstation's time format.
QString loginDateTimeText(const QDateTime &at, const QString &dateSeparator, const QString &timeFormat);

// Appends the row of one successful sign-in to LOGINadministrator.
void writeLoginLog(platform::Services &services, WorkstationInfo &info);

// Makes the printer with exactly this device name the one used for printing.
bool selectPrinter(platform::Printers &printers, const QString &deviceName);

} // namespace talveros::signin
