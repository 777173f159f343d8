#include "tools/demo/demo_installation.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "marketdata/installation_paths.h"
#include "marketdata/price_database.h"
#include "tools/demo/demo_calendar.h"
#include "tools/demo/demo_listing.h"
#include "tools/demo/demo_prices.h"
#include "tools/demo/demo_texts.h"
#include "tools/demo/demo_universe.h"
#include "tools/listing_writer.h"

namespace zepa {
namespace {

namespace fs = std::filesystem;

bool writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

// Price files not written now would be read along with ours.
bool removeOtherPriceFiles(const std::string& dataDirectory,
                           const std::vector<NamedPriceFile>& files, std::string& failed) {
    std::error_code ec;
    std::vector<fs::path> stale;
    for (fs::directory_iterator it(dataDirectory, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        bool ours = false;
        for (const NamedPriceFile& f : files) {
            ours = ours || f.name == name;
        }
        if (matchesDatabasePattern(name) && !ours) {
            stale.push_back(it->path());
        }
    }
    for (const fs::path& p : stale) {
        fs::remove_all(p, ec);
        if (ec) {
            failed = p.string();
            return false;
        }
    }
    return true;
}

}  // namespace

DemoWriteOutcome writeDemoInstallation(const std::string& root, uint64_t seed, bool force) {
    const InstallationPaths paths = makeInstallationPaths(root);
    std::error_code ec;
    if (fs::symlink_status(paths.zepawin, ec).type() != fs::file_type::not_found && !force) {
        return {DemoWriteResult::AlreadyExists, paths.zepawin};
    }
    fs::create_directories(paths.dataDirectory, ec);
    if (ec || !fs::is_directory(paths.dataDirectory, ec)) {
        return {DemoWriteResult::Failed, paths.dataDirectory};
    }

    using std::chrono::year;
    const CivilDay first{year{2024} / 1 / 4};
    const CivilDay last{year{2026} / 12 / 4};
    const DemoMarket market = simulateMarket(demoStocks(), tradingDays(first, last), seed);
    const std::vector<NamedPriceFile> files = yearlyPriceFiles(market);

    std::string failed;
    if (force && !removeOtherPriceFiles(paths.dataDirectory, files, failed)) {
        return {DemoWriteResult::Failed, failed};
    }
    for (const NamedPriceFile& f : files) {
        const std::string path = (fs::path(paths.dataDirectory) / f.name).string();
        if (!writePriceDatabase(path, f.file)) {
            return {DemoWriteResult::Failed, path};
        }
    }
    const std::pair<const std::string&, std::string> texts[] = {
        {paths.positionFile, demoPositionFile(market, seed)},
        {paths.correctionFile, demoCorrectionFile(market)},
        {paths.tipFile, demoTipFile()},
    };
    for (const auto& [path, bytes] : texts) {
        if (!writeBytes(path, bytes)) {
            return {DemoWriteResult::Failed, path};
        }
    }
    const std::string listing = (fs::path(paths.zepawin) / kListingFileName).string();
    if (!writeListingFile(listing, demoListing(demoStocks()))) {
        return {DemoWriteResult::Failed, listing};
    }
    return {DemoWriteResult::Written, paths.zepawin};
}

}  // namespace zepa
