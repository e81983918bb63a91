#include "instruments/ProtocolLog.h"

#include "core/Numbers.h"

#include <charconv>
#include <cstdio>
#include <sstream>

namespace korvel {

namespace {

constexpr std::size_t kBytesPerLine = 16;
constexpr std::string_view kWrittenMark = "->";
constexpr std::string_view kReadMark = "<-";
constexpr std::string_view kEventMark = "--";

struct EventName {
    ProtocolLog::Kind kind;
    std::string_view name;
};
constexpr EventName kEvents[] = {{ProtocolLog::Kind::Opened, "open"},
                                 {ProtocolLog::Kind::OpenFailed, "open-failed"},
                                 {ProtocolLog::Kind::Closed, "close"}};

std::string timeColumn(long long ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%9lld ms  ", ms);
    return text;
}

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
            ++i;
        if (i > start)
            out.push_back(line.substr(start, i - start));
    }
    return out;
}

} // namespace

void ProtocolLog::add(Kind kind, long long ms, const Bytes& bytes) {
    const bool data = kind == Kind::Written || kind == Kind::Read;
    if (data && bytes.empty())
        return;
    if (data && !entries_.empty() && entries_.back().kind == kind && entries_.back().ms == ms) {
        Bytes& last = entries_.back().bytes;
        last.insert(last.end(), bytes.begin(), bytes.end());
        return;
    }
    entries_.push_back({kind, ms, data ? bytes : Bytes{}});
}

Bytes ProtocolLog::allBytes(Kind kind) const {
    Bytes out;
    for (const Entry& e : entries_)
        if (e.kind == kind)
            out.insert(out.end(), e.bytes.begin(), e.bytes.end());
    return out;
}

std::string ProtocolLog::text(const std::vector<std::string>& header) const {
    std::string out;
    for (const std::string& line : header)
        out += "# " + line + "\n";
    static const char* const kHex = "0123456789ABCDEF";
    for (const Entry& e : entries_) {
        if (e.kind != Kind::Written && e.kind != Kind::Read) {
            for (const EventName& event : kEvents)
                if (event.kind == e.kind)
                    out += timeColumn(e.ms) + std::string(kEventMark) + " " + std::string(event.name) + "\n";
            continue;
        }
        const std::string_view mark = e.kind == Kind::Written ? kWrittenMark : kReadMark;
        for (std::size_t start = 0; start < e.bytes.size(); start += kBytesPerLine) {
            const std::size_t end = std::min(e.bytes.size(), start + kBytesPerLine);
            std::string hex;
            std::string shown;
            for (std::size_t i = start; i < end; ++i) {
                const std::uint8_t b = e.bytes[i];
                hex += kHex[b >> 4];
                hex += kHex[b & 0x0F];
                hex += ' ';
                shown += b >= 0x20 && b <= 0x7E ? static_cast<char>(b) : '.';
            }
            hex.resize(3 * kBytesPerLine, ' ');
            out += timeColumn(e.ms) + std::string(mark) + " " + hex + " |" + shown + "|\n";
        }
    }
    return out;
}

std::optional<ProtocolLog> ProtocolLog::parse(std::string_view text, std::string* problem) {
    ProtocolLog log;
    std::size_t lineNumber = 0;
    auto refuse = [&](std::string_view why) -> std::optional<ProtocolLog> {
        if (problem)
            *problem = "line " + std::to_string(lineNumber) + ": " + std::string(why);
        return std::nullopt;
    };
    std::istringstream lines{std::string(text)};
    for (std::string line; std::getline(lines, line);) {
        ++lineNumber;
        const std::vector<std::string_view> w = words(line);
        if (w.empty() || w[0].front() == '#')
            continue;
        const std::optional<long long> time = wholeTextNumber<long long>(w[0]);
        if (!time || *time < 0 || w.size() < 3 || w[1] != "ms")
            return refuse("no time in milliseconds");
        const long long ms = *time;
        if (w[2] == kEventMark) {
            const EventName* found = nullptr;
            for (const EventName& event : kEvents)
                if (w.size() > 3 && w[3] == event.name)
                    found = &event;
            if (!found)
                return refuse("unknown event");
            log.entries_.push_back({found->kind, ms, {}});
            continue;
        }
        if (w[2] != kWrittenMark && w[2] != kReadMark)
            return refuse("no direction");
        Bytes bytes;
        for (std::size_t i = 3; i < w.size() && w[i].front() != '|'; ++i) {
            unsigned value = 0;
            const auto [hexEnd, hexError] =
                std::from_chars(w[i].data(), w[i].data() + w[i].size(), value, 16);
            if (w[i].size() != 2 || hexError != std::errc() || hexEnd != w[i].data() + w[i].size())
                return refuse("not a hex byte");
            bytes.push_back(static_cast<std::uint8_t>(value));
        }
        log.add(w[2] == kWrittenMark ? Kind::Written : Kind::Read, ms, bytes);
    }
    return log;
}

} // namespace korvel
