#include "transfer/ZipArchive.h"

#include "common/ScratchDirectory.h"
#include "transfer/StationDestination.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <zip.h>

using namespace korvel;
using namespace korvel::testing;
namespace fs = std::filesystem;

namespace {

// Every byte value, then a long compressible run.
Bytes stationFileBytes() {
    Bytes bytes;
    for (int i = 0; i < 256; ++i)
        bytes.push_back(static_cast<std::uint8_t>(i));
    bytes.resize(46848, 0);
    bytes[40000] = 0x7F;
    return bytes;
}

struct Entry {
    std::string name;
    Bytes data;
};

// An archive written directly with libzip, so that any entry name can be put in it.
void craftArchive(const fs::path& archive, const std::vector<Entry>& entries) {
    int code = 0;
    zip_t* zip = zip_open(archive.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    ASSERT_NE(zip, nullptr);
    for (const Entry& entry : entries) {
        zip_source_t* source = zip_source_buffer(zip, entry.data.data(), entry.data.size(), 0);
        ASSERT_NE(source, nullptr);
        ASSERT_GE(zip_file_add(zip, entry.name.c_str(), source, ZIP_FL_ENC_RAW), 0) << entry.name;
    }
    ASSERT_EQ(zip_close(zip), 0);
}

std::map<std::string, Bytes> tree(const fs::path& root) {
    std::map<std::string, Bytes> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        files[fs::relative(entry.path(), root).string()] =
            entry.is_regular_file() ? fileBytes(entry.path()) : Bytes{};
    return files;
}

class Archive : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(station);
        fs::create_directories(otherStation);
        fs::create_directories(exchange);
        writeBytes(station / "2004_01-001.ard", stationFileBytes());
    }

    // Unpacks into the other station and expects a refusal that wrote nothing anywhere.
    void expectRefused(const fs::path& archive, const std::string& reasonStart,
                       std::uint64_t limit = kArchiveSizeLimit) {
        const auto before = tree(drive.path());
        try {
            unpackArchive(archive, otherStation, limit);
            ADD_FAILURE() << "not refused: " << archive;
        } catch (const ArchiveRefused& e) {
            EXPECT_EQ(std::string(e.what()).rfind(reasonStart, 0), 0u) << e.what();
        }
        EXPECT_EQ(tree(drive.path()), before);
    }

    ScratchDirectory drive;
    Paths paths{drive.path()};
    fs::path station = drive / "korvel2000" / "Ankara" / "01" / "01-001";
    fs::path otherStation = drive / "korvel2000" / "Ankara" / "01" / "01-002";
    fs::path exchange = drive / "disket";
};

} // namespace

TEST(ArchiveNames, ZipAppendedAndRemoved) {
    EXPECT_EQ(archiveNameOf("2004_01-001.ard"), "2004_01-001.ard.zip");
    EXPECT_EQ(restoredNameOf("2004_01-001.ard.zip"), "2004_01-001.ard");
    EXPECT_EQ(restoredNameOf("01_01-001.HQ.ZIP"), "01_01-001.HQ");
    EXPECT_FALSE(restoredNameOf("2004_01-001.ard"));
    EXPECT_FALSE(restoredNameOf(".zip"));
    EXPECT_FALSE(restoredNameOf("...zip"));
}

TEST_F(Archive, PackAndUnpackRoundTripByteForByte) {
    const fs::path archive = packFile(station / "2004_01-001.ard", exchange);
    EXPECT_EQ(archive, exchange / "2004_01-001.ard.zip");
    EXPECT_EQ(tree(exchange).size(), 1u); // no temporary file left behind

    const fs::path restored = unpackArchive(archive, otherStation);
    EXPECT_EQ(restored, otherStation / "2004_01-001.ard");
    EXPECT_EQ(fileBytes(restored), stationFileBytes());
    EXPECT_EQ(tree(otherStation).size(), 1u);

    // Packing again replaces the archive; unpacking again replaces the file.
    writeBytes(station / "2004_01-001.ard", Bytes{1, 2, 3});
    packFile(station / "2004_01-001.ard", exchange);
    unpackArchive(archive, otherStation);
    EXPECT_EQ(fileBytes(restored), (Bytes{1, 2, 3}));

    // An empty file survives too.
    writeBytes(station / "bos.dat", Bytes{});
    EXPECT_TRUE(fileBytes(unpackArchive(packFile(station / "bos.dat", exchange), otherStation)).empty());
}

TEST_F(Archive, ArchivesOpenInStandardZipTools) {
    if (std::system("unzip -v > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "unzip is not installed";
    const fs::path archive = packFile(station / "2004_01-001.ard", exchange);
    const std::string test = "unzip -tq '" + archive.string() + "' > /dev/null 2>&1";
    EXPECT_EQ(std::system(test.c_str()), 0);

    const fs::path out = drive / "unzipped";
    const std::string extract =
        "unzip -q '" + archive.string() + "' -d '" + out.string() + "' > /dev/null 2>&1";
    ASSERT_EQ(std::system(extract.c_str()), 0);
    EXPECT_EQ(fileBytes(out / "2004_01-001.ard"), stationFileBytes());
}

TEST_F(Archive, ArchivesOfStandardZipToolsUnpack) {
    if (std::system("zip -v > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "zip is not installed";
    const std::string pack = "cd '" + station.string() + "' && zip -q '" +
                             (exchange / "2004_01-001.ard.zip").string() + "' 2004_01-001.ard";
    ASSERT_EQ(std::system(pack.c_str()), 0);
    EXPECT_EQ(fileBytes(unpackArchive(exchange / "2004_01-001.ard.zip", otherStation)), stationFileBytes());
}

TEST_F(Archive, EntriesWithPathsOrOtherNamesAreRefused) {
    const Bytes data{'x', 'y'};
    const std::vector<std::string> names = {
        "../2004_01-001.ard",     "../../../../evil",    "/tmp/2004_01-001.ard", "C:2004_01-001.ard",
        "c:\\x\\2004_01-001.ard", "sub/2004_01-001.ard", "..\\2004_01-001.ard",  "."};
    for (const std::string& name : names) {
        craftArchive(exchange / "2004_01-001.ard.zip", {{name, data}});
        expectRefused(exchange / "2004_01-001.ard.zip", "arşivdeki dosya adı bir yol içeriyor");
    }

    craftArchive(exchange / "2004_01-001.ard.zip", {{"genel.tan", data}});
    expectRefused(exchange / "2004_01-001.ard.zip",
                  "arşivdeki dosya (\"genel.tan\") arşivin adıyla uyuşmuyor");

    craftArchive(exchange / "2004_01-001.ard.zip", {{"2004_01-001.ard", data}, {"../genel.tan", data}});
    expectRefused(exchange / "2004_01-001.ard.zip", "arşiv tek bir dosya içermiyor (2 kayıt)");

    craftArchive(exchange / "2004_01-001.ard.zip", {});
    // libzip writes no file for an empty archive; an empty file is no archive at all.
    if (fs::exists(exchange / "2004_01-001.ard.zip"))
        expectRefused(exchange / "2004_01-001.ard.zip", "arşiv tek bir dosya içermiyor");
}

TEST_F(Archive, NameCaseMayDiffer) {
    craftArchive(exchange / "2004_01-001.ARD.zip", {{"2004_01-001.ard", {7, 8}}});
    EXPECT_EQ(fileBytes(unpackArchive(exchange / "2004_01-001.ARD.zip", otherStation)), (Bytes{7, 8}));
    EXPECT_TRUE(fs::exists(otherStation / "2004_01-001.ARD"));
}

TEST_F(Archive, ArchivesExpandingBeyondTheLimitAreRefused) {
    craftArchive(exchange / "big.dat.zip", {{"big.dat", Bytes(5000, 0)}});
    expectRefused(exchange / "big.dat.zip", "arşiv 4096 bayttan büyük açılıyor", 4096);
    EXPECT_EQ(fileBytes(unpackArchive(exchange / "big.dat.zip", otherStation, 5000)).size(), 5000u);
}

TEST_F(Archive, DamagedArchivesAreReportedAndWriteNothing) {
    const fs::path archive = packFile(station / "2004_01-001.ard", exchange);
    Bytes bytes = fileBytes(archive);

    writeBytes(archive, Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2)));
    EXPECT_THROW(unpackArchive(archive, otherStation), ArchiveError);
    writeBytes(archive, Bytes{'P', 'K', 3, 4, 0, 0});
    EXPECT_THROW(unpackArchive(archive, otherStation), ArchiveError);

    bytes[bytes.size() / 3] ^= 0xFF; // inside the compressed data: a CRC or inflate error
    writeBytes(archive, bytes);
    EXPECT_THROW(unpackArchive(archive, otherStation), ArchiveError);
    EXPECT_TRUE(tree(otherStation).empty());
    EXPECT_THROW(unpackArchive(exchange / "missing.ard.zip", otherStation), ArchiveError);
    EXPECT_THROW(unpackArchive(exchange / "2004_01-001.ard", otherStation), ArchiveRefused);
}

TEST_F(Archive, PackingDirectoryRules) {
    // Inside the data area: refused.
    for (const fs::path& dir : {drive / "korvel2000", station}) {
        try {
            packingDirectory(dir, paths, false);
            ADD_FAILURE() << dir;
        } catch (const ArchiveRefused& e) {
            EXPECT_EQ(std::string(e.what()), "Çalışma alanına sıkıştırma yapılamaz");
        }
    }
    // A directory elsewhere is used as it is.
    EXPECT_EQ(packingDirectory(exchange, paths, false), exchange);
    EXPECT_FALSE(fs::exists(exchange / "korvelzip"));
    // At a drive root, "korvelzip" in it, created once.
    EXPECT_EQ(packingDirectory(drive.path(), paths, isDriveRoot(drive.path(), paths)), drive / "korvelzip");
    EXPECT_TRUE(fs::is_directory(drive / "korvelzip"));
    EXPECT_EQ(packingDirectory(drive.path(), paths, true), drive / "korvelzip");
}

TEST_F(Archive, PackingAMissingFileFails) {
    EXPECT_THROW(packFile(station / "yok.ard", exchange), ArchiveError);
    EXPECT_THROW(packFile(station, exchange), ArchiveError);
    EXPECT_TRUE(tree(exchange).empty());
}

TEST_F(Archive, SymbolicLinkEntriesAreRefused) {
    const fs::path archive = exchange / "2004_01-001.ard.zip";
    int code = 0;
    zip_t* zip = zip_open(archive.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    ASSERT_NE(zip, nullptr);
    const std::string target = "/etc/passwd";
    zip_source_t* source = zip_source_buffer(zip, target.data(), target.size(), 0);
    const zip_int64_t index = zip_file_add(zip, "2004_01-001.ard", source, ZIP_FL_ENC_RAW);
    ASSERT_GE(index, 0);
    constexpr zip_uint32_t kLinkMode = 0120777;
    ASSERT_EQ(zip_file_set_external_attributes(zip, static_cast<zip_uint64_t>(index), 0, ZIP_OPSYS_UNIX,
                                               kLinkMode << 16),
              0);
    ASSERT_EQ(zip_close(zip), 0);
    expectRefused(archive, "arşivdeki kayıt (\"2004_01-001.ard\") bir dosya değil, sembolik bağlantı");
}

TEST_F(Archive, DuplicateEntriesAreRefusedInTurkish) {
    // Two entries of one name: written under two names, then the second renamed in place.
    const fs::path archive = exchange / "2004_01-001.ard.zip";
    craftArchive(archive, {{"2004_01-001.ard", {1}}, {"2004_01-001.arX", {2}}});
    Bytes bytes = fileBytes(archive);
    const std::string from = "2004_01-001.arX";
    for (std::size_t i = 0; i + from.size() <= bytes.size(); ++i)
        if (std::equal(from.begin(), from.end(), bytes.begin() + static_cast<std::ptrdiff_t>(i)))
            bytes[i + from.size() - 1] = 'd';
    writeBytes(archive, bytes);
    const auto before = tree(drive.path());
    try {
        unpackArchive(archive, otherStation);
        ADD_FAILURE() << "not refused";
    } catch (const ArchiveError& e) {
        const std::string message = e.what();
        EXPECT_TRUE(message == "zip arşivi okunamadı: arşivde aynı adlı birden çok kayıt var" ||
                    message == "arşiv tek bir dosya içermiyor (2 kayıt)")
            << message;
    }
    EXPECT_EQ(tree(drive.path()), before);
}
