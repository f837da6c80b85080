#include "platform/LinuxWorkstation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <libudev.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <memory>

namespace talveros::platform {

namespace {

// A sysfs attribute, trimmed; empty optional when it is missing or cannot be read.
std::optional<QString> readAttribute(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return QString::fromUtf8(file.readAll()).trimmed();
}

std::optional<QString> macAddress(const QString &interfaceDir)
{
    std::optional<QString> address = readAttribute(interfaceDir + QLatin1String("/address"));
    if (!address || address->isEmpty())
        return std::nullopt;
    // Loopback and tunnels report zeros: no hardware address at all.
    const bool allZeros = std::all_of(address->cbegin(), address->cend(),
                                      [](QChar c) { return c == u'0' || c == u':'; });
    if (allZeros)
        return std::nullopt;
    return address->toUpper();
}

// The driver bound to a device is the name its `driver` link points at.
std::optional<QString> driverName(const QString &deviceDir)
{
    const QFileInfo link(deviceDir + QLatin1String("/driver"));
    if (!link.isSymLink())
        return std::nullopt;
    const QString name = QFileInfo(link.symLinkTarget()).fileName();
    return name.isEmpty() ? std::nullopt : std::optional<QString>(name);
}

void chopBlanks(QString &text)
{
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
}

qsizetype skipBlanks(const QString &text, qsizetype from)
{
    while (from < text.size() && text.at(from).isSpace())
        ++from;
    return from;
}

} // namespace

HardwareNames udevHardwareNames(const QString &modalias)
{
    HardwareNames names;
    const std::unique_ptr<udev, decltype(&udev_unref)> context(udev_new(), &udev_unref);
    if (!context)
        return names;
    // Without an installed hwdb.bin this is null, and every device is unknown.
    const std::unique_ptr<udev_hwdb, decltype(&udev_hwdb_unref)> hwdb(udev_hwdb_new(context.get()),
                                                                       &udev_hwdb_unref);
    if (!hwdb)
        return names;
    const QByteArray key = modalias.toUtf8();
    udev_list_entry *entry = nullptr;
    udev_list_entry_foreach(entry, udev_hwdb_get_properties_list_entry(hwdb.get(), key.constData(), 0))
    {
        const char *name = udev_list_entry_get_name(entry);
        const char *value = udev_list_entry_get_value(entry);
        if (!name || !value)
            continue;
        if (qstrcmp(name, "ID_VENDOR_FROM_DATABASE") == 0)
            names.vendor = QString::fromUtf8(value);
        else if (qstrcmp(name, "ID_MODEL_FROM_DATABASE") == 0)
            names.model = QString::fromUtf8(value);
    }
    return names;
}

QString dateSeparatorFromFormat(const QString &shortDateFormat)
{
    bool quoted = false;
    for (const QChar c : shortDateFormat) {
        if (c == u'\'') {
            quoted = !quoted;
            continue;
        }
        // Right-to-left marks and other invisible characters sit between the fields
        // of some formats; they are no separator.
        if (!quoted && c.isPrint() && !c.isLetter() && !c.isSpace())
            return QString(c);
    }
    return QStringLiteral("/");
}

QString withoutTimeZone(const QString &timeFormat)
{
    QString out;
    const qsizetype n = timeFormat.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = timeFormat.at(i);
        if (c == u'\'') {
            // A quoted literal is copied whole: a 't' in it is text, not the zone.
            const qsizetype close = timeFormat.indexOf(u'\'', i + 1);
            const qsizetype end = close < 0 ? n : close + 1;
            out += QStringView(timeFormat).mid(i, end - i);
            i = end;
            continue;
        }
        if (c != u't') {
            out += c;
            ++i;
            continue;
        }
        while (i < n && timeFormat.at(i) == u't')
            ++i;
        chopBlanks(out);
        const qsizetype next = skipBlanks(timeFormat, i);
        if (!out.isEmpty() && next < n
            && ((out.back() == u'(' && timeFormat.at(next) == u')')
                || (out.back() == u'[' && timeFormat.at(next) == u']'))) {
            out.chop(1);
            chopBlanks(out);
            i = next + 1;
        }
        if (skipBlanks(timeFormat, i) == n && out.endsWith(u',')) {
            // "HH:mm:ss, t": the comma only led to the zone.
            out.chop(1);
            chopBlanks(out);
        }
        if (out.isEmpty())
            i = skipBlanks(timeFormat, i);
    }
    return out.trimmed();
}

QString dateSeparatorOf(const QLocale &locale)
{
    return dateSeparatorFromFormat(locale.dateFormat(QLocale::ShortFormat));
}

QString timeFormatOf(const QLocale &locale)
{
    return withoutTimeZone(locale.timeFormat(QLocale::LongFormat));
}

LinuxWorkstation::LinuxWorkstation(QString root, HardwareLookup lookup)
    : m_root(std::move(root)), m_lookup(std::move(lookup))
{
    while (m_root.size() > 1 && m_root.endsWith(u'/'))
        m_root.chop(1);
    if (m_root == QLatin1String("/"))
        m_root.clear();
}

std::optional<QString> LinuxWorkstation::accountName() const
{
    long hint = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(hint > 0 ? static_cast<size_t>(hint) : 1024);
    passwd entry{};
    passwd *found = nullptr;
    int rc = 0;
    while ((rc = getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found)) == ERANGE
           && buffer.size() < (1u << 20))
        buffer.resize(buffer.size() * 2);
    if (rc != 0 || !found || !found->pw_name)
        return std::nullopt;
    return QString::fromLocal8Bit(found->pw_name);
}

std::vector<BoardRecord> LinuxWorkstation::boards() const
{
    const QString dmi = m_root + QLatin1String("/sys/class/dmi/id");
    if (!QFileInfo(dmi).isDir())
        return {};
    return {BoardRecord{readAttribute(dmi + QLatin1String("/board_vendor")),
                        readAttribute(dmi + QLatin1String("/board_name"))}};
}

std::vector<AdapterRecord> LinuxWorkstation::adapters() const
{
    struct Interface {
        int index;
        QString name;
        QString path;
    };
    std::vector<Interface> interfaces;
    const QDir net(m_root + QLatin1String("/sys/class/net"));
    for (const QFileInfo &info : net.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        bool ok = false;
        const int index = readAttribute(info.filePath() + QLatin1String("/ifindex")).value_or(QString()).toInt(&ok);
        interfaces.push_back({ok ? index : INT_MAX, info.fileName(), info.filePath()});
    }
    std::stable_sort(interfaces.begin(), interfaces.end(),
                     [](const Interface &a, const Interface &b) { return a.index < b.index; });

    std::vector<AdapterRecord> adapters;
    for (const Interface &itf : interfaces) {
        AdapterRecord adapter;
        adapter.macAddress = macAddress(itf.path);
        const QString device = itf.path + QLatin1String("/device");
        const QFileInfo deviceInfo(device);
        if (!deviceInfo.exists() && !deviceInfo.isSymLink()) {
            // Only hardware has a device behind it; loopback, veth, bridges and tunnels
            // get the maker the log passes over.
            adapter.manufacturer = QStringLiteral("Microsoft");
            adapter.description = itf.name;
        } else {
            const HardwareNames names = hardwareNames(device);
            const std::optional<QString> driver = driverName(device);
            adapter.manufacturer = names.vendor ? names.vendor : driver;
            adapter.description = names.model ? names.model : driver;
        }
        adapters.push_back(std::move(adapter));
    }
    return adapters;
}

// As udev names a device: by the first of it and its parents that the database
// knows. A virtio or USB network function is known only by the PCI or USB device
// it sits on.
HardwareNames LinuxWorkstation::hardwareNames(const QString &device) const
{
    if (!m_lookup)
        return {};
    const QString devices = QFileInfo(m_root + QLatin1String("/sys/devices")).canonicalFilePath();
    QString dir = device;
    QString real = QFileInfo(device).canonicalFilePath();
    for (int depth = 0; depth < 16; ++depth) {
        const std::optional<QString> modalias = readAttribute(dir + QLatin1String("/modalias"));
        if (modalias && !modalias->isEmpty()) {
            HardwareNames names = m_lookup(*modalias);
            if (names.vendor || names.model)
                return names;
        }
        if (devices.isEmpty() || !real.startsWith(devices + u'/'))
            break;
        real = QFileInfo(real).path();
        dir = real;
        if (real == devices)
            break;
    }
    return {};
}

QString LinuxWorkstation::dateSeparator() const
{
    return dateSeparatorOf(QLocale::system());
}

QString LinuxWorkstation::timeFormat() const
{
    return timeFormatOf(QLocale::system());
}

} // namespace talveros::platform
