#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

namespace {

TEST(Exports, LibraryExportsExactlyTheFourPublicNames)
{
    const std::string command = std::string("nm -D --defined-only '") + TARVEX_LIBRARY_PATH + "'";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> names;
    char line[512];
    while (std::fgets(line, sizeof line, pipe)) {
        std::istringstream fields(line);
        std::string address, kind, name;
        fields >> address >> kind >> name;
        names.insert(name);
    }
    ASSERT_EQ(pclose(pipe), 0);
    EXPECT_EQ(names, (std::set<std::string>{"_Tarvex", "_TarvexB", "_TarvexCallBack", "_TarvexProgPtr"}));
}

}  // namespace
