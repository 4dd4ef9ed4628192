#include "report/compare.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "epd/set_aside.hpp"
#include "report/mcnemar.hpp"
#include "report/report.hpp"
#include "text/seconds_text.hpp"

namespace tarnwick {

namespace {

// What one run did with one position.
struct Cell {
    bool present = false;
    int32_t points = 0;
    int32_t maximum = 0;
    bool solved = false;
    int32_t found = -1;  // hundredths of a second; -1: not known
};

// A position of the comparison: its name and what each run did with it.
struct Row {
    std::string name;
    std::vector<Cell> cells;
    bool differs = false;
};

// One run's sums over a set of positions.
struct Tally {
    int32_t positions = 0;
    int32_t score = 0;
    int32_t maximum = 0;
    int32_t full = 0;
};

// Column widths: the position names', then each run's.
struct Columns {
    size_t name = 10;  // "Full score"
    std::vector<size_t> runs;
};

Cell cellOf(const ComparedRun& run, std::optional<size_t> index) {
    if (!index) return {};
    const Verdict& verdict = run.results[*index].verdict;
    return {true, verdict.points, verdict.maximum, verdict.solved, verdict.foundTime};
}

std::string cellText(const Cell& cell) {
    if (!cell.present) return "-";
    return std::to_string(cell.points) + " " + foundTimeText(cell.solved, cell.found, "s");
}

std::string padded(std::string text, size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

std::string rowName(const ScoredRecord& scored) {
    return scored.record.id.empty() ? scored.record.fenText() : scored.record.id;
}

std::vector<std::string> keysOf(const ComparedRun& run) {
    std::vector<std::string> keys;
    keys.reserve(run.results.size());
    for (const ScoredRecord& scored : run.results) keys.push_back(positionKey(scored.record));
    return keys;
}

// The rows of the comparison, each named after the first run that holds its position.
std::vector<Row> rowsOf(const std::vector<ComparedRun>& runs) {
    std::vector<Row> rows;
    for (const auto& match : matchPositions(runs)) {
        Row row;
        for (size_t r = 0; r < runs.size(); ++r) {
            if (match[r] && row.name.empty()) row.name = rowName(runs[r].results[*match[r]]);
            row.cells.push_back(cellOf(runs[r], match[r]));
        }
        row.differs = rowDiffers(runs, match);
        rows.push_back(std::move(row));
    }
    return rows;
}

// A line of the table without its trailing blanks; mark is "* " or "  ".
std::string tableLine(const Columns& columns, std::string_view mark, const std::string& name,
                      const std::vector<std::string>& cells) {
    std::string line = std::string(mark) + padded(name, columns.name + 2);
    for (size_t r = 0; r < cells.size(); ++r) line += padded(cells[r], columns.runs[r]);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line + "\n";
}

void add(Tally& tally, const Cell& cell) {
    tally.positions += 1;
    tally.score += cell.points;
    tally.maximum += cell.maximum;
    tally.full += cell.solved ? 1 : 0;
}

// The score lines of one set of positions per run; with the count of positions when asked.
std::string tallyText(const Columns& columns, const std::vector<Tally>& tallies, bool counted) {
    std::vector<std::string> positions, score, full;
    for (const Tally& tally : tallies) {
        positions.push_back(std::to_string(tally.positions));
        score.push_back(std::to_string(tally.score) + " of " + std::to_string(tally.maximum));
        full.push_back(std::to_string(tally.full));
    }
    return (counted ? tableLine(columns, "  ", "Positions", positions) : "") +
           tableLine(columns, "  ", "Score", score) + tableLine(columns, "  ", "Full score", full);
}

// The mean found time of each run over the positions all runs solved at a known time, the only
// positions that make a fair mean; then what it is over.
std::string meanTimeText(const Columns& columns, const std::vector<Row>& rows) {
    std::vector<int64_t> sums(columns.runs.size(), 0);
    int32_t count = 0;
    for (const Row& row : rows) {
        if (!std::all_of(row.cells.begin(), row.cells.end(),
                         [](const Cell& c) { return c.solved && c.found >= 0; }))
            continue;
        ++count;
        for (size_t r = 0; r < sums.size(); ++r) sums[r] += row.cells[r].found;
    }
    std::vector<std::string> means;
    for (int64_t sum : sums)
        means.push_back(count == 0 ? std::string("-") : centisecondsText(sum / count, 2) + "s");
    return tableLine(columns, "  ", "Mean time", means) + "Mean found time over the " +
           std::to_string(count) + " positions all runs solved.\n";
}

// For each run after the first, over the positions both hold, how many each of the two solved
// that the other did not, and the chance of a split at least as uneven between equals.
std::string pairedTestText(const std::vector<ComparedRun>& runs, const std::vector<Row>& rows) {
    std::string text = "\n";
    for (size_t r = 1; r < runs.size(); ++r) {
        int64_t firstOnly = 0;
        int64_t runOnly = 0;
        for (const Row& row : rows) {
            const Cell& first = row.cells[0];
            const Cell& other = row.cells[r];
            if (!first.present || !other.present || first.solved == other.solved) continue;
            ++(first.solved ? firstOnly : runOnly);
        }
        char p[32];
        std::snprintf(p, sizeof p, "%.3f", exactMcNemarP(firstOnly, runOnly));
        text += "Solved by one run only: " + runs[0].name + " " + std::to_string(firstOnly) + ", " +
                runs[r].name + " " + std::to_string(runOnly) + "; exact McNemar p = " + p + "\n";
    }
    return text;
}

// For each run, the positions no other run solved.
std::string solvedOnlyText(const std::vector<ComparedRun>& runs, const std::vector<Row>& rows) {
    std::string text;
    for (size_t r = 0; r < runs.size(); ++r) {
        std::vector<std::string> names;
        for (const Row& row : rows) {
            const auto solvers = std::count_if(row.cells.begin(), row.cells.end(),
                                               [](const Cell& c) { return c.solved; });
            if (solvers == 1 && row.cells[r].solved) names.push_back(row.name);
        }
        text += "\nSolved only by " + runs[r].name + " (" + std::to_string(names.size()) + "):";
        for (size_t i = 0; i < names.size(); ++i) text += (i == 0 ? " " : ", ") + names[i];
        text += "\n";
    }
    return text;
}

}  // namespace

std::string foundTimeText(bool solved, int32_t foundTime, std::string_view unit) {
    if (!solved) return "-";
    return foundTime < 0 ? "?" : centisecondsText(foundTime, 2) + std::string(unit);
}

std::vector<std::vector<std::optional<size_t>>> matchPositions(
    const std::vector<ComparedRun>& runs) {
    std::vector<std::vector<std::optional<size_t>>> rows;
    std::vector<std::string> rowKeys;
    for (size_t r = 0; r < runs.size(); ++r) {
        // The rows so far stand for the suite, the run's records for a resumed run's results;
        // a record that matches no row opens one.
        const std::vector<std::string> keys = keysOf(runs[r]);
        const auto matches = matchKeys(rowKeys, keys);
        for (size_t i = 0; i < matches.size(); ++i) {
            const size_t row = matches[i].value_or(rows.size());
            if (!matches[i]) {
                rows.emplace_back(runs.size());
                rowKeys.push_back(keys[i]);
            }
            rows[row][r] = i;
        }
    }
    return rows;
}

bool rowDiffers(const std::vector<ComparedRun>& runs,
                const std::vector<std::optional<size_t>>& row) {
    const Cell first = cellOf(runs[0], row[0]);
    for (size_t r = 1; r < runs.size(); ++r) {
        const Cell cell = cellOf(runs[r], row[r]);
        if (cell.present != first.present || cell.points != first.points) return true;
    }
    return false;
}

std::string compareText(const std::vector<ComparedRun>& runs) {
    if (runs.empty()) return {};
    const std::vector<Row> rows = rowsOf(runs);
    Columns columns;
    for (const Row& row : rows) columns.name = std::max(columns.name, row.name.size());
    std::vector<std::string> names;
    for (const ComparedRun& run : runs) {
        columns.runs.push_back(std::max<size_t>(run.name.size(), 12) + 2);
        names.push_back(run.name);
    }

    std::string text = tableLine(columns, "  ", "Position", names);
    std::vector<Tally> own(runs.size());
    std::vector<Tally> shared(runs.size());
    for (const Row& row : rows) {
        std::vector<std::string> cells;
        for (const Cell& cell : row.cells) cells.push_back(cellText(cell));
        text += tableLine(columns, row.differs ? "* " : "  ", row.name, cells);
        const bool held = std::all_of(row.cells.begin(), row.cells.end(),
                                      [](const Cell& c) { return c.present; });
        for (size_t r = 0; r < runs.size(); ++r) {
            if (row.cells[r].present) add(own[r], row.cells[r]);
            if (held) add(shared[r], row.cells[r]);
        }
    }

    text += "\nEach run's own positions:\n" + tallyText(columns, own, true);
    text += "\nPositions all runs hold (" + std::to_string(shared[0].positions) + "):\n" +
            tallyText(columns, shared, false) + meanTimeText(columns, rows);
    if (runs.size() > 1) text += pairedTestText(runs, rows) + solvedOnlyText(runs, rows);
    return text;
}

}  // namespace tarnwick
