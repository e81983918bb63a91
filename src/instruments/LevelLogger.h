#pragma once

#include "core/ByteIO.h"
#include "instruments/Exchange.h"
#include "instruments/LevelLoggerSettings.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace korvel {

// "Yeniden deneyin": a wait of a logger command ran past its deadline.
inline constexpr std::string_view kTryAgain = "Yeniden deneyin";
// "bağlantı kesildi": the erase screen got no answer.
inline constexpr std::string_view kConnectionLost = "bağlantı kesildi";
// "Sagım yapıldı": the download is complete.
inline constexpr std::string_view kDownloadDone = "Sagım yapıldı";

// A reply and the read byte it answers.
struct LoggerReply {
    std::uint8_t readByte = 0;
    Bytes reply;
};

struct CommandOutcome {
    bool ok = false;
    std::string message; // the message to show when not ok; empty when the command just ends
    // The replies received, in order; shown even when a later step fails.
    std::vector<LoggerReply> replies;
    int wakeAttempts = 0;
};

// Whether a reply holds what a logger can send: a clock of 0-59 minutes and 0-23 hours, a date of
// day 1-31, month 1-12 and year 0-99, memory in use within the data ring, a battery use count of
// at most the battery's life. The water-level logger's own replies also need level digits 0-9,
// an interval that divides the day and a unit code 1-10; the rain logger's total is four digits.
using ReplyCheck = bool (*)(std::uint8_t readByte, const Bytes& reply);
bool levelReplyInRange(std::uint8_t readByte, const Bytes& reply);
bool rainReplyInRange(std::uint8_t readByte, const Bytes& reply);

// "Limnigraftan Bilgileri Al": wake-up and the unit code with up to six attempts, then each read
// of the information in turn with a 4 s wait for its exact reply length. The port is closed at
// the end. A reply that cannot be real ends the command as a time-out does ("Yeniden deneyin");
// the replies before it are kept.
CommandOutcome readInformation(Exchange& exchange);
// The same frame with another wake-up count, other reads after the unit code (the rain logger
// wakes with 4000 bytes) and its own reply check.
CommandOutcome readInformation(Exchange& exchange, int wakeRepeats, std::span<const std::uint8_t> reads,
                               ReplyCheck check);

// A setting (double-click on a field): wake-up, the write byte and its one-byte answer, the read
// byte and the data, then the reply of the read; every wait 2 s.
CommandOutcome writeSetting(Exchange& exchange, const SettingCommand& command);

// The erase screen's "Devam": wake with up to 4000 bytes, "U", and "U" again once the logger
// answers within 2 s; else "bağlantı kesildi".
CommandOutcome eraseMemory(Exchange& exchange);

struct DownloadOptions {
    std::uint8_t mode = 0x50; // "P"
    int wakeRepeats = 2000;
    Clock::Duration firstWait = Seconds(4);
    Clock::Duration replyWait = Seconds(6);
    // The reception tick and the ticks without input that end the download.
    Clock::Duration tick = std::chrono::milliseconds(20);
    int idleLimit = 100;
    std::size_t expected = 32769; // the reply byte and the 32768-byte image
};

struct DownloadOutcome {
    bool ok = false;
    std::string message;
    Bytes image; // the memory image (the received bytes without the first) when ok
    // When not ok: the part of the image that came before the download stopped.
    Bytes partial;
    std::size_t received = 0;
    int idleTicks = 0;
};

// "Sağım": wake-up, the download byte, then reception every tick until the whole image has
// arrived, or until 100 ticks in all found nothing waiting. `progress` gets the number of bytes
// received so far at each tick that is not idle.
DownloadOutcome downloadMemory(Exchange& exchange, const DownloadOptions& options = {},
                               const std::function<void(std::size_t)>& progress = {});

} // namespace korvel
