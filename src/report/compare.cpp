#include "report/compare.hpp"

#include <algorithm>
#include <cstdint>

#include "epd/set_aside.hpp"
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

Cell cellOf(const ComparedRun& run, std::optional<size_t> index) {
    if (!index) return {};
    const Verdict& verdict = run.results[*index].verdict;
    return {true, verdict.points, verdict.maximum, verdict.solved, verdict.foundTime};
}

std::string cellText(const Cell& cell) {
    if (!cell.present) return "missing";
    std::string text = std::to_string(cell.points) + " ";
    if (!cell.solved) return text + "-";
    return text + (cell.found < 0 ? "?" : centisecondsText(cell.found, 2) + "s");
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

}  // namespace

std::vector<std::vector<std::optional<size_t>>> matchPositions(
    const std::vector<ComparedRun>& runs) {
    std::vector<std::vector<std::optional<size_t>>> rows;
    if (runs.empty()) return rows;
    rows.resize(runs[0].results.size(), std::vector<std::optional<size_t>>(runs.size()));
    const std::vector<std::string> firstKeys = keysOf(runs[0]);
    for (size_t r = 0; r < runs.size(); ++r) {
        // The first run stands for the suite, each run's records for a resumed run's results.
        const auto matches = matchKeys(firstKeys, keysOf(runs[r]));
        for (size_t i = 0; i < matches.size(); ++i) {
            if (matches[i]) rows[*matches[i]][r] = i;
        }
    }
    return rows;
}

std::string compareText(const std::vector<ComparedRun>& runs) {
    if (runs.empty()) return {};
    const auto matches = matchPositions(runs);
    size_t nameWidth = 10;  // "Full score"
    for (const ScoredRecord& scored : runs[0].results) {
        nameWidth = std::max(nameWidth, rowName(scored).size());
    }
    std::vector<size_t> widths;
    for (const ComparedRun& run : runs) widths.push_back(std::max<size_t>(run.name.size(), 12) + 2);

    const auto trimmedLine = [](std::string line) {
        while (!line.empty() && line.back() == ' ') line.pop_back();
        return line + "\n";
    };
    std::string header = "  " + padded("Position", nameWidth + 2);
    for (size_t r = 0; r < runs.size(); ++r) header += padded(runs[r].name, widths[r]);
    std::string text = trimmedLine(header);

    std::vector<int32_t> score(runs.size(), 0);
    std::vector<int32_t> maximum(runs.size(), 0);
    std::vector<int32_t> full(runs.size(), 0);
    std::vector<int64_t> commonTime(runs.size(), 0);
    int32_t commonCount = 0;
    std::vector<std::vector<std::string>> onlyBy(runs.size());
    for (size_t row = 0; row < matches.size(); ++row) {
        std::vector<Cell> cells;
        for (size_t r = 0; r < runs.size(); ++r) cells.push_back(cellOf(runs[r], matches[row][r]));
        const bool differ = std::any_of(cells.begin(), cells.end(), [&](const Cell& c) {
            return c.present != cells[0].present || c.points != cells[0].points;
        });
        std::string line =
            (differ ? "* " : "  ") + padded(rowName(runs[0].results[row]), nameWidth + 2);
        int32_t solvedBy = 0;
        bool allTimed = true;
        for (size_t r = 0; r < runs.size(); ++r) {
            line += padded(cellText(cells[r]), widths[r]);
            score[r] += cells[r].points;
            maximum[r] += cells[r].maximum;
            full[r] += cells[r].solved ? 1 : 0;
            solvedBy += cells[r].solved ? 1 : 0;
            allTimed = allTimed && cells[r].found >= 0;
        }
        text += trimmedLine(line);
        // Only positions every run solved at a known time make a fair mean.
        if (solvedBy == static_cast<int32_t>(runs.size()) && allTimed) {
            ++commonCount;
            for (size_t r = 0; r < runs.size(); ++r) commonTime[r] += cells[r].found;
        }
        if (solvedBy == 1 && runs.size() > 1) {
            for (size_t r = 0; r < runs.size(); ++r) {
                if (cells[r].solved) onlyBy[r].push_back(rowName(runs[0].results[row]));
            }
        }
    }

    const auto totalsLine = [&](const std::string& label, auto cellOfRun) {
        std::string line = "  " + padded(label, nameWidth + 2);
        for (size_t r = 0; r < runs.size(); ++r) line += padded(cellOfRun(r), widths[r]);
        return trimmedLine(line);
    };
    text += "\n";
    text += totalsLine("Score", [&](size_t r) {
        return std::to_string(score[r]) + " of " + std::to_string(maximum[r]);
    });
    text += totalsLine("Full score", [&](size_t r) { return std::to_string(full[r]); });
    text += totalsLine("Mean time", [&](size_t r) {
        return commonCount == 0 ? std::string("-")
                                : centisecondsText(commonTime[r] / commonCount, 2) + "s";
    });
    text +=
        "Mean found time over the " + std::to_string(commonCount) + " positions all runs solved.\n";
    if (runs.size() > 1) {
        for (size_t r = 0; r < runs.size(); ++r) {
            text +=
                "\nSolved only by " + runs[r].name + " (" + std::to_string(onlyBy[r].size()) + "):";
            for (size_t i = 0; i < onlyBy[r].size(); ++i)
                text += (i == 0 ? " " : ", ") + onlyBy[r][i];
            text += "\n";
        }
    }
    return text;
}

}  // namespace tarnwick
