// Reading a few members out of a large trace line without parsing the rest:
// long runs write tens of kilobytes a frame (the device calls above all), and
// a test that drives such a run needs only a handful of values from each.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "support/json.h"

namespace trace_pick {

// The text from the value of the first member named `key` in `text`, at any
// depth, to the end of `text`; empty if there is none. Names that occur
// once in a line (or first where wanted) find their member at once.
std::string_view from(std::string_view text, std::string_view key);

// Just the text of that value.
std::string_view member(std::string_view text, std::string_view key);

// An object holding, for each name, the value `member` finds, parsed.
testing_json::Value pick(std::string_view text, const std::vector<std::string>& keys);

}  // namespace trace_pick
