#pragma once

#include <QChar>
#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// The exact texts and small rules of registration. Plain functions: no widget, no
// database, so every text can be checked character by character.
namespace talveros::registration {

struct Credentials {
    QString login;
    QString password;
};

// Two characters of the surname, one of the address, the last of the postcode and the
// last two of the business telephone, then "1" (login) or "2" (password). Shorter texts
// give what they have.
Credentials deriveCredentials(const QString &surname, const QString &address, const QString &postcode,
                              const QString &businessPhone);

// The number after the last row's `nummer` (none: an empty table), kept to its last four
// digits: 41 gives 0042, 9999 gives 0000, 10000 gives 0001.
QString nextMasterNumber(std::optional<qint64> lastNummer);

struct ConsultantEntry {
    QString title, initials, prefix, surname, address, postcode, town;
};
QString consultantSummary(const ConsultantEntry &e);
QString consultantResult(const QString &number, const QString &surname, const Credentials &c);

struct ClientEntry {
    QString organisation, department, title, initials, prefix, surname, address, postcode, town;
};
// The organisation with its department in parentheses, as the client lists show it.
QString clientCompany(const QString &organisation, const QString &department);
QString clientSummary(const ClientEntry &e);
QString clientResult(const QString &number, const QString &surname, const Credentials &c);

// A number the rule derived that another row carries already.
QString consultantNumberInUse(const QString &number);
QString clientNumberInUse(const QString &number);
// Another workstation holds the numbering (or the project codes) for longer than we wait.
QString registrationBusy();

QString projectSummary(const QString &clientEntry, const QString &consultantEntry, const QString &name,
                       const QString &description);
QString projectExists(const QString &code);
// consultant number + name + client number, no separators.
QString projectCode(const QString &consultantNumber, const QString &name, const QString &clientNumber);

// "yyyy/mm/dd" with the year unpadded: texts of four-digit years sort as their dates.
QString planningDateText(const QDate &date);
// Whether a picked date may go into the start (or end) box, given the other box's text:
// the start may not come after the end, compared character by character.
bool planningDateAccepted(bool start, const QString &otherBox, const QString &picked);
QString planningDateRefusal(bool start);

// Whether a typed character may enter a duration or rate box.
bool numericKeyAllowed(QChar c);

QString deletionQuestion(const QString &number, const QString &name, const QString &description);
QString projectHasNoData(const QString &number);

// What the administrator hears when the reply to a write never came.
QString newRowNotStored();
QString newRowOutcomeUnknown();
QString earlierRegistrationStillUnknown();
QString nothingDeleted();
QString deletionOutcomeUnknown();
QString earlierDeletionStillUnknown();
// Asked before the same project's data is deleted again after such a deletion.
QString deletionAfterDoubtQuestion(const QString &number, qint64 rowsNow);

} // namespace talveros::registration
