// The small notice a sibling stand-in shows: a panel at the bottom-right corner of the work area
// that says which tool was started, never takes the focus and goes away by itself.
#pragma once

#include <string>

namespace stub {

// Shows the notice with a headline (the tool's name) and a detail line, and returns once it has
// gone: after `milliseconds`, or earlier when the user clicks it.
void ShowNotice(const std::string& headline, const std::string& detail, unsigned milliseconds);

} // namespace stub
