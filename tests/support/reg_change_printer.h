// How a failed test shows a registry change: "set HKCU\key\name = type 1 [61620000]".
#pragma once

#include <ostream>

#include "base/reg_changes.h"

namespace zurimo {

void PrintTo(const RegChange& change, std::ostream* out);

}  // namespace zurimo
