#pragma once

#include "store/StationLists.h"
#include "store/StationRecord.h"

#include <filesystem>
#include <string>
#include <vector>

namespace korvel {

// What the station screen holds and every other screen reads when it loads: the station
// directory, its record, the file selected in each list, the month and the two selection
// lists of the multi-file tables.
struct CurrentStation {
    std::filesystem::path stationDir;
    StationRecord record;
    std::string selectedFlowFile; // file name in the flow list, empty when none
    std::string selectedHqFile;
    std::string selectedRainFile;
    int monthIndex = 0;                                 // index into kMonthList (0 = "10.ay  Ekim")
    std::vector<std::filesystem::path> flowSelection;   // FlowSelectionList: at most one path
    std::vector<std::filesystem::path> rainSelection;   // RainSelectionList: up to three paths
    int rainSelectionCurrent = -1;                      // current entry of RainSelectionList

    std::filesystem::path selectedFlowPath() const {
        return selectedFlowFile.empty() ? std::filesystem::path() : stationDir / selectedFlowFile;
    }
    std::filesystem::path selectedHqPath() const {
        return selectedHqFile.empty() ? std::filesystem::path() : stationDir / selectedHqFile;
    }
    std::filesystem::path selectedRainPath() const {
        return selectedRainFile.empty() ? std::filesystem::path() : stationDir / selectedRainFile;
    }
    // The month number of the month drop-down's selection (10, 11, 12, 1, ..., 9).
    int month() const { return monthNumberOfItem(kMonthList[static_cast<std::size_t>(monthIndex % 12)]); }
    // One flow file and three rainfall files: the basin tables may be built.
    bool selectionComplete() const { return flowSelection.size() == 1 && rainSelection.size() == 3; }
};

// The station screen as the other screens use it: they read CurrentStation and move its
// selections (the month, the file of a list, the station directory itself).
class StationHub {
public:
    virtual ~StationHub() = default;
    virtual const CurrentStation& current() const = 0;
    virtual void setStationDirectory(const std::filesystem::path& dir) = 0;
    virtual void setMonthIndex(int index) = 0;
    virtual void selectFlowFile(const std::string& fileName) = 0;
    virtual void selectHqFile(const std::string& fileName) = 0;
    virtual void selectRainFile(const std::string& fileName) = 0;
    // The directory's files changed (a file was created or deleted): list them again.
    virtual void refreshFileLists() = 0;
    // Makes entry `index` of RainSelectionList its current entry (the basin tables walk it).
    virtual void setRainSelectionCurrent(int index) = 0;
};

// A station hub without a screen, for tests of the screens that read one.
class MemoryStationHub : public StationHub {
public:
    CurrentStation state;

    const CurrentStation& current() const override { return state; }
    void setStationDirectory(const std::filesystem::path& dir) override {
        state.stationDir = dir;
        state.record = loadStationRecord(dir, "");
    }
    void setMonthIndex(int index) override { state.monthIndex = index; }
    void selectFlowFile(const std::string& fileName) override { state.selectedFlowFile = fileName; }
    void selectHqFile(const std::string& fileName) override { state.selectedHqFile = fileName; }
    void selectRainFile(const std::string& fileName) override { state.selectedRainFile = fileName; }
    void refreshFileLists() override {}
    void setRainSelectionCurrent(int index) override {
        if (index >= 0 && index < static_cast<int>(state.rainSelection.size()))
            state.rainSelectionCurrent = index;
    }
};

} // namespace korvel
