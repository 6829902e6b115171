// CLI helpers: Windows-1252 text, the JSON writer, argument parsing and page names.
#include <gtest/gtest.h>

#include "cli/CliSupport.h"

namespace trellisor {
namespace {

TEST(CliText, Windows1252RoundTripsEveryByte) {
    EXPECT_EQ(windows1252ToUtf8("Caf\xE9 \x80 \x9F"), "Caf\u00E9 \u20AC \u0178");
    EXPECT_EQ(windows1252ToUtf8("\x81"), "\xC2\x81");  // unassigned bytes keep their value
    std::string all;
    for (int b = 1; b < 256; ++b) all += char(b);
    EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(all)), all);
    EXPECT_EQ(utf8ToWindows1252("\u4E2D x \xFF"), "? x ?");  // no byte for it; invalid UTF-8
    EXPECT_EQ(utf8ToWindows1252("\xC3"), "?");
}

TEST(CliJson, NestingCommasAndEscapes) {
    JsonWriter j;
    j.beginObject();
    j.key("a");
    j.beginArray();
    j.number(-1);
    j.boolean(true);
    j.beginObject();
    j.endObject();
    j.endArray();
    j.key("s");
    j.string("q\"b\\\n\x01");
    j.endObject();
    EXPECT_EQ(j.text(), R"({"a":[-1,true,{}],"s":"q\"b\\\u000a\u0001"})");
}

TEST(CliArgs, FlagsOptionsAndPositionals) {
    auto p = parseArgs({"--seed", "3", "out", "--keep-icons"}, {"--keep-icons"}, {"--seed"}, 1);
    ASSERT_TRUE(p.isOk()) << p.error();
    EXPECT_EQ(p->positional, std::vector<std::string>{"out"});
    EXPECT_EQ(p->options.at("--seed"), "3");
    EXPECT_TRUE(p->flags.count("--keep-icons"));
    EXPECT_EQ(parseArgs({"--seed"}, {}, {"--seed"}, 0).error(), "option --seed needs a value");
    EXPECT_EQ(parseArgs({"a", "b"}, {}, {}, 1).error(), "expected 1 arguments, got 2");
    EXPECT_TRUE(parseArgs({"--", "-odd-name"}, {}, {}, 1).isOk());

    EXPECT_EQ(pageFromName("path").value(), PagePath);
    EXPECT_EQ(pageFromName("path-railings").value(), PagePathRailings);
    EXPECT_EQ(pageFromName("queue").value(), PageQueue);
    EXPECT_EQ(pageFromName("queue-railings").value(), PageQueueRailings);
    EXPECT_EQ(pageFromName("supports").value(), PageSupports);
    EXPECT_FALSE(pageFromName("Path").isOk());
}

}  // namespace
}  // namespace trellisor
