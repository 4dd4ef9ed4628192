#pragma once

#include <string>
#include <string_view>

namespace tarnwick {

// How a WinBoard engine is given a position.
enum class BoardSetupMethod : int { setboard = 0, edit = 1, cbedit = 2 };

// The text that sets up the FEN position for a WinBoard engine; it always ends with "\n", so
// the engine also receives an empty line after it.
std::string boardSetupText(BoardSetupMethod method, std::string_view fen);

}  // namespace tarnwick
