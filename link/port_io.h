// Raw block transfers to and from the device over the selected connection. Every call
// opens the device, does one transfer (or one chunked series) and closes it again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace platform {
class DeviceFile;
}

namespace vornik {

// The ECP port driver's device-control requests (input byte(s) only, no output).
inline constexpr uint32_t kEcpSetHardwareMethod = 0x182014;  // 1 byte: method
inline constexpr uint32_t kEcpSetMode = 0x182004;            // 1 byte: mode
inline constexpr uint32_t kEcpSetDirection = 0x182008;       // 4 bytes little-endian

// Sends one of the three requests above on an open ECP driver device. A refusal is only
// traced, with the request's own text; the caller's transfer goes on regardless.
void EcpControl(platform::DeviceFile& port, uint32_t code, std::span<const uint8_t> input);

// Parallel-port time-outs applied before every transfer on a port opened as a file.
inline constexpr uint32_t kLptReadIntervalMs = 200;
inline constexpr uint32_t kLptReadTotalMs = 3000;
inline constexpr uint32_t kLptWriteTotalMs = 5000;

// USB transfers on the NT flavour above these sizes go through the USB library in chunks.
inline constexpr size_t kUsbWriteChunk = 3072;
inline constexpr size_t kUsbReadChunk = 2048;

// Writes the block; returns the number of bytes written, 0 when the port cannot be opened.
// The chunked USB write returns the total written before a chunk that wrote nothing.
size_t PortWrite(const uint8_t* bytes, size_t count);

// The discard before a request reads in blocks of this size.
inline constexpr size_t kDiscardReadSize = 4096;

// Writes a command's request as PortWrite does, after discarding every answer byte the
// device holds that no command read: an answer left by an interrupted command would
// otherwise be read as this request's. The discard reads without waiting and traces
// "Discarded = %d \n" when it found bytes. A parallel port discards on the write's own open
// (for reading and writing); USB discards on an open of its read path of its own.
size_t PortWriteRequest(const uint8_t* bytes, size_t count);

// Reads up to `count` bytes; returns how many arrived, 0 when the port cannot be opened.
// Exception: the chunked USB read stops at the first short chunk and returns that chunk's
// count, not the running total.
size_t PortRead(uint8_t* buffer, size_t count);

// The ECP driver device's write: one block, no time-outs, no control requests.
size_t EcpWrite(const uint8_t* bytes, size_t count);

}  // namespace vornik
