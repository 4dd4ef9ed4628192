#include "suite/test_position.hpp"
#include "text/text.hpp"

namespace tarnwick {

namespace {

class EpdWriter {
  public:
    explicit EpdWriter(std::string& out) : out_(out) {}

    void integer(std::string_view opcode, int32_t value) {
        if (value == 0) return;
        out_.append(opcode).append(" ").append(std::to_string(value)).append("; ");
    }
    void moves(std::string_view opcode, const std::string& value) {
        if (value.empty()) return;
        out_.append(opcode).append(" ").append(value).append("; ");
    }
    void flag(std::string_view opcode, bool value) {
        if (value) out_.append(opcode).append("; ");
    }
    // A quoted operand; quotes and backslashes are escaped so the line reads back unchanged,
    // and so is a blank after a blank ("\ "), which the reader would otherwise collapse.
    void text(std::string_view opcode, const std::string& value) {
        if (value.empty()) return;
        out_.append(opcode).append(" \"");
        char previous = '\0';
        for (const char c : value) {
            const bool secondBlank = c == ' ' && kBlanks.find(previous) != std::string_view::npos;
            if (c == '"' || c == '\\' || secondBlank) out_ += '\\';
            out_ += c;
            previous = c;
        }
        out_.append("\"; ");
    }
    void indexed(char letter, const std::array<std::string, 10>& values) {
        for (size_t i = 0; i < values.size(); ++i) {
            text(std::string{letter, static_cast<char>('0' + i)}, values[i]);
        }
    }
    // One "vm" operation per move, each move followed by its number when one comes next.
    void variationMoves(const std::string& value) {
        std::string_view rest = value;
        std::string_view move = nthTokenView(rest, 1);
        while (!move.empty()) {
            rest = rest.substr(static_cast<size_t>(move.data() + move.size() - rest.data()));
            out_.append("vm ").append(move);
            std::string_view next = nthTokenView(rest, 1);
            if (!next.empty() && isNumber(next, 0)) {
                out_.append(" ").append(next);
                rest = rest.substr(static_cast<size_t>(next.data() + next.size() - rest.data()));
                next = nthTokenView(rest, 1);
            }
            out_.append("; ");
            move = next;
        }
    }

  private:
    std::string& out_;
};

}  // namespace

std::string TestPosition::toEpd(bool omitAnalysis) const {
    std::string line;
    line.reserve(placement.size() + am.size() + bm.size() + pv.size() + id.size() + c[0].size() +
                 c[1].size() + 96);
    line.append(placement).append(" ").append(side).append(" ").append(castling).append(" ");
    line.append(enPassant).append(" ");
    EpdWriter w(line);
    const bool analysis = !omitAnalysis;
    if (analysis) {
        w.integer("acd", acd);
        w.integer("acn", acn);
        w.integer("acs", acs);
    }
    w.moves("am", am);
    w.moves("bm", bm);
    w.indexed('c', c);
    if (analysis) w.integer("ce", ce);
    w.integer("dm", dm);
    w.flag("draw_accept", draw_accept);
    w.flag("draw_claim", draw_claim);
    w.flag("draw_offer", draw_offer);
    w.flag("draw_reject", draw_reject);
    w.text("eco", eco);
    w.integer("fmvn", fmvn);
    w.integer("hmvc", hmvc);
    w.text("id", id);
    w.text("nic", nic);
    if (analysis) {
        w.moves("pm", pm);
        w.moves("pv", pv);
    }
    w.integer("rc", rc);
    w.flag("resign", resign);
    w.moves("sm", sm);
    w.integer("tcgs", tcgs);
    w.text("tcri", tcri);
    w.text("tcsi", tcsi);
    w.indexed('v', v);
    w.variationMoves(vm);
    return trimmed(line);
}

}  // namespace tarnwick
