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

// Holds a server-side named lock for as long as it lives; the lock goes with the
// connection if the release itself fails.
class NamedLock {
public:
    // Throws DbError with a plain message when the lock is not had within the wait.
    NamedLock(data::Connection &conn, const QString &name);
    ~NamedLock();
    NamedLock(const NamedLock &) = delete;
    NamedLock &operator=(const NamedLock &) = delete;

private:
    data::Connection &m_conn;
    QByteArray m_name;
};

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

// Deletes the first row of TALVERO_PROJECT_DATA, in table order, whose `nummer` is
// exactly `number`; false when there is none.
bool deleteFirstProjectData(const QString &number);

} // namespace talveros::registration
