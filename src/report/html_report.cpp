#include "report/html_report.hpp"

#include <algorithm>
#include <string_view>

#include "chess/board.hpp"
#include "report/board_svg.hpp"
#include "report/markup.hpp"
#include "report/outcome_files.hpp"
#include "scoring/puzzle.hpp"
#include "text/seconds_text.hpp"
#include "text/text.hpp"
#include "text/utc_time.hpp"

namespace tarnwick {

namespace {

using Match = std::vector<std::optional<size_t>>;

constexpr std::string_view kStyle =
    "body{font-family:sans-serif;margin:1.5em;color:#222}"
    "h1{font-size:1.5em}h2{font-size:1.2em;margin-top:1.5em}"
    "pre{background:#f5f5f5;padding:.8em;overflow:auto}"
    ".top{display:flex;flex-wrap:wrap;gap:0 2.5em;align-items:flex-start}"
    "#summary pre{max-height:26em}#chart svg{width:600px;max-width:100%;height:auto}"
    "table{border-collapse:collapse}"
    "th,td{border:1px solid #ccc;padding:4px 6px;text-align:left;vertical-align:top}"
    "thead{position:sticky;top:0;background:#fff}"
    "colgroup.run{border-left:3px solid #888}"
    "tr.unsolved td,td.miss{background:#fbe2e2}"
    "td.mark{font-weight:bold;text-align:center;color:#b3261e}"
    "tr.differs td.mark{background:#ffe38a;color:#222}"
    "td.line{max-width:22em}"
    ".fen{font:11px monospace;max-width:176px;overflow-wrap:anywhere;color:#555}"
    ".facts th{white-space:nowrap}.facts pre{margin:0;padding:.3em}";

std::string element(std::string_view tag, std::string_view content,
                    std::string_view attributes = {}) {
    return "<" + std::string(tag) + std::string(attributes) + ">" + std::string(content) + "</" +
           std::string(tag) + ">";
}

std::string cell(std::string_view text, std::string_view attributes = {}) {
    return element("td", markupText(text), attributes);
}

// Lines of text for a <pre>, each escaped.
std::string preformatted(std::string_view text) {
    std::string html;
    forEachLine(text, [&](std::string_view line) { html += markupText(line) + "\n"; });
    html.pop_back();
    return element("pre", html);
}

// The record that stands for a row: the first run's that holds the position, as some run does.
const ScoredRecord& rowRecord(const std::vector<ComparedRun>& runs, const Match& match) {
    const auto held =
        std::find_if(match.begin(), match.end(),
                     [](const std::optional<size_t>& index) { return index.has_value(); });
    const size_t r = static_cast<size_t>(held - match.begin());
    return runs[r].results[**held];
}

// One run's answer to a row's position: its move, points, found time and line.
std::string answerCells(const ComparedRun& run, const std::optional<size_t>& index) {
    if (!index) return cell("not in this file", " colspan=\"4\" class=\"miss\"");
    const ScoredRecord& scored = run.results[*index];
    const Verdict& verdict = scored.verdict;
    const std::string_view tint = verdict.solved ? "" : " class=\"miss\"";
    const TestPosition& record = scored.record;
    // A puzzle's answer is every move the engine played, and where it went wrong.
    const bool puzzle = verdict.puzzle;
    std::string line = record.pv;
    if (puzzle && record.puzzle_failed > 0) {
        line = "missed at step " + std::to_string(record.puzzle_failed);
    }
    return cell(puzzle ? record.puzzle_played : record.pm, tint) +
           cell(std::to_string(verdict.points) + " of " + std::to_string(verdict.maximum), tint) +
           cell(foundTimeText(verdict.solved, verdict.foundTime, " s"), tint) +
           cell(line, verdict.solved ? " class=\"line\"" : " class=\"line miss\"");
}

// What the position asks for: its best moves, the mate a mate test wants, or a puzzle's whole
// solution with its rating.
std::string expectedText(const ScoredRecord& scored) {
    const TestPosition& record = scored.record;
    if (scored.verdict.puzzle) {
        std::string line;
        for (const PuzzleStep& step : puzzleSteps(record)) {
            line += (line.empty() ? "" : " " + step.opponentMove + " ") + step.position.bm;
        }
        return line + " (rating " + std::to_string(record.puzzle_rating) + ")";
    }
    std::string text = record.bm;
    if (!record.dm.empty()) text += (text.empty() ? "" : ", ") + ("mate in " + record.dm);
    return text;
}

// A position's row: its mark, board, id and moves asked for, then each run's answer.
std::string positionRow(const std::vector<ComparedRun>& runs, const Match& match, bool differs) {
    const ScoredRecord& shown = rowRecord(runs, match);
    const TestPosition& record = shown.record;
    bool solved = false;
    for (size_t r = 0; r < runs.size(); ++r) {
        solved = solved || (match[r] && runs[r].results[*match[r]].verdict.solved);
    }
    const std::string classes =
        std::string(differs ? " differs" : "") + (solved ? "" : " unsolved");
    const std::string mark = std::string(differs ? "\u2260" : "") + (solved ? "" : "\u2717");
    Board board;
    board.setFromFen(record.fenText());
    const std::string diagram =
        boardSvg(board, expectedMove(board, record, shown.verdict.mateTest)) +
        element("div", markupText(record.fenText()), " class=\"fen\"");
    std::string row = "<tr" + (classes.empty() ? "" : " class=\"" + classes.substr(1) + "\"") +
                      ">" + cell(mark, " class=\"mark\"") + element("td", diagram) +
                      cell(record.id, " class=\"id\"") + cell(expectedText(shown)) +
                      cell(record.am);
    for (size_t r = 0; r < runs.size(); ++r) row += answerCells(runs[r], match[r]);
    return row + "</tr>\n";
}

// The column groups and headings: the position's columns, then four under each run's name.
std::string tableHead(const std::vector<ComparedRun>& runs) {
    std::string head = "<colgroup span=\"5\"></colgroup>";
    std::string names, fields;
    for (const ComparedRun& run : runs) {
        head += "<colgroup span=\"4\" class=\"run\"></colgroup>";
        names += element("th", markupText(run.name), " colspan=\"4\"");
        fields += "<th>Move</th><th>Points</th><th>Found</th><th>Line</th>";
    }
    return head +
           "<thead><tr><th rowspan=\"2\"></th><th rowspan=\"2\">Position</th>"
           "<th rowspan=\"2\">Id</th><th rowspan=\"2\">Expected</th><th rowspan=\"2\">Avoid</th>" +
           names + "</tr><tr>" + fields + "</tr></thead>\n";
}

// A row per position, those where the runs differ first; otherwise in the first run's order.
std::string positionsTable(const std::vector<ComparedRun>& runs) {
    if (runs.empty()) return {};
    std::vector<Match> matches = matchPositions(runs);
    const auto same = std::stable_partition(matches.begin(), matches.end(),
                                            [&](const Match& m) { return rowDiffers(runs, m); });
    std::string table = "<table class=\"positions\">" + tableHead(runs) + "<tbody>\n";
    for (auto it = matches.begin(); it != matches.end(); ++it) {
        table += positionRow(runs, *it, it < same);
    }
    return table + "</tbody></table>\n";
}

// The limits the run set, each once.
std::string limitsText(const RunFacts& facts) {
    const SearchLimits& limits = facts.limits;
    std::string text =
        secondsText(static_cast<double>(limits.msPerPosition) / 1000.0) + " per position";
    if (limits.depth > 0) text += ", depth " + std::to_string(limits.depth);
    if (limits.nodes > 0) text += ", " + std::to_string(limits.nodes) + " nodes";
    if (facts.multipv > 0) text += ", multipv " + std::to_string(facts.multipv);
    if (limits.earlyStopMs) {
        text +=
            ", early stop after " + secondsText(static_cast<double>(*limits.earlyStopMs) / 1000);
    }
    return text + ", move timeout " +
           (limits.moveTimeoutSeconds > 0 ? secondsText(limits.moveTimeoutSeconds) : "none");
}

std::string factRow(std::string_view name, std::string_view html) {
    return "<tr>" + element("th", name) + element("td", html) + "</tr>\n";
}

std::string factsSection(const HtmlReport& report) {
    std::string rows = factRow("Program", markupText(report.program));
    if (const std::optional<RunFacts>& facts = report.facts) {
        std::string setup;
        for (size_t i = 0; i < facts->engineSetup.size(); ++i) {
            setup += (i == 0 ? "" : "\n") + facts->engineSetup[i];
        }
        std::string machine = markupText(facts->cpu.empty() ? "processor not known" : facts->cpu);
        if (facts->cores > 0) machine += ", " + std::to_string(facts->cores) + " cores";
        rows += factRow("Engine", markupText(facts->engine)) +
                factRow("Set up with", preformatted(setup)) +
                factRow("Limits", markupText(limitsText(*facts))) + factRow("Machine", machine) +
                factRow("Started", utcTimeText(facts->started)) +
                factRow("Ended", utcTimeText(facts->ended));
    }
    std::string files;
    for (const std::string& file : report.files) {
        files += (files.empty() ? "" : "<br>") + markupText(file);
    }
    rows += factRow("Files", files);
    const std::string_view note =
        report.facts ? ""
                     : "<p>Made from result files alone: they do not tell how the engine was set "
                       "up, nor its limits or machine.</p>";
    return "<section id=\"repeat\"><h2>To run it again</h2><table class=\"facts\">" + rows +
           "</table>" + std::string(note) + "</section>\n";
}

}  // namespace

std::string htmlReport(const HtmlReport& report) {
    const std::string title = markupText(report.title);
    const std::string chart = solutionChartSvg(report.chart);
    std::string page = "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">" +
                       element("title", title) + element("style", kStyle) + "</head><body>\n";
    page += boardDefinitions() + element("h1", title) + "\n";
    // The figures and the chart side by side, so that the positions start on the first screen.
    page += "<div class=\"top\"><section id=\"summary\"><h2>Report</h2>" +
            preformatted(report.summary) + "</section>\n";
    page += "<section id=\"chart\"><h2>Solution times</h2>" + chart + "</section></div>\n";
    page += "<section id=\"positions\"><h2>Positions</h2>" + positionsTable(report.runs) +
            "</section>\n";
    return page + factsSection(report) + "</body></html>\n";
}

std::string writeHtmlFile(const std::string& path, const HtmlReport& report) {
    return writeWholeFile(path, htmlReport(report));
}

}  // namespace tarnwick
