#include "PrivateWorkingFolder.h"

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>

namespace testsupport {

namespace {

class PrivateWorkingFolder : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override
    {
        std::error_code error;
        previous_ = std::filesystem::current_path(error);
        folder_ = std::make_unique<TempFolder>();
        std::filesystem::current_path(folder_->path(), error);
        if (error) std::fprintf(stderr, "cannot work in %s: %s\n", folder_->path().c_str(), error.message().c_str());
    }

    void OnTestEnd(const testing::TestInfo&) override
    {
        std::error_code error;
        std::filesystem::current_path(previous_, error);
        folder_.reset();
    }

    std::filesystem::path previous_;
    std::unique_ptr<TempFolder> folder_;
};

}  // namespace

void giveEachTestAPrivateWorkingFolder()
{
    testing::UnitTest::GetInstance()->listeners().Append(new PrivateWorkingFolder);
}

}  // namespace testsupport
