#include "app/command_line.h"

#include <gtest/gtest.h>

namespace {

Settings parsed(const std::vector<std::string>& args) {
  const Result<Settings> cl = parseCommandLine(args);
  EXPECT_TRUE(cl.ok()) << cl.error().text();
  return cl.ok() ? cl.value() : Settings{};
}

TEST(ParseWordCount, BehavesLikeAtoiButSaturates) {
  EXPECT_EQ(parseWordCount("16"), 16);
  EXPECT_EQ(parseWordCount("  +16abc"), 16);
  EXPECT_EQ(parseWordCount("\t-1"), -1);
  EXPECT_EQ(parseWordCount("abc"), 0);
  EXPECT_EQ(parseWordCount(""), 0);
  EXPECT_EQ(parseWordCount("- 5"), 0);
  EXPECT_EQ(parseWordCount("2147483647"), 2147483647);
  EXPECT_EQ(parseWordCount("99999999999"), 2147483647);
  EXPECT_EQ(parseWordCount("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(parseWordCount("-99999999999999999999999"), -2147483647 - 1);
}

TEST(ParseCommandLine, DefaultsWithoutArguments) {
  const Settings s = parsed({});
  EXPECT_EQ(s.positionalCount, 0);
  EXPECT_EQ(s.wanted, 12);
  EXPECT_EQ(s.mode, ListMode::FullMode);
  EXPECT_EQ(s.norms.path, "KOVA.txt");
  EXPECT_EQ(s.tagFile, "kovatags.txt");
  EXPECT_FALSE(s.excludeFile || s.partOfSpeech || s.seed);
}

TEST(ParseCommandLine, ModeIsTheCaseSensitiveFirstCharacter) {
  EXPECT_EQ(parsed({"16", "NO"}).mode, ListMode::NoArousalMode);
  EXPECT_EQ(parsed({"16", "N"}).mode, ListMode::NoArousalMode);
  EXPECT_EQ(parsed({"16", "Val"}).mode, ListMode::NoNeutralMode);
  EXPECT_EQ(parsed({"16", "no"}).mode, ListMode::FullMode);
  EXPECT_EQ(parsed({"16", "val"}).mode, ListMode::FullMode);
  EXPECT_EQ(parsed({"16", "YES"}).mode, ListMode::FullMode);
  EXPECT_EQ(parsed({"16", ""}).mode, ListMode::FullMode);
}

TEST(ParseCommandLine, OneCharacterExclusionArgumentMeansNone) {
  EXPECT_FALSE(parsed({"20", "YES", "0"}).excludeFile);
  EXPECT_FALSE(parsed({"20", "YES", "x"}).excludeFile);
  EXPECT_EQ(parsed({"20", "YES", "ab"}).excludeFile, "ab");
  const Settings s = parsed({"16", "NO", "0", "adj", "ignored"});
  EXPECT_EQ(s.partOfSpeech, "adj");
  EXPECT_EQ(s.positionalCount, 5);
}

TEST(ParseCommandLine, OptionsAreTakenOutBeforePositionsCount) {
  const Settings s = parsed({"--seed", "7", "16", "--seed=9", "NO", "--help", "0", "adj"});
  EXPECT_EQ(s.seed, 9u);
  EXPECT_EQ(s.wanted, 16);
  EXPECT_EQ(s.mode, ListMode::NoArousalMode);
  EXPECT_EQ(s.partOfSpeech, "adj");
  EXPECT_TRUE(s.showHelp);
  EXPECT_EQ(parsed({"--seed=4294967295"}).seed, 4294967295u);
  EXPECT_EQ(parsed({"--seed=0", "--version"}).positionalCount, 0);
  EXPECT_EQ(parsed({"-5"}).wanted, -5);
}

TEST(ParseCommandLine, RefusesUnknownOptionsAndBadSeeds) {
  const struct {
    std::vector<std::string> args;
    std::string expected;
  } cases[] = {
      {{"--sed", "7"}, "unknown option '--sed'"},
      {{"12", "--"}, "unknown option '--'"},
      {{"--seed"}, "--seed needs a value"},
      {{"--seed", "-1"}, "bad value '-1' for --seed"},
      {{"--seed=4294967296"}, "bad value '4294967296'"},
      {{"--seed=12abc"}, "bad value '12abc'"},
      {{"--seed="}, "bad value ''"},
      {{"--seed", " 7"}, "bad value ' 7'"},
  };
  for (const auto& c : cases) {
    const std::string error = parseCommandLine(c.args).error().text();
    EXPECT_NE(error.find(c.expected), std::string::npos) << error;
  }
}

}  // namespace
