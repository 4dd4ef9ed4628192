#include "report/chart_file.hpp"

#include "platform/output_file.hpp"

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

}  // namespace tarnwick
