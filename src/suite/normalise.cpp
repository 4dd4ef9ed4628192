#include "suite/normalise.hpp"

#include "chess/notation.hpp"

namespace tarnwick {

void normaliseMoves(TestPosition& position) {
    normaliseMoves(position.fenText(), position.am, position.bm, position.pm, position.pv,
                   position.c[1]);
}

}  // namespace tarnwick
