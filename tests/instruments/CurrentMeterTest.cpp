#include "instruments/CurrentMeter.h"

#include "instruments/FakeLink.h"
#include "instruments/sim/CurrentMeterSim.h"
#include "instruments/sim/SimulatedLink.h"

#include <gtest/gtest.h>

using namespace korvel;
using namespace korvel::sim;

namespace {

std::string refusal(std::string_view a, std::string_view b, std::string_view time) {
    const CalibrationCheck c = checkCalibration(a, b, time, Locale::turkish());
    return c.bytes ? "accepted" : c.message;
}

} // namespace

TEST(CurrentMeterCalibration, WorkedExampleBytes) {
    const CalibrationCheck c = checkCalibration("0,5", "0,02", "60", Locale::turkish());
    ASSERT_TRUE(c.bytes) << c.message;
    EXPECT_EQ(*c.bytes, (CalibrationBytes{3, 3, 8, 0, 2, 71}));
    // Either decimal character is taken.
    EXPECT_EQ(*checkCalibration("0.5", "0.02", "60", Locale::turkish()).bytes, *c.bytes);
}

TEST(CurrentMeterCalibration, EveryRefusalInItsOrder) {
    EXPECT_EQ(refusal("a", "b", "t"), "LÜTFEN A KAYSAYISI İÇİN SAYISAL DEGER GİRİNİZ");
    EXPECT_EQ(refusal("0,5", "b", "t"), "LÜTFEN B KATSAYISI İÇİN SAYISAL DEGER GİRİNİZ");
    EXPECT_EQ(refusal("0,5", "0,02", ""), "LÜTFEN ZAMAN İÇİN SAYISAL DEGER GİRİNİZ");
    EXPECT_EQ(refusal("0,5", "0,02", "39,9"),
              "DÜNYA STANDARTLARINDA 40 SANİYENİN ALTINDAKİ ÖLÇÜMLER UYGUN GÖRÜLMEMİŞTİR");
    EXPECT_EQ(refusal("1,5", "0,5", "10"),
              "DÜNYA STANDARTLARINDA 40 SANİYENİN ALTINDAKİ ÖLÇÜMLER UYGUN GÖRÜLMEMİŞTİR");
    EXPECT_EQ(refusal("1,00001", "0,5", "200"), "LÜTFEN A İÇİN BİR'DEN KÜÇÜK SAYISAL DEGER GİRİNİZ");
    EXPECT_EQ(refusal("0,5", "0,1001", "200"), "LÜTFEN b İÇİN 0,1 'DEN KÜÇÜK SAYISAL DEGER GİRİNİZ");
    EXPECT_EQ(refusal("0,5", "0,02", "40"), "A KATSAYISI İLE ZAMAN ARASI İLİŞKİ İZİNSİZ"); // X = 1250
    // B = 0.1 is not above 100 thousandths but is above 99.
    EXPECT_EQ(refusal("0,5", "0,1", "60"), "B KATSAYISI İZİNSİZ");
    EXPECT_EQ(refusal("0,5", "0,02", "212"), "GİRİLEN ZAMAN İZİNSİZ"); // T' = 251
    EXPECT_EQ(refusal("0,5", "0,02", "211"), "accepted");              // T' = 249
    EXPECT_EQ(refusal("1", "0,099", "101"), "accepted");               // the boundaries themselves
    EXPECT_EQ(refusal("0,5", "0,02", "50,05"), "accepted");            // X = 999
    EXPECT_EQ(refusal("0,5", "0,02", "50"), "A KATSAYISI İLE ZAMAN ARASI İLİŞKİ İZİNSİZ");
}

TEST(CurrentMeterCalibration, NegativeCoefficientsAreRefusedNotWrapped) {
    EXPECT_EQ(refusal("-0,5", "0,02", "60"), "A KATSAYISI İLE ZAMAN ARASI İLİŞKİ İZİNSİZ");
    EXPECT_EQ(refusal("0,5", "-0,02", "60"), "B KATSAYISI İZİNSİZ");
}

TEST(CurrentMeterCalibration, PreviousCoefficientDecodes) {
    const MeterCalibration c = decodeCalibration({0x31, 3, 3, 8, 0, 2, 71});
    EXPECT_DOUBLE_EQ(c.time, 71 * 55.0 / 65.0);
    EXPECT_DOUBLE_EQ(c.a, 833 * c.time / 100000.0);
    EXPECT_DOUBLE_EQ(c.b, 0.02);
    const MeterCalibration empty = decodeCalibration({0x31});
    EXPECT_EQ(empty.time, 0);
}

class SimulatedMeter : public ::testing::Test {
protected:
    FakeClock clock;
    CurrentMeterSim meter{CalibrationBytes{1, 2, 3, 4, 5, 60}};
    SimulatedLink link{meter, clock};
    Exchange exchange{link, clock};
};

TEST_F(SimulatedMeter, WriteThenReadBackAndErase) {
    const CalibrationBytes bytes{3, 3, 8, 0, 2, 71};
    const MeterOutcome written = writeCalibration(exchange, bytes);
    ASSERT_TRUE(written.ok) << written.message;
    EXPECT_EQ(meter.calibration(), bytes);
    EXPECT_FALSE(link.isOpen());
    const MeterOutcome read = readCalibration(exchange);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.reply, (Bytes{0x31, 3, 3, 8, 0, 2, 71}));
    ASSERT_TRUE(eraseMeter(exchange).ok);
    EXPECT_EQ(meter.erasures(), 1);
    EXPECT_EQ(meter.commands(), (std::vector<std::uint8_t>{0x32, 0x31, 0x33}));
}

TEST_F(SimulatedMeter, NoAnswerOrAWrongAnswerAsksForTheMeter) {
    meter.addFault({SimFault::Kind::Slow, std::uint8_t{0x32}, std::chrono::milliseconds(60), 1});
    MeterOutcome r = writeCalibration(exchange, {3, 3, 8, 0, 2, 71});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "K.3300 model MULİNE HIZMETRESİNİ BAĞLAYINIZ");
    EXPECT_EQ(meter.calibration(), (CalibrationBytes{1, 2, 3, 4, 5, 60})) << "the six bytes were not sent";
    // Late replies reach nobody while the port is closed.
    clock.advance(std::chrono::seconds(2));
    link.readAll();
    meter.addFault({SimFault::Kind::Garbled, std::uint8_t{0x33}, {}, 1});
    r = eraseMeter(exchange);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "K.3300 model MULİNE HIZMETRESİNİ BAĞLAYINIZ");
    clock.advance(std::chrono::seconds(2));
    link.readAll();
    meter.addFault({SimFault::Kind::Silence, std::uint8_t{0x31}, {}, 1});
    EXPECT_FALSE(readCalibration(exchange).ok);
    link.setOpenFails(true);
    EXPECT_EQ(eraseMeter(exchange).message, "COM portu degiştirin seçili port zaten açık");
}
