#include "instruments/CurrentMeter.h"

#include "core/Numbers.h"

#include <cmath>

namespace korvel {

using namespace currentmeter;

namespace {

// Products such as 0.1 x 1000 are compared as the decimal values they stand for.
double decimal(double value) {
    return std::round(value * 1e6) / 1e6;
}

CalibrationCheck refused(std::string_view message) {
    return CalibrationCheck{std::nullopt, std::string(message)};
}

std::uint8_t digit(int value) {
    return static_cast<std::uint8_t>(value % 10);
}

} // namespace

CalibrationCheck checkCalibration(std::string_view aText, std::string_view bText, std::string_view timeText,
                                  const Locale& locale) {
    const std::optional<double> a = locale.parseEnteredNumber(aText);
    if (!a)
        return refused("LÜTFEN A KAYSAYISI İÇİN SAYISAL DEGER GİRİNİZ");
    const std::optional<double> b = locale.parseEnteredNumber(bText);
    if (!b)
        return refused("LÜTFEN B KATSAYISI İÇİN SAYISAL DEGER GİRİNİZ");
    const std::optional<double> time = locale.parseEnteredNumber(timeText);
    if (!time)
        return refused("LÜTFEN ZAMAN İÇİN SAYISAL DEGER GİRİNİZ");
    if (*time < 40)
        return refused("DÜNYA STANDARTLARINDA 40 SANİYENİN ALTINDAKİ ÖLÇÜMLER UYGUN GÖRÜLMEMİŞTİR");
    if (decimal(*a * 100000) > 100000)
        return refused("LÜTFEN A İÇİN BİR'DEN KÜÇÜK SAYISAL DEGER GİRİNİZ");
    const double b1000 = decimal(*b * 1000);
    if (b1000 > 100)
        return refused("LÜTFEN b İÇİN 0,1 'DEN KÜÇÜK SAYISAL DEGER GİRİNİZ");
    const double x = roundHalfEven(decimal(*a * 100000 / *time));
    if (x > 999 || x < 0)
        return refused("A KATSAYISI İLE ZAMAN ARASI İLİŞKİ İZİNSİZ");
    const double y = roundHalfEven(b1000);
    if (b1000 > 99 || y < 0)
        return refused("B KATSAYISI İZİNSİZ");
    const double t = roundHalfEven(decimal(*time * 65 / 55));
    if (t > 250)
        return refused("GİRİLEN ZAMAN İZİNSİZ");
    const int xi = static_cast<int>(x);
    const int yi = static_cast<int>(y);
    return CalibrationCheck{CalibrationBytes{digit(xi), digit(xi / 10), digit(xi / 100), digit(yi),
                                             digit(yi / 10), static_cast<std::uint8_t>(t)},
                            {}};
}

MeterCalibration decodeCalibration(const Bytes& reply) {
    const ByteReader in(reply);
    const int x = in.u8(1) + 10 * in.u8(2) + 100 * in.u8(3);
    const int y = in.u8(4) + 10 * in.u8(5);
    MeterCalibration c;
    c.time = in.u8(6) * 55.0 / 65.0;
    c.a = x * c.time / 100000.0;
    c.b = y / 1000.0;
    return c;
}

namespace {

MeterOutcome notConnected(Exchange& exchange, Bytes reply = {}) {
    exchange.closePort();
    return MeterOutcome{false, std::string(kConnectCurrentMeter), std::move(reply)};
}

} // namespace

MeterOutcome writeCalibration(Exchange& exchange, const CalibrationBytes& bytes) {
    if (!exchange.openPort())
        return notConnected(exchange);
    exchange.write(kWrite);
    if (!exchange.awaitAny(kReplyWait))
        return notConnected(exchange);
    const Bytes reply = exchange.readAll();
    if (reply.empty() || reply[0] != kWrite)
        return notConnected(exchange, reply);
    for (const std::uint8_t b : bytes)
        exchange.write(b);
    exchange.closePort();
    return MeterOutcome{true, {}, reply};
}

MeterOutcome readCalibration(Exchange& exchange) {
    if (!exchange.openPort())
        return notConnected(exchange);
    exchange.write(kRead);
    if (!exchange.awaitAny(kReplyWait))
        return notConnected(exchange);
    // The reply may come in pieces over a real line: give the rest of it a moment.
    exchange.awaitCount(1 + kCalibrationBytes, kReplyWait);
    const Bytes reply = exchange.readAll();
    exchange.closePort();
    return MeterOutcome{true, {}, reply};
}

MeterOutcome eraseMeter(Exchange& exchange) {
    if (!exchange.openPort()) {
        exchange.closePort();
        return MeterOutcome{false, std::string(kMeterPortBusy), {}};
    }
    exchange.write(kErase);
    if (!exchange.awaitAny(kEraseWait))
        return notConnected(exchange);
    const Bytes reply = exchange.readAll();
    if (reply.empty() || reply[0] != kErase)
        return notConnected(exchange, reply);
    exchange.closePort();
    return MeterOutcome{true, {}, reply};
}

} // namespace korvel
