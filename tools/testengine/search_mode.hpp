#pragma once

namespace tarnwick::testengine {

// The searching engine: reads commands from standard input in UCI or xboard, whichever the
// first command ("uci" or "xboard") names, until "quit" or the end of input.
int runSearchEngine();

}  // namespace tarnwick::testengine
