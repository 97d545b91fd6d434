// The man page against --help: the options it describes are exactly those
// --help lists, and its header carries the version --version prints.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "app/options.h"

namespace {

std::string manPage() {
    std::ifstream in(std::string(TERVO_SOURCE_DIR) + "/docs/tervo.6");
    std::stringstream text;
    text << in.rdbuf();
    // roff writes a hyphen that must stay one as \-.
    return std::regex_replace(text.str(), std::regex(R"(\\-)"), "-");
}

}  // namespace

TEST(ManPage, DescribesExactlyTheOptionsOfHelp) {
    const std::regex helpEntry(R"(^  (--[a-z][a-z-]*))");
    std::set<std::string> help;
    std::istringstream usage(usageText());
    for (std::string line; std::getline(usage, line);) {
        std::smatch m;
        if (std::regex_search(line, m, helpEntry)) help.insert(m[1]);
    }
    ASSERT_GE(help.size(), 15u);

    // Each option's entry: a .TP paragraph whose tag line names it.
    const std::regex tag(R"(^\.[BIR]+ +(--[a-z][a-z-]*))");
    std::set<std::string> man;
    std::istringstream page(manPage());
    bool tagLine = false;
    for (std::string line; std::getline(page, line);) {
        std::smatch m;
        if (tagLine && std::regex_search(line, m, tag)) man.insert(m[1]);
        tagLine = line == ".TP";
    }
    EXPECT_EQ(man, help);
}

TEST(ManPage, CarriesTheVersion) {
    std::string version = versionText();
    version.pop_back();  // the newline
    EXPECT_NE(manPage().find(".TH TERVO 6 \"2026\" \"" + version + "\""), std::string::npos) << version;
}
