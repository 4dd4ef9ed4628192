#include "cli/command_line.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "cli/option_table.hpp"
#include "cli/usage_text.hpp"
#include "support/temp_files.hpp"

namespace tarnwick {
namespace {

RunSettings parse(const std::vector<std::string>& words) {
    RunSettings settings;
    EXPECT_EQ(parseCommandLine(words, settings).error, "");
    return settings;
}

TEST(CommandLine, OptionsThenEngineWords) {
    RunSettings s = parse({"/u", "/i", "suite.epd", "engine.exe", "-log", "1"});
    EXPECT_TRUE(s.engine.protocol == ProtocolKind::uci);
    EXPECT_EQ(s.inputFile, "suite.epd");
    EXPECT_EQ(s.engine.command, "engine.exe -log 1");

    s = parse({"/i", "a.epd", "/t", "5", "e.exe", "/t", "9"});
    EXPECT_EQ(s.limits.msPerPosition, 5000);
    EXPECT_EQ(s.engine.command, "e.exe /t 9");

    s = parse({"/T", "5", "e.exe"});
    EXPECT_EQ(s.engine.command, "/T 5 e.exe");
    EXPECT_EQ(s.limits.msPerPosition, 0);

    s = parse({"/o", "/u", "-x", "/ox"});
    EXPECT_EQ(s.resultFile, "/u");
    EXPECT_FALSE(s.engine.protocol == ProtocolKind::uci);
    EXPECT_EQ(s.engine.command, "-x /ox");

    // An empty first engine word still keeps one blank before the next.
    s = parse({"", "b"});
    EXPECT_EQ(s.engine.command, " b");

    s = parse(
        {"/g", "good.epd", "/w", "bad.epd", "/c", "new\\npost", "/s", "", "/o", "r", "/o", "r2"});
    EXPECT_EQ(s.goodOnlyFile, "good.epd");
    EXPECT_EQ(s.notFoundFile, "bad.epd");
    EXPECT_EQ(s.engine.clearCommand, "new\\npost");
    EXPECT_EQ(s.resultFile, "r2");
    EXPECT_EQ(s.engine.command, "");
}

TEST(CommandLine, NumbersAndMethods) {
    EXPECT_EQ(parse({"/a", "3"}).initMilliseconds, 3000);
    EXPECT_EQ(parse({"/a", "0"}).initMilliseconds, 0);
    EXPECT_EQ(parse({"/a", "x"}).initMilliseconds, 0);
    EXPECT_EQ(parse({}).initMilliseconds, 2000);
    EXPECT_EQ(parse({"/a", "99999999"}).initMilliseconds, 2147483647);
    EXPECT_EQ(parse({"/t", "12abc"}).limits.msPerPosition, 12000);
    // Fractions of a second, kept with their precision; a hundredth is the least.
    EXPECT_EQ(parse({"/t", "0.25"}).limits.msPerPosition, 250);
    EXPECT_EQ(parse({"/t", "0.25"}).limits.timeDecimals, 2);
    EXPECT_EQ(parse({"/t", "1.5s"}).limits.msPerPosition, 1500);
    EXPECT_EQ(parse({"/t", "0.01"}).limits.msPerPosition, 10);
    RunSettings tiny;
    EXPECT_EQ(parseCommandLine({"/t", "0.001"}, tiny).error, "Invalid value for option /t: 0.001");

    EXPECT_EQ(parse({}).engine.boardSetup, BoardSetupMethod::setboard);
    EXPECT_EQ(parse({"/e", "edit"}).engine.boardSetup, BoardSetupMethod::edit);
    EXPECT_EQ(parse({"/e", "cbedit"}).engine.boardSetup, BoardSetupMethod::cbedit);
    // Like every other option, the last one given counts.
    EXPECT_EQ(parse({"/e", "cbedit", "/e", "setboard"}).engine.boardSetup,
              BoardSetupMethod::setboard);
    EXPECT_EQ(parse({"/e", "setboard", "/e", "edit"}).engine.boardSetup, BoardSetupMethod::edit);

    RunSettings s = parse({"/t", "0"});
    completeSettings(s);
    EXPECT_EQ(s.limits.msPerPosition, 10000);
    s = parse({"/t", "none"});
    completeSettings(s);
    EXPECT_EQ(s.limits.msPerPosition, 10000);
}

// Unlike the slash forms (above), the others take the whole value as a number, up to a day.
TEST(CommandLine, OnlySlashFormsReadLeadingNumbers) {
    EXPECT_EQ(parse({"/t", "99999999999999999999"}).limits.msPerPosition, 2147483647000);
    EXPECT_EQ(parse({"-a", ".5"}).initMilliseconds, 500);
    EXPECT_EQ(parse({"--multipv", "256"}).engine.multipv, 256);
    for (const std::string words :
         {"--time 2,5", "-t 1e-1", "--time nan", "--time 86400.001", "--init-time 1,5",
          "--init-time 86401", "--early-stop 90000", "--multipv 0", "--multipv 257"}) {
        const std::string option = words.substr(0, words.find(' '));
        const std::string value = words.substr(words.find(' ') + 1);
        RunSettings s;
        EXPECT_EQ(parseCommandLine({option, value}, s).error,
                  "Invalid value for option " + option + ": " + value);
    }
}

TEST(CommandLine, UnusableCommandLinesAreReported) {
    RunSettings s;
    EXPECT_EQ(parseCommandLine({"/i", "a.epd", "/t"}, s).error, "Missing value for option /t.");
    EXPECT_EQ(parseCommandLine({"/t", "-5", "e"}, s).error, "Invalid value for option /t: -5");
    EXPECT_EQ(parseCommandLine({"/a", "-1"}, s).error, "Invalid value for option /a: -1");
    // A method the program does not know is not quietly taken for setboard.
    EXPECT_EQ(parseCommandLine({"/e", "bogus", "e"}, s).error,
              "Invalid value for option /e: bogus");
    EXPECT_EQ(parseCommandLine({"/e", "EDIT"}, s).error, "Invalid value for option /e: EDIT");
    EXPECT_EQ(parseCommandLine({"/e", ""}, s).error, "Invalid value for option /e: ");
    EXPECT_EQ(parseCommandLine({"--help"}, s).request, CommandLineRequest::Help);
    EXPECT_EQ(parseCommandLine({"-h"}, s).request, CommandLineRequest::Help);
    EXPECT_EQ(parseCommandLine({"--version"}, s).request, CommandLineRequest::Version);
    RunSettings engine;
    EXPECT_EQ(parseCommandLine({"-h", "x"}, engine).request, CommandLineRequest::Run);
    EXPECT_EQ(engine.engine.command, "-h x");
}

TEST(CommandLine, ExpandNewlines) {
    std::string text = "xboard\\nnew\\\\n\\x\\";
    expandNewlines(text);
    EXPECT_EQ(text, "xboard\nnew\\\n\\x\\");
    RunSettings s = parse({"/s", "xboard\\nnew", "/c", "new\\npost"});
    completeSettings(s);
    EXPECT_EQ(s.engine.setupCommand, "xboard\nnew");
    EXPECT_EQ(s.engine.clearCommand, "new\npost");
}

TEST(CommandLine, UsageTextLineByLine) {
    const std::string usage = usageText();
    EXPECT_TRUE(usage.starts_with("Tarnwick 2.5\n"));
    const std::string rest = usage.substr(usage.find('\n', 13) + 1);
    // The usage of a bare run or a usage error is the slash options' alone; the help adds the rest.
    EXPECT_EQ(rest,
              "Syntax: Tarnwick [/i input /o output /c clear /t time /s setup] <command line>\n"
              "Where:\n"
              "  /a Init time in second, default=2.\n"
              "  /c Command to clear the hash. Default is 'new'.\n"
              "  /e Method to set up the board (WB). Values: edit, cbedit or setboard.\n"
              "     Default=setboard.\n"
              "  /g File to write positions with good only moves.\n"
              "  /i Textfile with the epd positions.\n"
              "  /o File to write the result.\n"
              "  /t Time in sec. to use on each position. Default=10\n"
              "  /s Command to set up the engine.\n"
              "     Default is winboard engines are:\n"
              "        xboard\\nhard\\neasy\\nnew\\nlevel 1 1440 0\\npost.\n"
              "  /u Use the UCI protocol.\n"
              "  /w File to write positions with move not found.\n"
              "<command line> is the command for starting the engine. If the engine use\n"
              "the UCI protocol you can also point to the .eng file here.\n");
    EXPECT_TRUE(helpText().starts_with(usage + "Long options:\n"));
}

TEST(CommandLine, LongOptionsTakeTheirValueEitherWay) {
    EXPECT_EQ(parse({}).limits.moveTimeoutSeconds, 10);
    EXPECT_EQ(parse({"--move-timeout", "0", "e"}).limits.moveTimeoutSeconds, 0);
    RunSettings s = parse({"/t", "3", "--move-timeout=25", "/u", "e", "--move-timeout", "4"});
    EXPECT_EQ(s.limits.moveTimeoutSeconds, 25);
    EXPECT_TRUE(s.engine.protocol == ProtocolKind::uci);
    EXPECT_EQ(s.engine.command, "e --move-timeout 4");

    const auto errorOf = [](const std::vector<std::string>& words) {
        RunSettings settings;
        return parseCommandLine(words, settings).error;
    };
    EXPECT_EQ(errorOf({"--move-timeout", "-1", "e"}),
              "Invalid value for option --move-timeout: -1");
    EXPECT_EQ(errorOf({"--move-timeout=5s", "e"}), "Invalid value for option --move-timeout: 5s");
    EXPECT_EQ(errorOf({"--move-timeout="}), "Invalid value for option --move-timeout: ");
    EXPECT_EQ(errorOf({"--move-timeout"}), "Missing value for option --move-timeout.");
    EXPECT_EQ(errorOf({"--movetimeout", "5", "e"}), "Unknown option --movetimeout.");
}

TEST(CommandLine, EveryFormOfAnOptionSetsTheSameField) {
    // Each slash option against its short and long forms, with and without "=".
    const std::vector<std::vector<std::string>> forms = {
        {"/i", "-i", "--input"},    {"/o", "-o", "--output"},    {"/g", "-g", "--solved"},
        {"/w", "-w", "--unsolved"}, {"/c", "-c", "--clear"},     {"/s", "-s", "--setup"},
        {"/t", "-t", "--time"},     {"/a", "-a", "--init-time"}, {"/e", "-e", "--board-setup"},
    };
    const auto summary = [](const RunSettings& s) {
        return s.inputFile + "|" + s.resultFile + "|" + s.goodOnlyFile + "|" + s.notFoundFile +
               "|" + s.engine.clearCommand + "|" + s.engine.setupCommand + "|" +
               std::to_string(s.limits.msPerPosition) + "|" + std::to_string(s.initMilliseconds) +
               "|" + std::to_string(static_cast<int>(s.engine.boardSetup)) + "|" + s.engine.command;
    };
    for (const auto& names : forms) {
        const std::string value = names[0] == "/e" ? "cbedit" : "7";
        const std::string original = summary(parse({names[0], value, "e"}));
        EXPECT_NE(original, summary(parse({"e"}))) << names[0];
        EXPECT_EQ(summary(parse({names[1], value, "e"})), original) << names[1];
        EXPECT_EQ(summary(parse({names[2], value, "e"})), original) << names[2];
        EXPECT_EQ(summary(parse({names[2] + "=" + value, "e"})), original) << names[2];
    }
    EXPECT_TRUE(parse({"-u", "e"}).engine.protocol == ProtocolKind::uci);
    EXPECT_TRUE(parse({"--uci", "e"}).engine.protocol == ProtocolKind::uci);
    // A long value may hold "=" and start with "-"; a short one is never glued to its name.
    EXPECT_EQ(parse({"--setup=a=b"}).engine.setupCommand, "a=b");
    EXPECT_EQ(parse({"-c", "-x"}).engine.clearCommand, "-x");
    EXPECT_EQ(parse({"-ifile.epd"}).engine.command, "-ifile.epd");
    EXPECT_EQ(parse({"-I", "x"}).engine.command, "-I x");

    RunSettings s = parse({"-j", "4", "--depth", "12", "--nodes=5000", "--early-stop", "0.5",
                           "--shard", "2/3", "--json", "r.json", "--plot=p.svg", "--min-score",
                           "62.5", "--min-solved", "0", "--log", "l.txt", "e"});
    EXPECT_EQ(s.concurrency, 4);
    EXPECT_EQ(s.limits.depth, 12);
    EXPECT_EQ(s.limits.nodes, 5000);
    EXPECT_EQ(s.limits.earlyStopMs, 500);
    EXPECT_EQ(s.shardIndex, 2);
    EXPECT_EQ(s.shardCount, 3);
    EXPECT_EQ(s.jsonFile, "r.json");
    EXPECT_EQ(s.plotFile, "p.svg");
    EXPECT_EQ(s.thresholds.minScorePercent, 62.5);
    EXPECT_EQ(s.thresholds.minSolved, 0);
    EXPECT_EQ(s.logFile, "l.txt");
    EXPECT_EQ(s.engine.command, "e");
    EXPECT_FALSE(parse({}).thresholds.minScorePercent.has_value());
    EXPECT_EQ(parse({"--min-score", "100"}).thresholds.minScorePercent, 100.0);
}

TEST(CommandLine, PuzzleFiltersTakeARangeThemesAndACount) {
    const PuzzleFilter f = parse({"--rating", "1500-1800", "--theme", "mateIn2", "--theme=fork",
                                  "--limit", "100", "e"})
                               .puzzles;
    EXPECT_TRUE(f.byRating);
    EXPECT_EQ(f.minRating, 1500);
    EXPECT_EQ(f.maxRating, 1800);
    EXPECT_EQ(f.themes, (std::vector<std::string>{"mateIn2", "fork"}));
    EXPECT_EQ(f.limit, 100);
    EXPECT_EQ(parse({"--rating=7-7", "e"}).puzzles.maxRating, 7);
    EXPECT_FALSE(parse({"e"}).puzzles.isSet());
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"--rating", "1800-1500"}, {"--rating", "1500"}, {"--rating", "-5-10"},
        {"--rating", "1500-"},     {"--rating", "a-b"},  {"--theme", ""},
        {"--theme", "a b"},        {"--limit", "0"},     {"--limit", "1.5"},
    };
    for (const auto& [name, value] : refused) {
        RunSettings settings;
        EXPECT_EQ(parseCommandLine({name, value, "e"}, settings).error,
                  "Invalid value for option " + name + ": " + value);
    }
}

TEST(CommandLine, CompareTakesEveryFileUpToTheNextOption) {
    RunSettings s = parse({"--compare", "a.epd", "/tmp/b.epd", "-", "/t", "5", "--compare=c"});
    EXPECT_EQ(s.compareFiles, (std::vector<std::string>{"a.epd", "/tmp/b.epd", "-", "c"}));
    EXPECT_EQ(s.limits.msPerPosition, 5000);
    EXPECT_EQ(s.engine.command, "");
    s = parse({"--compare=a", "b", "--", "c"});
    EXPECT_EQ(s.compareFiles, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(s.engine.command, "c");

    RunSettings error;
    EXPECT_EQ(parseCommandLine({"--compare"}, error).error, "Missing value for option --compare.");
    EXPECT_EQ(parseCommandLine({"--compare", "-i", "x"}, error).error,
              "Missing value for option --compare.");
    EXPECT_EQ(parseCommandLine({"--compare", "a", "--bogus"}, error).error,
              "Unknown option --bogus.");
}

TEST(CommandLine, DoubleDashEndsTheOptions) {
    RunSettings s = parse({"/t", "5", "--", "-x", "/t", "9", "--"});
    EXPECT_EQ(s.limits.msPerPosition, 5000);
    EXPECT_EQ(s.engine.command, "-x /t 9 --");
    RunSettings help;
    EXPECT_EQ(parseCommandLine({"--", "--help"}, help).request, CommandLineRequest::Run);
    EXPECT_EQ(help.engine.command, "--help");
    EXPECT_EQ(parse({"--"}).engine.command, "");
    // Without "--" the first word that is no option still starts the engine's command line.
    EXPECT_EQ(parse({"-i", "a", "e", "--", "-i"}).engine.command, "e -- -i");
}

TEST(CommandLine, MessagesNameTheOptionAsWritten) {
    const auto errorOf = [](const std::vector<std::string>& words) {
        RunSettings settings;
        return parseCommandLine(words, settings).error;
    };
    EXPECT_EQ(errorOf({"-t"}), "Missing value for option -t.");
    EXPECT_EQ(errorOf({"--time"}), "Missing value for option --time.");
    EXPECT_EQ(errorOf({"--time", "-5"}), "Invalid value for option --time: -5");
    EXPECT_EQ(errorOf({"--time=-5", "e"}), "Invalid value for option --time: -5");
    EXPECT_EQ(errorOf({"-t", "0.001"}), "Invalid value for option -t: 0.001");
    EXPECT_EQ(errorOf({"-a", "-1"}), "Invalid value for option -a: -1");
    EXPECT_EQ(errorOf({"-e", "EDIT"}), "Invalid value for option -e: EDIT");
    EXPECT_EQ(errorOf({"--board-setup=", "e"}), "Invalid value for option --board-setup: ");
    EXPECT_EQ(errorOf({"--uci=yes", "e"}), "Invalid value for option --uci: yes");
    EXPECT_EQ(errorOf({"-j", "0"}), "Invalid value for option -j: 0");
    EXPECT_EQ(errorOf({"--shard", "3/3"}), "Invalid value for option --shard: 3/3");
    EXPECT_EQ(errorOf({"--json="}), "Invalid value for option --json: ");
    EXPECT_EQ(errorOf({"--log", ""}), "Invalid value for option --log: ");
    EXPECT_EQ(errorOf({"--compare", "a", ""}), "Invalid value for option --compare: ");
    for (const char* percent : {"100.5", "-1", "1e2", "nan", "inf", "", "5%", ".5"}) {
        EXPECT_EQ(errorOf({"--min-score", percent}),
                  "Invalid value for option --min-score: " + std::string(percent));
    }
    for (const char* count : {"-1", "2.0", "x", "99999999999"}) {
        EXPECT_EQ(errorOf({"--min-solved", count}),
                  "Invalid value for option --min-solved: " + std::string(count));
    }
    EXPECT_EQ(errorOf({"--Time", "5"}), "Unknown option --Time.");
    EXPECT_EQ(errorOf({"--tim=5"}), "Unknown option --tim.");

    // --help and --version stand for the whole command line wherever they come among the
    // options; -h only alone, since "-h x" has always been an engine's command line.
    RunSettings s;
    EXPECT_EQ(parseCommandLine({"/t", "5", "--version", "e"}, s).request,
              CommandLineRequest::Version);
    EXPECT_EQ(parseCommandLine({"-i", "a", "--help"}, s).request, CommandLineRequest::Help);
    EXPECT_EQ(errorOf({"--help=1"}), "Invalid value for option --help: 1");
}

TEST(CommandLine, HelpHasOneLineForEveryOption) {
    const std::string usage = helpText();
    const std::string section = usage.substr(usage.find("\nLong options:\n") + 1);
    std::vector<std::string> seen;
    for (const OptionRow& row : optionTable()) {
        // No two options share a name, so no form is shadowed by another row.
        for (const std::string& name :
             {"--" + std::string(row.longName), std::string("-") + row.shortName,
              std::string("/") + row.slashName}) {
            if (name.size() < 2 || name.back() == 0) continue;
            EXPECT_EQ(std::count(seen.begin(), seen.end(), name), 0) << name;
            seen.push_back(name);
            EXPECT_EQ(findOption(name), &row) << name;
        }
        const std::string head = "\n  " + optionNames(row) + " ";
        const size_t line = section.find(head);
        ASSERT_NE(line, std::string::npos) << head;
        const std::string text = section.substr(line + 1, section.find('\n', line + 1) - line);
        EXPECT_NE(text.find(row.help), std::string::npos) << text;
        EXPECT_NE(text.find(row.defaultText), std::string::npos) << text;
        EXPECT_LE(text.size(), 101u) << text;
        EXPECT_EQ(row.apply == nullptr, row.request != CommandLineRequest::Run) << text;
    }
    EXPECT_EQ(optionNames(*findOption("/e")), "--board-setup, -e, /e");
    EXPECT_TRUE(section.ends_with("\"--\" ends the options.\n"));
}

TEST(CommandLine, PrepareEngineCommandReadsDefinitionFiles) {
    const testing::TempDirectory dir("prepare");
    const auto eng = dir / "my.ENG";
    std::ofstream(eng) << "[ENGINE]\nfilename = fast -uci\n[OPTIONS]\nHash=64\n";

    RunSettings s;
    s.engine.command = "  " + eng.string() + " \t";
    prepareEngineCommand(s);
    EXPECT_EQ(s.engine.command, "fast -uci");
    EXPECT_EQ(s.engine.options, "setoption name Hash value 64");
    EXPECT_TRUE(s.engine.protocol == ProtocolKind::uci);

    RunSettings plain;
    plain.engine.command = ".eng";
    prepareEngineCommand(plain);
    EXPECT_EQ(plain.engine.command, ".eng");
    EXPECT_FALSE(plain.engine.protocol == ProtocolKind::uci);

    RunSettings missing;
    missing.engine.command = (dir / "absent.eng").string();
    prepareEngineCommand(missing);
    EXPECT_EQ(missing.engine.command, (dir / "absent.eng").string());
    EXPECT_TRUE(missing.engine.protocol == ProtocolKind::uci);
}

}  // namespace
}  // namespace tarnwick
