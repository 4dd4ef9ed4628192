#include <algorithm>
#include <utility>

#include "epd/epd_opcodes.hpp"
#include "epd/test_position.hpp"
#include "text/text.hpp"

namespace tarnwick {

namespace {

constexpr size_t kNoMatch = std::string_view::npos;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool startsWithDigit(std::string_view word) {
    return !word.empty() && isDigit(word[0]);
}

bool startsWithLetter(std::string_view word) {
    return !word.empty() &&
           ((word[0] >= 'a' && word[0] <= 'z') || (word[0] >= 'A' && word[0] <= 'Z'));
}

// The operation's text from its n-th character on.
std::string_view restFrom(std::string_view op, size_t n) {
    return n < op.size() ? op.substr(n) : std::string_view{};
}

// Takes the words of a collapsed line (single blanks between words) one by one.
class Words {
  public:
    explicit Words(std::string_view text) : rest_(text) {}

    std::string_view peek() const {
        return rest_.substr(0, std::min(rest_.find(' '), rest_.size()));
    }
    std::string_view take() {
        const std::string_view word = peek();
        rest_.remove_prefix(std::min(word.size() + 1, rest_.size()));
        return word;
    }
    std::string_view rest() const { return rest_; }

  private:
    std::string_view rest_;
};

// Board, side to move, castling rights and en-passant square; those the line lacks get an
// empty board, white, none and none. False when any was missing: nothing follows them then.
bool readPositionFields(TestPosition& p, Words& words) {
    using Field = std::pair<std::string TestPosition::*, std::string_view>;
    static constexpr std::array<Field, 4> kFields{{{&TestPosition::placement, "8/8/8/8/8/8/8/8"},
                                                   {&TestPosition::side, "w"},
                                                   {&TestPosition::castling, "-"},
                                                   {&TestPosition::enPassant, "-"}}};
    bool complete = true;
    for (const auto& [field, absent] : kFields) {
        const std::string_view word = words.take();
        complete = complete && !word.empty();
        p.*field = word.empty() ? absent : word;
    }
    return complete;
}

// A FEN's half-move clock and full-move number may follow the fields; the second is looked for
// only after the first.
void readClocks(TestPosition& p, Words& words) {
    if (!startsWithDigit(words.peek())) return;
    p.hmvc = atoiValue(words.take());
    if (startsWithDigit(words.peek())) p.fmvn = atoiValue(words.take());
}

// Passes over the words that cannot begin an operation (an opcode begins with a letter), such
// as a stray "-" after the en-passant square, which would otherwise swallow the operation they
// stand before. True when they did stand before one.
bool skipWordsBeforeOperations(Words& words) {
    bool skipped = false;
    for (std::string_view word = words.peek();
         !word.empty() && !startsWithLetter(word) && word.find(';') == std::string_view::npos;
         word = words.peek()) {
        words.take();
        skipped = true;
    }
    return skipped && startsWithLetter(words.peek());
}

// Where the quoted string whose opening quote is text[open] closes, past \" and \\ escapes;
// npos when it never does.
size_t closingQuote(std::string_view text, size_t open) {
    for (size_t i = open + 1; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
        } else if (text[i] == '"') {
            return i;
        }
    }
    return std::string_view::npos;
}

// readStringOperand, telling whether a quoted operand's quote closed.
std::string stringOperand(std::string_view text, bool& closed) {
    closed = false;
    if (text.empty()) return {};
    if (text.front() != '"') return nthToken(text, 1);
    std::string operand;
    for (size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            closed = true;
            return operand;
        }
        // A backslash takes the next character literally; a last lone backslash is kept.
        if (c == '\\' && i + 1 < text.size()) {
            operand += text[++i];
        } else {
            operand += c;
        }
    }
    return operand;  // never closed: the whole tail is kept
}

// An operand kept as written, or in quotes (so that it may hold ";") without them.
std::string rawOperand(std::string_view operand) {
    operand = trimmedView(operand);
    if (operand.starts_with('"')) {
        bool closed = false;
        std::string unquoted = stringOperand(operand, closed);
        if (closed) return unquoted;
    }
    return std::string(operand);
}

// vm comes as one operation per move: they gather into one list of single-blank words.
void appendMoves(std::string& moves, std::string_view more) {
    const std::string words = collapseBlanks(more);
    if (words.empty()) return;
    if (!moves.empty()) moves += ' ';
    moves += words;
}

// Where the operand of op starts when op is an operation of opcode; kNoMatch when it is not.
size_t operandStart(const EpdOpcode& opcode, std::string_view op) {
    if (!op.starts_with(opcode.name)) return kNoMatch;
    const size_t n = opcode.name.size();
    switch (opcode.operand) {
        case EpdOperand::Flag:
            return n;
        case EpdOperand::NumberedTexts:
            // The character after the digit is passed over, whatever it is.
            return n < op.size() && isDigit(op[n]) ? n + 2 : kNoMatch;
        default:
            return n < op.size() && op[n] == ' ' ? n + 1 : kNoMatch;
    }
}

// Fills field from the operand of op, an operation of opcode that starts at start.
void readOperand(int32_t& field, const EpdOpcode&, std::string_view op, size_t start) {
    field = atoiValue(restFrom(op, start));
}
void readOperand(bool& field, const EpdOpcode&, std::string_view, size_t) {
    field = true;
}
void readOperand(EpdTexts& fields, const EpdOpcode& opcode, std::string_view op, size_t start) {
    fields[static_cast<size_t>(op[opcode.name.size()] - '0')] =
        readStringOperand(restFrom(op, start));
}
void readOperand(std::string& field, const EpdOpcode& opcode, std::string_view op, size_t start) {
    const std::string_view operand = restFrom(op, start);
    if (opcode.operand == EpdOperand::Moves) field = rawOperand(operand);
    if (opcode.operand == EpdOperand::Text) field = readStringOperand(operand);
    if (opcode.operand == EpdOperand::MovePerOperation) appendMoves(field, rawOperand(operand));
}

// Applies one operation by the first opcode it matches; unknown ones are dropped.
void readOperation(TestPosition& p, std::string_view op) {
    for (const EpdOpcode& opcode : kEpdOpcodes) {
        if (const size_t start = operandStart(opcode, op); start != kNoMatch) {
            std::visit([&](auto member) { readOperand(p.*member, opcode, op, start); },
                       opcode.field);
            return;
        }
    }
}

// Where the operation that starts at pos ends: at the next ";" outside a quoted string. A quote
// opens a string only at the start of an operand and only when it closes, so a stray one in
// free text (00'40" (Gustav);) leaves the operations after it alone.
size_t operationEnd(std::string_view ops, size_t pos) {
    for (size_t i = pos; i < ops.size(); ++i) {
        if (ops[i] == ';') return i;
        if (ops[i] == '"' && i > pos && ops[i - 1] == ' ') {
            if (const size_t close = closingQuote(ops, i); close != std::string_view::npos)
                i = close;
        }
    }
    return ops.size();
}

// Operations are the runs between ";" outside quoted strings; the first empty one ends them.
void readOperations(TestPosition& p, std::string_view ops) {
    size_t pos = 0;
    while ((pos = ops.find_first_not_of(';', pos)) != std::string_view::npos) {
        const size_t end = operationEnd(ops, pos);
        const std::string_view op = trimmedView(ops.substr(pos, end - pos));
        if (op.empty()) return;
        readOperation(p, op);
        pos = end;
    }
}

}  // namespace

std::string readStringOperand(std::string_view text) {
    bool closed = false;
    return stringOperand(text, closed);
}

bool TestPosition::parseEpd(std::string_view line) {
    const std::string text = collapseBlanks(line);
    clear();
    Words words(text);
    if (!readPositionFields(*this, words)) return false;
    readClocks(*this, words);
    const bool skipped = skipWordsBeforeOperations(words);
    readOperations(*this, words.rest());
    return skipped;
}

}  // namespace tarnwick
