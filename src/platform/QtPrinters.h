#pragma once

#include "platform/Workstation.h"

namespace talveros::platform {

// The printers of the printing system (CUPS) as Qt PrintSupport lists them.
class QtPrinters final : public Printers {
public:
    QStringList installed() const override;
    QString defaultPrinter() const override;
    void use(const QString &deviceName) override;

    // The printer chosen for printing; a QPrinter is made from it when printing starts.
    QString current() const { return m_current; }

private:
    QString m_current;
};

} // namespace talveros::platform
