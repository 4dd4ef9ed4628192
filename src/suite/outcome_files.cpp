#include "suite/outcome_files.hpp"

namespace tarnwick {

void OutcomeFiles::open(const std::string& solvedFile, const std::string& unsolvedFile) {
    const auto mode = std::ios::out | std::ios::trunc | std::ios::binary;
    if (!solvedFile.empty()) solved_.open(solvedFile, mode);
    if (!unsolvedFile.empty()) unsolved_.open(unsolvedFile, mode);
}

void OutcomeFiles::write(const TestPosition& record, bool solved) {
    std::ofstream& file = solved ? solved_ : unsolved_;
    if (file.is_open()) file << record.toEpd(true) << '\n';
}

void OutcomeFiles::close() {
    if (solved_.is_open()) solved_.close();
    if (unsolved_.is_open()) unsolved_.close();
}

}  // namespace tarnwick
