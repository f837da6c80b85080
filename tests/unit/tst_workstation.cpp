#include "platform/LinuxWorkstation.h"
#include "platform/QtAppControl.h"
#include "platform/QtPrinters.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <map>

using namespace talveros::platform;

namespace {

// A made-up sysfs below a temporary directory.
class FakeSys {
public:
    QString root() const { return m_dir.path(); }

    // Writes `content` to the file (creating its folders); a null content writes nothing.
    void write(const QString &relative, const QString &content)
    {
        if (content.isNull())
            return;
        const QString path = m_dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content.toUtf8());
    }
    void mkdir(const QString &relative) { QVERIFY(QDir().mkpath(m_dir.filePath(relative))); }
    void link(const QString &target, const QString &relative)
    {
        const QString path = m_dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QVERIFY(QFile::link(target, path));
    }

private:
    QTemporaryDir m_dir;
};

const std::map<QString, HardwareNames> kHwdb = {
    {"pci:v00008086d000015B8sv00001043sd00008672bc02sc00i00", {"Intel Corporation", "Ethernet Connection (2) I219-V"}},
    {"pci:v000010ECd00008168sv00001043sd00008432bc02sc00i00", {"Realtek Semiconductor Co., Ltd.", std::nullopt}},
};

HardwareNames fakeLookup(const QString &modalias)
{
    const auto it = kHwdb.find(modalias);
    return it == kHwdb.end() ? HardwareNames{} : it->second;
}

QString orNull(const std::optional<QString> &value)
{
    return value.value_or(QString());
}

class ClosingWindow : public QWidget {
public:
    int closes = 0;

protected:
    void closeEvent(QCloseEvent *event) override
    {
        ++closes;
        event->accept();
    }
};

} // namespace

class TestWorkstation : public QObject {
    Q_OBJECT

private slots:
    void boards_data();
    void boards();
    void adapter_data();
    void adapter();
    void adaptersInInterfaceOrder();
    void regionalSettings_data();
    void regionalSettings();
    void formatParts_data();
    void formatParts();
    void quitBeforeLoop();
    void quitWhileRunning();
    void printersWithoutServer();
};

void TestWorkstation::boards_data()
{
    QTest::addColumn<bool>("dmi");
    QTest::addColumn<QString>("vendorFile"); // null: no such file
    QTest::addColumn<QString>("nameFile");
    QTest::addColumn<QString>("maker"); // null: empty optional
    QTest::addColumn<QString>("type");

    QTest::newRow("both") << true << "ASUSTeK COMPUTER INC.\n" << "P8H61-M LE \n" << "ASUSTeK COMPUTER INC." << "P8H61-M LE";
    QTest::newRow("no vendor") << true << QString() << "X570 AORUS ELITE\n" << QString() << "X570 AORUS ELITE";
    QTest::newRow("no name") << true << "Gigabyte\n" << QString() << "Gigabyte" << QString();
    QTest::newRow("neither") << true << QString() << QString() << QString() << QString();
    QTest::newRow("no dmi") << false << QString() << QString() << QString() << QString();
}

void TestWorkstation::boards()
{
    QFETCH(bool, dmi);
    QFETCH(QString, vendorFile);
    QFETCH(QString, nameFile);
    QFETCH(QString, maker);
    QFETCH(QString, type);

    FakeSys sys;
    if (dmi)
        sys.mkdir("sys/class/dmi/id");
    sys.write("sys/class/dmi/id/board_vendor", vendorFile);
    sys.write("sys/class/dmi/id/board_name", nameFile);

    const std::vector<BoardRecord> boards = LinuxWorkstation(sys.root(), fakeLookup).boards();
    QCOMPARE(boards.size(), dmi ? 1u : 0u);
    if (!dmi)
        return;
    QCOMPARE(boards[0].manufacturer.has_value(), !maker.isNull());
    QCOMPARE(orNull(boards[0].manufacturer), maker);
    QCOMPARE(boards[0].product.has_value(), !type.isNull());
    QCOMPARE(orNull(boards[0].product), type);
}

void TestWorkstation::adapter_data()
{
    // "none", "dir", "link" into the device tree, "child": link to a virtio function
    // whose PCI parent carries the modalias
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("driver"); // null: no driver bound
    QTest::addColumn<QString>("modalias");
    QTest::addColumn<QString>("address"); // null: no address file
    QTest::addColumn<QString>("maker");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("mac");

    const QString intel = "pci:v00008086d000015B8sv00001043sd00008672bc02sc00i00";
    const QString realtek = "pci:v000010ECd00008168sv00001043sd00008432bc02sc00i00";
    QTest::newRow("known to hwdb") << "link" << "e1000e" << intel << "a8:5e:45:0b:cd:ef\n"
                                   << "Intel Corporation" << "Ethernet Connection (2) I219-V" << "A8:5E:45:0B:CD:EF";
    QTest::newRow("device is a folder") << "dir" << "e1000e" << intel << "52:54:00:ab:cd:ef\n"
                                        << "Intel Corporation" << "Ethernet Connection (2) I219-V" << "52:54:00:AB:CD:EF";
    QTest::newRow("vendor only") << "link" << "r8169" << realtek << "00:e0:4c:68:00:01\n"
                                 << "Realtek Semiconductor Co., Ltd." << "r8169" << "00:E0:4C:68:00:01";
    QTest::newRow("unknown to hwdb") << "link" << "virtio_net" << "virtio:d00000001v00001AF4" << "02:fc:00:00:00:01\n"
                                     << "virtio_net" << "virtio_net" << "02:FC:00:00:00:01";
    QTest::newRow("named by its parent") << "child" << "virtio_net" << intel << "52:54:00:12:34:56\n"
                                         << "Intel Corporation" << "Ethernet Connection (2) I219-V" << "52:54:00:12:34:56";
    QTest::newRow("no modalias") << "dir" << "iwlwifi" << QString() << "f4:8c:50:12:34:56\n"
                                 << "iwlwifi" << "iwlwifi" << "F4:8C:50:12:34:56";
    QTest::newRow("no driver, unknown") << "dir" << QString() << "usb:v0BDAp8153d3000" << "00:e0:4c:36:00:02\n"
                                        << QString() << QString() << "00:E0:4C:36:00:02";
    QTest::newRow("no address") << "link" << "e1000e" << intel << QString()
                                << "Intel Corporation" << "Ethernet Connection (2) I219-V" << QString();
    QTest::newRow("zero address") << "link" << "e1000e" << intel << "00:00:00:00:00:00\n"
                                  << "Intel Corporation" << "Ethernet Connection (2) I219-V" << QString();
    QTest::newRow("empty address") << "link" << "e1000e" << intel << "\n"
                                   << "Intel Corporation" << "Ethernet Connection (2) I219-V" << QString();
    QTest::newRow("virtual") << "none" << QString() << QString() << "9a:3c:11:22:33:44\n"
                             << "Microsoft" << "enp0s31f6" << "9A:3C:11:22:33:44";
}

void TestWorkstation::adapter()
{
    QFETCH(QString, device);
    QFETCH(QString, driver);
    QFETCH(QString, modalias);
    QFETCH(QString, address);
    QFETCH(QString, maker);
    QFETCH(QString, description);
    QFETCH(QString, mac);

    FakeSys sys;
    const QString itf = "sys/class/net/enp0s31f6";
    sys.write(itf + "/ifindex", "2\n");
    sys.write(itf + "/address", address);
    QString deviceDir = itf + "/device";
    if (device == "link" || device == "child") {
        deviceDir = "sys/devices/pci0000:00/0000:00:1f.6";
        if (device == "child") {
            sys.write(deviceDir + "/modalias", modalias + "\n");
            deviceDir += "/virtio2";
            modalias = "virtio:d00000001v00001AF4";
        }
        sys.mkdir(deviceDir);
        sys.link("../../../../" + deviceDir, itf + "/device");
    } else if (device == "dir") {
        sys.mkdir(deviceDir);
    }
    if (device != "none") {
        sys.write(deviceDir + "/modalias", modalias.isNull() ? QString() : modalias + "\n");
        if (!driver.isNull())
            sys.link("../../../bus/pci/drivers/" + driver, deviceDir + "/driver");
    }

    const std::vector<AdapterRecord> adapters = LinuxWorkstation(sys.root(), fakeLookup).adapters();
    QCOMPARE(adapters.size(), 1u);
    const AdapterRecord &a = adapters[0];
    QCOMPARE(a.manufacturer.has_value(), !maker.isNull());
    QCOMPARE(orNull(a.manufacturer), maker);
    QCOMPARE(a.description.has_value(), !description.isNull());
    QCOMPARE(orNull(a.description), description);
    QCOMPARE(a.macAddress.has_value(), !mac.isNull());
    QCOMPARE(orNull(a.macAddress), mac);
}

void TestWorkstation::adaptersInInterfaceOrder()
{
    // Laid out as the kernel does: class entries are links into the device tree, and
    // name order differs from interface-index order.
    FakeSys sys;
    const auto physical = [&sys](const QString &name, int index, const QString &pci, const QString &modalias) {
        const QString dev = "sys/devices/pci0000:00/" + pci;
        sys.write(dev + "/modalias", modalias + "\n");
        sys.link("../../../bus/pci/drivers/e1000e", dev + "/driver");
        sys.write(dev + "/net/" + name + "/ifindex", QString::number(index) + "\n");
        sys.link("../../../" + pci, dev + "/net/" + name + "/device");
        sys.link("../../devices/pci0000:00/" + pci + "/net/" + name, "sys/class/net/" + name);
    };
    const auto virtualItf = [&sys](const QString &name, int index) {
        const QString dev = "sys/devices/virtual/net/" + name;
        sys.write(dev + "/ifindex", QString::number(index) + "\n");
        sys.link("../../devices/virtual/net/" + name, "sys/class/net/" + name);
    };
    physical("eth1", 10, "0000:03:00.0", "pci:v000010ECd00008168sv00001043sd00008432bc02sc00i00");
    virtualItf("veth7f3a", 3);
    virtualItf("lo", 1);
    physical("eth0", 2, "0000:00:1f.6", "pci:v00008086d000015B8sv00001043sd00008672bc02sc00i00");
    sys.write("sys/class/net/bonding_masters", "\n");

    QStringList seen;
    for (const AdapterRecord &a : LinuxWorkstation(sys.root(), fakeLookup).adapters())
        seen << orNull(a.manufacturer) + " / " + orNull(a.description);
    QCOMPARE(seen, QStringList({"Microsoft / lo", "Intel Corporation / Ethernet Connection (2) I219-V",
                                "Microsoft / veth7f3a", "Realtek Semiconductor Co., Ltd. / e1000e"}));

    QVERIFY(LinuxWorkstation(sys.root() + "/nowhere", fakeLookup).adapters().empty());
}

void TestWorkstation::regionalSettings_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("time");

    QTest::newRow("nl_NL") << QLocale("nl_NL") << "-" << "HH:mm:ss";
    QTest::newRow("en_US") << QLocale("en_US") << "/" << "h:mm:ss AP";
    QTest::newRow("de_DE") << QLocale("de_DE") << "." << "HH:mm:ss";
    QTest::newRow("C") << QLocale::c() << "/" << "HH:mm:ss";
    QTest::newRow("zh_CN zone first") << QLocale("zh_CN") << "/" << "HH:mm:ss";
    QTest::newRow("fa_IR zone in brackets") << QLocale("fa_IR") << "/" << "H:mm:ss";
    QTest::newRow("ar_EG marks around separator") << QLocale("ar_EG") << "/" << "h:mm:ss AP";
    QTest::newRow("hu_HU") << QLocale("hu_HU") << "." << "H:mm:ss";
    QTest::newRow("be_BY comma before zone") << QLocale("be_BY") << "." << "HH:mm:ss";
}

void TestWorkstation::regionalSettings()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, separator);
    QFETCH(QString, time);

    QCOMPARE(dateSeparatorOf(locale), separator);
    QCOMPARE(timeFormatOf(locale), time);
}

void TestWorkstation::formatParts_data()
{
    QTest::addColumn<QString>("dateFormat");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("timeFormat");
    QTest::addColumn<QString>("withoutZone");

    QTest::newRow("plain") << "dd-MM-yyyy" << "-" << "HH:mm:ss tttt" << "HH:mm:ss";
    QTest::newRow("quoted letters kept") << "'Le' d/M/yy" << "/" << "H 'h' mm 'tot' t" << "H 'h' mm 'tot'";
    QTest::newRow("escaped quote") << "d''MM''yy" << "/" << "h 'o''clock' t" << "h 'o''clock'";
    QTest::newRow("zone in the middle") << "yyyy.MM.dd" << "." << "HH:mm t ss" << "HH:mm ss";
    QTest::newRow("square brackets") << "yy/M/d" << "/" << "HH:mm:ss [ttt]" << "HH:mm:ss";
    QTest::newRow("letters only") << "dMMMyyyy" << "/" << "t" << "";
}

void TestWorkstation::formatParts()
{
    QFETCH(QString, dateFormat);
    QFETCH(QString, separator);
    QFETCH(QString, timeFormat);
    QFETCH(QString, withoutZone);

    QCOMPARE(dateSeparatorFromFormat(dateFormat), separator);
    QCOMPARE(withoutTimeZone(timeFormat), withoutZone);
}

void TestWorkstation::quitBeforeLoop()
{
    ClosingWindow window;
    window.show();
    QtAppControl control;
    QVERIFY(!control.requested());

    control.quit(3);
    QVERIFY(control.requested());
    QCOMPARE(control.exitCode(), 3);
    QCOMPARE(window.closes, 1);
    QVERIFY(!window.isVisible());
    // A loop started after all still ends at once, with the requested status.
    QTimer::singleShot(10000, [] { QCoreApplication::exit(-1); }); // fail rather than hang
    QCOMPARE(QApplication::exec(), 3);
}

void TestWorkstation::quitWhileRunning()
{
    ClosingWindow window;
    window.show();
    QtAppControl control;
    QTimer::singleShot(0, &window, [&control] { control.quit(7); });
    QTimer::singleShot(10000, [] { QCoreApplication::exit(-1); });
    // Closing the last window posts a quit of its own; the requested status must win.
    QCOMPARE(QApplication::exec(), 7);
    QCOMPARE(window.closes, 1);
    QCOMPARE(control.exitCode(), 7);
}

void TestWorkstation::printersWithoutServer()
{
    QtPrinters printers;
    const QStringList names = printers.installed();
    const QString defaultName = printers.defaultPrinter();
    QVERIFY(defaultName.isEmpty() || names.contains(defaultName));
    printers.use("Kantoor HP");
    QCOMPARE(printers.current(), QString("Kantoor HP"));
}

QTEST_MAIN(TestWorkstation)
#include "tst_workstation.moc"
