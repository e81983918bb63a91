// libFuzzer target for the replies of the devices on the serial line: the level and rain loggers'
// information replies, the current meter's calibration, the modem's information block and
// download, and the terminal's text. Whatever the bytes, nothing crashes, an aligned modem download
// is a whole memory image, and a decoded calibration holds finite numbers.
#include "FuzzCheck.h"
#include "core/Locale.h"
#include "instruments/CommEvents.h"
#include "instruments/CurrentMeter.h"
#include "instruments/LevelLoggerView.h"
#include "instruments/ModemTerminal.h"

using namespace korvel;
using korvel::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Input input = fuzz::splitInput(data, size);
    const Locale& locale = Locale::turkish();
    switch (input.selector % 5) {
    case 0: {
        LevelLoggerView view;
        view.levelUnitCode = input.selector & 0x20 ? 10 : 1;
        view.showReply(static_cast<std::uint8_t>(input.bytes.empty() ? 0 : input.bytes.front()), input.bytes,
                       locale);
        levelText(input.bytes, view.levelUnitCode);
        break;
    }
    case 1: {
        const MeterCalibration calibration = decodeCalibration(input.bytes);
        check(std::isfinite(calibration.a) && std::isfinite(calibration.b) &&
              std::isfinite(calibration.time));
        const std::size_t third = input.text.size() / 3;
        checkCalibration(input.text.substr(0, third), input.text.substr(third, third),
                         input.text.substr(2 * third), locale);
        break;
    }
    case 2: {
        HqTable rating;
        rating.discharge.fill(1.5F);
        showModemBlock(input.bytes, input.selector & 0x20 ? &rating : nullptr, 100.0, locale);
        modemLevel(input.bytes);
        break;
    }
    case 3: {
        // An image is accepted only whole and only when it reads as a logger memory.
        const AlignedModemImage aligned = alignModemDownload(input.bytes);
        if (aligned.ok) {
            check(aligned.image.size() == 32768);
            check(aligned.receivedEnd <= aligned.image.size() || aligned.receivedEnd == kWholeImage);
            check(readsAsLevelImage(aligned.image, aligned.receivedEnd));
        }
        break;
    }
    default:
        terminalText(input.bytes);
        break;
    }
    return 0;
}
