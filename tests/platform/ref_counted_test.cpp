// The layer's one reference count, as the graphics, sound and input objects
// use it.
#include <gtest/gtest.h>

#include "platform/audio/com.h"
#include "platform/input.h"
#include "platform/ref_counted.h"

using namespace platform;

namespace {

struct Counted : RefCounted {
    explicit Counted(bool* gone) : gone_(gone) {}
    ~Counted() override { *gone_ = true; }
    bool* gone_;
};

struct Interface : IUnknown {
    virtual int answer() = 0;
};

struct Implementation : ComObject<Interface> {
    explicit Implementation(bool* gone) : gone_(gone) {}
    ~Implementation() override { *gone_ = true; }
    int answer() override { return 42; }
    bool* gone_;
};

}  // namespace

TEST(RefCounted, TheLastReleaseDeletesTheObjectAndEarlierOnesReportWhatIsLeft) {
    bool gone = false;
    auto* object = new Counted(&gone);
    EXPECT_EQ(object->AddRef(), 2u);
    EXPECT_EQ(object->Release(), 1u);
    EXPECT_FALSE(gone);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_TRUE(gone);
}

TEST(RefCounted, AnInterfaceReleasedThroughItsOwnPointerIsDeletedWhole) {
    bool gone = false;
    Interface* object = new Implementation(&gone);
    EXPECT_EQ(object->answer(), 42);
    EXPECT_EQ(object->AddRef(), 2u);
    EXPECT_EQ(object->Release(), 1u);
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_TRUE(gone);
}
