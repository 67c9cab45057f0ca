// Device link figures against the device simulator, first at pseudo-terminal speed (what the code
// itself costs: whole-memory reads, 1024 page writes, the polls each answer used, next to a plain
// POSIX read of a whole memory as the ceiling of the transport), then at the real line rate of a
// Pavisor (115200 baud 8N1 behind a USB bridge: 62-byte packets, 16 ms latency timer): reading both
// memories, and what a save costs on the link (1024 pages written, then both memories read back),
// each next to its floor, the time its bytes take on the wire.
#include "Device.h"
#include "LineRate.h"
#include "SimulatorProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#ifdef PAVISOR_SIMULATOR
namespace
{
using LineRate::MEMORY_READ_WIRE_BYTES;
using LineRate::wireMs;
// A short answer waits for the bridge's latency timer (the simulator's, as a bridge's default).
constexpr double LATENCY_TIMER_MS = 16.0;

void report(const char* name, double value, const char* unit)
{
    std::printf("%s: %.3f %s\n", name, value, unit);
    std::fflush(stdout);
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

// Both memories read, main then backup; the time in ms, or -1. `polls` gets each read's polls.
double readBothMemoriesMs(Device& device, int polls[2])
{
    QElapsedTimer clock;
    clock.start();
    for (int memory = 0; memory < 2; memory++)
    {
        if (device.readWholeMemory(static_cast<Device::MemoryId>(memory)) != 0)
        {
            std::fprintf(stderr, "bench_device: reading memory %d failed\n", memory);
            return -1.0;
        }
        polls[memory] = device.getLastReceivePollCount();
    }
    return clock.nsecsElapsed() / 1e6;
}

// 512 pages to each memory, main then backup, as a save writes them; the time in ms, or -1.
double writeBothMemoriesMs(Device& device, int& maximumPagePolls, long& totalPagePolls)
{
    unsigned char page[Device::MEMORY_PAGE_SIZE];
    maximumPagePolls = 0;
    totalPagePolls = 0;
    QElapsedTimer clock;
    clock.start();
    for (int memory = 0; memory < 2; memory++)
    {
        if (device.selectMemory(static_cast<Device::MemoryId>(memory)) != 0)
            return -1.0;
        for (int index = 0; index < Device::MEMORY_PAGE_COUNT; index++)
        {
            std::fill(page, page + sizeof(page), static_cast<unsigned char>(index));
            if (device.writeSelectedMemoryPage(index, page) != 0)
            {
                std::fprintf(stderr, "bench_device: writing page %d failed\n", index);
                return -1.0;
            }
            maximumPagePolls = std::max(maximumPagePolls, device.getLastReceivePollCount());
            totalPagePolls += device.getLastReceivePollCount();
        }
    }
    return clock.nsecsElapsed() / 1e6;
}

int pseudoTerminalSpeed()
{
    QTemporaryDir state;
    SimulatorProcess simulator(state.path());
    if (!simulator.start({}))
        return 1;
    const double rawReadMs = rawWholeMemoryReadMs(simulator.portInfo().portPath());
    Device device(simulator.portInfo());
    QElapsedTimer clock;
    clock.start();
    if (device.open() != 0)
        return 1;
    report("open_ms", clock.nsecsElapsed() / 1e6, "ms");

    int readPolls[2] = {0, 0};
    const double readMs = readBothMemoriesMs(device, readPolls);
    if (readMs < 0)
        return 1;
    report("read_both_memories_ms", readMs, "ms");
    report("read_throughput", 2.0 * Device::MEMORY_SIZE / 1024.0 / (readMs / 1000.0), "KiB/s");
    report("read_main_memory_polls", readPolls[0], "polls");
    report("read_backup_memory_polls", readPolls[1], "polls");
    report("reference_raw_read_one_memory_ms", rawReadMs, "ms");

    int maximumPagePolls = 0;
    long totalPagePolls = 0;
    const double writeMs = writeBothMemoriesMs(device, maximumPagePolls, totalPagePolls);
    if (writeMs < 0)
        return 1;
    report("write_1024_pages_ms", writeMs, "ms");
    report("write_page_mean_us", writeMs * 1000.0 / (2 * Device::MEMORY_PAGE_COUNT), "us");
    report("write_page_mean_polls", static_cast<double>(totalPagePolls) / (2 * Device::MEMORY_PAGE_COUNT),
           "polls");
    report("write_page_max_polls", maximumPagePolls, "polls");
    device.close();
    return 0;
}

int lineRate()
{
    QTemporaryDir state;
    SimulatorProcess simulator(state.path());
    if (!simulator.start({QStringLiteral("--line-rate")}))
        return 1;
    Device device(simulator.portInfo());
    if (device.open() != 0)
        return 1;

    int readPolls[2] = {0, 0};
    const double readMs = readBothMemoriesMs(device, readPolls);
    if (readMs < 0)
        return 1;
    report("line_rate_read_both_memories_ms", readMs, "ms");
    report("line_rate_read_both_memories_floor_ms", wireMs(2 * MEMORY_READ_WIRE_BYTES), "ms");

    int maximumPagePolls = 0;
    long totalPagePolls = 0;
    const double writeMs = writeBothMemoriesMs(device, maximumPagePolls, totalPagePolls);
    const double readBackMs = writeMs < 0 ? -1.0 : readBothMemoriesMs(device, readPolls);
    if (readBackMs < 0)
        return 1;
    const double writeFloorMs = wireMs(LineRate::SAVE_WRITE_WIRE_BYTES);
    report("line_rate_save_write_1024_pages_and_read_back_ms", writeMs + readBackMs, "ms");
    report("line_rate_save_write_1024_pages_and_read_back_floor_ms",
           writeFloorMs + wireMs(2 * MEMORY_READ_WIRE_BYTES), "ms");
    report("line_rate_write_1024_pages_ms", writeMs, "ms");
    report("line_rate_write_1024_pages_floor_ms", writeFloorMs, "ms");
    report("line_rate_write_1024_pages_floor_with_latency_timer_ms",
           writeFloorMs + (2 + 2 * Device::MEMORY_PAGE_COUNT) * LATENCY_TIMER_MS, "ms");
    report("line_rate_write_page_mean_ms", writeMs / (2 * Device::MEMORY_PAGE_COUNT), "ms");
    device.close();
    return 0;
}
} // namespace
#endif

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
#ifndef PAVISOR_SIMULATOR
    std::printf("device_benchmark_skipped: 1 (simulator not built)\n");
    return 0;
#else
    if (pseudoTerminalSpeed() != 0 || lineRate() != 0)
    {
        std::fprintf(stderr, "bench_device: a device command failed\n");
        return 1;
    }
    return 0;
#endif
}
