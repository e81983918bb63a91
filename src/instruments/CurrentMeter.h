#pragma once

#include "core/ByteIO.h"
#include "core/Locale.h"
#include "instruments/Exchange.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvel {

// The K.3300 propeller current meter ("muline"): single command bytes, each answered by a reply
// whose byte 0 is the command byte.
namespace currentmeter {
inline constexpr std::uint8_t kRead = 0x31;  // "1": read the calibration
inline constexpr std::uint8_t kWrite = 0x32; // "2": write the calibration
inline constexpr std::uint8_t kErase = 0x33; // "3": erase the memory
inline constexpr std::size_t kCalibrationBytes = 6;
inline constexpr std::chrono::milliseconds kReplyWait{50};
inline constexpr std::chrono::milliseconds kEraseWait{500};
} // namespace currentmeter

inline constexpr std::string_view kConnectCurrentMeter = "K.3300 model MULİNE HIZMETRESİNİ BAĞLAYINIZ";
inline constexpr std::string_view kMeterPortBusy = "COM portu degiştirin seçili port zaten açık";

// The six calibration bytes: units, tens and hundreds digit of X = round(A x 100000 / time), units
// and tens digit of Y = B x 1000, and T' = round(time x 65 / 55).
using CalibrationBytes = std::array<std::uint8_t, currentmeter::kCalibrationBytes>;

struct CalibrationCheck {
    std::optional<CalibrationBytes> bytes;
    std::string message; // the refusal when there are no bytes
};

// The checks of "YENİ KATSAYIYI KAYDET" in their order, on the texts of Text1 (A), Text2 (B) and
// Text3 (time); the first that fails gives its message. Negative coefficients are refused too,
// since their digits would not be digits.
CalibrationCheck checkCalibration(std::string_view a, std::string_view b, std::string_view time,
                                  const Locale& locale);

// "ÖNCEKİ KATSAYI": reply bytes 1..6 decoded back into A, B and the time.
struct MeterCalibration {
    double a = 0;
    double b = 0;
    double time = 0;
};
MeterCalibration decodeCalibration(const Bytes& reply);

struct MeterOutcome {
    bool ok = false;
    std::string message;
    Bytes reply;
};

// 0x32, a reply starting 0x32 within 50 ms, then the six bytes one by one. The port is closed.
MeterOutcome writeCalibration(Exchange& exchange, const CalibrationBytes& bytes);
// 0x31 and whatever comes within 50 ms (the reply, bytes 1..6 the calibration).
MeterOutcome readCalibration(Exchange& exchange);
// 0x33 and a reply starting 0x33 within 0.5 s.
MeterOutcome eraseMeter(Exchange& exchange);

} // namespace korvel
