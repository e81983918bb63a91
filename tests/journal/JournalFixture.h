#pragma once

#include "common/ScratchDirectory.h"
#include "core/FileIO.h"
#include "journal/ChangeJournal.h"
#include "journal/JournalingWriter.h"

#include <gtest/gtest.h>

namespace korvel::testing {

// A station directory whose writes go through a JournalingWriter, the command named by
// `command`.
class JournaledStation : public ::testing::Test {
protected:
    std::vector<JournalEntry> history(const std::optional<std::string>& file = std::nullopt) const {
        return ChangeJournal(dir, ChangeJournal::Access::read).entries(file);
    }
    static Bytes filled(std::size_t size, std::uint8_t value) { return Bytes(size, value); }

    ScratchDirectory scratch;
    const std::filesystem::path dir = scratch.path();
    std::string command = "test";
    JournalingWriter writer{[this] { return command; },
                            [](const std::filesystem::path&, const std::string&) { return false; }};
    ScopedFileWriteJournal journaling{&writer};
};

} // namespace korvel::testing
