#include "report/outcome_files.hpp"

namespace tarnwick {

namespace {

std::string cannotWrite(const std::string& name, const std::string& reason) {
    return "Cannot write to " + name + ": " + reason;
}

}  // namespace

std::string OutcomeFiles::open(const std::string& solvedFile, const std::string& unsolvedFile) {
    const std::string solvedFailure = open(solved_, solvedFile);
    const std::string unsolvedFailure = open(unsolved_, unsolvedFile);
    return solvedFailure.empty() ? unsolvedFailure : solvedFailure;
}

std::string OutcomeFiles::open(Target& target, const std::string& name) {
    target.name = name;
    if (name.empty()) return {};
    std::string reason;
    if (target.file.create(name, reason)) return {};
    return cannotWrite(name, reason);
}

std::string OutcomeFiles::write(const TestPosition& record, bool solved) {
    Target& target = solved ? solved_ : unsolved_;
    if (!target.file.isOpen()) return {};
    std::string reason;
    if (target.file.write(record.toEpd(true) + '\n', reason)) return {};
    // Closed at once, so the failure is told once and the rest is not tried.
    std::string ignored;
    target.file.close(ignored);
    return cannotWrite(target.name, reason);
}

std::string OutcomeFiles::close() {
    const std::string solvedFailure = closeOne(solved_);
    const std::string unsolvedFailure = closeOne(unsolved_);
    return solvedFailure.empty() ? unsolvedFailure : solvedFailure;
}

std::string OutcomeFiles::closeOne(Target& target) {
    std::string reason;
    if (target.file.close(reason)) return {};
    return cannotWrite(target.name, reason);
}

std::string checkCanCreate(const std::string& path) {
    if (path.empty()) return {};
    std::string reason;
    if (createWithoutTruncating(path, reason)) return {};
    return cannotWrite(path, reason);
}

std::string writeWholeFile(const std::string& path, std::string_view text) {
    OutputFile file;
    std::string reason;
    if (file.create(path, reason) && file.write(text, reason) && file.close(reason)) return {};
    return cannotWrite(path, reason);
}

}  // namespace tarnwick
