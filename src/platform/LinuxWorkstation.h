#pragma once

#include "platform/Workstation.h"

#include <QLocale>
#include <QString>

#include <functional>
#include <optional>

namespace talveros::platform {

// Names the hardware database knows for a device, looked up by its modalias.
struct HardwareNames {
    std::optional<QString> vendor;
    std::optional<QString> model;
};
using HardwareLookup = std::function<HardwareNames(const QString &modalias)>;

// The udev hardware database (hwdb.bin); empty names when it is not installed or does
// not know the modalias.
HardwareNames udevHardwareNames(const QString &modalias);

// The regional settings as the login log wants them. The date separator is the first
// visible character of the short date format that is neither a letter, a blank nor a
// quote ("/" when there is none, as with "d MMM yyyy"); the time format is the long
// one without its time-zone part.
QString dateSeparatorOf(const QLocale &locale);
QString timeFormatOf(const QLocale &locale);
QString dateSeparatorFromFormat(const QString &shortDateFormat);
QString withoutTimeZone(const QString &timeFormat);

// The workstation read from sysfs below `root` ("/" in the program, a made-up tree in
// tests) and from the password database.
class LinuxWorkstation final : public Workstation {
public:
    explicit LinuxWorkstation(QString root = QStringLiteral("/"), HardwareLookup lookup = udevHardwareNames);

    std::optional<QString> accountName() const override;
    std::vector<BoardRecord> boards() const override;
    std::vector<AdapterRecord> adapters() const override;
    QString dateSeparator() const override;
    QString timeFormat() const override;

private:
    HardwareNames hardwareNames(const QString &device) const;

    QString m_root;
    HardwareLookup m_lookup;
};

} // namespace talveros::platform
