// Device link figures against the device simulator: reading both memories and writing 1024 pages
// (main then backup, as a save does), with the polls each answer used. The reference is a plain
// POSIX read of a whole memory from the same pseudo-terminal, the ceiling of the transport.
#include "Device.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace
{
void report(const char* name, double value, const char* unit)
{
    std::printf("%s: %.3f %s\n", name, value, unit);
}

// Reads a whole memory with plain system calls on a port that Device does not hold.
double rawWholeMemoryReadMs(const QString& portPath)
{
    const int fd = ::open(QFile::encodeName(portPath).constData(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return -1.0;
    struct termios settings = {};
    tcgetattr(fd, &settings);
    cfmakeraw(&settings);
    tcsetattr(fd, TCSANOW, &settings);
    std::unique_ptr<unsigned char[]> buffer(new unsigned char[Device::MEMORY_SIZE]);
    QElapsedTimer clock;
    clock.start();
    const unsigned char request[] = {0xA5, 0x05};
    ssize_t received = write(fd, request, sizeof(request)) == 2 ? 0 : -1;
    while (received >= 0 && received < Device::MEMORY_SIZE)
    {
        struct pollfd descriptor = {fd, POLLIN, 0};
        if (poll(&descriptor, 1, 2000) <= 0)
            break;
        const ssize_t count = read(fd, buffer.get() + received, Device::MEMORY_SIZE - received);
        if (count <= 0)
            break;
        received += count;
    }
    const double elapsed = clock.nsecsElapsed() / 1e6;
    ::close(fd);
    return received == Device::MEMORY_SIZE ? elapsed : -1.0;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
#ifndef PAVISOR_SIMULATOR
    std::printf("device_benchmark_skipped: 1 (simulator not built)\n");
    return 0;
#else
    QTemporaryDir directory;
    QProcess simulator;
    simulator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    simulator.start(
        QStringLiteral(PAVISOR_SIMULATOR),
        {QStringLiteral("--state"), directory.filePath("state"), QStringLiteral("--exit-with-parent")});
    if (!simulator.waitForStarted() || !simulator.waitForReadyRead(10000))
    {
        std::fprintf(stderr, "bench_device: the simulator did not start\n");
        return 1;
    }
    const QString readyLine = QString::fromUtf8(simulator.readLine()).trimmed();
    const QString portPath = readyLine.section(QStringLiteral("port="), 1).section(QLatin1Char(' '), 0, 0);
    const DevicePortInfo port = DevicePortInfo::fromDescriptor(
        QStringLiteral("port=%1\nlocation=/dev/ttyUSB0\nvendor=1027\nproduct=24597\nserial=QRTAV-000001\n")
            .arg(portPath)
            .toUtf8());

    const double rawReadMs = rawWholeMemoryReadMs(portPath);

    auto device = std::make_unique<Device>(port);
    QElapsedTimer clock;
    clock.start();
    if (device->open() != 0)
    {
        std::fprintf(stderr, "bench_device: cannot open %s\n", qPrintable(portPath));
        return 1;
    }
    report("open_ms", clock.nsecsElapsed() / 1e6, "ms");

    int readPolls[2] = {0, 0};
    clock.start();
    for (int memory = 0; memory < 2; memory++)
    {
        if (device->readWholeMemory(static_cast<Device::MemoryId>(memory)) != 0)
        {
            std::fprintf(stderr, "bench_device: reading memory %d failed\n", memory);
            return 1;
        }
        readPolls[memory] = device->getLastReceivePollCount();
    }
    const double readMs = clock.nsecsElapsed() / 1e6;
    report("read_both_memories_ms", readMs, "ms");
    report("read_throughput", 2.0 * Device::MEMORY_SIZE / 1024.0 / (readMs / 1000.0), "KiB/s");
    report("read_main_memory_polls", readPolls[0], "polls");
    report("read_backup_memory_polls", readPolls[1], "polls");
    report("read_memory_poll_budget", 6000, "polls");
    report("reference_raw_read_one_memory_ms", rawReadMs, "ms");

    unsigned char page[Device::MEMORY_PAGE_SIZE];
    int maximumPagePolls = 0;
    long totalPagePolls = 0;
    clock.start();
    for (int memory = 0; memory < 2; memory++)
    {
        if (device->selectMemory(static_cast<Device::MemoryId>(memory)) != 0)
            return 1;
        for (int index = 0; index < Device::MEMORY_PAGE_COUNT; index++)
        {
            std::fill(page, page + sizeof(page), static_cast<unsigned char>(index));
            if (device->writeSelectedMemoryPage(index, page) != 0)
            {
                std::fprintf(stderr, "bench_device: writing page %d failed\n", index);
                return 1;
            }
            maximumPagePolls = std::max(maximumPagePolls, device->getLastReceivePollCount());
            totalPagePolls += device->getLastReceivePollCount();
        }
    }
    const double writeMs = clock.nsecsElapsed() / 1e6;
    report("write_1024_pages_ms", writeMs, "ms");
    report("write_page_mean_us", writeMs * 1000.0 / (2 * Device::MEMORY_PAGE_COUNT), "us");
    report("write_page_mean_polls", static_cast<double>(totalPagePolls) / (2 * Device::MEMORY_PAGE_COUNT),
           "polls");
    report("write_page_max_polls", maximumPagePolls, "polls");
    report("write_page_poll_budget", 3000, "polls");

    Device::setSelectedDevice(device.release());
    Device::releaseSelectedDevice();
    simulator.terminate();
    simulator.waitForFinished();
    return 0;
#endif
}
