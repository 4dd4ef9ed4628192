#include "driver/command_line.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tarnwick {
namespace {

RunSettings parse(const std::vector<std::string>& words) {
    RunSettings settings;
    EXPECT_EQ(parseCommandLine(words, settings).error, "");
    return settings;
}

TEST(CommandLine, OptionsThenEngineWords) {
    RunSettings s = parse({"/u", "/i", "suite.epd", "engine.exe", "-log", "1"});
    EXPECT_TRUE(s.useUci);
    EXPECT_EQ(s.inputFile, "suite.epd");
    EXPECT_EQ(s.engineCommand, "engine.exe -log 1");

    s = parse({"/i", "a.epd", "/t", "5", "e.exe", "/t", "9"});
    EXPECT_EQ(s.msPerPosition, 5000);
    EXPECT_EQ(s.engineCommand, "e.exe /t 9");

    s = parse({"/T", "5", "e.exe"});
    EXPECT_EQ(s.engineCommand, "/T 5 e.exe");
    EXPECT_EQ(s.msPerPosition, 0);

    s = parse({"/o", "/u", "-x", "/ox"});
    EXPECT_EQ(s.resultFile, "/u");
    EXPECT_FALSE(s.useUci);
    EXPECT_EQ(s.engineCommand, "-x /ox");

    // An empty first engine word still keeps one blank before the next.
    s = parse({"", "b"});
    EXPECT_EQ(s.engineCommand, " b");

    s = parse(
        {"/g", "good.epd", "/w", "bad.epd", "/c", "new\\npost", "/s", "", "/o", "r", "/o", "r2"});
    EXPECT_EQ(s.goodOnlyFile, "good.epd");
    EXPECT_EQ(s.notFoundFile, "bad.epd");
    EXPECT_EQ(s.clearCommand, "new\\npost");
    EXPECT_EQ(s.resultFile, "r2");
    EXPECT_EQ(s.engineCommand, "");
}

TEST(CommandLine, NumbersAndMethods) {
    EXPECT_EQ(parse({"/a", "3"}).initMilliseconds, 3000);
    EXPECT_EQ(parse({"/a", "0"}).initMilliseconds, 0);
    EXPECT_EQ(parse({"/a", "x"}).initMilliseconds, 0);
    EXPECT_EQ(parse({}).initMilliseconds, 2000);
    EXPECT_EQ(parse({"/a", "99999999"}).initMilliseconds, 2147483647);
    EXPECT_EQ(parse({"/t", "12abc"}).msPerPosition, 12000);
    // Fractions of a second, kept with their precision; a hundredth is the least.
    EXPECT_EQ(parse({"/t", "0.25"}).msPerPosition, 250);
    EXPECT_EQ(parse({"/t", "0.25"}).timeDecimals, 2);
    EXPECT_EQ(parse({"/t", "1.5s"}).msPerPosition, 1500);
    EXPECT_EQ(parse({"/t", "0.01"}).msPerPosition, 10);
    RunSettings tiny;
    EXPECT_EQ(parseCommandLine({"/t", "0.001"}, tiny).error, "Invalid value for option /t: 0.001");

    EXPECT_EQ(parse({}).boardSetupMethod, BoardSetupMethod::setboard);
    EXPECT_EQ(parse({"/e", "edit"}).boardSetupMethod, BoardSetupMethod::edit);
    EXPECT_EQ(parse({"/e", "cbedit"}).boardSetupMethod, BoardSetupMethod::cbedit);
    // Like every other option, the last one given counts.
    EXPECT_EQ(parse({"/e", "cbedit", "/e", "setboard"}).boardSetupMethod,
              BoardSetupMethod::setboard);
    EXPECT_EQ(parse({"/e", "setboard", "/e", "edit"}).boardSetupMethod, BoardSetupMethod::edit);

    RunSettings s = parse({"/t", "0"});
    completeSettings(s);
    EXPECT_EQ(s.msPerPosition, 10000);
    s = parse({"/t", "none"});
    completeSettings(s);
    EXPECT_EQ(s.msPerPosition, 10000);
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
    EXPECT_EQ(engine.engineCommand, "-h x");
}

TEST(CommandLine, ExpandNewlines) {
    std::string text = "xboard\\nnew\\\\n\\x\\";
    expandNewlines(text);
    EXPECT_EQ(text, "xboard\nnew\\\n\\x\\");
    RunSettings s = parse({"/s", "xboard\\nnew", "/c", "new\\npost"});
    completeSettings(s);
    EXPECT_EQ(s.setupCommand, "xboard\nnew");
    EXPECT_EQ(s.clearCommand, "new\npost");
}

TEST(CommandLine, UsageTextLineByLine) {
    const std::string usage = usageText();
    EXPECT_TRUE(usage.starts_with("Tarnwick 2.5\n"));
    const std::string rest = usage.substr(usage.find('\n', 13) + 1);
    EXPECT_EQ(rest.substr(0, rest.find("Long options")),
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
    EXPECT_NE(rest.find("\n  --move-timeout SECONDS "), std::string::npos);
}

TEST(CommandLine, LongOptionsTakeTheirValueEitherWay) {
    EXPECT_EQ(parse({}).moveTimeoutSeconds, 10);
    EXPECT_EQ(parse({"--move-timeout", "0", "e"}).moveTimeoutSeconds, 0);
    RunSettings s = parse({"/t", "3", "--move-timeout=25", "/u", "e", "--move-timeout", "4"});
    EXPECT_EQ(s.moveTimeoutSeconds, 25);
    EXPECT_TRUE(s.useUci);
    EXPECT_EQ(s.engineCommand, "e --move-timeout 4");

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

TEST(CommandLine, PrepareEngineCommandReadsDefinitionFiles) {
    const auto dir = std::filesystem::temp_directory_path() / "tarnwick_prepare_test";
    std::filesystem::create_directories(dir);
    const auto eng = dir / "my.ENG";
    std::ofstream(eng) << "[ENGINE]\nfilename = fast -uci\n[OPTIONS]\nHash=64\n";

    RunSettings s;
    s.engineCommand = "  " + eng.string() + " \t";
    prepareEngineCommand(s);
    EXPECT_EQ(s.engineCommand, "fast -uci");
    EXPECT_EQ(s.engineOptions, "setoption name Hash value 64");
    EXPECT_TRUE(s.useUci);

    RunSettings plain;
    plain.engineCommand = ".eng";
    prepareEngineCommand(plain);
    EXPECT_EQ(plain.engineCommand, ".eng");
    EXPECT_FALSE(plain.useUci);

    RunSettings missing;
    missing.engineCommand = (dir / "absent.eng").string();
    prepareEngineCommand(missing);
    EXPECT_EQ(missing.engineCommand, (dir / "absent.eng").string());
    EXPECT_TRUE(missing.useUci);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tarnwick
