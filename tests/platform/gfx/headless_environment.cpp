// Every present reports to the platform clock, so the tests run on the
// headless backend.
#include <gtest/gtest.h>

#include <memory>

#include "platform/backend.h"
#include "platform/headless/headless_backend.h"

namespace {

class HeadlessPlatform : public ::testing::Environment {
public:
    void SetUp() override {
        std::string error;
        auto script = platform::InputScript::parse("", error);
        ASSERT_TRUE(script.has_value()) << error;
        platform::installBackend(
            std::make_unique<platform::HeadlessBackend>(std::move(*script), 0, 0));
    }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new HeadlessPlatform);

}  // namespace
