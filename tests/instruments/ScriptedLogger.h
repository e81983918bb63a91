#pragma once

#include "instruments/FakeLink.h"
#include "instruments/LevelLoggerCommands.h"

#include <map>
#include <optional>
#include <set>

namespace korvel::testing {

inline Bytes bytesOf(std::initializer_list<int> values) {
    Bytes b;
    for (int v : values)
        b.push_back(static_cast<std::uint8_t>(v));
    return b;
}

// A logger written as a script on a ScriptedLink: it answers a burst of wake-up bytes once, each
// read byte with its reply, and a setting with the echo of the write byte and then the reply of
// the read byte. Replies come a few milliseconds after the byte that asks for them.
class ScriptedLogger {
public:
    std::map<std::uint8_t, Bytes> replies;
    std::set<std::uint8_t> silentTo;         // bytes that get no answer
    std::map<std::uint8_t, int> ignoreTimes; // bytes that get no answer the first few times
    bool silent = false;
    std::chrono::milliseconds delay{2};
    std::chrono::milliseconds settingDelay{20};
    // What settings were written: the write byte, the read byte and the data.
    struct Setting {
        std::uint8_t writeByte;
        std::uint8_t readByte;
        Bytes data;
    };
    std::vector<Setting> settings;

    void attach(ScriptedLink& link) {
        link.setResponder([this](ScriptedLink& l, const Bytes& w) { respond(l, w); });
    }

private:
    void answer(ScriptedLink& l, std::uint8_t b, std::chrono::milliseconds after) {
        if (silent || silentTo.count(b))
            return;
        if (auto ignore = ignoreTimes.find(b); ignore != ignoreTimes.end() && ignore->second > 0) {
            --ignore->second;
            return;
        }
        const auto it = replies.find(b);
        if (it != replies.end())
            l.deliver(it->second, after);
    }

    void respond(ScriptedLink& l, const Bytes& w) {
        if (step_ == Step::Read) {
            current_.readByte = w.at(0);
            step_ = Step::Data;
            return;
        }
        if (step_ == Step::Data) {
            current_.data = w;
            settings.push_back(current_);
            step_ = Step::Idle;
            answer(l, current_.readByte, settingDelay);
            return;
        }
        const std::uint8_t b = w.at(0);
        if (b == levellogger::kWake) {
            if (!wakePending_)
                answer(l, b, std::chrono::milliseconds(3));
            wakePending_ = true;
            return;
        }
        wakePending_ = false;
        if (b >= 0x11 && b <= 0x1B && !silent && !silentTo.count(b)) {
            l.deliver({b}, delay);
            current_ = {b, 0, {}};
            step_ = Step::Read;
            return;
        }
        answer(l, b, delay);
    }

    enum class Step { Idle, Read, Data };
    Step step_ = Step::Idle;
    Setting current_{};
    bool wakePending_ = false;
};

} // namespace korvel::testing
