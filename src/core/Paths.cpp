#include "core/Paths.h"

#include "core/FileWriteJournal.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <system_error>

namespace korvel {

namespace fs = std::filesystem;

namespace {

// Lower case for comparing names: ASCII plus the Turkish capitals in UTF-8.
std::string foldCase(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == 0xC4 && i + 1 < text.size()) {
            const auto d = static_cast<unsigned char>(text[i + 1]);
            if (d == 0xB0) { // İ
                out += 'i';
                ++i;
                continue;
            }
            if (d == 0xB1) { // ı
                out += 'i';
                ++i;
                continue;
            }
            if (d == 0x9E) { // Ğ -> ğ
                out += "\xC4\x9F";
                ++i;
                continue;
            }
        }
        if (c == 0xC5 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x9E) { // Ş
            out += "\xC5\x9F";
            ++i;
            continue;
        }
        if (c == 0xC3 && i + 1 < text.size()) {
            const auto d = static_cast<unsigned char>(text[i + 1]);
            if (d == 0x87 || d == 0x96 || d == 0x9C) { // Ç Ö Ü
                out += static_cast<char>(c);
                out += static_cast<char>(d + 0x20);
                ++i;
                continue;
            }
        }
        out += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    return out;
}

bool matchFolded(std::string_view name, std::string_view pattern) {
    // Iterative wildcard match with backtracking on the last "*".
    std::size_t n = 0, p = 0, star = std::string_view::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace

std::string toLowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    return out;
}

Paths::Paths(fs::path driveRoot) : driveRoot_(std::move(driveRoot)) {}

fs::path Paths::defaultDriveRoot() {
    if (const char* drive = std::getenv("KORVEL_DRIVE"); drive && *drive)
        return drive;
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    return fs::current_path();
}

fs::path Paths::dataRoot() const {
    return resolve("c:\\korvel2000");
}
fs::path Paths::korvel96Root() const {
    return resolve("c:\\korvel96");
}
fs::path Paths::suvakRoot() const {
    return resolve("c:\\suvak");
}

fs::path Paths::resolve(std::string_view windowsPath) const {
    std::string text(windowsPath);
    std::replace(text.begin(), text.end(), '\\', '/');
    const bool hasDrive =
        text.size() >= 2 && text[1] == ':' && std::isalpha(static_cast<unsigned char>(text[0]));
    if (!hasDrive)
        return resolveCaseInsensitive(fs::path(text));
    fs::path result = driveRoot_;
    std::string rest = text.substr(2);
    std::size_t start = 0;
    while (start <= rest.size()) {
        const std::size_t end = std::min(rest.find('/', start), rest.size());
        const std::string part = rest.substr(start, end - start);
        if (!part.empty() && part != ".")
            result /= part;
        start = end + 1;
    }
    return resolveCaseInsensitive(result);
}

std::string Paths::toWindows(const fs::path& path) const {
    const fs::path relative = path.lexically_normal().lexically_relative(driveRoot_.lexically_normal());
    if (relative.empty() || *relative.begin() == "..")
        return path.generic_string();
    std::string text = "c:";
    for (const auto& part : relative) {
        if (part == ".")
            continue;
        text += "\\" + part.string();
    }
    return text;
}

fs::path resolveCaseInsensitive(const fs::path& path) {
    std::error_code ec;
    if (fs::exists(path, ec))
        return path;
    fs::path result;
    bool resolving = true;
    for (const auto& part : path) {
        fs::path candidate = result / part;
        if (resolving && !result.empty() && !fs::exists(candidate, ec)) {
            bool found = false;
            const std::string wanted = foldCase(part.string());
            for (fs::directory_iterator it(result, ec), end; !ec && it != end; it.increment(ec)) {
                if (foldCase(it->path().filename().string()) == wanted) {
                    candidate = it->path();
                    found = true;
                    break;
                }
            }
            resolving = found;
        }
        result = candidate;
    }
    return result;
}

bool matchesPattern(std::string_view name, std::string_view pattern) {
    return matchFolded(foldCase(name), foldCase(pattern));
}

std::vector<std::string> listFiles(const fs::path& dir, std::string_view pattern) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec))
            continue;
        const std::string name = it->path().filename().string();
        if (matchesPattern(name, pattern) && !isJournalFileName(name))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return foldCase(a) < foldCase(b); });
    return names;
}

std::vector<std::string> listDirectories(const fs::path& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_directory(ec))
            names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return foldCase(a) < foldCase(b); });
    return names;
}

} // namespace korvel
