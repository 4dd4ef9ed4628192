#include "report/chart_file.hpp"

#include "platform/output_file.hpp"
#include "text/text.hpp"

namespace tarnwick {

std::string writeChartFile(const std::string& path, const SolutionChart& chart) {
    OutputFile file;
    std::string reason;
    if (file.create(path, reason) && file.write(solutionChartSvg(chart), reason) &&
        file.close(reason)) {
        return {};
    }
    return "Cannot write to " + path + ": " + reason;
}

std::string baseName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

SolutionChart runChart(const RunSettings& settings, const std::string& engineName,
                       const std::vector<TestPosition>& results) {
    SolutionChart chart;
    chart.suiteName =
        baseName(settings.inputFile.empty() ? settings.resultFile : settings.inputFile);
    chart.positions = static_cast<int32_t>(results.size());
    chart.maxSeconds = static_cast<double>(settings.msPerPosition) / 1000.0;
    std::string engine = engineName;
    if (engine.empty()) engine = baseName(nthToken(settings.engineCommand, 1));
    if (engine.empty()) engine = baseName(settings.resultFile);
    const auto wholeTime = static_cast<int32_t>(settings.msPerPosition / 10);
    chart.runs.push_back(chartRunOf(engine, results, wholeTime));
    return chart;
}

}  // namespace tarnwick
