// Device against the device simulator over a real pseudo-terminal: the exact bytes of every
// request, the decoding of every answer, the poll budgets and the discovery filter.
#include "Device.h"
#include "Simulator.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <memory>
#include <thread>

namespace
{
QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values)
        result.append(static_cast<char>(value));
    return result;
}

QByteArray page(int seed)
{
    QByteArray result(Device::MEMORY_PAGE_SIZE, 0);
    for (int i = 0; i < result.size(); i++)
        result[i] = static_cast<char>((i * 7 + seed) & 0xFF);
    return result;
}

QByteArray memoryImage(Device& device, Device::MemoryId memoryId)
{
    return QByteArray(reinterpret_cast<const char*>(device.getMemoryBuffer(memoryId)), Device::MEMORY_SIZE);
}

QStringList serialNumbers(const QList<DevicePortInfo>& ports)
{
    QStringList result;
    for (const DevicePortInfo& port : ports)
        result << port.serialNumber();
    return result;
}

QStringList listedSerialNumbers()
{
    std::unique_ptr<QList<DevicePortInfo>> ports(Device::findAvailableDevices());
    return serialNumbers(*ports);
}

// Sets PAVISOR_SIMULATOR_DIR for one scope, so that a failing test does not leave it behind.
class SimulatorDirectoryVariable
{
public:
    explicit SimulatorDirectoryVariable(const QString& directory)
    {
        qputenv("PAVISOR_SIMULATOR_DIR", QFile::encodeName(directory));
    }
    ~SimulatorDirectoryVariable() { qunsetenv("PAVISOR_SIMULATOR_DIR"); }
};

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}
} // namespace

#define START_SIMULATOR(simulator, flags)                                                                    \
    QVERIFY2((simulator).start(flags), qPrintable((simulator).errorString()))

class TestDevice : public QObject
{
    Q_OBJECT

private slots:
    void everyCommandSendsItsExactBytesAndDecodesItsAnswer();
    void namesAndSerialNumbers();
    void failuresStayWithinTheirPollBudget();
    void slowAnswersShareThePollBudget();
    void vanishedOrUnavailablePorts();
    void discoveryListsOnlyPavisorPorts();
    void selectedDeviceIsOwnedThroughRelease();
};

void TestDevice::everyCommandSendsItsExactBytesAndDecodesItsAnswer()
{
    Simulator simulator;
    // Low bytes with the top bit set catch a signed-byte decoding.
    START_SIMULATOR(simulator, QStringList({"--versions", "496,33023"}));
    auto device = std::make_unique<Device>(simulator.portInfo());
    QCOMPARE(device->getName(), QStringLiteral("No name defined"));
    QCOMPARE(device->getUsbSerialNumber(), QStringLiteral("QRTAV-000001"));

    QCOMPARE(device->open(), 0);
    QCOMPARE(simulator.recordedBytes(), bytes({0xA5, 0x08}));
    QCOMPARE(device->getName(), QStringLiteral("No name defined"));

    simulator.clearRecord();
    int hardwareVersion = -1;
    int firmwareVersion = -1;
    QCOMPARE(device->readVersionsInformation(hardwareVersion, firmwareVersion), 0);
    QCOMPARE(hardwareVersion, 0x01F0);
    QCOMPARE(firmwareVersion, 0x80FF);
    QCOMPARE(simulator.recordedBytes(), bytes({0xA5, 0x00}));

    simulator.clearRecord();
    QCOMPARE(device->setLedState(COMMUNICATION_PROTOCOL_LED_STATE_ACCESS), 0);
    QCOMPARE(device->setLedState(COMMUNICATION_PROTOCOL_LED_STATE_IDENTIFY), 0);
    QCOMPARE(simulator.recordedBytes(), bytes({0xA5, 0x01, 0x03, 0xA5, 0x01, 0x02}));

    // Pages go to the memory selected last, numbered big-endian.
    simulator.clearRecord();
    QByteArray lastPage = page(1);
    QByteArray middlePage = page(2);
    QCOMPARE(device->selectMemory(Device::MEMORY_ID_BACKUP), 0);
    QCOMPARE(device->writeSelectedMemoryPage(511, lastPage.data()), 0);
    QCOMPARE(device->writeSelectedMemoryPage(256, middlePage.data()), 0);
    QCOMPARE(simulator.recordedBytes(), bytes({0xA5, 0x02, 0x01}) + bytes({0xA5, 0x04, 0x01, 0xFF}) +
                                            lastPage + bytes({0xA5, 0x04, 0x01, 0x00}) + middlePage);
    const QByteArray backup = simulator.stateFile(QStringLiteral("backup.bin"));
    QCOMPARE(backup.mid(511 * 256), lastPage);
    QCOMPARE(backup.mid(256 * 256, 256), middlePage);
    QCOMPARE(simulator.stateFile(QStringLiteral("main.bin")), QByteArray(Device::MEMORY_SIZE, '\xFF'));

    simulator.clearRecord();
    QCOMPARE(device->readWholeMemory(Device::MEMORY_ID_MAIN), 0);
    QCOMPARE(device->readWholeMemory(Device::MEMORY_ID_BACKUP), 0);
    QCOMPARE(simulator.recordedBytes(), bytes({0xA5, 0x02, 0x00, 0xA5, 0x05, 0xA5, 0x02, 0x01, 0xA5, 0x05}));
    QCOMPARE(memoryImage(*device, Device::MEMORY_ID_MAIN), QByteArray(Device::MEMORY_SIZE, '\xFF'));
    QCOMPARE(memoryImage(*device, Device::MEMORY_ID_BACKUP), backup);

    // Only the two memories have an image; nothing is sent for any other.
    QVERIFY(device->getMemoryBuffer(Device::MEMORY_ID_MAIN) !=
            device->getMemoryBuffer(Device::MEMORY_ID_BACKUP));
    QCOMPARE(device->getMemoryBuffer(static_cast<Device::MemoryId>(2)), nullptr);
    QCOMPARE(device->getMemoryBuffer(static_cast<Device::MemoryId>(-1)), nullptr);
    simulator.clearRecord();
    QCOMPARE(device->readWholeMemory(static_cast<Device::MemoryId>(2)), -1);
    QCOMPARE(simulator.recordedBytes(), QByteArray());

    simulator.clearRecord();
    QString serialNumber;
    QCOMPARE(device->readSerialNumber(serialNumber), 0);
    QCOMPARE(serialNumber, QStringLiteral("QRTAV-000001"));
    QCOMPARE(simulator.recordedBytes(), bytes({0xA5, 0x06}));

    simulator.clearRecord();
    QString name = QStringLiteral("Bureau");
    QCOMPARE(device->writeName(name), 0);
    QCOMPARE(device->getName(), name);
    QByteArray field = QByteArray("Bureau") + QByteArray(64 - 6, '\0');
    QCOMPARE(simulator.recordedBytes(), bytes({0xA5, 0x09}) + field);
    QCOMPARE(simulator.stateFile(QStringLiteral("name.bin")), field);

    simulator.clearRecord();
    device->close();
    QCOMPARE(simulator.recordedBytes(), bytes({0xA5, 0x01, 0x01}));

    // The name now comes from the device, and the port opens again after close().
    Device reopened(simulator.portInfo());
    QCOMPARE(reopened.open(), 0);
    QCOMPARE(reopened.getName(), QStringLiteral("Bureau"));
}

void TestDevice::namesAndSerialNumbers()
{
    Simulator simulator;
    // A serial number filling its 16 bytes has no terminator and is taken whole.
    QVERIFY(simulator.writeStateFile(QStringLiteral("serial.bin"), "ABCDEFGHIJKLMNOP"));
    START_SIMULATOR(simulator, QStringList());
    auto device = std::make_unique<Device>(simulator.portInfo());
    QCOMPARE(device->open(), 0);
    QString serialNumber;
    QCOMPARE(device->readSerialNumber(serialNumber), 0);
    QCOMPARE(serialNumber, QStringLiteral("ABCDEFGHIJKLMNOP"));

    // 64 bytes fill the field with no terminator; read back whole.
    QString fullName = QStringLiteral("0123456789abcdef").repeated(4);
    simulator.clearRecord();
    QCOMPARE(device->writeName(fullName), 0);
    QCOMPARE(simulator.recordedBytes(), bytes({0xA5, 0x09}) + fullName.toUtf8());
    {
        Device reopened(simulator.portInfo());
        device->close();
        QCOMPARE(reopened.open(), 0);
        QCOMPARE(reopened.getName(), fullName);
        reopened.close();
    }
    QCOMPARE(device->open(), 0);

    // Too long: refused with -2 before anything is sent; the next request is the first traffic.
    QString tooLong = fullName + QLatin1Char('x');
    QString twoByteCharacters = QString(40, QChar(0x00E9)); // 40 characters, 80 UTF-8 bytes
    simulator.clearRecord();
    QCOMPARE(device->writeName(tooLong), -2);
    QCOMPARE(device->writeName(twoByteCharacters), -2);
    QCOMPARE(device->setLedState(COMMUNICATION_PROTOCOL_LED_STATE_IDLE), 0);
    QCOMPARE(simulator.recordedBytes(), bytes({0xA5, 0x01, 0x01}));
    QCOMPARE(device->getName(), fullName);

    // Multi-byte characters count in bytes: 32 of them fill the field exactly.
    QString accented = QString(32, QChar(0x00E9));
    QCOMPARE(device->writeName(accented), 0);
    QString mixed = QStringLiteral("Coffre de Zo\u00E9 \u20AC");
    QCOMPARE(device->writeName(mixed), 0);
    device->close();
    QCOMPARE(device->open(), 0);
    QCOMPARE(device->getName(), mixed);
    device->close();

    // A device answering 255 first has nothing stored, whatever its files say.
    QVERIFY(simulator.stop());
    START_SIMULATOR(simulator, QStringList({"--no-name", "--no-serial"}));
    Device empty(simulator.portInfo());
    QCOMPARE(empty.open(), 0);
    QCOMPARE(empty.getName(), QStringLiteral("No name defined"));
    QCOMPARE(empty.readSerialNumber(serialNumber), 0);
    QCOMPARE(serialNumber, QStringLiteral("No serial number"));
}

void TestDevice::failuresStayWithinTheirPollBudget()
{
    // A wrong acknowledge fails that page only; the device goes on answering.
    Simulator wrongAcknowledge;
    START_SIMULATOR(wrongAcknowledge, QStringList({"--wrong-ack-page", "3", "--backup-differs"}));
    auto device = std::make_unique<Device>(wrongAcknowledge.portInfo());
    QCOMPARE(device->open(), 0);
    QCOMPARE(device->selectMemory(Device::MEMORY_ID_MAIN), 0);
    QByteArray data = page(3);
    QCOMPARE(device->writeSelectedMemoryPage(2, data.data()), 0);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(device->writeSelectedMemoryPage(3, data.data()), -1);
    QVERIFY2(clock.elapsed() < 1000, "a wrong acknowledge must fail at once");
    QCOMPARE(device->writeSelectedMemoryPage(4, data.data()), 0);
    const QByteArray main = wrongAcknowledge.stateFile(QStringLiteral("main.bin"));
    QCOMPARE(main.mid(2 * 256, 256), data);
    QCOMPARE(main.mid(3 * 256, 256), QByteArray(256, '\xFF'));

    // The differing backup the workflows must notice: same stored content, one byte off.
    QCOMPARE(device->readWholeMemory(Device::MEMORY_ID_BACKUP), 0);
    QByteArray expectedBackup(Device::MEMORY_SIZE, '\xFF');
    expectedBackup[0] = 0;
    QCOMPARE(memoryImage(*device, Device::MEMORY_ID_BACKUP), expectedBackup);

    // A device that stops answering costs one page its 3000 polls of 1 ms, and not much more.
    Simulator hanging;
    START_SIMULATOR(hanging, QStringList({"--stop-after-pages", "2"}));
    device = std::make_unique<Device>(hanging.portInfo());
    QCOMPARE(device->open(), 0);
    QCOMPARE(device->writeSelectedMemoryPage(0, data.data()), 0);
    QCOMPARE(device->writeSelectedMemoryPage(1, data.data()), 0);
    clock.start();
    QCOMPARE(device->writeSelectedMemoryPage(2, data.data()), -1);
    const qint64 pageMs = clock.elapsed();
    QVERIFY2(pageMs >= 2900 && pageMs < 6000, qPrintable(QString::number(pageMs)));
    QCOMPARE(device->getLastReceivePollCount(), 3000);

    // The name read of open() gets 2000 polls.
    Simulator silentName;
    START_SIMULATOR(silentName, QStringList({"--silent-command", "8"}));
    device = std::make_unique<Device>(silentName.portInfo());
    clock.start();
    QCOMPARE(device->open(), -1);
    const qint64 openMs = clock.elapsed();
    QVERIFY2(openMs >= 1900 && openMs < 4500, qPrintable(QString::number(openMs)));
    QCOMPARE(device->getLastReceivePollCount(), 2000);
    QCOMPARE(device->getName(), QStringLiteral("No name defined"));
}

void TestDevice::slowAnswersShareThePollBudget()
{
    // 64 bytes at 38 bytes a second arrive over about 1.7 s, one byte in every forty-odd polls:
    // the last one comes late in the 2000-poll budget and the read still succeeds.
    Simulator slow;
    START_SIMULATOR(slow, QStringList({"--byte-rate", "38", "--name", "Slow"}));
    auto device = std::make_unique<Device>(slow.portInfo());
    QCOMPARE(device->open(), 0);
    QCOMPARE(device->getName(), QStringLiteral("Slow"));
    QVERIFY2(device->getLastReceivePollCount() > 1000 && device->getLastReceivePollCount() <= 2000,
             qPrintable(QString::number(device->getLastReceivePollCount())));

    // At 16 bytes a second the answer needs 4 s: the budget counts from the request, not from the
    // last byte, so it runs out after about 2 s although bytes keep coming.
    Simulator slower;
    START_SIMULATOR(slower, QStringList({"--byte-rate", "16"}));
    device = std::make_unique<Device>(slower.portInfo());
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(device->open(), -1);
    QVERIFY2(clock.elapsed() < 3800, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(device->getLastReceivePollCount(), 2000);
}

void TestDevice::vanishedOrUnavailablePorts()
{
    // A port that does not exist, or that another Device holds open, cannot be opened.
    Device missing(DevicePortInfo::fromDescriptor("port=/dev/pavisor-no-such-port\nlocation=/dev/ttyUSB9\n"));
    QCOMPARE(missing.open(), -1);
    missing.close();

    Simulator simulator;
    START_SIMULATOR(simulator, QStringList({"--power-cut-page", "5"}));
    auto device = std::make_unique<Device>(simulator.portInfo());
    QCOMPARE(device->open(), 0);
    Device second(simulator.portInfo());
    QCOMPARE(second.open(), -1);

    // Power cut in the middle of page 5: the command fails, so does the next one, and neither
    // they nor close() wait for answers that cannot come.
    QCOMPARE(device->selectMemory(Device::MEMORY_ID_MAIN), 0);
    QByteArray data = page(5);
    for (int index = 0; index < 5; index++)
        QCOMPARE(device->writeSelectedMemoryPage(index, data.data()), 0);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(device->writeSelectedMemoryPage(5, data.data()), -1);
    QVERIFY(simulator.waitForExit());
    QString serialNumber = QStringLiteral("unchanged");
    QCOMPARE(device->readSerialNumber(serialNumber), -1);
    QCOMPARE(serialNumber, QStringLiteral("unchanged"));
    device->close();
    QVERIFY2(clock.elapsed() < 4000, qPrintable(QString::number(clock.elapsed())));

    // Half of the interrupted page reached the memory, the other half is still erased.
    const QByteArray main = simulator.stateFile(QStringLiteral("main.bin"));
    QCOMPARE(main.mid(4 * 256, 256), data);
    QCOMPARE(main.mid(5 * 256, 128), data.left(128));
    QCOMPARE(main.mid(5 * 256 + 128, 128), QByteArray(128, '\xFF'));

    // A device unplugged while it sends a whole memory.
    Simulator unplugged;
    START_SIMULATOR(unplugged, QStringList({"--byte-rate", "2000"}));
    device = std::make_unique<Device>(unplugged.portInfo());
    QCOMPARE(device->open(), 0);
    const qint64 processId = unplugged.processId();
    std::thread unplug(
        [processId]()
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            ::kill(static_cast<pid_t>(processId), SIGKILL);
        });
    clock.start();
    const int result = device->readWholeMemory(Device::MEMORY_ID_BACKUP);
    unplug.join();
    QCOMPARE(result, -1);
    device->close();
    QVERIFY2(clock.elapsed() < 7000, qPrintable(QString::number(clock.elapsed())));
}

void TestDevice::discoveryListsOnlyPavisorPorts()
{
    QTemporaryDir descriptors;
    QVERIFY(descriptors.isValid());
    auto variable = std::make_unique<SimulatorDirectoryVariable>(descriptors.path());

    Simulator first;
    START_SIMULATOR(first, QStringList());
    QVERIFY(QFile::exists(descriptors.filePath(QStringLiteral("QRTAV-000001.device"))));

    // Hand-written descriptors on the same terminal, each failing one test of the filter.
#ifdef Q_OS_MACOS
    const QByteArray goodLocation = "/dev/cu.usbserial-7";
    const QByteArray callInLocation = "/dev/tty.usbserial-7";
#else
    const QByteArray goodLocation = "/dev/ttyUSB7";
    const QByteArray callInLocation = "/dev/ttyS7";
#endif
    const QByteArray port = "port=" + QFile::encodeName(first.portPath()) + "\n";
    const QByteArray pavisorIds = "vendor=1027\nproduct=24597\n";
    const QList<QPair<QString, QByteArray>> files = {
        {"QRTAV-000002.device",
         port + "location=" + goodLocation + "\n" + pavisorIds + "serial=QRTAV-000002\n"},
        {"a-vendor.device",
         port + "location=" + goodLocation + "\nvendor=1028\nproduct=24597\nserial=QRTAV-1\n"},
        {"b-product.device",
         port + "location=" + goodLocation + "\nvendor=1027\nproduct=24577\nserial=QRTAV-2\n"},
        {"c-no-vendor.device", port + "location=" + goodLocation + "\nproduct=24597\nserial=QRTAV-3\n"},
        {"d-no-product.device", port + "location=" + goodLocation + "\nvendor=1027\nserial=QRTAV-4\n"},
        {"e-call-in.device", port + "location=" + callInLocation + "\n" + pavisorIds + "serial=QRTAV-5\n"},
        {"f-lower-case.device", port + "location=" + goodLocation + "\n" + pavisorIds + "serial=qrtav-6\n"},
        {"g-no-serial.device", port + "location=" + goodLocation + "\n" + pavisorIds},
        {"h-prefix-inside.device",
         port + "location=" + goodLocation + "\n" + pavisorIds + "serial=XQRTAV-7\n"},
        {"i-stale.device",
         "port=/dev/pavisor-gone\nlocation=" + goodLocation + "\n" + pavisorIds + "serial=QRTAV-8\n"},
        {"QRTAV-9.txt", port + "location=" + goodLocation + "\n" + pavisorIds + "serial=QRTAV-9\n"},
    };
    for (const auto& file : files)
        QVERIFY(writeFile(descriptors.filePath(file.first), file.second));

    QCOMPARE(listedSerialNumbers(), QStringList({"QRTAV-000001", "QRTAV-000002"}));

    // A listed simulator opens through its terminal, not through its reported location.
    std::unique_ptr<QList<DevicePortInfo>> ports(Device::findAvailableDevices());
    QCOMPARE(ports->size(), 2);
    QCOMPARE(ports->first().systemLocation(), first.location());
    Device firstDevice(ports->first());
    QCOMPARE(firstDevice.getUsbSerialNumber(), QStringLiteral("QRTAV-000001"));
    QCOMPARE(firstDevice.open(), 0);

    // Two simulators are two devices, both usable at once; stopping one unplugs it.
    Simulator second;
    START_SIMULATOR(second, QStringList({"--serial", "QRTAV-000010"}));
    QCOMPARE(listedSerialNumbers(), QStringList({"QRTAV-000001", "QRTAV-000002", "QRTAV-000010"}));
    Device secondDevice(second.portInfo());
    QCOMPARE(secondDevice.open(), 0);
    QString serialNumber;
    QCOMPARE(secondDevice.readSerialNumber(serialNumber), 0);
    QCOMPARE(serialNumber, QStringLiteral("QRTAV-000010"));
    QCOMPARE(firstDevice.readSerialNumber(serialNumber), 0);
    QCOMPARE(serialNumber, QStringLiteral("QRTAV-000001"));
    secondDevice.close();
    QVERIFY(second.stop());
    QCOMPARE(listedSerialNumbers(), QStringList({"QRTAV-000001", "QRTAV-000002"}));

    // Without the variable only real ports are listed.
    variable.reset();
    const QStringList realPorts = listedSerialNumbers();
    QVERIFY(!realPorts.contains(QStringLiteral("QRTAV-000001")));
    QVERIFY(!realPorts.contains(QStringLiteral("QRTAV-000002")));
}

void TestDevice::selectedDeviceIsOwnedThroughRelease()
{
    Device::releaseSelectedDevice();
    QCOMPARE(Device::getSelectedDevice(), nullptr);

    Simulator simulator;
    START_SIMULATOR(simulator, QStringList());
    QPointer<Device> first = new Device(simulator.portInfo());
    QPointer<Device> second = new Device(simulator.portInfo());
    QCOMPARE(Device::getSelectedDevice(), nullptr);
    QCOMPARE(first->open(), 0);

    // Replacing the selected device leaves the previous one alone.
    Device::setSelectedDevice(second);
    Device::setSelectedDevice(first);
    QVERIFY(!second.isNull());
    QCOMPARE(Device::getSelectedDevice(), first.data());

    // Release closes (LED back to idle) and destroys.
    simulator.clearRecord();
    Device::releaseSelectedDevice();
    QVERIFY(first.isNull());
    QCOMPARE(Device::getSelectedDevice(), nullptr);
    QCOMPARE(simulator.recordedBytes(), bytes({0xA5, 0x01, 0x01}));

    // The port is free again for the next device.
    QCOMPARE(second->open(), 0);
    Device::setSelectedDevice(second);
    Device::releaseSelectedDevice();
    QVERIFY(second.isNull());
    Device::releaseSelectedDevice();
    QCOMPARE(Device::getSelectedDevice(), nullptr);
}

QTEST_GUILESS_MAIN(TestDevice)
#include "tst_device.moc"
