// Pavisor device simulator.
//
// Plays one Pavisor over a pseudo-terminal so that the application's real serial port code talks
// to it exactly as it talks to the USB serial adapter of a real device. The stored items live in a
// state folder, one file each, written through on every change, so that killing the simulator in
// the middle of a write leaves what a power cut would leave. Fault injection flags drive the
// failure paths of the application. See printUsage() for the flags.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <set>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace
{
constexpr uint8_t SYNC_BYTE = 0xA5;
constexpr uint8_t ACKNOWLEDGE = 0xA5;
constexpr uint8_t WRONG_ACKNOWLEDGE = 0x5A;
constexpr size_t MEMORY_SIZE = 131072;
constexpr size_t PAGE_SIZE = 256;
constexpr size_t PAGE_COUNT = MEMORY_SIZE / PAGE_SIZE;
constexpr size_t NAME_SIZE = 64;
constexpr size_t SERIAL_SIZE = 16;
constexpr size_t VERSIONS_SIZE = 4;

enum Command
{
    COMMAND_READ_VERSIONS = 0,
    COMMAND_SET_LED_STATE = 1,
    COMMAND_SELECT_MEMORY = 2,
    COMMAND_WRITE_PAGE = 4,
    COMMAND_READ_MEMORY = 5,
    COMMAND_READ_SERIAL_NUMBER = 6,
    COMMAND_READ_NAME = 8,
    COMMAND_WRITE_NAME = 9
};

// Argument bytes that follow the command byte; commands not listed here take none (codes 3 and 7
// and unknown codes are swallowed without an answer).
size_t argumentLength(int command)
{
    switch (command)
    {
    case COMMAND_SET_LED_STATE:
    case COMMAND_SELECT_MEMORY:
        return 1;
    case COMMAND_WRITE_PAGE:
        return 2 + PAGE_SIZE;
    case COMMAND_WRITE_NAME:
        return NAME_SIZE;
    default:
        return 0;
    }
}

struct Options
{
    std::string stateDirectory;
    std::string usbSerial = "QRTAV-000001";
    std::string location;
    std::string recordFile;
    std::string initialName;
    bool hasVendor = true;
    bool hasProduct = true;
    long vendor = 1027;
    long product = 24597;
    int hardwareVersion = 1;
    int firmwareVersion = 3;
    long stopAfterPages = -1;
    long wrongAcknowledgePage = -1;
    // Page of the main and of the backup memory whose write is cut by a power loss.
    long powerCutPage[2] = {-1, -1};
    // Page write (counted from 0 since start, either memory) cut by a power loss.
    long powerCutWrite = -1;
    std::set<int> silentCommands;
    // Command code -> first argument byte that must match (-1: any).
    std::multimap<int, int> wrongAcknowledgeCommands;
    // Command code -> delay of its answer in milliseconds.
    std::map<int, long> lateCommands;
    // Command code -> number of answer bytes actually sent.
    std::map<int, size_t> truncatedAnswers;
    // Memory id -> offsets inverted in reads once that memory has been written.
    std::multimap<int, size_t> readBackDifferences;
    size_t surplusBytes = 0;
    double byteRate = 0.0;
    bool lineRate = false;
    // The USB bridge's latency timer in ms; -1: 16 with --line-rate, no bridge without it.
    long latencyTimerMs = -1;
    bool backupDiffers = false;
    bool noName = false;
    bool noSerial = false;
    bool exitWithParent = false;
};

void printUsage(FILE* out)
{
    std::fprintf(
        out, "Usage: pavisor_simulator --state DIR [options]\n"
             "\n"
             "Plays a Pavisor device over a pseudo-terminal. The first line on standard output is\n"
             "  ready port=<pty path> location=<location> serial=<usb serial>[ latency_timer=<ms>]\n"
             "and the simulator then runs until SIGTERM, SIGINT or SIGHUP. Several simulators may run\n"
             "at once, each with its own --serial and --state.\n"
             "\n"
             "Stored items (created when missing, written through on every change):\n"
             "  DIR/main.bin, DIR/backup.bin  131072 bytes each, 0xFF when new\n"
             "  DIR/name.bin                  64 bytes, all 0xFF = no name\n"
             "  DIR/serial.bin                16 bytes, the USB serial number when new\n"
             "  DIR/versions.bin              4 bytes: hardware high, low, firmware high, low\n"
             "\n"
             "Discovery: when PAVISOR_SIMULATOR_DIR is set, the file <usb serial>.device is written\n"
             "there at start (key=value lines: port, location, vendor, product, serial, pid, and\n"
             "latency_timer when the USB bridge is played) and removed at exit.\n"
             "\n"
             "The link: like the device, the simulator answers nothing while the terminal is not set to\n"
             "115200 baud, 8 data bits, no parity, 1 stop bit, no flow control; bytes received meanwhile\n"
             "are lost, as line noise would be.\n"
             "\n"
             "Identity:\n"
             "  --state DIR              state folder (required; created when missing)\n"
             "  --serial TEXT            USB serial number (default QRTAV-000001)\n"
             "  --location PATH          location reported for discovery (default: host style,\n"
             "                           /dev/ttyUSB<n> on Linux, /dev/cu.usbserial-<serial> on macOS)\n"
             "  --vendor N|none          vendor identifier in the descriptor (default 1027)\n"
             "  --product N|none         product identifier in the descriptor (default 24597)\n"
             "  --name TEXT              device name stored when name.bin is created\n"
             "  --versions HW,FW         versions stored when versions.bin is created (default 1,3)\n"
             "  --record FILE            append every received byte to FILE\n"
             "  --exit-with-parent       exit (unplug) when the process that started it is gone\n"
             "\n"
             "Timing:\n"
             "  --line-rate              pace the link like the USB UART bridge of a real device:\n"
             "                           11520 bytes/s each way (115200 baud 8N1), answers handed over\n"
             "                           in 62-byte packets, a shorter rest after the latency timer;\n"
             "                           a command is answered once all its bytes are through the line\n"
             "  --latency-timer MS       the USB bridge's latency timer (0 to 255 ms; 16 with --line-rate):\n"
             "                           a rest shorter than a packet, such as an acknowledge, waits MS ms;\n"
             "                           without --line-rate answers are not paced but still go in packets.\n"
             "                           Reported as latency_timer in the descriptor, as sysfs shows it\n"
             "  --byte-rate N            send answers at N bytes per second at most, byte by byte\n"
             "  --late-command C,MS      hold every answer to command C for MS milliseconds (answers\n"
             "                           that follow wait behind it) (repeatable)\n"
             "\n"
             "Faults (memory pages are numbered 0 to 511 in each memory):\n"
             "  --stop-after-pages N     answer the first N page writes, then answer nothing at all\n"
             "  --wrong-ack-page N       acknowledge a write of page N (either memory) with 0x5A and\n"
             "                           do not store it\n"
             "  --wrong-ack-command C[,A]  answer command C (1 LED, 2 select, 4 page, 9 name), or only\n"
             "                           those whose first argument byte is A, with 0x5A and do nothing\n"
             "                           (repeatable; 1,1 fails LED stop only, 2,1 the backup selection)\n"
             "  --silent-command C       never answer command code C (repeatable)\n"
             "  --truncate-answer C,N    send only the first N bytes of every answer to command C, then\n"
             "                           fall silent until the next command (repeatable)\n"
             "  --surplus-bytes N        follow every answer with N bytes 0xA5 nobody asked for\n"
             "  --power-cut-page N       on a write of main memory page N, program the first half of the\n"
             "                           page, leave the rest of it erased (0xFF) and exit at once\n"
             "  --power-cut-backup-page N  the same on a write of backup memory page N\n"
             "  --power-cut-write N      the same on page write number N since start (0 = the first),\n"
             "                           whichever memory and page it is: a page written twice by one\n"
             "                           run of writes can be cut at its second write\n"
             "  --read-back-differs M,OFFSET  once memory M (main or backup) has had a page written,\n"
             "                           answer its reads with the byte at OFFSET inverted; what is\n"
             "                           stored stays right (repeatable)\n"
             "  --backup-differs         answer backup memory reads with the first byte inverted\n"
             "  --no-name                answer the name read with 64 bytes 0xFF\n"
             "  --no-serial              answer the serial number read with 16 bytes 0xFF\n"
             "  --help                   show this text\n");
}

bool parseNumber(const std::string& text, long minimum, long maximum, long& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || parsed < minimum || parsed > maximum)
        return false;
    value = parsed;
    return true;
}

// "A,B" with both numbers in range; B may be left out when `secondOptional` (then -1).
bool parsePair(const std::string& text, long firstMaximum, long secondMaximum, bool secondOptional,
               long& first, long& second)
{
    const size_t comma = text.find(',');
    if (comma == std::string::npos)
    {
        second = -1;
        return secondOptional && parseNumber(text, 0, firstMaximum, first);
    }
    return parseNumber(text.substr(0, comma), 0, firstMaximum, first) &&
           parseNumber(text.substr(comma + 1), 0, secondMaximum, second);
}

const std::set<std::string> VALUE_FLAGS = {"--state",
                                           "--serial",
                                           "--location",
                                           "--record",
                                           "--name",
                                           "--vendor",
                                           "--product",
                                           "--versions",
                                           "--stop-after-pages",
                                           "--wrong-ack-page",
                                           "--wrong-ack-command",
                                           "--power-cut-page",
                                           "--power-cut-backup-page",
                                           "--power-cut-write",
                                           "--silent-command",
                                           "--late-command",
                                           "--truncate-answer",
                                           "--surplus-bytes",
                                           "--read-back-differs",
                                           "--byte-rate",
                                           "--latency-timer"};

// Returns 0 when the command line is valid, 1 when help was asked, -1 on an error.
int parseOptions(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; i++)
    {
        std::string flag = argv[i];
        std::string value;
        bool hasValue = false;
        const size_t equals = flag.find('=');
        if (flag.rfind("--", 0) == 0 && equals != std::string::npos)
        {
            value = flag.substr(equals + 1);
            flag = flag.substr(0, equals);
            hasValue = true;
        }
        auto takeValue = [&]() -> bool
        {
            if (hasValue)
                return true;
            if (i + 1 >= argc)
                return false;
            value = argv[++i];
            return true;
        };
        auto fail = [&]()
        {
            std::fprintf(stderr, "pavisor_simulator: bad or missing value for %s\n", flag.c_str());
            return -1;
        };
        long number = 0;
        long second = 0;

        if (flag == "--help" || flag == "-h")
            return 1;
        if (flag == "--no-name")
            options.noName = true;
        else if (flag == "--no-serial")
            options.noSerial = true;
        else if (flag == "--backup-differs")
            options.backupDiffers = true;
        else if (flag == "--exit-with-parent")
            options.exitWithParent = true;
        else if (flag == "--line-rate")
            options.lineRate = true;
        else if (VALUE_FLAGS.count(flag) == 0)
        {
            std::fprintf(stderr, "pavisor_simulator: unknown flag %s\n", flag.c_str());
            return -1;
        }
        else if (!takeValue())
            return fail();
        else if (flag == "--state")
            options.stateDirectory = value;
        else if (flag == "--serial")
            options.usbSerial = value;
        else if (flag == "--location")
            options.location = value;
        else if (flag == "--record")
            options.recordFile = value;
        else if (flag == "--name")
            options.initialName = value;
        else if (flag == "--vendor" || flag == "--product")
        {
            const bool none = value == "none";
            if (!none && !parseNumber(value, 0, 65535, number))
                return fail();
            (flag == "--vendor" ? options.hasVendor : options.hasProduct) = !none;
            (flag == "--vendor" ? options.vendor : options.product) = number;
        }
        else if (flag == "--versions")
        {
            const size_t comma = value.find(',');
            long hardware = 0;
            long firmware = 0;
            if (comma == std::string::npos || !parseNumber(value.substr(0, comma), 0, 65535, hardware) ||
                !parseNumber(value.substr(comma + 1), 0, 65535, firmware))
                return fail();
            options.hardwareVersion = static_cast<int>(hardware);
            options.firmwareVersion = static_cast<int>(firmware);
        }
        else if (flag == "--stop-after-pages" && parseNumber(value, 0, 1L << 30, number))
            options.stopAfterPages = number;
        else if (flag == "--wrong-ack-page" && parseNumber(value, 0, 65535, number))
            options.wrongAcknowledgePage = number;
        else if ((flag == "--power-cut-page" || flag == "--power-cut-backup-page") &&
                 parseNumber(value, 0, PAGE_COUNT - 1, number))
            options.powerCutPage[flag == "--power-cut-page" ? 0 : 1] = number;
        else if (flag == "--power-cut-write" && parseNumber(value, 0, 1L << 30, number))
            options.powerCutWrite = number;
        else if (flag == "--silent-command" && parseNumber(value, 0, 255, number))
            options.silentCommands.insert(static_cast<int>(number));
        else if (flag == "--wrong-ack-command" && parsePair(value, 255, 255, true, number, second))
            options.wrongAcknowledgeCommands.emplace(static_cast<int>(number), static_cast<int>(second));
        else if (flag == "--late-command" && parsePair(value, 255, 3600000, false, number, second))
            options.lateCommands[static_cast<int>(number)] = second;
        else if (flag == "--truncate-answer" && parsePair(value, 255, MEMORY_SIZE, false, number, second))
            options.truncatedAnswers[static_cast<int>(number)] = static_cast<size_t>(second);
        else if (flag == "--latency-timer" && parseNumber(value, 0, 255, number))
            options.latencyTimerMs = number;
        else if (flag == "--surplus-bytes" && parseNumber(value, 0, 65536, number))
            options.surplusBytes = static_cast<size_t>(number);
        else if (flag == "--read-back-differs" && value.rfind("main,", 0) == 0 &&
                 parseNumber(value.substr(5), 0, MEMORY_SIZE - 1, number))
            options.readBackDifferences.emplace(0, static_cast<size_t>(number));
        else if (flag == "--read-back-differs" && value.rfind("backup,", 0) == 0 &&
                 parseNumber(value.substr(7), 0, MEMORY_SIZE - 1, number))
            options.readBackDifferences.emplace(1, static_cast<size_t>(number));
        else if (flag == "--byte-rate" && parseNumber(value, 1, 100000000, number))
            options.byteRate = static_cast<double>(number);
        else
            return fail();
    }
    if (options.stateDirectory.empty())
    {
        std::fprintf(stderr, "pavisor_simulator: --state DIR is required\n");
        return -1;
    }
    return 0;
}

// One stored item: its bytes in memory and its file, kept open for write-through.
struct StoredItem
{
    int fd = -1;
    std::vector<uint8_t> bytes;

    bool load(const std::string& path, size_t size, const std::vector<uint8_t>& initialContent)
    {
        fd = ::open(path.c_str(), O_RDWR | O_CREAT, 0600);
        if (fd < 0)
            return false;
        bytes.assign(size, 0);
        struct stat status = {};
        if (fstat(fd, &status) == 0 && static_cast<size_t>(status.st_size) == size &&
            pread(fd, bytes.data(), size, 0) == static_cast<ssize_t>(size))
            return true;
        // New (or damaged) item: a fresh device.
        bytes = initialContent;
        bytes.resize(size, 0xFF);
        return ftruncate(fd, 0) == 0 && store(0, size);
    }

    // Writes bytes [offset, offset + length) of the item through to its file.
    bool store(size_t offset, size_t length)
    {
        return pwrite(fd, bytes.data() + offset, length, static_cast<off_t>(offset)) ==
               static_cast<ssize_t>(length);
    }
};

volatile sig_atomic_t stopRequested = 0;
int signalPipe[2] = {-1, -1};
std::string descriptorPath;

void onStopSignal(int)
{
    stopRequested = 1;
    const char byte = 0;
    ssize_t ignored = write(signalPipe[1], &byte, 1);
    (void)ignored;
}

void removeDescriptor()
{
    if (!descriptorPath.empty())
        unlink(descriptorPath.c_str());
}

// The latency timer of the played USB bridge in ms, or -1 when answers go straight to the host.
long bridgeLatencyMs(const Options& options)
{
    if (options.latencyTimerMs >= 0)
        return options.latencyTimerMs;
    return options.lineRate ? 16 : -1;
}

bool writeDescriptor(const std::string& directory, const Options& options, const std::string& port,
                     const std::string& location)
{
    std::string content = "port=" + port + "\nlocation=" + location + "\n";
    if (options.hasVendor)
        content += "vendor=" + std::to_string(options.vendor) + "\n";
    if (options.hasProduct)
        content += "product=" + std::to_string(options.product) + "\n";
    content += "serial=" + options.usbSerial + "\n";
    // Lets discovery tell a descriptor left behind by a killed simulator from a live one.
    content += "pid=" + std::to_string(getpid()) + "\n";
    if (bridgeLatencyMs(options) >= 0)
        content += "latency_timer=" + std::to_string(bridgeLatencyMs(options)) + "\n";

    // Written aside and renamed, so that enumeration never reads half a descriptor.
    const std::string finalPath = directory + "/" + options.usbSerial + ".device";
    const std::string temporaryPath = directory + "/." + options.usbSerial + ".device.tmp";
    FILE* file = std::fopen(temporaryPath.c_str(), "w");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    if (std::fclose(file) != 0 || !written || std::rename(temporaryPath.c_str(), finalPath.c_str()) != 0)
    {
        unlink(temporaryPath.c_str());
        return false;
    }
    descriptorPath = finalPath;
    return true;
}

using Clock = std::chrono::steady_clock;

// The device's end of the serial line and the USB bridge between it and the host. Without pacing,
// an answer is handed over at once (or when its late delay is over). With pacing, its bytes leave
// the device's UART one per byte time and the bridge hands them to the host in packets: a full
// packet at once, a shorter rest once the latency timer has run since the rest's first byte.
// Everything is scheduled ahead in absolute times, so a slow main loop never slows the line down.
class Link
{
public:
    explicit Link(const Options& options)
    {
        if (options.lineRate)
        {
            _byteTime = byteTime(LINE_BYTES_PER_SECOND);
            _inboundByteTime = _byteTime;
        }
        else if (options.byteRate > 0)
            _byteTime = byteTime(options.byteRate);
        if (bridgeLatencyMs(options) >= 0)
        {
            _packetSize = BRIDGE_PACKET_SIZE;
            _latency = std::chrono::milliseconds(bridgeLatencyMs(options));
        }
    }

    // When a byte that the host wrote at `now` has come through the line to the device: requests
    // queue up behind each other on the wire.
    Clock::time_point inboundArrival(Clock::time_point now)
    {
        if (_inboundByteTime == Clock::duration::zero())
            return now;
        _inboundFree = std::max(_inboundFree, now) + _inboundByteTime;
        return _inboundFree;
    }

    // Queues an answer that the device starts sending at `start` at the earliest.
    void send(const std::vector<uint8_t>& answer, Clock::time_point start)
    {
        if (answer.empty())
            return;
        if (_byteTime == Clock::duration::zero() && _packetSize == 1)
        {
            _bytes.insert(_bytes.end(), answer.begin(), answer.end());
            release(start);
            return;
        }
        Clock::time_point time = std::max(_lineFree, start);
        for (uint8_t byte : answer)
        {
            time += _byteTime;
            flushRestIfDue(time);
            if (_restCount == 0)
                _restFirstTime = time;
            _bytes.push_back(byte);
            if (++_restCount == _packetSize)
                release(time);
        }
        _lineFree = time;
    }

    // Bytes that the host may have by `now` and has not had yet.
    size_t releasedLength(Clock::time_point now)
    {
        flushRestIfDue(now);
        while (!_releases.empty() && _releases.front().first <= now)
        {
            _releasedEnd = _releases.front().second;
            _releases.pop_front();
        }
        return _releasedEnd - _handedOver;
    }
    const uint8_t* releasedData() const { return _bytes.data() + _handedOver; }

    void handedOver(size_t count)
    {
        _handedOver += count;
        if (_handedOver == _bytes.size() && _releases.empty() && _restCount == 0)
        {
            _bytes.clear();
            _handedOver = 0;
            _releasedEnd = 0;
        }
    }

    // When the next bytes become due; false when nothing is waiting.
    bool nextRelease(Clock::time_point& time) const
    {
        if (!_releases.empty())
            time = _releases.front().first;
        else if (_restCount > 0)
            time = _restFirstTime + _latency;
        else
            return false;
        if (_restCount > 0)
            time = std::min(time, _restFirstTime + _latency);
        return true;
    }

private:
    static constexpr double LINE_BYTES_PER_SECOND = 11520.0; // 115200 baud, 10 bits a byte
    static constexpr size_t BRIDGE_PACKET_SIZE = 62;         // 64-byte USB packet, 2 status bytes

    static Clock::duration byteTime(double bytesPerSecond)
    {
        return std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double>(1.0 / bytesPerSecond));
    }

    // Everything queued so far becomes due at `time` (never before what was queued earlier).
    void release(Clock::time_point time)
    {
        _lastReleaseTime = std::max(_lastReleaseTime, time);
        _releases.emplace_back(_lastReleaseTime, _bytes.size());
        _restCount = 0;
    }

    void flushRestIfDue(Clock::time_point time)
    {
        if (_restCount > 0 && time >= _restFirstTime + _latency)
            release(_restFirstTime + _latency);
    }

    Clock::duration _byteTime = Clock::duration::zero();
    Clock::duration _inboundByteTime = Clock::duration::zero();
    size_t _packetSize = 1;
    Clock::duration _latency = Clock::duration::zero();
    Clock::time_point _inboundFree;
    Clock::time_point _lineFree;
    Clock::time_point _restFirstTime;
    Clock::time_point _lastReleaseTime;
    size_t _restCount = 0;
    std::vector<uint8_t> _bytes;
    std::deque<std::pair<Clock::time_point, size_t>> _releases;
    size_t _releasedEnd = 0;
    size_t _handedOver = 0;
};

class Simulator
{
public:
    explicit Simulator(const Options& options) : _options(options), _link(options) {}

    bool loadState()
    {
        const std::string& directory = _options.stateDirectory;
        mkdir(directory.c_str(), 0700);

        std::vector<uint8_t> name(_options.initialName.begin(), _options.initialName.end());
        if (!name.empty() && name.size() < NAME_SIZE)
            name.resize(NAME_SIZE, 0);
        std::vector<uint8_t> serial(_options.usbSerial.begin(), _options.usbSerial.end());
        serial.resize(SERIAL_SIZE, 0);
        const std::vector<uint8_t> versions = {static_cast<uint8_t>(_options.hardwareVersion >> 8),
                                               static_cast<uint8_t>(_options.hardwareVersion),
                                               static_cast<uint8_t>(_options.firmwareVersion >> 8),
                                               static_cast<uint8_t>(_options.firmwareVersion)};

        return _memories[0].load(directory + "/main.bin", MEMORY_SIZE, {}) &&
               _memories[1].load(directory + "/backup.bin", MEMORY_SIZE, {}) &&
               _name.load(directory + "/name.bin", NAME_SIZE, name) &&
               _serial.load(directory + "/serial.bin", SERIAL_SIZE, serial) &&
               _versions.load(directory + "/versions.bin", VERSIONS_SIZE, versions);
    }

    bool openRecord()
    {
        if (_options.recordFile.empty())
            return true;
        // Appending, so that a test may truncate the file between two steps.
        _recordFd = ::open(_options.recordFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        return _recordFd >= 0;
    }

    // Bytes the host wrote at `now`. On a line set up wrongly they reach the device as noise.
    void receive(const uint8_t* data, size_t length, Clock::time_point now, bool lineSetUp)
    {
        if (_recordFd >= 0 && write(_recordFd, data, length) != static_cast<ssize_t>(length))
            std::fprintf(stderr, "pavisor_simulator: cannot record received bytes\n");
        if (!lineSetUp)
        {
            _parserState = WAITING_FOR_SYNC;
            return;
        }
        for (size_t i = 0; i < length; i++)
            receiveByte(data[i], _link.inboundArrival(now));
    }

    Link& link() { return _link; }

private:
    void receiveByte(uint8_t byte, Clock::time_point arrival)
    {
        switch (_parserState)
        {
        case WAITING_FOR_SYNC:
            if (byte == SYNC_BYTE)
                _parserState = WAITING_FOR_COMMAND;
            break;
        case WAITING_FOR_COMMAND:
            _command = byte;
            _arguments.clear();
            if (argumentLength(_command) == 0)
                execute(arrival);
            else
                _parserState = WAITING_FOR_ARGUMENTS;
            break;
        case WAITING_FOR_ARGUMENTS:
            _arguments.push_back(byte);
            if (_arguments.size() == argumentLength(_command))
                execute(arrival);
            break;
        }
    }

    // Runs the command whose last byte arrived at `arrival` and queues its answer.
    void execute(Clock::time_point arrival)
    {
        _parserState = WAITING_FOR_SYNC;
        if (_hung || _options.silentCommands.count(_command) != 0)
            return;
        std::vector<uint8_t> answer = respond();
        if (answer.empty())
            return;
        const auto truncated = _options.truncatedAnswers.find(_command);
        if (truncated != _options.truncatedAnswers.end())
            answer.resize(std::min(answer.size(), truncated->second));
        answer.insert(answer.end(), _options.surplusBytes, SYNC_BYTE);
        const auto late = _options.lateCommands.find(_command);
        if (late != _options.lateCommands.end())
            arrival += std::chrono::milliseconds(late->second);
        _link.send(answer, arrival);
    }

    bool wrongAcknowledgeAsked() const
    {
        const auto range = _options.wrongAcknowledgeCommands.equal_range(_command);
        for (auto it = range.first; it != range.second; ++it)
        {
            if (it->second < 0 || (!_arguments.empty() && _arguments[0] == it->second))
                return true;
        }
        return false;
    }

    std::vector<uint8_t> respond()
    {
        if (wrongAcknowledgeAsked())
            return {WRONG_ACKNOWLEDGE};
        switch (_command)
        {
        case COMMAND_READ_VERSIONS:
            return _versions.bytes;
        case COMMAND_SET_LED_STATE:
            return {ACKNOWLEDGE};
        case COMMAND_SELECT_MEMORY:
            if (_arguments[0] > 1)
                return {WRONG_ACKNOWLEDGE};
            _selectedMemory = _arguments[0];
            return {ACKNOWLEDGE};
        case COMMAND_WRITE_PAGE:
            return writePage();
        case COMMAND_READ_MEMORY:
        {
            std::vector<uint8_t> image = _memories[_selectedMemory].bytes;
            if (_selectedMemory == 1 && _options.backupDiffers)
                image[0] ^= 0xFF;
            const auto range = _options.readBackDifferences.equal_range(_selectedMemory);
            for (auto it = range.first; it != range.second && _memoryWritten[_selectedMemory]; ++it)
                image[it->second] ^= 0xFF;
            return image;
        }
        case COMMAND_READ_SERIAL_NUMBER:
            return _options.noSerial ? std::vector<uint8_t>(SERIAL_SIZE, 0xFF) : _serial.bytes;
        case COMMAND_READ_NAME:
            return _options.noName ? std::vector<uint8_t>(NAME_SIZE, 0xFF) : _name.bytes;
        case COMMAND_WRITE_NAME:
            std::copy(_arguments.begin(), _arguments.end(), _name.bytes.begin());
            return {_name.store(0, NAME_SIZE) ? ACKNOWLEDGE : WRONG_ACKNOWLEDGE};
        default:
            // Codes 3 and 7 and unknown codes: no answer.
            return {};
        }
    }

    std::vector<uint8_t> writePage()
    {
        if (_options.stopAfterPages >= 0 && _pagesWritten >= _options.stopAfterPages)
        {
            // The device hangs for good, as a firmware stuck in a write would.
            _hung = true;
            return {};
        }
        const long page = (static_cast<long>(_arguments[0]) << 8) | _arguments[1];
        StoredItem& memory = _memories[_selectedMemory];
        const size_t offset = static_cast<size_t>(page) * PAGE_SIZE;
        const long writeNumber = _pageWriteCommands++;
        if (page == _options.powerCutPage[_selectedMemory] ||
            (writeNumber == _options.powerCutWrite && static_cast<size_t>(page) < PAGE_COUNT))
        {
            // Power cut while programming: flash erases a page before programming it, so what the
            // cut leaves is the first half programmed and the rest erased.
            std::copy(_arguments.begin() + 2, _arguments.begin() + 2 + PAGE_SIZE / 2,
                      memory.bytes.begin() + offset);
            std::fill(memory.bytes.begin() + offset + PAGE_SIZE / 2,
                      memory.bytes.begin() + offset + PAGE_SIZE, 0xFF);
            memory.store(offset, PAGE_SIZE);
            removeDescriptor();
            std::fprintf(stderr, "pavisor_simulator: power cut while writing %s memory page %ld\n",
                         _selectedMemory == 0 ? "main" : "backup", page);
            _exit(0);
        }
        if (page == _options.wrongAcknowledgePage || static_cast<size_t>(page) >= PAGE_COUNT)
            return {WRONG_ACKNOWLEDGE};
        std::copy(_arguments.begin() + 2, _arguments.end(), memory.bytes.begin() + offset);
        const bool stored = memory.store(offset, PAGE_SIZE);
        _pagesWritten++;
        _memoryWritten[_selectedMemory] = true;
        return {stored ? ACKNOWLEDGE : WRONG_ACKNOWLEDGE};
    }

    enum ParserState
    {
        WAITING_FOR_SYNC,
        WAITING_FOR_COMMAND,
        WAITING_FOR_ARGUMENTS
    };

    const Options& _options;
    Link _link;
    StoredItem _memories[2];
    StoredItem _name;
    StoredItem _serial;
    StoredItem _versions;
    int _recordFd = -1;
    ParserState _parserState = WAITING_FOR_SYNC;
    int _command = 0;
    std::vector<uint8_t> _arguments;
    int _selectedMemory = 0;
    long _pagesWritten = 0;
    // Every page write command received, stored or not.
    long _pageWriteCommands = 0;
    bool _memoryWritten[2] = {false, false};
    bool _hung = false;
};

// Whether the application has set the terminal up as a Pavisor's link: 115200 baud both ways,
// 8 data bits, no parity, 1 stop bit, no hardware or software flow control.
bool lineSetUp(int slave)
{
    struct termios settings = {};
    if (tcgetattr(slave, &settings) != 0)
        return false;
    return cfgetispeed(&settings) == B115200 && cfgetospeed(&settings) == B115200 &&
           (settings.c_cflag & CSIZE) == CS8 && (settings.c_cflag & (PARENB | CSTOPB | CRTSCTS)) == 0 &&
           (settings.c_iflag & (IXON | IXOFF)) == 0;
}

// Opens a pseudo-terminal in raw mode. The simulator keeps its own slave descriptor open so that
// the terminal survives the application closing and reopening the port (on Linux the master
// reports a hang-up whenever no slave descriptor is open).
bool openPseudoTerminal(int& master, int& slave, std::string& slavePath)
{
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        return false;
    const char* name = ptsname(master);
    if (name == nullptr)
        return false;
    slavePath = name;
    slave = ::open(name, O_RDWR | O_NOCTTY);
    if (slave < 0)
        return false;
    // Raw mode: no echo (the answers would come back as commands) and no byte translation.
    struct termios settings = {};
    if (tcgetattr(slave, &settings) != 0)
        return false;
    cfmakeraw(&settings);
    cfsetispeed(&settings, B115200);
    cfsetospeed(&settings, B115200);
    if (tcsetattr(slave, TCSANOW, &settings) != 0)
        return false;
    return fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK) == 0;
}

std::string defaultLocation(const std::string& slavePath, const std::string& usbSerial)
{
#ifdef __APPLE__
    (void)slavePath;
    return "/dev/cu.usbserial-" + usbSerial;
#else
    (void)usbSerial;
    const size_t digits = slavePath.find_last_not_of("0123456789");
    return "/dev/ttyUSB" + slavePath.substr(digits + 1);
#endif
}

int run(const Options& options)
{
    Simulator simulator(options);
    if (!simulator.loadState())
    {
        std::fprintf(stderr, "pavisor_simulator: cannot load the state folder %s: %s\n",
                     options.stateDirectory.c_str(), std::strerror(errno));
        return 2;
    }
    if (!simulator.openRecord())
    {
        std::fprintf(stderr, "pavisor_simulator: cannot open the record file %s\n",
                     options.recordFile.c_str());
        return 2;
    }

    int master = -1;
    int slave = -1;
    std::string slavePath;
    if (!openPseudoTerminal(master, slave, slavePath))
    {
        std::fprintf(stderr, "pavisor_simulator: cannot open a pseudo-terminal: %s\n", std::strerror(errno));
        return 2;
    }
    const std::string location =
        options.location.empty() ? defaultLocation(slavePath, options.usbSerial) : options.location;

    if (pipe(signalPipe) != 0)
        return 2;
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);

    const char* discoveryDirectory = std::getenv("PAVISOR_SIMULATOR_DIR");
    if (discoveryDirectory != nullptr && discoveryDirectory[0] != '\0' &&
        !writeDescriptor(discoveryDirectory, options, slavePath, location))
    {
        std::fprintf(stderr, "pavisor_simulator: cannot write the descriptor in %s\n", discoveryDirectory);
        return 2;
    }

    std::printf("ready port=%s location=%s serial=%s", slavePath.c_str(), location.c_str(),
                options.usbSerial.c_str());
    if (bridgeLatencyMs(options) >= 0)
        std::printf(" latency_timer=%ld", bridgeLatencyMs(options));
    std::printf("\n");
    std::fflush(stdout);

    const pid_t parent = getppid();
    Link& link = simulator.link();
    uint8_t buffer[4096];

    while (!stopRequested)
    {
        const Clock::time_point now = Clock::now();
        const size_t released = link.releasedLength(now);
        int timeoutMs = 500;
        Clock::time_point next;
        if (released == 0 && link.nextRelease(next))
        {
            const auto wait = std::chrono::duration_cast<std::chrono::microseconds>(next - now).count();
            timeoutMs = static_cast<int>(std::clamp<long long>((wait + 999) / 1000, 0, timeoutMs));
        }

        struct pollfd descriptors[2] = {
            {master, static_cast<short>(POLLIN | (released > 0 ? POLLOUT : 0)), 0},
            {signalPipe[0], POLLIN, 0}};
        const int ready = poll(descriptors, 2, timeoutMs);
        if (ready < 0 && errno != EINTR)
            break;
        if (options.exitWithParent && getppid() != parent)
            break; // The test that started us is gone: unplug.
        if (ready <= 0)
            continue;

        if (descriptors[0].revents & POLLIN)
        {
            const ssize_t count = read(master, buffer, sizeof(buffer));
            if (count > 0)
                simulator.receive(buffer, static_cast<size_t>(count), Clock::now(), lineSetUp(slave));
        }
        if (released > 0 && (descriptors[0].revents & POLLOUT))
        {
            const ssize_t count = write(master, link.releasedData(), released);
            if (count > 0)
                link.handedOver(static_cast<size_t>(count));
        }
    }

    removeDescriptor();
    close(slave);
    close(master);
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    Options options;
    const int parsed = parseOptions(argc, argv, options);
    if (parsed != 0)
    {
        if (parsed > 0)
            printUsage(stdout);
        else
            std::fprintf(stderr, "Run pavisor_simulator --help for the flags.\n");
        return parsed > 0 ? 0 : 1;
    }
    return run(options);
}
