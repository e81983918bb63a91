#pragma once

#include "core/ByteIO.h"
#include "core/Locale.h"
#include "instruments/LevelConversion.h"
#include "instruments/LevelLogger.h"
#include "instruments/LevelLoggerView.h"
#include "store/HqTable.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace korvel {

// The water-level logger reached through a telephone modem: the Hayes commands of the terminal,
// the 81-byte information block and the downloads with their alignment into a memory image.
namespace modem {
inline constexpr std::uint8_t kWake = 0x00; // also the request of the information block
inline constexpr std::size_t kBlockSize = 81;
inline constexpr int kWakeRepeats = 1000;
inline constexpr int kWakeRetries = 8;
inline constexpr int kDownloadWakeRepeats = 2000;
inline constexpr int kIdleLimit = 300;
// More than this many bytes and at least kIdleLimit - 1 idle ticks also end a download well.
inline constexpr std::size_t kShortDownload = 240;
inline constexpr std::uint8_t kImageFill = 0x50;
inline constexpr std::string_view kHangUp = "ATH";
} // namespace modem

inline constexpr std::string_view kModemCaption = "Modem";
inline constexpr std::string_view kNormalDownload = "Normal sağım";
inline constexpr std::string_view kSlowDownload = "Yavaş sağım";
inline constexpr std::string_view kSpecialDownload = "Özel sağım";

// The number dialled: prefix + "," + phone number, or the phone number alone when the prefix is
// blank, both trimmed. Empty when there is no phone number.
std::string dialNumber(std::string_view dialPrefix, std::string_view phoneNumber);
// "ATDT" + number + CR LF.
std::string dialCommand(std::string_view number);
// The terminal's line: the stored speed followed by ",n,8,1". A speed the port cannot take (none
// stored, not a number) leaves the line of the direct instrument screens, "19200,n,8,1".
std::string modemLineSettings(std::string_view storedSpeed);
// The connect time "hh:nn:ss" (after a space in the status panel).
std::string connectTimeText(long long seconds);

// The modem calls keep the port open: it belongs to the terminal, and closing it hangs up.
// The information command over the modem: the 0x00 wake-up (up to 1000 bytes, once more, 2 s for
// an answer, at most 8 attempts), then one 0x00 answered by the 81-byte block.
struct ModemInformation {
    bool ok = false;
    std::string message;
    Bytes block; // 81 bytes, byte k = element k
    int wakeAttempts = 0;
};
// A block whose fields cannot be real (see levelReplyInRange) ends the command with
// "Yeniden deneyin".
ModemInformation readModemInformation(Exchange& exchange);
bool modemBlockInRange(const Bytes& block);

// What the block shows: the level logger screen's fields (Text1 .. Text10, Label8, Label9) and
// Text11 (elevation of the water surface, "<elevation + L / 100 or / 1000>.m", only when the
// station's elevation is not 0) and Text12 (the discharge of the modem rating table at L / 10,
// only when the unit code is not 10).
struct ModemInformationView {
    LevelLoggerView logger;
    int level = 0; // L
};
ModemInformationView showModemBlock(const Bytes& block, const HqTable* rating, double elevation,
                                    const Locale& locale);
int modemLevel(const Bytes& block);

// One of the three downloads: "P" normal (4 s first wait), "S" slow (8 s), "R" special (4 s).
enum class ModemDownloadMode { Normal, Slow, Special };
std::uint8_t modemDownloadByte(ModemDownloadMode mode);

struct ModemDownload {
    bool ok = false;
    std::string message;
    Bytes received; // as it came, the reply byte first; also what came before a failure
    Bytes image;    // aligned, 32768 bytes, when ok
    // The first image position the received bytes did not reach (kWholeImage: all came).
    std::size_t receivedEnd = kWholeImage;
    int idleTicks = 0;
    bool complete() const { return receivedEnd == kWholeImage; }
};
// Wake-up with 0x01, the mode byte, then reception every 20 ms until 32768 bytes have come (and,
// when stray bytes came before the image, the image's own last bytes while they keep coming), or
// 299 idle ticks passed with more than 240 bytes (success), or 300 idle ticks (failure). Received
// bytes that cannot be aligned into a logger memory image are a failure too ("Yeniden deneyin").
ModemDownload downloadOverModem(Exchange& exchange, ModemDownloadMode mode,
                                const std::function<void(std::size_t)>& progress = {});

// The received bytes as a 32768-byte image. The usual places come first: with "G" at received
// byte 1 as they are; with the first "G" among bytes 2..20 moved to byte 1; otherwise the first
// byte other than "I" among bytes 240..260 that follows an "I" is taken for the start of the ring
// (position 256). When these give no image that reads as a logger memory, the whole received data
// are searched for the same signs and for the ring marker. Image positions from 1 take the shifted
// bytes from 1; what the data do not reach is 0x50.
struct AlignedModemImage {
    bool ok = false; // the image reads as a logger memory
    Bytes image;
    std::size_t receivedEnd = kWholeImage;
};
AlignedModemImage alignModemDownload(const Bytes& received);

// Whether an image whose positions from `receivedEnd` on are filler reads as a logger memory: its
// header was received, names a write position in the ring, a reading interval that divides the
// day and a valid date, and the first day block (or the empty ring's marker) lies in the received
// part with a calendar date, followed by a block of a later day when the logger wrote one and it
// was received.
bool readsAsLevelImage(const Bytes& image, std::size_t receivedEnd);

} // namespace korvel
