// The command line, read without running the tool.
#include <gtest/gtest.h>

#include "tools/import/import_args.h"

namespace zepa {
namespace {

TEST(ImportArgs, OptionsAndFiles) {
    ImportOptions o;
    std::string problem;
    ASSERT_EQ(
        parseImportArgs({"--root", "r", "--market", "o", "--names", "n.csv", "--code", "72030",
                         "--split", "7203:2021/9/29:5", "--split", "6758:20230101:0.5",
                         "--skip-bad-rows", "--dry-run", "--json", "a.csv", "--", "--b.csv"},
                        o, problem),
        ArgsResult::Run);
    EXPECT_EQ(std::tuple(o.root, o.market, o.namesFile, o.code),
              std::tuple("r", 'o', "n.csv", 7203));
    ASSERT_EQ(o.splits.size(), 2u);
    EXPECT_EQ(o.splits[0].date, 20210929);
    EXPECT_EQ(o.splits[0].adjustment, 20);   // 1:5, factor 0.2
    EXPECT_EQ(o.splits[1].adjustment, 200);  // 2:1, a reverse split
    EXPECT_TRUE(o.skipBadRows && o.dryRun && o.json);
    EXPECT_EQ(o.files, (std::vector<std::string>{"a.csv", "--b.csv"}));
}

TEST(ImportArgs, UsageProblemsSayWhat) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{}, "no file to import"},
        {{"--root"}, "--root needs a value"},
        {{"-x", "a"}, "unknown option -x"},
        {{"--market", "1", "a"}, "--market 1: give one letter (T, O, N, K, G; others: index)"},
        {{"--code", "72031", "a"},
         "--code 72031: a code is four digits, or five ending in 0 (72030 is 7203)"},
        {{"--split", "7203:2021-09-29", "a"},
         "--split 7203:2021-09-29: give CODE:DATE:RATIO, such as 7203:2021-09-29:5"},
        {{"--split", "7203:2021-02-29:5", "a"},
         "--split 7203:2021-02-29:5: the date is not a date"},
        {{"--split", "72:2021-09-29:5", "a"},
         "--split 72:2021-09-29:5: the code is not a four-digit stock code"},
        {{"--split", "7203:2021-09-29:x", "a"},
         "--split 7203:2021-09-29:x: the ratio is not a positive number"},
        {{"--split", "7203:2021-09-29:1", "a"},
         "--split 7203:2021-09-29:1: a ratio of 1 cannot be stored (1:0.0016 to 1:200, not 1)"},
    };
    for (const auto& [args, message] : cases) {
        ImportOptions o;
        std::string problem;
        EXPECT_EQ(parseImportArgs(args, o, problem), ArgsResult::Usage) << message;
        EXPECT_EQ(problem, message);
    }
}

}  // namespace
}  // namespace zepa
