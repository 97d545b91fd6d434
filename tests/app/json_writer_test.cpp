// JsonWriter, the trace's text builder: keeping only some top-level members,
// reuse across frames, and the integer limits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/json_writer.h"

TEST(JsonWriter, KeepsOnlyTheNamedTopLevelMembersWhateverTheirShape) {
    const std::vector<std::string> keep = {"a", "c"};
    JsonWriter w;
    w.keepOnly(&keep);
    EXPECT_TRUE(w.wants("a"));
    EXPECT_FALSE(w.wants("b"));
    auto write = [&] {
        w.beginObject("b").field("a", 1).beginArray("list").openObject().field("c", 2).end().value(3).end().end();
        w.field("a", 1);
        w.field("d", "text");
        w.beginArray("c").value(true).openArray().value(2.5).end().end();
        w.beginObject("e").field("x", std::uint64_t{18446744073709551615u});  // left open
    };
    write();
    EXPECT_EQ(w.finish(), R"({"a":1,"c":[true,[2.5]]})");
    w.reset();  // the filter stays
    write();
    EXPECT_EQ(w.finish(), R"({"a":1,"c":[true,[2.5]]})");
    w.reset();
    w.keepOnly(nullptr);
    w.field("n", std::int64_t{-9223372036854775807 - 1}).field("m", std::uint64_t{18446744073709551615u});
    EXPECT_EQ(w.finish(), R"({"n":-9223372036854775808,"m":18446744073709551615})");
}
