#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

// Splits one line of a comma-separated table into its fields, RFC 4180's way: a field that
// starts with a quote ends at the next lone quote, and "" inside it is one quote. A quote inside
// a field that did not start with one is text. False, with the fields so far, when a quoted
// field never closes or text follows its closing quote; a row is one line, so a line break
// inside quotes leaves the field unclosed. No more than maxFields fields are read: the rest of
// the line is left as it is, so a line of commas costs no more than a short one. The strings of
// fields are reused from row to row.
bool splitCsvRow(std::string_view line, std::vector<std::string>& fields,
                 std::size_t maxFields = std::string_view::npos);

}  // namespace tarnwick
