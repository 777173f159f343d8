// The benchmark cases, registered by the runner once the installation is written.
#pragma once

#include <string>

#include "bench/large_installation.h"

namespace zepa {

// Startup/ScanAndLoad, Series/BuildDaily, Series/BuildWeekly, Series/RawBlockReads.
void registerMarketDataBenchmarks(const LargeInstallation& installation);
// Positions/Overview1000: 建玉一覧's figures of 1,000 positions.
void registerPositionsBenchmarks(const LargeInstallation& installation);
// Chart/Paint1920x1080, Chart/Paint800x550, App/SwitchPosition, DataWindow/PaintPage.
void registerChartBenchmarks(const LargeInstallation& installation);
// App/ColdStart: the viewer program, started and measured from outside.
void registerColdStartBenchmark(const LargeInstallation& installation, const std::string& viewer,
                                const std::string& scratch);

// Import/Csv, Import/DailyUpdate: the zepa_import program on a whole market's year of daily
// files, written into `scratch` when first run.
// Screen/Market4000x250, Screen/Market4000x750: the pair screen over a generated market held in
// memory, with the process's peak resident memory; Screen/LoadMarket4000x250: reading such a
// market from its price file in `scratch`.
void registerScreenBenchmarks(const std::string& scratch);

void registerImportBenchmarks(const std::string& importer, const std::string& scratch);

// Backtest/Pairs100000x750: the ratio-rule backtest of a screen's pairs on every core.
void registerBacktestBenchmarks();

// WalkForward/Market4000x2500: the walk-forward of the default screen over ten years of a
// generated market in memory, with the process's peak resident memory.
void registerWalkForwardBenchmarks();

}  // namespace zepa
