// Command line of zepa_snapshot.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zepa {

struct SnapshotOptions {
    std::string root = ".";
    int position = 0;
    int32_t width = 800;
    int32_t height = 550;
    bool weekly = false;
    int lowerPaneMode = -1;   // -1: as the settings say
    int32_t ratioPeriod = 0;  // 0: as the settings say
    bool overlay = false;     // the sell leg overlaid at the entry, whatever the settings say
    int32_t scrollBack = 0;
    bool defaults = false;
    bool layout = false;
    bool adjusted = false;  // the split-adjusted display, whatever the settings say
    std::string output;
};

// False on a usage error.
bool parseSnapshotOptions(const std::vector<std::string>& args, SnapshotOptions& out);

inline constexpr const char* kSnapshotUsage =
    "usage: zepa_snapshot [--root DIR] [--position N] [--size WxH] [--weekly] [--lower-pane M]\n"
    "                     [--scroll-back N] [--defaults] [--layout] [--adjusted]\n"
    "                     [--ratio-period P] [--overlay] OUT.png\n";

}  // namespace zepa
