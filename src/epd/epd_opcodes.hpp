#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "epd/test_position.hpp"

// The EPD opcodes a record knows: the one list the reader and the writer both follow, so a new
// opcode is one more line here.
namespace tarnwick {

// How an operation's operand is read and written.
enum class EpdOperand : uint8_t {
    Number,            // decimal, read the way atoi does; 0 is not written
    Moves,             // the rest of the operation as it stands, or a quoted text without quotes
    Text,              // a quoted text (escaped when written) or, unquoted, one word
    Flag,              // none: the opcode alone; anything after it is ignored
    NumberedTexts,     // ten Text opcodes, named by the letter and a digit ("c0" to "c9")
    MovePerOperation,  // one operation per move and its number; read back as one list
};

using EpdTexts = std::array<std::string, 10>;
using EpdField = std::variant<int32_t TestPosition::*, std::string TestPosition::*,
                              bool TestPosition::*, EpdTexts TestPosition::*>;

struct EpdOpcode {
    std::string_view name;
    EpdOperand operand;
    EpdField field;
    bool analysis = false;  // the engine's findings, left out of the analysis-free form
};

// In written order. The reader takes the first opcode an operation matches, which matters
// only for flags: they match by prefix.
inline constexpr std::array kEpdOpcodes{
    EpdOpcode{"acd", EpdOperand::Number, &TestPosition::acd, true},
    EpdOpcode{"acn", EpdOperand::Number, &TestPosition::acn, true},
    EpdOpcode{"acs", EpdOperand::Number, &TestPosition::acs, true},
    EpdOpcode{"am", EpdOperand::Moves, &TestPosition::am},
    EpdOpcode{"bm", EpdOperand::Moves, &TestPosition::bm},
    EpdOpcode{"c", EpdOperand::NumberedTexts, &TestPosition::c},
    EpdOpcode{"ce", EpdOperand::Number, &TestPosition::ce, true},
    // As written, not as a number: a count that cannot be read is told, not dropped.
    EpdOpcode{"dm", EpdOperand::Moves, &TestPosition::dm},
    EpdOpcode{"draw_accept", EpdOperand::Flag, &TestPosition::draw_accept},
    EpdOpcode{"draw_claim", EpdOperand::Flag, &TestPosition::draw_claim},
    EpdOpcode{"draw_offer", EpdOperand::Flag, &TestPosition::draw_offer},
    EpdOpcode{"draw_reject", EpdOperand::Flag, &TestPosition::draw_reject},
    EpdOpcode{"eco", EpdOperand::Text, &TestPosition::eco},
    EpdOpcode{"fmvn", EpdOperand::Number, &TestPosition::fmvn},
    EpdOpcode{"hmvc", EpdOperand::Number, &TestPosition::hmvc},
    EpdOpcode{"id", EpdOperand::Text, &TestPosition::id},
    EpdOpcode{"mate", EpdOperand::Number, &TestPosition::mate, true},
    EpdOpcode{"matecheck", EpdOperand::Moves, &TestPosition::matecheck, true},
    EpdOpcode{"nic", EpdOperand::Text, &TestPosition::nic},
    EpdOpcode{"pm", EpdOperand::Moves, &TestPosition::pm, true},
    EpdOpcode{"puzzle_failed", EpdOperand::Number, &TestPosition::puzzle_failed, true},
    EpdOpcode{"puzzle_fen", EpdOperand::Text, &TestPosition::puzzle_fen},
    EpdOpcode{"puzzle_moves", EpdOperand::Moves, &TestPosition::puzzle_moves},
    EpdOpcode{"puzzle_played", EpdOperand::Moves, &TestPosition::puzzle_played, true},
    EpdOpcode{"puzzle_rating", EpdOperand::Number, &TestPosition::puzzle_rating},
    EpdOpcode{"puzzle_themes", EpdOperand::Moves, &TestPosition::puzzle_themes},
    EpdOpcode{"puzzle_times", EpdOperand::Moves, &TestPosition::puzzle_times, true},
    EpdOpcode{"pv", EpdOperand::Moves, &TestPosition::pv, true},
    EpdOpcode{"rc", EpdOperand::Number, &TestPosition::rc},
    EpdOpcode{"resign", EpdOperand::Flag, &TestPosition::resign},
    EpdOpcode{"sm", EpdOperand::Moves, &TestPosition::sm},
    EpdOpcode{"tcgs", EpdOperand::Number, &TestPosition::tcgs},
    EpdOpcode{"tcri", EpdOperand::Text, &TestPosition::tcri},
    EpdOpcode{"tcsi", EpdOperand::Text, &TestPosition::tcsi},
    EpdOpcode{"v", EpdOperand::NumberedTexts, &TestPosition::v},
    EpdOpcode{"vm", EpdOperand::MovePerOperation, &TestPosition::vm},
};

// Clears the fields of the engine's analysis, keeping the rest.
inline void clearAnalysis(TestPosition& record) {
    static const TestPosition kBlank;
    for (const EpdOpcode& opcode : kEpdOpcodes) {
        if (opcode.analysis) {
            std::visit([&](auto member) { record.*member = kBlank.*member; }, opcode.field);
        }
    }
}

// Each opcode's field has the type its operand kind fills.
constexpr bool epdFieldsFitTheirOperands() {
    for (const EpdOpcode& opcode : kEpdOpcodes) {
        size_t type = 1;  // a std::string
        if (opcode.operand == EpdOperand::Number) type = 0;
        if (opcode.operand == EpdOperand::Flag) type = 2;
        if (opcode.operand == EpdOperand::NumberedTexts) type = 3;
        if (opcode.field.index() != type) return false;
    }
    return true;
}
static_assert(epdFieldsFitTheirOperands());

// Other opcodes match only when a blank or a digit follows their name, but a flag matches every
// operation its name starts with: no other name may start with a flag's.
constexpr bool noNameStartsWithAFlag() {
    for (const EpdOpcode& flag : kEpdOpcodes) {
        if (flag.operand != EpdOperand::Flag) continue;
        for (const EpdOpcode& other : kEpdOpcodes) {
            if (other.name != flag.name && other.name.starts_with(flag.name)) return false;
        }
    }
    return true;
}
static_assert(noNameStartsWithAFlag());

}  // namespace tarnwick
