#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace talveros::platform {

// The installed printers and the one used for printing.
class Printers {
public:
    virtual ~Printers() = default;
    // Device names in the order the printing system lists them.
    virtual QStringList installed() const = 0;
    // Device name of the default printer; empty when there is none.
    virtual QString defaultPrinter() const = 0;
    // Makes the named printer the one used for printing.
    virtual void use(const QString &deviceName) = 0;
};

struct BoardRecord {
    std::optional<QString> manufacturer;
    std::optional<QString> product;
};

// A network adapter as the management service describes it: virtual adapters carry
// the manufacturer "Microsoft" and are ignored by the login log.
struct AdapterRecord {
    std::optional<QString> manufacturer;
    std::optional<QString> description;
    std::optional<QString> macAddress; // upper-case hex pairs joined by ":"
};

// What the workstation tells about itself for the login log.
class Workstation {
public:
    virtual ~Workstation() = default;
    // The account running the program; empty optional when it cannot be told.
    virtual std::optional<QString> accountName() const = 0;
    virtual std::vector<BoardRecord> boards() const = 0;
    virtual std::vector<AdapterRecord> adapters() const = 0;
    // The regional settings: the date separator and the time format (QTime pattern).
    virtual QString dateSeparator() const = 0;
    virtual QString timeFormat() const = 0;
};

} // namespace talveros::platform
