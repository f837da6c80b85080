#include "platform/QtPrinters.h"

#include <QPrinterInfo>

namespace talveros::platform {

QStringList QtPrinters::installed() const
{
    return QPrinterInfo::availablePrinterNames();
}

QString QtPrinters::defaultPrinter() const
{
    return QPrinterInfo::defaultPrinterName();
}

void QtPrinters::use(const QString &deviceName)
{
    m_current = deviceName;
}

} // namespace talveros::platform
