#include "suite/test_position.hpp"
#include "text/text.hpp"

namespace tarnwick {

namespace {

bool startsWithDigit(std::string_view word) {
    return !word.empty() && word[0] >= '0' && word[0] <= '9';
}

// The operation's text from its n-th character on.
std::string_view restFrom(std::string_view op, size_t n) {
    return n < op.size() ? op.substr(n) : std::string_view{};
}

// Applies one operation, matched by the first rule that fits; unknown ones are dropped.
void applyOperation(TestPosition& p, std::string_view op) {
    auto integer = [&](size_t n) { return atoiValue(restFrom(op, n)); };
    auto moves = [&](size_t n) { return trimmed(restFrom(op, n)); };
    auto text = [&](size_t n) { return readStringOperand(restFrom(op, n)); };
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };

    if (op.starts_with("acd "))
        p.acd = integer(4);
    else if (op.starts_with("acn "))
        p.acn = integer(4);
    else if (op.starts_with("acs "))
        p.acs = integer(4);
    else if (op.starts_with("am "))
        p.am = moves(3);
    else if (op.starts_with("bm "))
        p.bm = moves(3);
    else if (op.size() >= 2 && op[0] == 'c' && isDigit(op[1]))
        p.c[static_cast<size_t>(op[1] - '0')] = text(3);
    else if (op.starts_with("ce "))
        p.ce = integer(3);
    else if (op.starts_with("dm "))
        p.dm = integer(3);
    else if (op.starts_with("draw_accept"))
        p.draw_accept = true;
    else if (op.starts_with("draw_claim"))
        p.draw_claim = true;
    else if (op.starts_with("draw_offer"))
        p.draw_offer = true;
    else if (op.starts_with("draw_reject"))
        p.draw_reject = true;
    else if (op.starts_with("eco "))
        p.eco = text(4);
    else if (op.starts_with("fmvn "))
        p.fmvn = integer(5);
    else if (op.starts_with("hmvc "))
        p.hmvc = integer(5);
    else if (op.starts_with("id "))
        p.id = text(3);
    else if (op.starts_with("nic "))
        p.nic = text(4);
    else if (op.starts_with("pm "))
        p.pm = moves(3);
    else if (op.starts_with("pv "))
        p.pv = moves(3);
    else if (op.starts_with("rc "))
        p.rc = integer(3);
    else if (op.starts_with("resign"))
        p.resign = true;
    else if (op.starts_with("sm "))
        p.sm = moves(3);
    else if (op.starts_with("tcgs "))
        p.tcgs = integer(5);
    else if (op.starts_with("tcri "))
        p.tcri = text(5);
    else if (op.starts_with("tcsi "))
        p.tcsi = text(5);
    else if (op.size() >= 2 && op[0] == 'v' && isDigit(op[1]))
        p.v[static_cast<size_t>(op[1] - '0')] = text(3);
    else if (op.starts_with("vm ")) {
        if (!p.vm.empty()) p.vm += ' ';
        p.vm += trimmedView(restFrom(op, 3));
    }
}

}  // namespace

std::string readStringOperand(std::string_view text) {
    if (text.empty()) return {};
    if (text.front() != '"') return nthToken(text, 1);
    std::string operand;
    for (size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') return operand;
        // A backslash takes the next character literally; a last lone backslash is kept.
        if (c == '\\' && i + 1 < text.size()) {
            operand += text[++i];
        } else {
            operand += c;
        }
    }
    return operand;  // never closed: the whole tail is kept
}

void TestPosition::parseEpd(std::string_view line) {
    const std::string text = collapseBlanks(line);
    clear();
    placement = nthToken(text, 1);
    if (placement.empty()) {
        placement = "8/8/8/8/8/8/8/8";
        side = "w";
        castling = "-";
        enPassant = "-";
        return;
    }
    side = nthToken(text, 2);
    if (side.empty()) {
        side = "w";
        castling = "-";
        enPassant = "-";
        return;
    }
    castling = nthToken(text, 3);
    if (castling.empty()) {
        castling = "-";
        enPassant = "-";
        return;
    }
    enPassant = nthToken(text, 4);
    if (enPassant.empty()) {
        enPassant = "-";
        return;
    }

    size_t offset = placement.size() + side.size() + castling.size() + enPassant.size() + 4;
    if (const std::string_view word5 = nthTokenView(text, 5); startsWithDigit(word5)) {
        hmvc = atoiValue(word5);
        offset += word5.size() + 1;
        if (const std::string_view word6 = nthTokenView(text, 6); startsWithDigit(word6)) {
            fmvn = atoiValue(word6);
            offset += word6.size() + 1;
        }
    }
    if (offset >= text.size()) return;

    // Operations are the runs between ";" (quoted or not); the first empty one ends them.
    const std::string_view ops = std::string_view(text).substr(offset);
    size_t pos = 0;
    while (pos < ops.size()) {
        pos = ops.find_first_not_of(';', pos);
        if (pos == std::string_view::npos) break;
        size_t end = ops.find(';', pos);
        if (end == std::string_view::npos) end = ops.size();
        const std::string_view op = trimmedView(ops.substr(pos, end - pos));
        if (op.empty()) break;
        applyOperation(*this, op);
        pos = end;
    }
}

}  // namespace tarnwick
