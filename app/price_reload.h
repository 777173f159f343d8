// The price files read again while the viewer runs, after 株価更新 or 株価取り込み… wrote them:
// the new files are read first, and only when they read do they replace the loaded ones and
// the positions' series get built anew (the chart then shows the new days).
#pragma once

#include "app/app_context.h"
#include "app/shell.h"
#include "marketdata/data_error.h"

namespace zepa {

// DataError::None when the prices were replaced; otherwise the error of the new files, and the
// prices loaded before stay as they were.
DataError reloadPrices(AppContext& a, Shell& shell);

}  // namespace zepa
