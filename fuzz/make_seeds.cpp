// zepa_fuzz_seeds DIR: writes the seed corpora of the targets that read price files, made by the
// price-database writer: DIR/<target>/<name>.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "tools/dbw_writer.h"

namespace {

namespace fs = std::filesystem;
using zepa::DbwFile;
using zepa::DbwRecord;
using zepa::DbwStock;
using zepa::PackedDate;

DbwFile sampleFile(int firstYear, int dates, int stocks) {
    DbwFile f;
    for (int i = 0; i < dates; ++i) {
        f.dates.push_back(PackedDate{static_cast<uint8_t>(firstYear - 1970 + i / 240),
                                     static_cast<uint8_t>(1 + i / 20 % 12),
                                     static_cast<uint8_t>(1 + i % 20)});
    }
    const int32_t keys[] = {100001301, 100001332, 200009984, 300004502, 800006758, 900001111};
    for (int k = 0; k < stocks; ++k) {
        DbwStock s{keys[k % 6] + k / 6, "STOCK" + std::to_string(k), {}};
        for (int i = 0; i < dates; ++i) {
            const int32_t close = 500 + 97 * k + (i * 31 % 53);
            // Idle days, a split, volumes from small to the coded maximum.
            DbwRecord r{close - 2, close + 6, close - 7, close, int64_t{1000} << (i % 30), 0};
            if (i % 17 == 5) {
                r = DbwRecord{};
            }
            if (i == dates / 2 && k == 1) {
                r.adjustment = 2000;
            }
            s.records.push_back(r);
        }
        f.stocks.push_back(s);
    }
    return f;
}

std::string fileBytes(const DbwFile& f, const fs::path& scratch) {
    if (!zepa::writePriceDatabase(scratch.string(), f)) {
        return {};
    }
    std::ifstream in(scratch, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

bool put(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zepa_fuzz_seeds DIR\n");
        return 2;
    }
    const fs::path dir = argv[1];
    const fs::path scratch = dir / "scratch.dbw";
    fs::create_directories(dir / "price_database");
    fs::create_directories(dir / "viewer_session");

    DbwFile sound = sampleFile(2024, 60, 4);
    DbwFile sparse = sampleFile(2025, 30, 3);
    sparse.unusedStockSlots = 5;
    sparse.unusedDateSlots = 7;
    sparse.stocks[2].records.clear();  // a hole where a block would be
    DbwFile lying = sampleFile(2023, 20, 2);
    lying.headerStockSlots = 300;
    lying.headerDateSlots = 900;
    DbwFile cut = sampleFile(2024, 40, 3);
    cut.truncateAt = 1500;
    const std::string sep(zepa::fuzz::kFileSeparator);

    const std::vector<std::pair<std::string, std::string>> sets = {
        {"one", fileBytes(sound, scratch)},
        {"three", fileBytes(lying, scratch) + sep + fileBytes(sound, scratch) + sep +
                      fileBytes(sparse, scratch)},
        {"cut", fileBytes(cut, scratch)},
        {"sparse", fileBytes(sparse, scratch)},
    };
    // A price file, then events: steps, pane switches, weekly, scrolling, data windows, exit.
    const std::string events = {3, 0, 10, 3, 0, 3, 3, 0, 11, 3, 0, 12, 4, 7, 4,  8,
                                3, 0, 3,  3, 0, 5, 4, 9, 0,  2, 3, 0,  1, 0, 11, 0};
    bool ok = true;
    for (const auto& [name, bytes] : sets) {
        ok = ok && !bytes.empty();
        ok = put(dir / "price_database" / name, std::string(1, '\x05') + bytes) && ok;
        ok = put(dir / "viewer_session" / name, bytes + sep + events) && ok;
    }
    std::error_code ec;
    fs::remove(scratch, ec);
    if (!ok) {
        std::fprintf(stderr, "zepa_fuzz_seeds: cannot write the seeds under %s\n", argv[1]);
        return 1;
    }
    return 0;
}
