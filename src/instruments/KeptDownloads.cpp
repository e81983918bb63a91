#include "instruments/KeptDownloads.h"

#include "core/FileIO.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <sstream>
#include <tuple>

namespace korvel {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kImageExtension = ".bin";
constexpr std::string_view kLogExtension = ".log";
constexpr std::string_view kDescriptionExtension = ".txt";
constexpr std::string_view kSettingPrefix = "device.";

// A value on one line of the description.
std::string oneLine(std::string_view text) {
    std::string out(text);
    std::replace(out.begin(), out.end(), '\n', ' ');
    std::replace(out.begin(), out.end(), '\r', ' ');
    return out;
}

std::string descriptionText(const KeptDownload& k) {
    std::string out;
    auto line = [&out](std::string_view key, std::string_view value) {
        out += std::string(key) + ": " + oneLine(value) + "\n";
    };
    line("instrument", k.instrument);
    line("port", k.port);
    line("time", k.time);
    line("bytes", std::to_string(k.bytes));
    line("complete", k.complete ? "yes" : "no");
    line("outcome", k.outcome);
    for (const auto& [name, value] : k.settings)
        line(std::string(kSettingPrefix) + name, value);
    line("station", k.station);
    for (const std::string& f : k.files)
        line("file", f);
    line("conversion", k.conversion);
    for (const std::string& h : k.history)
        line("history", h);
    return out;
}

void readDescription(KeptDownload& k, const std::string& text) {
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t colon = line.find(": ");
        if (colon == std::string::npos)
            continue;
        const std::string key = line.substr(0, colon);
        const std::string value = line.substr(colon + 2);
        if (key == "instrument")
            k.instrument = value;
        else if (key == "port")
            k.port = value;
        else if (key == "time")
            k.time = value;
        else if (key == "complete")
            k.complete = value == "yes";
        else if (key == "outcome")
            k.outcome = value;
        else if (key == "station")
            k.station = value;
        else if (key == "file")
            k.files.push_back(value);
        else if (key == "conversion")
            k.conversion = value;
        else if (key == "history")
            k.history.push_back(value);
        else if (key.rfind(kSettingPrefix, 0) == 0)
            k.settings.emplace_back(key.substr(kSettingPrefix.size()), value);
    }
}

fs::path withExtension(fs::path image, std::string_view extension) {
    return image.replace_extension(extension);
}

} // namespace

fs::path keptDownloadsDir(const fs::path& stationDir) {
    return stationDir / kKeptDownloadsFolder;
}

LocalTime localNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    // std::localtime shares one buffer between callers.
    static std::mutex guard;
    const std::lock_guard<std::mutex> lock(guard);
    const std::tm* t = std::localtime(&now);
    if (t == nullptr)
        return {};
    return {{t->tm_year + 1900, t->tm_mon + 1, t->tm_mday}, {t->tm_hour, t->tm_min, t->tm_sec}};
}

std::string nameStamp(const LocalTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d", t.date.year, t.date.month, t.date.day,
                  t.time.hour, t.time.minute, t.time.second);
    return text;
}

std::string timeText(const LocalTime& t) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d:%02d", t.date.day, t.date.month, t.date.year,
                  t.time.hour, t.time.minute, t.time.second);
    return text;
}

std::string KeptDownload::setting(std::string_view name) const {
    for (const auto& [key, value] : settings)
        if (key == name)
            return value;
    return {};
}

KeptDownload keepDownload(const fs::path& stationDir, const DownloadSession& session) {
    const fs::path dir = keptDownloadsDir(stationDir);
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec)
        throw FileError("cannot create " + dir.string() + ": " + ec.message());
    const std::string stem = nameStamp(session.started) + "-" + session.instrument;
    KeptDownload k;
    for (int n = 1;; ++n) {
        const std::string name = n == 1 ? stem : stem + "-" + std::to_string(n);
        k.image = dir / (name + std::string(kImageExtension));
        if (!fs::exists(k.image, ec))
            break;
    }
    k.log = withExtension(k.image, kLogExtension);
    k.description = withExtension(k.image, kDescriptionExtension);
    k.instrument = session.instrument;
    k.port = session.port;
    k.time = timeText(session.started);
    k.bytes = session.image.size();
    k.complete = session.complete;
    k.outcome = session.outcome;
    k.settings = session.settings;
    writeFileAtomic(k.image, session.image);
    writeFileAtomic(k.log, session.log.text({"instrument: " + k.instrument, "port: " + k.port,
                                             "time: " + k.time, "image: " + k.image.filename().string()}));
    writeFileAtomic(k.description, descriptionText(k));
    return k;
}

void noteConversion(KeptDownload& kept, const LocalTime& when, std::string_view station,
                    std::vector<std::string> files, std::string_view outcome) {
    kept.station = std::string(station);
    kept.files = std::move(files);
    kept.conversion = std::string(outcome);
    kept.history.push_back(timeText(when) + " " + std::string(station) + ": " + std::string(outcome));
    writeFileAtomic(kept.description, descriptionText(kept));
}

std::optional<KeptDownload> readKeptDownload(const fs::path& image) {
    const auto size = regularFileSize(image);
    if (!size)
        return std::nullopt;
    KeptDownload k;
    k.image = image;
    k.log = withExtension(image, kLogExtension);
    k.description = withExtension(image, kDescriptionExtension);
    // Without a description: "<stamp>-<instrument>[-n]" names the instrument.
    const std::string stem = image.stem().string();
    if (stem.size() > 16 && stem[8] == '-' && stem[15] == '-') {
        k.instrument = stem.substr(16);
        for (const std::string_view known :
             {kModemInstrument, kLevelInstrument, kRainInstrument, kMeterInstrument})
            if (k.instrument.rfind(known, 0) == 0) {
                k.instrument = std::string(known);
                break;
            }
    }
    if (const auto text = readFileBytes(k.description, 1 << 20))
        readDescription(k, std::string(text->begin(), text->end()));
    k.bytes = *size;
    return k;
}

std::vector<KeptDownload> listKeptDownloads(const fs::path& stationDir) {
    std::vector<fs::path> images;
    std::error_code ec;
    for (fs::directory_iterator it(keptDownloadsDir(stationDir), ec), end; !ec && it != end; it.increment(ec))
        if (it->path().extension() == kImageExtension)
            images.push_back(it->path());
    // By time, then by the number a second download within the same second got.
    auto order = [](const fs::path& image) {
        const std::string stem = image.stem().string();
        const std::size_t dash = stem.rfind('-');
        int n = 1;
        if (dash != std::string::npos && dash + 1 < stem.size() &&
            stem.find_first_not_of("0123456789", dash + 1) == std::string::npos)
            n = std::stoi(stem.substr(dash + 1));
        return std::make_tuple(stem.substr(0, 15), n, stem);
    };
    std::sort(images.begin(), images.end(),
              [&order](const fs::path& a, const fs::path& b) { return order(a) < order(b); });
    std::vector<KeptDownload> out;
    for (const fs::path& image : images)
        if (auto k = readKeptDownload(image))
            out.push_back(std::move(*k));
    return out;
}

std::uintmax_t keptDownloadsSize(const std::vector<KeptDownload>& downloads) {
    std::uintmax_t total = 0;
    for (const KeptDownload& k : downloads)
        for (const fs::path& p : {k.image, k.log, k.description})
            total += regularFileSize(p).value_or(0);
    return total;
}

std::string stationRelative(const fs::path& path, const fs::path& stationDir) {
    const fs::path dir = stationDir.lexically_normal();
    const fs::path p = path.lexically_normal();
    const fs::path relative = p.lexically_relative(dir);
    if (!relative.empty() && *relative.begin() != "..")
        return relative.generic_string();
    return path.string();
}

} // namespace korvel
