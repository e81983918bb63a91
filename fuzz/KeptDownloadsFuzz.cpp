// libFuzzer target for what the kept downloads read back: the protocol log text (also read by the
// device simulator's replay), the description beside an image and the image offered for a new
// conversion. A log that reads is written and read again to the same entries; a description
// taken in and rewritten reads back as written; an image accepted for conversion holds a whole
// logger memory.
#include "FuzzCheck.h"
#include "core/FileIO.h"
#include "instruments/KeptDownloads.h"
#include "instruments/ProtocolLog.h"
#include "instruments/Reconversion.h"

using namespace korvel;
using korvel::fuzz::check;

namespace {

bool sameEntries(const ProtocolLog& a, const ProtocolLog& b) {
    if (a.entries().size() != b.entries().size())
        return false;
    for (std::size_t i = 0; i < a.entries().size(); ++i) {
        const auto& x = a.entries()[i];
        const auto& y = b.entries()[i];
        if (x.kind != y.kind || x.ms != y.ms || x.bytes != y.bytes)
            return false;
    }
    return true;
}

void logRoundTrip(std::string_view text) {
    const auto log = ProtocolLog::parse(text);
    if (!log)
        return;
    const std::string written = log->text({"fuzz"});
    const auto again = ProtocolLog::parse(written);
    check(again.has_value() && sameEntries(*log, *again));
    check(again->text({"fuzz"}) == written);
}

std::filesystem::path keptImage(std::string_view instrument, const Bytes& image) {
    const auto dir = fuzz::scratchDir() / std::string(kKeptDownloadsFolder);
    std::filesystem::create_directories(dir);
    const auto file = dir / ("20261209-083015-" + std::string(instrument) + ".bin");
    testing::writeBytes(file, image);
    std::filesystem::remove(std::filesystem::path(file).replace_extension(".txt"));
    return file;
}

void descriptionRoundTrip(std::string_view text) {
    const auto image = keptImage("level", Bytes(16, 0));
    testing::writeBytes(std::filesystem::path(image).replace_extension(".txt"),
                        Bytes(text.begin(), text.end()));
    auto kept = readKeptDownload(image);
    check(kept.has_value() && kept->bytes == 16);
    const std::vector<std::string> files = {"2004_01-001.ard", "sagimlar/x.bin"};
    noteConversion(*kept, LocalTime{{2026, 12, 9}, {8, 30, 15}}, "01-001", files, "Dönüştürüldü");
    const auto again = readKeptDownload(image);
    check(again.has_value());
    check(again->station == "01-001" && again->files == files && again->conversion == "Dönüştürüldü");
    check(again->history.size() == kept->history.size() && again->history.back() == kept->history.back());
    check(again->settings.size() == kept->settings.size());
}

void reconversion(const fuzz::Input& input) {
    constexpr std::string_view kInstruments[] = {kLevelInstrument, kModemInstrument, kRainInstrument,
                                                 kMeterInstrument};
    const auto image = keptImage(kInstruments[(input.selector >> 2) % 4], input.bytes);
    for (const auto& r : {levelImageForReconversion(image), rainImageForReconversion(image)})
        if (r.ok())
            check(r.image.size() >= levellogger::kMemorySize && r.kept.has_value());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Input input = fuzz::splitInput(data, size);
    switch (input.selector % 3) {
    case 0:
        logRoundTrip(input.text);
        break;
    case 1:
        descriptionRoundTrip(input.text);
        break;
    default:
        reconversion(input);
        break;
    }
    return 0;
}
