#include "chart/info_panel.h"

namespace zepa {}  // namespace zepa
