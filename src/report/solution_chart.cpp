#include "report/solution_chart.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "report/markup.hpp"
#include "report/outcome_files.hpp"
#include "report/report.hpp"
#include "text/seconds_text.hpp"

namespace tarnwick {

namespace {

constexpr double kWidth = 900;
constexpr double kHeight = 600;
constexpr double kLeft = 80;  // the plot area inside the picture
constexpr double kRight = 860;
constexpr double kTop = 60;
constexpr double kBottom = 520;
constexpr double kMinSeconds = 0.01;

// Told apart in colour and by people with the common colour blindnesses.
constexpr std::array<std::string_view, 6> kColours = {"#1f5fbf", "#d62728", "#2ca02c",
                                                      "#ff7f0e", "#8c3fbf", "#7f7f7f"};

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

struct Axes {
    double maxSeconds;
    int32_t maxCount;

    double x(double seconds) const {
        const double clamped = std::clamp(seconds, kMinSeconds, maxSeconds);
        return kLeft + (kRight - kLeft) * std::log10(clamped / kMinSeconds) /
                           std::log10(maxSeconds / kMinSeconds);
    }
    double y(int32_t count) const {
        return kBottom - (kBottom - kTop) * count / std::max(maxCount, 1);
    }
};

std::string textAt(double x, double y, std::string_view anchor, std::string_view content,
                   std::string_view extra = {}) {
    return "<text x=\"" + number(x) + "\" y=\"" + number(y) + "\" text-anchor=\"" +
           std::string(anchor) + "\"" + std::string(extra) + ">" + std::string(content) +
           "</text>\n";
}

std::string line(double x1, double y1, double x2, double y2, std::string_view style) {
    return "<line x1=\"" + number(x1) + "\" y1=\"" + number(y1) + "\" x2=\"" + number(x2) +
           "\" y2=\"" + number(y2) + "\" " + std::string(style) + "/>\n";
}

// Decades from 0.01 s, and the end of the axis.
std::string timeAxis(const Axes& axes) {
    std::string svg;
    for (double t = kMinSeconds; t < axes.maxSeconds * 0.999; t *= 10) {
        const double x = axes.x(t);
        svg += line(x, kTop, x, kBottom, "stroke=\"#dddddd\"");
        svg += textAt(x, kBottom + 20, "middle", secondsText(t));
    }
    svg += textAt(kRight, kBottom + 20, "middle", secondsText(axes.maxSeconds));
    svg += textAt((kLeft + kRight) / 2, kBottom + 50, "middle", "Time (seconds, logarithmic)");
    return svg;
}

std::string countAxis(const Axes& axes) {
    static constexpr std::array<int32_t, 12> kSteps = {1,   2,   5,   10,   20,   50,
                                                       100, 200, 500, 1000, 2000, 5000};
    int32_t step = kSteps.back();
    for (const int32_t s : kSteps) {
        if (axes.maxCount / s <= 10) {
            step = s;
            break;
        }
    }
    std::string svg;
    for (int32_t count = 0; count <= axes.maxCount; count += step) {
        const double y = axes.y(count);
        svg += line(kLeft, y, kRight, y, "stroke=\"#dddddd\"");
        svg += textAt(kLeft - 8, y + 5, "end", std::to_string(count));
    }
    svg += "<text transform=\"translate(25 " + number((kTop + kBottom) / 2) +
           ") rotate(-90)\" text-anchor=\"middle\">Positions solved</text>\n";
    return svg;
}

// The run's count of solved positions as a step line: it rises at each found time.
std::string stepLine(const Axes& axes, std::vector<double> times, std::string_view colour) {
    std::sort(times.begin(), times.end());
    int32_t count = 0;
    size_t i = 0;
    while (i < times.size() && times[i] <= kMinSeconds) {
        ++count;
        ++i;
    }
    std::string path = "M" + number(axes.x(kMinSeconds)) + " " + number(axes.y(count));
    for (; i < times.size(); ++i) {
        ++count;
        if (i + 1 < times.size() && times[i + 1] == times[i]) continue;
        path += " H" + number(axes.x(times[i])) + " V" + number(axes.y(count));
    }
    path += " H" + number(axes.x(axes.maxSeconds));
    return "<path d=\"" + path + "\" fill=\"none\" stroke=\"" + std::string(colour) +
           "\" stroke-width=\"3\"/>\n";
}

std::string legend(const SolutionChart& chart) {
    std::string svg;
    double y = kTop + 20;
    for (size_t i = 0; i < chart.runs.size(); ++i) {
        const ChartRun& run = chart.runs[i];
        const std::string_view colour = kColours[i % kColours.size()];
        svg += line(kLeft + 15, y - 5, kLeft + 45, y - 5,
                    "stroke=\"" + std::string(colour) + "\" stroke-width=\"3\"");
        svg += textAt(kLeft + 52, y, "start",
                      markupText(run.name) + " (" + std::to_string(run.solvedSeconds.size()) + ")");
        y += 22;
    }
    return svg;
}

}  // namespace

ChartRun chartRunOf(std::string name, const std::vector<ScoredRecord>& results, int64_t wholeTime) {
    ChartRun run{std::move(name), {}};
    for (const ScoredRecord& scored : results) {
        if (scored.verdict.solved)
            run.solvedSeconds.push_back(solvedTime(scored.verdict, wholeTime) / 100.0);
    }
    return run;
}

std::string solutionChartSvg(const SolutionChart& chart) {
    int32_t maxCount = std::max(chart.positions, 1);
    for (const ChartRun& run : chart.runs) {
        maxCount = std::max(maxCount, static_cast<int32_t>(run.solvedSeconds.size()));
    }
    const Axes axes{std::max(chart.maxSeconds, kMinSeconds * 10), maxCount};
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + number(kWidth) +
                      "\" height=\"" + number(kHeight) + "\" viewBox=\"0 0 " + number(kWidth) +
                      " " + number(kHeight) + "\" font-family=\"sans-serif\" font-size=\"14\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    svg += textAt(kWidth / 2, 32, "middle",
                  markupText(chart.suiteName) + ": " + std::to_string(chart.positions) +
                      " positions, solved with full points by time",
                  " font-size=\"18\" font-weight=\"bold\"");
    svg += timeAxis(axes);
    svg += countAxis(axes);
    svg += "<rect x=\"" + number(kLeft) + "\" y=\"" + number(kTop) + "\" width=\"" +
           number(kRight - kLeft) + "\" height=\"" + number(kBottom - kTop) +
           "\" fill=\"none\" stroke=\"#333333\"/>\n";
    for (size_t i = 0; i < chart.runs.size(); ++i) {
        svg += stepLine(axes, chart.runs[i].solvedSeconds, kColours[i % kColours.size()]);
    }
    svg += legend(chart);
    return svg + "</svg>\n";
}

std::string writeChartFile(const std::string& path, const SolutionChart& chart) {
    // A file of its own is an XML document, which the page's inline chart is not.
    return writeWholeFile(path,
                          "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + solutionChartSvg(chart));
}

}  // namespace tarnwick
