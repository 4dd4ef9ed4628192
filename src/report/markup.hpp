#pragma once

#include <string>
#include <string_view>

namespace tarnwick {

// Text as HTML or XML character data, safe in a double-quoted attribute too: markup escaped,
// control bytes and bytes that are not UTF-8 as '?'. Ids and moves come from files, so any
// byte can reach a page.
std::string markupText(std::string_view text);

}  // namespace tarnwick
