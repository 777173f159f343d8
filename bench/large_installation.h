// The large installation the benchmarks run on, written once per run by the price-database
// writer: 100 price files of 4,000 stock slots and 60 dates each, 5,000 positions.
#pragma once

#include <cstdint>
#include <string>

namespace zepa {

struct LargeInstallationShape {
    int fileCount = 100;
    int stocksPerFile = 4000;
    int datesPerFile = 60;
    int positionCount = 5000;
    // Every stockStride-th slot is a stock that positions use, with full price blocks in every
    // file; the other slots' blocks stay holes in sparse files.
    int stockStride = 8;
};

struct LargeInstallation {
    std::string root;  // holds ZEPAWIN/
    LargeInstallationShape shape;
    int usedStocks = 0;
};

// Writes <root>/ZEPAWIN/ (DATA/DBW.000.., ZEPA_SPW.DAT, HOSEI.DAT, KOKOROE.TXT). False, with the
// failing path in `failed`, when something cannot be written.
bool writeLargeInstallation(const std::string& root, const LargeInstallationShape& shape,
                            LargeInstallation& out, std::string& failed);

}  // namespace zepa
