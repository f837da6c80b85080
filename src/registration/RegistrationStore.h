#pragma once

#include "data/Connection.h"

#include <QString>

#include <functional>
#include <utility>
#include <vector>

// What registration writes, each under a named lock on the server so that two
// workstations running this program cannot derive the same number or store the same
// project code at the same moment; on a cluster, where each node has its own locks, the
// key of the row decides. Every function opens and closes its own connection.
namespace talveros::registration {

// Column name and value, in the order the row's fields are set.
using Fields = std::vector<std::pair<QString, QString>>;

// How long an action waits for another workstation's registration to finish.
void setLockWaitSeconds(int seconds);
int lockWaitSeconds();

struct MasterTable {
    QString table;        // TALVERO_consultants or TALVERO_opdrachtgevers
    QString numberColumn; // consultantnummer or Opdrachtgevernummer
    std::function<QString(const QString &number)> numberInUse;
};

// Derives the next master number from the last row's `nummer`, refuses it when a row
// carries it already, and adds the row `fieldsFor(number)` gives, with the `nummer` the
// number came from. When another workstation stored that `nummer` first, derives again;
// after a few such losses throws DbError with registrationBusy(). Returns the number
// stored.
QString insertNumberedRow(const MasterTable &target, const std::function<Fields(const QString &number)> &fieldsFor);

// Adds the project unless a row holds the same code byte for byte (letter case and
// trailing blanks count); false, with nothing written, when one does, also when it was
// stored through another node of a cluster at the same moment.
bool insertProjectUnlessTaken(const QString &code, const Fields &fields);

enum class Deletion { Deleted, NoDataRow, Kept };

// Deletes the first row of TALVERO_PROJECT_DATA, in table order, whose `nummer` is
// exactly `number`: NoDataRow when there is none. When an earlier deletion of the same
// project may or may not have taken (its commit was never answered), deleteAfterDoubt is
// asked first, with the number of the project's rows now; Kept, with nothing deleted,
// when it says no. A reply that never comes is a DbError that says what is known.
Deletion deleteFirstProjectData(const QString &number, const std::function<bool(qint64 rowsNow)> &deleteAfterDoubt);

} // namespace talveros::registration
