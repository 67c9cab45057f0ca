// Device against the device simulator over a real pseudo-terminal: the exact bytes of every
// request, the decoding of every answer, the poll budgets and the discovery filter.
#include "Device.h"
#include "Simulator.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace
{
// The device's sizes, stated here rather than taken from the code under test.
constexpr int MEMORY_SIZE = 131072;
constexpr int PAGE_SIZE = 256;
const QByteArray LED_IDLE("\xA5\x01\x01", 3);

QByteArray page(int seed)
{
    QByteArray result(PAGE_SIZE, 0);
    for (int i = 0; i < result.size(); i++)
        result[i] = static_cast<char>((i * 7 + seed) & 0xFF);
    return result;
}

QByteArray memoryImage(Device& device, Device::MemoryId memoryId)
{
    return QByteArray(reinterpret_cast<const char*>(device.getMemoryBuffer(memoryId)), MEMORY_SIZE);
}

QStringList listedSerialNumbers()
{
    std::unique_ptr<QList<DevicePortInfo>> ports(Device::findAvailableDevices());
    QStringList result;
    for (const DevicePortInfo& port : *ports)
        result << port.serialNumber();
    return result;
}
} // namespace

class TestDevice : public QObject
{
    Q_OBJECT

private slots:
    void everyCommandSendsItsExactBytesAndDecodesItsAnswer();
    void destroyedDeviceWipesItsImages();
    void failuresStayWithinTheirPollBudget();
    void lateSurplusAndTricklingAnswers();
    void requestsNeedThePavisorLineSettings();
    void vanishedOrUnavailablePorts();
    void discoveryListsOnlyPavisorPorts();
    void selectedDeviceIsOwnedThroughRelease();
};

void TestDevice::everyCommandSendsItsExactBytesAndDecodesItsAnswer()
{
    Simulator simulator;
    // A serial number filling its 16 bytes has no terminator and is taken whole; low version bytes
    // with the top bit set catch a signed-byte decoding.
    QVERIFY(simulator.writeStateFile(QStringLiteral("serial.bin"), "ABCDEFGHIJKLMNOP"));
    START_SIMULATOR(simulator, {"--versions", "496,33023"});
    auto device = std::make_unique<Device>(simulator.portInfo());
    QCOMPARE(device->getName(), QStringLiteral("No name defined"));
    QCOMPARE(device->getUsbSerialNumber(), QStringLiteral("QRTAV-000001"));
    QCOMPARE(device->open(), 0);
    QCOMPARE(device->getName(), QStringLiteral("No name defined"));
    int hardwareVersion = -1, firmwareVersion = -1;
    QCOMPARE(device->readVersionsInformation(hardwareVersion, firmwareVersion), 0);
    QCOMPARE(std::make_pair(hardwareVersion, firmwareVersion), std::make_pair(0x01F0, 0x80FF));
    QCOMPARE(device->setLedState(COMMUNICATION_PROTOCOL_LED_STATE_ACCESS), 0);
    QCOMPARE(device->setLedState(COMMUNICATION_PROTOCOL_LED_STATE_IDENTIFY), 0);

    // Pages go to the memory selected last, numbered big-endian.
    QByteArray lastPage = page(1), middlePage = page(2);
    QCOMPARE(device->selectMemory(Device::MEMORY_ID_BACKUP), 0);
    QCOMPARE(device->writeSelectedMemoryPage(511, lastPage.data()), 0);
    QCOMPARE(device->writeSelectedMemoryPage(256, middlePage.data()), 0);
    const QByteArray backup = simulator.stateFile(QStringLiteral("backup.bin"));
    QCOMPARE(backup.mid(511 * 256), lastPage);
    QCOMPARE(backup.mid(256 * 256, 256), middlePage);
    QCOMPARE(simulator.stateFile(QStringLiteral("main.bin")), QByteArray(MEMORY_SIZE, '\xFF'));
    QCOMPARE(device->readWholeMemory(Device::MEMORY_ID_MAIN), 0);
    QCOMPARE(device->readWholeMemory(Device::MEMORY_ID_BACKUP), 0);
    QCOMPARE(memoryImage(*device, Device::MEMORY_ID_MAIN), QByteArray(MEMORY_SIZE, '\xFF'));
    QCOMPARE(memoryImage(*device, Device::MEMORY_ID_BACKUP), backup);
    // Only the two memories have an image; nothing is sent for any other.
    QCOMPARE(device->getMemoryBuffer(static_cast<Device::MemoryId>(2)), nullptr);
    QCOMPARE(device->getMemoryBuffer(static_cast<Device::MemoryId>(-1)), nullptr);
    QCOMPARE(device->readWholeMemory(static_cast<Device::MemoryId>(2)), -1);

    QString serialNumber;
    QCOMPARE(device->readSerialNumber(serialNumber), 0);
    QCOMPARE(serialNumber, QStringLiteral("ABCDEFGHIJKLMNOP"));
    QString name = QStringLiteral("Bureau");
    QCOMPARE(device->writeName(name), 0);
    QCOMPARE(device->getName(), name);
    const QByteArray field = QByteArray("Bureau") + QByteArray(64 - 6, '\0');
    QCOMPARE(simulator.stateFile(QStringLiteral("name.bin")), field);
    device->close();
    // Name, versions, LEDs, backup selection and two pages, both reads, serial number, name, close.
    QCOMPARE(simulator.recordedBytes(), QByteArray::fromHex("a508a500a50103a50102a50201a50401ff") + lastPage +
                                            QByteArray::fromHex("a5040100") + middlePage +
                                            QByteArray::fromHex("a50200a505a50201a505a506a509") + field +
                                            LED_IDLE);

    // What a new object reads from the device; the port opens again after close().
    auto nameOnDevice = [&]()
    {
        device->close();
        Device reader(simulator.portInfo());
        const QString read = reader.open() == 0 ? reader.getName() : QStringLiteral("(open failed)");
        reader.close();
        return device->open() == 0 ? read : QStringLiteral("(reopen failed)");
    };
    QCOMPARE(nameOnDevice(), name);
    // 64 bytes fill the field with no terminator; read back whole.
    const QString fullName = name = QStringLiteral("0123456789abcdef").repeated(4);
    simulator.clearRecord();
    QCOMPARE(device->writeName(name), 0);
    QCOMPARE(simulator.recordedBytes(), QByteArray::fromHex("a509") + fullName.toUtf8());
    QCOMPARE(nameOnDevice(), fullName);
    // Too long (65 bytes, or 40 characters of two bytes each): -2 before anything is sent.
    QString tooLong = fullName + QLatin1Char('x'), twoByteCharacters = QString(40, QChar(0x00E9));
    simulator.clearRecord();
    QCOMPARE(device->writeName(tooLong), -2);
    QCOMPARE(device->writeName(twoByteCharacters), -2);
    QCOMPARE(device->setLedState(COMMUNICATION_PROTOCOL_LED_STATE_IDLE), 0);
    QCOMPARE(simulator.recordedBytes(), LED_IDLE);
    QCOMPARE(device->getName(), fullName);
    name = QStringLiteral("Coffre de Zo\u00E9 \u20AC");
    QCOMPARE(device->writeName(name), 0);
    QCOMPARE(nameOnDevice(), name);
    device->close();

    // A device answering 255 first has nothing stored, whatever its files say.
    QVERIFY(simulator.stop());
    START_SIMULATOR(simulator, {"--no-name", "--no-serial"});
    Device empty(simulator.portInfo());
    QCOMPARE(empty.open(), 0);
    QCOMPARE(empty.getName(), QStringLiteral("No name defined"));
    QCOMPARE(empty.readSerialNumber(serialNumber), 0);
    QCOMPARE(serialNumber, QStringLiteral("No serial number"));
}

void TestDevice::destroyedDeviceWipesItsImages()
{
    // The object lives in storage owned here, so the bytes of its images can be read back once its
    // destructor has run.
    struct alignas(Device) Storage
    {
        unsigned char bytes[sizeof(Device)];
    };
    auto storage = std::make_unique<Storage>();
    auto* device = new (storage->bytes) Device(DevicePortInfo());
    qsizetype offsets[2];
    for (int id : {0, 1})
    {
        unsigned char* image = device->getMemoryBuffer(static_cast<Device::MemoryId>(id));
        offsets[id] = image - storage->bytes;
        QVERIFY(offsets[id] >= 0 && offsets[id] + MEMORY_SIZE <= qsizetype(sizeof(Device)));
        memset(image, 0x5C, MEMORY_SIZE);
    }
    device->~Device();
    for (qsizetype offset : offsets)
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(storage->bytes + offset), MEMORY_SIZE),
                 QByteArray(MEMORY_SIZE, '\0'));
}

void TestDevice::failuresStayWithinTheirPollBudget()
{
    // A wrong acknowledge fails that command only, at once; the device goes on answering.
    Simulator wrongAcknowledge;
    QVERIFY(
        wrongAcknowledge.writeStateFile(QStringLiteral("name.bin"), QByteArray("Old") + QByteArray(61, 0)));
    START_SIMULATOR(wrongAcknowledge, {"--wrong-ack-page", "3", "--wrong-ack-command", "9",
                                       "--backup-differs", "--read-back-differs", "backup,1000"});
    auto device = std::make_unique<Device>(wrongAcknowledge.portInfo());
    QCOMPARE(device->open(), 0);
    QElapsedTimer clock;
    clock.start();
    QString name = QStringLiteral("New");
    QCOMPARE(device->writeName(name), -1);
    QCOMPARE(device->getName(), QStringLiteral("Old"));
    // The differing backup that the workflows must notice: one byte off; the read-back fault shows
    // only once the memory has been written.
    QByteArray expected(MEMORY_SIZE, '\xFF');
    expected[0] = 0;
    QCOMPARE(device->readWholeMemory(Device::MEMORY_ID_BACKUP), 0);
    QCOMPARE(memoryImage(*device, Device::MEMORY_ID_BACKUP), expected);
    QByteArray data = page(3);
    QCOMPARE(device->writeSelectedMemoryPage(2, data.data()), 0);
    QCOMPARE(device->writeSelectedMemoryPage(3, data.data()), -1);
    QVERIFY2(clock.elapsed() < 1000, "a wrong acknowledge must fail at once");
    QCOMPARE(device->setLedState(COMMUNICATION_PROTOCOL_LED_STATE_ACCESS), 0);
    QCOMPARE(device->writeSelectedMemoryPage(4, data.data()), 0);
    const QByteArray backup = wrongAcknowledge.stateFile(QStringLiteral("backup.bin"));
    QCOMPARE(backup.mid(2 * 256, 256), data);
    QCOMPARE(backup.mid(3 * 256, 256), QByteArray(256, '\xFF'));
    QCOMPARE(wrongAcknowledge.stateFile(QStringLiteral("name.bin")).left(4), QByteArray("Old\0", 4));
    expected = backup;
    expected[0] = ~backup[0];
    expected[1000] = 0;
    QCOMPARE(device->readWholeMemory(Device::MEMORY_ID_BACKUP), 0);
    QCOMPARE(memoryImage(*device, Device::MEMORY_ID_BACKUP), expected);

    // A device that stops answering costs one page its 3000 polls of 1 ms, and not much more.
    Simulator hanging;
    START_SIMULATOR(hanging, {"--stop-after-pages", "2"});
    device = std::make_unique<Device>(hanging.portInfo());
    QCOMPARE(device->open(), 0);
    QCOMPARE(device->writeSelectedMemoryPage(0, data.data()), 0);
    QCOMPARE(device->writeSelectedMemoryPage(1, data.data()), 0);
    clock.start();
    QCOMPARE(device->writeSelectedMemoryPage(2, data.data()), -1);
    const qint64 pageMs = clock.elapsed();
    QVERIFY2(pageMs >= 2900 && pageMs < 9000, qPrintable(QString::number(pageMs)));
    QCOMPARE(device->getLastReceivePollCount(), 3000);
}

void TestDevice::lateSurplusAndTricklingAnswers()
{
    // A name answer held back past its 2000 polls (the device frozen meanwhile) fails open(); once
    // it has arrived, it must not be taken for the answer to the next command.
    Simulator late;
    START_SIMULATOR(late, {"--late-command", "6,300"});
    auto device = std::make_unique<Device>(late.portInfo());
    QCOMPARE(::kill(static_cast<pid_t>(late.processId()), SIGSTOP), 0);
    QCOMPARE(device->open(), -1);
    QCOMPARE(device->getLastReceivePollCount(), 2000);
    QCOMPARE(device->getName(), QStringLiteral("No name defined"));
    QCOMPARE(::kill(static_cast<pid_t>(late.processId()), SIGCONT), 0);
    // Once the device has the request, its answer follows at once.
    QTRY_COMPARE(late.recordedBytes(), QByteArray::fromHex("a508"));
    QTest::qWait(200);
    // An answer late by less than its budget is still taken.
    QElapsedTimer clock;
    clock.start();
    QString serialNumber;
    QCOMPARE(device->readSerialNumber(serialNumber), 0);
    QVERIFY(clock.elapsed() >= 300);
    QCOMPARE(serialNumber, QStringLiteral("QRTAV-000001"));

    // Bytes nobody asked for after each answer: a stale 0xA5 must not acknowledge the next command.
    Simulator surplus;
    START_SIMULATOR(surplus, {"--surplus-bytes", "2", "--wrong-ack-command", "1"});
    device = std::make_unique<Device>(surplus.portInfo());
    QCOMPARE(device->open(), 0);
    QCOMPARE(device->setLedState(COMMUNICATION_PROTOCOL_LED_STATE_ACCESS), -1);
    int hardwareVersion = 0, firmwareVersion = 0;
    QCOMPARE(device->readVersionsInformation(hardwareVersion, firmwareVersion), 0);
    QCOMPARE(hardwareVersion * 1000 + firmwareVersion, 1003);

    // The silence budget restarts with every byte, but an answer that trickles in forever is cut
    // off: 64 bytes at 5 bytes a second would take 13 s, twice their time on the wire is 11 ms.
    Simulator trickling;
    START_SIMULATOR(trickling, {"--byte-rate", "5"});
    device = std::make_unique<Device>(trickling.portInfo());
    QCOMPARE(device->open(), -1);
    QVERIFY(device->getLastReceivePollCount() < 2100);
}

void TestDevice::requestsNeedThePavisorLineSettings()
{
    Simulator simulator;
    START_SIMULATOR(simulator, {});
    // Each setting a Pavisor's link must not have, put on the terminal by hand: the device hears
    // noise and answers nothing, until open() sets the terminal up again. (A pseudo-terminal keeps
    // 8 data bits and no parity whatever it is told, so those two cannot be tried here.)
    const std::function<void(termios&)> wrongSettings[] = {
        [](termios& t) { cfsetspeed(&t, B9600); },
        [](termios& t) { t.c_cflag |= CSTOPB; },
        [](termios& t) { t.c_cflag |= CRTSCTS; },
        [](termios& t) { t.c_iflag |= IXON | IXOFF; },
    };
    for (const auto& wrongSetting : wrongSettings)
    {
        const int fd = ::open(QFile::encodeName(simulator.portPath()).constData(), O_RDWR | O_NOCTTY);
        QVERIFY(fd >= 0);
        termios settings = {};
        QCOMPARE(tcgetattr(fd, &settings), 0);
        wrongSetting(settings);
        QCOMPARE(tcsetattr(fd, TCSANOW, &settings), 0);
        QCOMPARE(::write(fd, "\xA5\x06", 2), ssize_t(2));
        pollfd answer = {fd, POLLIN, 0};
        QCOMPARE(poll(&answer, 1, 200), 0);
        ::close(fd);
        Device device(simulator.portInfo());
        QCOMPARE(device.open(), 0);
    }
}

void TestDevice::vanishedOrUnavailablePorts()
{
    // A port that does not exist, or that another Device holds open, cannot be opened.
    Device missing(DevicePortInfo::fromDescriptor("port=/dev/pavisor-no-such-port\nlocation=/dev/ttyUSB9\n"));
    QCOMPARE(missing.open(), -1);
    missing.close();
    Simulator simulator;
    START_SIMULATOR(simulator, {"--power-cut-page", "0"});
    auto device = std::make_unique<Device>(simulator.portInfo());
    QCOMPARE(device->open(), 0);
    Device second(simulator.portInfo());
    QCOMPARE(second.open(), -1);

    // Power cut in the middle of a page: the command fails, so does the next one, and neither they
    // nor close() wait for answers that cannot come.
    QByteArray data = page(5);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(device->writeSelectedMemoryPage(0, data.data()), -1);
    QVERIFY(simulator.waitForExit());
    QString serialNumber = QStringLiteral("unchanged");
    QCOMPARE(device->readSerialNumber(serialNumber), -1);
    QCOMPARE(serialNumber, QStringLiteral("unchanged"));
    device->close();
    QVERIFY2(clock.elapsed() < 4000, qPrintable(QString::number(clock.elapsed())));

    // A device unplugged while it sends a whole memory at the real line rate: noticed within a
    // second, not after the silence budget.
    Simulator unplugged;
    START_SIMULATOR(unplugged, {"--line-rate"});
    device = std::make_unique<Device>(unplugged.portInfo());
    QCOMPARE(device->open(), 0);
    std::atomic<qint64> unpluggedAtMs{-1};
    clock.start();
    std::thread unplug(
        [&, processId = unplugged.processId()]()
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
            unpluggedAtMs = clock.elapsed();
            ::kill(static_cast<pid_t>(processId), SIGKILL);
        });
    const int result = device->readWholeMemory(Device::MEMORY_ID_BACKUP);
    const qint64 endedAtMs = clock.elapsed();
    unplug.join();
    QCOMPARE(result, -1);
    QVERIFY(device->getReceivedByteCount() > 0);
    QVERIFY2(endedAtMs - unpluggedAtMs < 1000, qPrintable(QString::number(endedAtMs - unpluggedAtMs)));
}

void TestDevice::discoveryListsOnlyPavisorPorts()
{
    QTemporaryDir descriptors;
    QVERIFY(descriptors.isValid());
    qputenv("PAVISOR_SIMULATOR_DIR", QFile::encodeName(descriptors.path()));
    const auto unsetVariable = qScopeGuard([] { qunsetenv("PAVISOR_SIMULATOR_DIR"); });
    Simulator first;
    START_SIMULATOR(first, {"--latency-timer", "4"});

    // Hand-written descriptors on the same terminal, each failing one test of the filter; a
    // simulator killed outright leaves its descriptor (and here a terminal) behind.
#ifdef Q_OS_MACOS
    const QByteArray good = "/dev/cu.usbserial-7", callIn = "/dev/tty.usbserial-7";
#else
    const QByteArray good = "/dev/ttyUSB7", callIn = "/dev/ttyS7";
#endif
    QProcess finished;
    finished.start(QStringLiteral("true"));
    QVERIFY(finished.waitForStarted());
    const QByteArray deadProcessId = QByteArray::number(finished.processId());
    QVERIFY(finished.waitForFinished());
    const QByteArray port = QFile::encodeName(first.portPath());
    const QByteArray ids = "vendor=1027\nproduct=24597\n";
    const auto descriptor = [&](const QByteArray& location, const QByteArray& rest, const QByteArray& path)
    { return "port=" + path + "\nlocation=" + location + "\n" + rest; };
    const QList<QPair<QString, QByteArray>> files = {
        {"QRTAV-000002.device", descriptor(good, ids + "serial=QRTAV-000002\n", port)},
        {"a-vendor.device", descriptor(good, "vendor=1028\nproduct=24597\nserial=QRTAV-1\n", port)},
        {"b-product.device", descriptor(good, "vendor=1027\nproduct=24577\nserial=QRTAV-2\n", port)},
        {"c-no-vendor.device", descriptor(good, "product=24597\nserial=QRTAV-3\n", port)},
        {"d-no-product.device", descriptor(good, "vendor=1027\nserial=QRTAV-4\n", port)},
        {"e-call-in.device", descriptor(callIn, ids + "serial=QRTAV-5\n", port)},
        {"f-lower-case.device", descriptor(good, ids + "serial=qrtav-6\n", port)},
        {"g-no-serial.device", descriptor(good, ids, port)},
        {"h-prefix-inside.device", descriptor(good, ids + "serial=XQRTAV-7\n", port)},
        {"i-stale.device", descriptor(good, ids + "serial=QRTAV-8\n", "/dev/pavisor-gone")},
        {"j-dead-process.device",
         descriptor(good, ids + "serial=QRTAV-11\npid=" + deadProcessId + "\n", port)},
        {"QRTAV-9.txt", descriptor(good, ids + "serial=QRTAV-9\n", port)},
    };
    for (const auto& file : files)
    {
        QFile out(descriptors.filePath(file.first));
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file.second) == file.second.size());
    }
    QCOMPARE(listedSerialNumbers(), QStringList({"QRTAV-000001", "QRTAV-000002"}));

    // A listed simulator opens through its terminal, not through its reported location. Its bridge's
    // latency timer comes with it, as sysfs tells a real one's; a descriptor without one has none.
    std::unique_ptr<QList<DevicePortInfo>> ports(Device::findAvailableDevices());
    QCOMPARE(ports->first().systemLocation(), first.location());
    QCOMPARE(ports->first().latencyTimerMs(), 4);
    QCOMPARE(ports->last().latencyTimerMs(), -1);
    Device firstDevice(ports->first());
    QCOMPARE(firstDevice.getUsbSerialNumber(), QStringLiteral("QRTAV-000001"));
    QCOMPARE(firstDevice.open(), 0);

    // Without the variable only real ports are listed.
    qunsetenv("PAVISOR_SIMULATOR_DIR");
    const QStringList realPorts = listedSerialNumbers();
    QVERIFY(!realPorts.contains(QStringLiteral("QRTAV-000001")) && !realPorts.contains("QRTAV-000002"));
}

void TestDevice::selectedDeviceIsOwnedThroughRelease()
{
    Simulator simulator;
    START_SIMULATOR(simulator, {});
    QPointer<Device> first = new Device(simulator.portInfo());
    QPointer<Device> second = new Device(simulator.portInfo());
    QCOMPARE(Device::getSelectedDevice(), nullptr);
    QCOMPARE(first->open(), 0);

    // Replacing the selected device leaves the previous one alone.
    Device::setSelectedDevice(second);
    Device::setSelectedDevice(first);
    QCOMPARE(Device::getSelectedDevice(), first.data());
    // Release closes (LED back to idle) and destroys; the port is free again for the next device.
    simulator.clearRecord();
    Device::releaseSelectedDevice();
    QVERIFY(first.isNull() && !second.isNull());
    QCOMPARE(Device::getSelectedDevice(), nullptr);
    QCOMPARE(simulator.recordedBytes(), LED_IDLE);
    QCOMPARE(second->open(), 0);
    Device::setSelectedDevice(second);
    Device::releaseSelectedDevice();
    QVERIFY(second.isNull());
    Device::releaseSelectedDevice();
}

QTEST_GUILESS_MAIN(TestDevice)
#include "tst_device.moc"
