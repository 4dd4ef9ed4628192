#include "cli/program.hpp"

#include "cli/command_line.hpp"
#include "cli/usage_text.hpp"
#include "platform/console.hpp"
#include "platform/system.hpp"
#include "report/compare_run.hpp"
#include "run/exit_status.hpp"
#include "run/output_checks.hpp"
#include "run/run.hpp"
#include "text/version.hpp"

namespace tarnwick {

int runTests(const std::vector<std::string>& words) {
    ignoreBrokenPipeSignal();
    ConsoleOutput console;
    RunSettings s;
    const CommandLineResult parsed = parseCommandLine(words, s);
    if (!parsed.error.empty()) {
        console.write(parsed.error + "\n" + usageText());
        return kExitUsage;
    }
    if (parsed.request == CommandLineRequest::Version) {
        console.write(programVersion() + "\n");
        return kExitOk;
    }
    if (parsed.request == CommandLineRequest::Help) {
        console.write(helpText());
        return kExitOk;
    }
    if (s.compareFiles.empty() && s.engine.command.empty() && s.inputFile.empty() &&
        s.resultFile.empty()) {
        console.write(usageText());
        return kExitOk;
    }
    // Before anything is read or written, a comparison included.
    if (const std::string conflict = overwriteConflict(s); !conflict.empty()) {
        console.write(conflict + "\n" + usageText());
        return kExitUsage;
    }
    if (!s.compareFiles.empty()) {
        return compareResultFiles(s.compareFiles, s.plotFile, s.htmlFile, console) ? kExitOk
                                                                                   : kExitFailure;
    }
    if (const std::string unusable = completeSettings(s); !unusable.empty()) {
        console.write(unusable + "\n" + usageText());
        return kExitUsage;
    }
    return runSuite(std::move(s), std::move(console));
}

}  // namespace tarnwick
