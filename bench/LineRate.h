#ifndef LINERATE_H
#define LINERATE_H

#include "Device.h"

// What the device commands cost on a real Pavisor's wire (115200 baud 8N1: 11520 bytes a second),
// the floor that line-rate figures are set against.
namespace LineRate
{
constexpr double BYTES_PER_SECOND = 11520.0;
// Request and answer bytes of one memory read (selection, acknowledge, read command, memory), of
// one page write (command, page number, data, acknowledge) and of a memory selection.
constexpr double MEMORY_READ_WIRE_BYTES = 3 + 1 + 2 + Device::MEMORY_SIZE;
constexpr double PAGE_WRITE_WIRE_BYTES = 4 + Device::MEMORY_PAGE_SIZE + 1;
constexpr double SELECTION_WIRE_BYTES = 3 + 1;
// What a save puts on the wire: both memories selected and written page by page, then both read
// back for the verification.
constexpr double SAVE_WRITE_WIRE_BYTES =
    2 * SELECTION_WIRE_BYTES + 2 * Device::MEMORY_PAGE_COUNT * PAGE_WRITE_WIRE_BYTES;
constexpr double SAVE_WIRE_BYTES = SAVE_WRITE_WIRE_BYTES + 2 * MEMORY_READ_WIRE_BYTES;

constexpr double wireMs(double bytes)
{
    return bytes * 1000.0 / BYTES_PER_SECOND;
}
} // namespace LineRate

#endif
