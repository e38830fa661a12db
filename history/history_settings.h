// The settings the history window works with, as the application hands them over.
#pragma once

#include <cstdint>
#include <string>

#include "history/list_keys.h"

namespace zurimo {

struct HistorySettings {
    std::int32_t capacity = 100;  // most entries the list keeps
    std::int32_t tab = 1;         // tab stops: 0 standard, 1 four, 2 eight
    std::int32_t number = 0;      // Ctrl+digit takes the entry out
    std::int32_t paste = 0;       // paste after a take-out
    std::int32_t file = 0;        // keep the history in a file across runs
    std::int32_t dateTime = 0;    // 0 long date, 1 short date
    std::string quote = ">";
    KeyTable keys = kDefaultKeys;
    bool shortTexts = false;      // outside the NT family: long texts are cut for the preview
};

}  // namespace zurimo
