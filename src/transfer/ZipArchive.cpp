#include "transfer/ZipArchive.h"

#include "core/FileIO.h"
#include "transfer/StationDestination.h"

#include <chrono>
#include <random>
#include <system_error>
#include <zip.h>

namespace korvel {

namespace fs = std::filesystem;

namespace {

// Room for the zip headers around a stored entry.
constexpr std::uint64_t kArchiveOverhead = 1024 * 1024;
constexpr std::size_t kReadChunk = 64 * 1024;

// The user reads Turkish: libzip's own (English) texts are not shown.
std::string turkishZipMessage(int code) {
    switch (code) {
    case ZIP_ER_OK:
        return "hata yok";
    case ZIP_ER_EXISTS:
        return "arşivde aynı adlı birden çok kayıt var";
    case ZIP_ER_NOZIP:
        return "dosya bir zip arşivi değil";
    case ZIP_ER_INCONS:
        return "arşivin içindekiler birbirini tutmuyor";
    case ZIP_ER_CRC:
        return "arşivdeki dosya bozuk (CRC uyuşmuyor)";
    case ZIP_ER_EOF:
    case ZIP_ER_READ:
    case ZIP_ER_SEEK:
        return "arşiv okunamadı ya da eksik";
    case ZIP_ER_COMPNOTSUPP:
        return "arşivin sıkıştırma yöntemi desteklenmiyor";
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
        return "arşiv şifreli";
    case ZIP_ER_ZLIB:
        return "arşivdeki sıkıştırılmış veri bozuk";
    case ZIP_ER_MEMORY:
        return "bellek yetersiz";
    case ZIP_ER_OPEN:
    case ZIP_ER_TMPOPEN:
        return "dosya açılamadı";
    case ZIP_ER_WRITE:
    case ZIP_ER_CLOSE:
    case ZIP_ER_RENAME:
    case ZIP_ER_REMOVE:
        return "dosya yazılamadı";
    default:
        return "zip hata kodu " + std::to_string(code);
    }
}

std::string libzipMessage(zip_error_t* error) {
    return turkishZipMessage(zip_error_code_zip(error));
}

// An entry that a Unix zip tool stored as a symbolic link, not as a file.
bool isSymbolicLink(zip_t* archive, zip_uint64_t index) {
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    if (zip_file_get_external_attributes(archive, index, 0, &system, &attributes) != 0)
        return false;
    constexpr zip_uint32_t kTypeMask = 0170000;
    constexpr zip_uint32_t kLink = 0120000;
    return system == ZIP_OPSYS_UNIX && ((attributes >> 16) & kTypeMask) == kLink;
}

bool endsWithZip(std::string_view name) {
    return name.size() > kArchiveExtension.size() &&
           toLowerAscii(name.substr(name.size() - kArchiveExtension.size())) == kArchiveExtension;
}

// An entry name that is a bare file name: no directory part, drive letter or backslash, no
// control characters, not "." or "..".
bool isBareFileName(std::string_view name) {
    if (name.empty() || name == "." || name == "..")
        return false;
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (ch == '/' || ch == '\\' || ch == ':' || c < 0x20 || c == 0x7F)
            return false;
    }
    return true;
}

class ZipReader {
public:
    explicit ZipReader(const Bytes& bytes) {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source =
            zip_source_buffer_create(bytes.empty() ? nullptr : bytes.data(), bytes.size(), 0, &error);
        if (source != nullptr) {
            archive_ = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
            if (archive_ == nullptr)
                zip_source_free(source);
        }
        if (archive_ == nullptr) {
            const std::string text = libzipMessage(&error);
            zip_error_fini(&error);
            throw ArchiveError("zip arşivi okunamadı: " + text);
        }
        zip_error_fini(&error);
    }
    ~ZipReader() { zip_discard(archive_); }
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    zip_t* get() const { return archive_; }

private:
    zip_t* archive_ = nullptr;
};

fs::path temporaryArchivePath(const fs::path& dir, const std::string& archiveName) {
    std::random_device seed;
    std::error_code ec;
    for (int attempt = 0; attempt < 16; ++attempt) {
        fs::path candidate = dir / ("~" + archiveName + "." + std::to_string(seed()) + ".tmp");
        if (!fs::exists(candidate, ec))
            return candidate;
    }
    throw ArchiveError("geçici dosya adı bulunamadı: " + dir.string());
}

std::time_t modificationTime(const fs::path& file) {
    std::error_code ec;
    const auto stamp = fs::last_write_time(file, ec);
    if (ec)
        return std::time(nullptr);
    return std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(stamp));
}

} // namespace

std::string archiveNameOf(std::string_view fileName) {
    return std::string(fileName) + std::string(kArchiveExtension);
}

std::optional<std::string> restoredNameOf(std::string_view archiveName) {
    if (!endsWithZip(archiveName))
        return std::nullopt;
    std::string name(archiveName.substr(0, archiveName.size() - kArchiveExtension.size()));
    if (!isBareFileName(name))
        return std::nullopt;
    return name;
}

fs::path packingDirectory(const fs::path& exchangeDir, const Paths& paths, bool atDriveRoot) {
    if (isInDataRoot(exchangeDir, paths))
        throw ArchiveRefused(std::string(kWorkAreaRefusal));
    if (!atDriveRoot)
        return exchangeDir;
    const fs::path dir = resolveCaseInsensitive(exchangeDir / std::string(kDriveRootArchiveDir));
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec))
        throw ArchiveError("dizin oluşturulamadı: " + dir.string());
    return dir;
}

fs::path packFile(const fs::path& file, const fs::path& archiveDir) {
    const std::string name = file.filename().string();
    std::error_code ec;
    if (!fs::is_regular_file(file, ec))
        throw ArchiveError("dosya yok: " + file.string());
    const std::optional<Bytes> bytes = readFileBytes(file);
    if (!bytes)
        throw ArchiveError("dosya okunamadı: " + file.string());

    const std::string archiveName = archiveNameOf(name);
    const fs::path target = resolveCaseInsensitive(archiveDir / archiveName);
    const fs::path temporary = temporaryArchivePath(archiveDir, archiveName);

    int code = 0;
    zip_t* archive = zip_open(temporary.c_str(), ZIP_CREATE | ZIP_EXCL, &code);
    if (archive == nullptr)
        throw ArchiveError("zip arşivi yazılamadı: " + target.string() + ": " + turkishZipMessage(code));
    const auto fail = [&](const std::string& what) {
        const std::string text = what + ": " + target.string() + ": " + libzipMessage(zip_get_error(archive));
        zip_discard(archive);
        fs::remove(temporary, ec);
        return ArchiveError(text);
    };
    zip_source_t* source =
        zip_source_buffer(archive, bytes->empty() ? nullptr : bytes->data(), bytes->size(), 0);
    if (source == nullptr)
        throw fail("zip arşivi yazılamadı");
    const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_GUESS);
    if (index < 0) {
        zip_source_free(source);
        throw fail("zip arşivi yazılamadı");
    }
    const auto entry = static_cast<zip_uint64_t>(index);
    if (zip_set_file_compression(archive, entry, ZIP_CM_DEFLATE, 9) != 0 ||
        zip_file_set_mtime(archive, entry, modificationTime(file), 0) != 0)
        throw fail("zip arşivi yazılamadı");
    if (zip_close(archive) != 0)
        throw fail("zip arşivi yazılamadı");

    fs::rename(temporary, target, ec);
    if (ec) {
        fs::remove(temporary, ec);
        throw ArchiveError("zip arşivi yazılamadı: " + target.string());
    }
    return target;
}

Bytes readSingleFileArchive(const Bytes& archiveBytes, std::string_view expectedName,
                            std::uint64_t sizeLimit) {
    const ZipReader reader(archiveBytes);
    zip_t* archive = reader.get();
    const zip_int64_t entries = zip_get_num_entries(archive, 0);
    if (entries != 1)
        throw ArchiveRefused("arşiv tek bir dosya içermiyor (" + std::to_string(entries) + " kayıt)");

    const char* rawName = zip_get_name(archive, 0, ZIP_FL_ENC_GUESS);
    const std::string name = rawName == nullptr ? std::string() : std::string(rawName);
    if (!isBareFileName(name))
        throw ArchiveRefused("arşivdeki dosya adı bir yol içeriyor: \"" + name + "\"");
    if (toLowerAscii(name) != toLowerAscii(expectedName))
        throw ArchiveRefused("arşivdeki dosya (\"" + name + "\") arşivin adıyla uyuşmuyor");
    if (isSymbolicLink(archive, 0))
        throw ArchiveRefused("arşivdeki kayıt (\"" + name + "\") bir dosya değil, sembolik bağlantı");

    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, 0, 0, &stat) != 0)
        throw ArchiveError("zip arşivi okunamadı: " + libzipMessage(zip_get_error(archive)));
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) != 0 && stat.encryption_method != ZIP_EM_NONE)
        throw ArchiveRefused("arşiv şifreli");
    const std::string tooLarge = "arşiv " + std::to_string(sizeLimit) + " bayttan büyük açılıyor";
    if ((stat.valid & ZIP_STAT_SIZE) != 0 && stat.size > sizeLimit)
        throw ArchiveRefused(tooLarge);

    zip_file_t* file = zip_fopen_index(archive, 0, 0);
    if (file == nullptr)
        throw ArchiveError("zip arşivi açılamadı: " + libzipMessage(zip_get_error(archive)));
    Bytes data;
    Bytes chunk(kReadChunk);
    for (;;) {
        const zip_int64_t read = zip_fread(file, chunk.data(), chunk.size());
        if (read < 0) {
            const std::string text = libzipMessage(zip_file_get_error(file));
            zip_fclose(file);
            throw ArchiveError("zip arşivi açılamadı: " + text);
        }
        if (read == 0)
            break;
        if (data.size() + static_cast<std::uint64_t>(read) > sizeLimit) {
            zip_fclose(file);
            throw ArchiveRefused(tooLarge);
        }
        data.insert(data.end(), chunk.begin(), chunk.begin() + read);
    }
    zip_fclose(file);
    return data;
}

fs::path unpackArchive(const fs::path& archive, const fs::path& stationDir, std::uint64_t sizeLimit) {
    const std::string archiveName = archive.filename().string();
    const auto restored = restoredNameOf(archiveName);
    if (!restored)
        throw ArchiveRefused("arşivin adı bir dosya adı ve \".zip\" değil: \"" + archiveName + "\"");
    std::error_code ec;
    const auto size = fs::file_size(archive, ec);
    if (ec)
        throw ArchiveError("zip arşivi okunamadı: " + archive.string());
    if (size > sizeLimit + kArchiveOverhead)
        throw ArchiveRefused("arşiv " + std::to_string(sizeLimit) + " bayttan büyük açılıyor");
    const std::optional<Bytes> bytes = readFileBytes(archive);
    if (!bytes)
        throw ArchiveError("zip arşivi okunamadı: " + archive.string());

    const Bytes data = readSingleFileArchive(*bytes, *restored, sizeLimit);
    const fs::path target = resolveCaseInsensitive(stationDir / *restored);
    try {
        writeFileAtomic(target, data);
    } catch (const FileError& e) {
        throw ArchiveError(std::string("dosya yazılamadı: ") + e.what());
    }
    return target;
}

} // namespace korvel
