#include "epd/epd_opcodes.hpp"
#include "epd/test_position.hpp"
#include "text/text.hpp"

namespace tarnwick {

namespace {

class EpdWriter {
  public:
    explicit EpdWriter(std::string& out) : out_(out) {}

    // The operation of opcode for p's field; nothing when the field is absent (0, empty, false).
    void operation(const EpdOpcode& opcode, const TestPosition& p) {
        std::visit([&](auto member) { write(opcode, p.*member); }, opcode.field);
    }

  private:
    void write(const EpdOpcode& opcode, int32_t value) { number(opcode.name, value); }
    void write(const EpdOpcode& opcode, bool value) { flag(opcode.name, value); }
    void write(const EpdOpcode& opcode, const EpdTexts& values) {
        numberedTexts(opcode.name, values);
    }
    void write(const EpdOpcode& opcode, const std::string& value) {
        if (opcode.operand == EpdOperand::Moves) moves(opcode.name, value);
        if (opcode.operand == EpdOperand::Text) text(opcode.name, value);
        if (opcode.operand == EpdOperand::MovePerOperation) movePerOperation(opcode.name, value);
    }

    void number(std::string_view opcode, int32_t value) {
        if (value != 0) moves(opcode, std::to_string(value));
    }
    // A value as it stands, or quoted when it would not read back so: when it holds a ";" that
    // would end it, a quote or backslash, or blanks the reader would trim or collapse.
    void moves(std::string_view opcode, std::string_view value) {
        if (value.empty()) return;
        out_.append(opcode).append(" ");
        if (needsQuotes(value)) {
            quoted(value);
        } else {
            out_.append(value);
        }
        out_.append("; ");
    }
    void flag(std::string_view opcode, bool value) {
        if (value) out_.append(opcode).append("; ");
    }
    void text(std::string_view opcode, std::string_view value) {
        if (value.empty()) return;
        out_.append(opcode).append(" ");
        quoted(value);
        out_.append("; ");
    }
    // Quotes and backslashes are escaped so the value reads back unchanged, and so is a blank
    // after a blank ("\ "), which the reader would otherwise collapse.
    void quoted(std::string_view value) {
        out_ += '"';
        char previous = '\0';
        for (const char c : value) {
            const bool secondBlank = c == ' ' && kBlanks.find(previous) != std::string_view::npos;
            if (c == '"' || c == '\\' || secondBlank) out_ += '\\';
            out_ += c;
            previous = c;
        }
        out_ += '"';
    }
    static bool needsQuotes(std::string_view value) {
        return value.find_first_of(";\"\\") != std::string_view::npos || isBlank(value.front()) ||
               isBlank(value.back()) || value.find("  ") != std::string_view::npos;
    }
    void numberedTexts(std::string_view letter, const EpdTexts& values) {
        for (size_t i = 0; i < values.size(); ++i) {
            text(std::string(letter) + static_cast<char>('0' + i), values[i]);
        }
    }
    // One operation per move, each move followed by its number (digits, signs and points)
    // when one comes next.
    void movePerOperation(std::string_view opcode, std::string_view value) {
        std::string_view move = takeWord(value);
        while (!move.empty()) {
            std::string operand(move);
            std::string_view next = takeWord(value);
            if (isNumber(next, 0)) {
                operand.append(" ").append(next);
                next = takeWord(value);
            }
            moves(opcode, operand);
            move = next;
        }
    }
    // The first word of rest, which then starts after it.
    static std::string_view takeWord(std::string_view& rest) {
        const std::string_view word = nthTokenView(rest, 1);
        if (!word.empty())
            rest.remove_prefix(static_cast<size_t>(word.data() + word.size() - rest.data()));
        return word;
    }

    std::string& out_;
};

}  // namespace

std::string TestPosition::toEpd(bool omitAnalysis) const {
    std::string line;
    line.reserve(placement.size() + am.size() + bm.size() + pv.size() + id.size() + c[0].size() +
                 c[1].size() + 96);
    line.append(placement).append(" ").append(side).append(" ").append(castling).append(" ");
    line.append(enPassant).append(" ");
    EpdWriter writer(line);
    for (const EpdOpcode& opcode : kEpdOpcodes) {
        if (!(omitAnalysis && opcode.analysis)) writer.operation(opcode, *this);
    }
    return trimmed(line);
}

}  // namespace tarnwick
