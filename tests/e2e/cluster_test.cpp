// The cluster recipes in docs/cluster, run as a user would run them: their merged results
// must report as one serial run of the whole suite does.
#include "support/test_paths.hpp"
#if defined(HAVE_TEST_ENGINE) && !defined(_WIN32)

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "e2e/harness.hpp"

namespace tarnwick::e2e {
namespace {

const std::filesystem::path kRecipes =
    std::filesystem::path(EXAMPLES_DIR).parent_path() / "docs" / "cluster";

// The options and engine of every run here: a depth-limited search gives the same moves
// however the positions are spread over processes and machines.
const std::string kEngineLine =
    std::string("--depth 3 --time=2 /u /a 0 ") + TEST_ENGINE_BINARY + " --search";

std::string quoted(const std::string& word) {
    std::string text = "'";
    for (const char c : word) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}

struct Shell {
    std::string output;  // standard output and standard error
    int status = -1;     // exit code, or -1 when it did not exit
};

// Runs a command line with sh, its standard input empty and its standard error with the
// output.
Shell shell(const std::string& command) {
    Shell result;
    FILE* pipe = ::popen(("exec </dev/null 2>&1; " + command).c_str(), "r");
    if (pipe == nullptr) return result;
    std::array<char, 4096> buffer{};
    for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
        result.output.append(buffer.data(), n);
    }
    const int status = ::pclose(pipe);
    if (status != -1 && WIFEXITED(status)) result.status = WEXITSTATUS(status);
    return result;
}

bool haveCommand(const std::string& name) {
    return shell("command -v " + name + " >/dev/null").status == 0;
}

// A suite of the first ten WAC positions in the folder, and the report of one serial run.
std::string suiteAndSerialReport(const TempDirectory& dir) {
    const std::string suite = wacPositions(10);
    writeFile(dir / "suite.epd", suite);
    const RunResult serial =
        runTarnwick({"--depth", "3", "/u", "/i", (dir / "suite.epd").string(), "/o",
                     (dir / "whole.epd").string(), "/a", "0", TEST_ENGINE_BINARY, "--search"});
    EXPECT_EQ(serial.exitStatus, 0) << serial.output;
    EXPECT_NE(serial.output.find("Number of tests:                       10\n"), std::string::npos)
        << serial.output;
    return reportWithoutTimes(serial.output);
}

size_t recordsIn(const std::filesystem::path& file) {
    return readLines(file).size();
}

// The parallel recipe in the folder: shards, output folder and hosts as the environment
// words say. HOME is the folder too, for what GNU parallel keeps there.
Shell parallelShards(const TempDirectory& dir, const std::string& environment,
                     const std::string& out) {
    return shell("cd " + quoted(dir.path().string()) + " && HOME=" + quoted(dir.path().string()) +
                 " " + environment + " " + quoted((kRecipes / "parallel-shards.sh").string()) +
                 " " + quoted(TARNWICK_BINARY) + " suite.epd 2 " + out + " " + kEngineLine);
}

// Hosts reached through a stand-in for ssh that runs every command on this machine; rsync
// goes through it too. Its sessions have SHELL set, as an ssh login's do, unless told not to.
std::string standInHosts(const TempDirectory& dir, bool loginShell = true) {
    writeFile(dir / "ssh", std::string("#!/bin/sh\nshift\n[ \"$1\" = -- ] && shift\n") +
                               (loginShell ? "SHELL=/bin/sh exec" : "exec env -u SHELL") +
                               " sh -c \"$*\"\n");
    std::filesystem::permissions(dir / "ssh", std::filesystem::perms::owner_all);
    return "PARALLEL_SSH=" + quoted((dir / "ssh").string()) + " HOSTS=node1,node2";
}

TEST(Cluster, GnuParallelShardsReportAsTheWholeSuite) {
    if (!haveCommand("parallel")) GTEST_SKIP() << "GNU parallel is not installed";
    TempDirectory dir("parallel");
    const std::string serial = suiteAndSerialReport(dir);

    Shell local = parallelShards(dir, "", "out");
    ASSERT_EQ(local.status, 0) << local.output;
    EXPECT_EQ(recordsIn(dir / "out" / "part-0.epd"), 5u);
    EXPECT_EQ(recordsIn(dir / "out" / "part-1.epd"), 5u);
    EXPECT_EQ(reportWithoutTimes(local.output), serial) << local.output;
    // The merged report counts a wrong answer as the shards' time per position.
    EXPECT_NE(local.output.find("(wrong answer=2s)"), std::string::npos) << local.output;

    // Run again, every shard is already complete: nothing is tested twice.
    local = parallelShards(dir, "", "out");
    ASSERT_EQ(local.status, 0) << local.output;
    EXPECT_EQ(recordsIn(dir / "out" / "merged.epd"), 10u);
    EXPECT_EQ(readFile(dir / "out" / "part-0.log").find(" Id: "), std::string::npos);
    EXPECT_EQ(reportWithoutTimes(local.output), serial) << local.output;

    // Hosts that share the folder: the remote form's quoting and working folder.
    const Shell hosts = parallelShards(dir, standInHosts(dir) + " SHARED=1", "shared");
    ASSERT_EQ(hosts.status, 0) << hosts.output;
    EXPECT_EQ(reportWithoutTimes(hosts.output), serial) << hosts.output;

    // Without SHELL parallel's remote jobs never start, yet it exits 0: the script says so
    // instead of reporting on no positions.
    const Shell silent = parallelShards(dir, standInHosts(dir, false) + " SHARED=1", "silent");
    EXPECT_EQ(silent.status, 1) << silent.output;
    EXPECT_NE(silent.output.find("shard 1 printed nothing, so it never started"), std::string::npos)
        << silent.output;
    EXPECT_EQ(silent.output.find("Starting engine"), std::string::npos) << silent.output;
}

// Without a shared folder each job copies the suite and its result file to a scratch folder
// on its host and brings the result back (the jobs write it there under its bare name); a
// second run resumes from the copies.
TEST(Cluster, GnuParallelCopiesToHostsWithoutASharedFolder) {
    for (const char* tool : {"parallel", "rsync"}) {
        if (!haveCommand(tool)) GTEST_SKIP() << tool << " is not installed";
    }
    TempDirectory dir("parallel-copies");
    const std::string serial = suiteAndSerialReport(dir);
    for (int run = 0; run < 2; ++run) {
        const Shell hosts = parallelShards(dir, standInHosts(dir), "out");
        ASSERT_EQ(hosts.status, 0) << hosts.output;
        EXPECT_EQ(recordsIn(dir / "out" / "part-0.epd"), 5u) << "run " << run;
        EXPECT_EQ(recordsIn(dir / "out" / "part-1.epd"), 5u) << "run " << run;
        EXPECT_EQ(reportWithoutTimes(hosts.output), serial) << hosts.output;
    }
    EXPECT_EQ(readFile(dir / "out" / "part-1.log").find(" Id: "), std::string::npos)
        << "the second run tested positions again";
}

// Two ports that nothing listens on now.
std::array<int, 2> freePorts() {
    std::array<int, 2> sockets{-1, -1};
    std::array<int, 2> ports{0, 0};
    for (size_t i = 0; i < sockets.size(); ++i) {
        sockets[i] = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        socklen_t length = sizeof address;
        if (sockets[i] < 0 ||
            ::bind(sockets[i], reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::getsockname(sockets[i], reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            continue;
        }
        ports[i] = ntohs(address.sin_port);
    }
    for (const int s : sockets) {
        if (s >= 0) ::close(s);
    }
    return ports;
}

std::string shortHostName() {
    char name[256] = {};
    ::gethostname(name, sizeof name - 1);
    std::string host = name;
    return host.substr(0, host.find('.'));
}

// A one-node Slurm cluster of this machine, with its own munge daemon, configuration,
// ports and folders; every daemon is stopped when it goes out of scope.
class SlurmCluster {
  public:
    explicit SlurmCluster(const std::filesystem::path& root) : root_(root) {
        namespace fs = std::filesystem;
        // munged insists that everyone may pass through its socket's folders, and that no
        // one else may write where its key lies.
        for (const char* folder : {"munge", "state", "spool", "log"}) {
            fs::create_directory(root / folder);
        }
        for (const fs::path& folder : {root, root / "munge"}) {
            fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read |
                                        fs::perms::group_exec | fs::perms::others_read |
                                        fs::perms::others_exec);
        }
        const fs::path munge = root / "munge";
        const Shell key = shell(
            "dd if=/dev/urandom bs=1024 count=1 of=" + quoted((munge / "munge.key").string()) +
            " 2>/dev/null && chmod 0400 " + quoted((munge / "munge.key").string()));
        if (key.status != 0) {
            why_ = "no munge key: " + key.output;
            return;
        }
        const Shell munged = shell("munged --socket=" + quoted((munge / "socket").string()) +
                                   " --key-file=" + quoted((munge / "munge.key").string()) +
                                   " --pid-file=" + quoted((munge / "munged.pid").string()) +
                                   " --log-file=" + quoted((munge / "munged.log").string()) +
                                   " --seed-file=" + quoted((munge / "munged.seed").string()));
        if (munged.status != 0) {
            why_ = "munged did not start: " + munged.output + logTails();
            return;
        }

        const std::array<int, 2> ports = freePorts();
        const std::string host = shortHostName();
        const long cpus = ::sysconf(_SC_NPROCESSORS_ONLN);
        // Processes tracked through /proc and no task binding: no cgroups are needed. Root
        // runs everything, the jobs included.
        const std::vector<std::string> settings = {
            "ClusterName=tarnwick",
            "SlurmctldHost=" + host,
            "SlurmctldPort=" + std::to_string(ports[0]),
            "SlurmdPort=" + std::to_string(ports[1]),
            "SlurmUser=root",
            "SlurmdUser=root",
            "AuthType=auth/munge",
            "CredType=cred/munge",
            "AuthInfo=socket=" + (munge / "socket").string(),
            "ProctrackType=proctrack/linuxproc",
            "TaskPlugin=task/none",
            "SelectType=select/cons_tres",
            "SelectTypeParameters=CR_Core",
            "JobAcctGatherType=jobacct_gather/none",
            "AccountingStorageType=accounting_storage/none",
            "JobCompType=jobcomp/none",
            "MpiDefault=none",
            "ReturnToService=2",
            "StateSaveLocation=" + (root / "state").string(),
            "SlurmdSpoolDir=" + (root / "spool").string(),
            "SlurmctldPidFile=" + (root / "slurmctld.pid").string(),
            "SlurmdPidFile=" + (root / "slurmd.pid").string(),
            "SlurmctldLogFile=" + (root / "log" / "slurmctld.log").string(),
            "SlurmdLogFile=" + (root / "log" / "slurmd.log").string(),
            "NodeName=" + host + " CPUs=" + std::to_string(cpus > 0 ? cpus : 1) + " State=UNKNOWN",
            "PartitionName=tests Nodes=" + host + " Default=YES MaxTime=INFINITE State=UP",
        };
        std::string conf;
        for (const std::string& setting : settings) conf += setting + "\n";
        writeFile(root / "slurm.conf", conf);
        for (const char* daemon : {"slurmctld", "slurmd"}) {
            const Shell started = shell(environment() + daemon);
            if (started.status != 0) {
                why_ = std::string(daemon) + " did not start: " + started.output + logTails();
                return;
            }
        }
        // The node registers within seconds; bounded, for a machine that is slow today.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        std::string state;
        while (std::chrono::steady_clock::now() < deadline) {
            state = slurm("timeout 5 sinfo -h -n " + host + " -o %T").output;
            if (state == "idle\n") return;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        why_ = "the node is not idle after 30 s (" + state + ")" + logTails();
    }

    ~SlurmCluster() {
        // The jobs first, so that none is left running; only a controller answers that.
        if (std::filesystem::exists(root_ / "slurmctld.pid")) slurm("timeout 10 scancel -u root");
        for (const char* pidFile : {"slurmd.pid", "slurmctld.pid", "munge/munged.pid"}) {
            stop(root_ / pidFile);
        }
    }

    SlurmCluster(const SlurmCluster&) = delete;
    SlurmCluster& operator=(const SlurmCluster&) = delete;

    // Why the cluster does not run; empty when it does.
    const std::string& whyNotRunning() const { return why_; }

    // Runs a Slurm command against this cluster.
    Shell slurm(const std::string& command) const { return shell(environment() + command); }

  private:
    std::string environment() const {
        return "export SLURM_CONF=" + quoted((root_ / "slurm.conf").string()) + "; ";
    }

    std::string logTails() const {
        std::string tails;
        for (const char* log : {"munge/munged.log", "log/slurmctld.log", "log/slurmd.log"}) {
            if (!std::filesystem::exists(root_ / log)) continue;
            tails += std::string("\n--- ") + log + "\n" +
                     shell("tail -n 8 " + quoted((root_ / log).string())).output;
        }
        return tails;
    }

    // Ends the daemon whose pid the file holds, and waits a bounded time for it to go.
    static void stop(const std::filesystem::path& pidFile) {
        const std::vector<std::string> lines = readLines(pidFile);
        if (lines.empty()) return;
        const pid_t pid = static_cast<pid_t>(std::atol(lines[0].c_str()));
        if (pid <= 1 || ::kill(pid, SIGTERM) != 0) return;
        const auto gone = [pid] {
            // A daemon that has exited but not been reaped yet is gone as well.
            const std::string stat = readFile("/proc/" + std::to_string(pid) + "/stat");
            const size_t end = stat.rfind(')');
            return stat.empty() || (end != std::string::npos && stat.compare(end, 3, ") Z") == 0);
        };
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!gone() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (!gone()) ::kill(pid, SIGKILL);
    }

    std::filesystem::path root_;
    std::string why_;
};

TEST(Cluster, SlurmArrayShardsReportAsTheWholeSuite) {
    if (::geteuid() != 0) GTEST_SKIP() << "starting a Slurm cluster needs root";
    for (const char* tool : {"munged", "slurmctld", "slurmd", "sbatch", "sinfo", "scancel"}) {
        if (!haveCommand(tool)) GTEST_SKIP() << tool << " is not installed";
    }
    TempDirectory dir("slurm");
    const SlurmCluster cluster(dir.path());
    if (!cluster.whyNotRunning().empty()) GTEST_SKIP() << cluster.whyNotRunning();
    const std::string serial = suiteAndSerialReport(dir);

    const std::string out = (dir / "out").string();
    const auto submit = [&](const std::string& words) {
        return cluster.slurm("cd " + quoted(dir.path().string()) +
                             " && TARNWICK=" + quoted(TARNWICK_BINARY) +
                             " SUITE=" + quoted((dir / "suite.epd").string()) +
                             " OUT=" + quoted(out) + " ENGINE=" + quoted(kEngineLine) + " " +
                             words + " " + quoted((kRecipes / "shards.sbatch").string()) +
                             "; cat tarnwick-*.log >task-logs 2>&1; rm -f tarnwick-*.log");
    };
    const Shell batch = submit("timeout 120 sbatch --wait --array=0-1");
    ASSERT_EQ(batch.status, 0) << batch.output << readFile(dir / "task-logs");
    EXPECT_EQ(recordsIn(dir / "out" / "part-0.epd"), 5u);
    EXPECT_EQ(recordsIn(dir / "out" / "part-1.epd"), 5u);

    // A task cut short, submitted again on its own and told the number of shards, tests
    // only the position its shard misses.
    std::vector<std::string> records = readLines(dir / "out" / "part-1.epd");
    records.pop_back();
    std::string kept;
    for (const std::string& record : records) kept += record + "\n";
    writeFile(dir / "out" / "part-1.epd", kept);
    const Shell again = submit("SHARDS=2 timeout 120 sbatch --wait --array=1");
    ASSERT_EQ(again.status, 0) << again.output << readFile(dir / "task-logs");
    const std::string log = readFile(dir / "task-logs");
    EXPECT_NE(log.find(" Id: "), std::string::npos) << log;
    EXPECT_EQ(log.find(" Id: "), log.rfind(" Id: ")) << log;
    EXPECT_EQ(recordsIn(dir / "out" / "part-1.epd"), 5u);

    const Shell report = shell("cd " + quoted(out) + " && cat part-*.epd > merged.epd && " +
                               quoted(TARNWICK_BINARY) + " /i ../suite.epd /o merged.epd /t 2");
    EXPECT_EQ(report.status, 0) << report.output;
    EXPECT_EQ(reportWithoutTimes(report.output), serial) << report.output;
}

}  // namespace
}  // namespace tarnwick::e2e

#endif
