#pragma once

#include "platform/Failure.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace talveros::platform {

class ListRows;

enum class SheetFormat { Xlsx, Csv };

// A list that could not be written; the text names the file and why, for the
// administrator as it stands.
class ExportFailure : public Failure {
public:
    explicit ExportFailure(const QString &text) : Failure(text) {}
};

// Told how many rows are written now, now and then and once at the end; false stops
// the export.
using ExportProgress = std::function<bool(int rowsWritten)>;

// Writes the rows' fields, one line of the sheet a row in the order given, under a
// header line of the column names. Every value is written as text, as the tables hold
// it: a number with leading zeros keeps them. The file appears whole or not at all: it
// is written beside `path` under a passing name and takes the place of whatever was at
// `path` only once it is complete, so a failure or a stop leaves what was there as it
// was. False when `progress` stopped it; throws ExportFailure when it cannot be written.
bool writeSheet(const ListRows &rows, const QString &path, SheetFormat format, const ExportProgress &progress);

// One line of the CSV form a Dutch spreadsheet opens as columns: fields between
// semicolons, a field holding a semicolon, quote, CR or LF quoted (its quotes doubled),
// ended by CR LF. The file starts with the UTF-8 byte-order mark.
QByteArray csvLine(const QStringList &fields);
inline constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

// The box of a file that could not be written: which file, and why in words; the
// reason for an errno value.
QString exportFailureText(const QString &path, const QString &reason);
QString writeFailureReason(int error);

} // namespace talveros::platform
