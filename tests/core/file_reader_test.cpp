#include "platform/file_reader.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <fstream>

#include "platform/unique_fd.h"
#include "support/temp_dir.h"

namespace velkaro {
namespace {

class FileReaderTest : public ::testing::Test {
  protected:
    std::string Make(const std::string& name, const std::string& content) {
        const std::string path = (dir_.Path() / name).string();
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    test::TempDir dir_;
};

TEST_F(FileReaderTest, OpensRegularFilesOnlyAndTellsTheirLength) {
    const std::string fifo = (dir_.Path() / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        std::string path;
        bool opens;
        std::uint64_t size;
    } cases[] = {
        {Make("empty", ""), true, 0},
        {Make("binary", std::string(70000, '\x1b')), true, 70000},
        {(dir_.Path() / "missing").string(), false, 0},
        {dir_.Str(), false, 0},
        {fifo, false, 0},
    };
    for (const auto& c : cases) {
        std::uint64_t size = 12345;
        const UniqueFd fd = OpenFileToSend(c.path, &size);
        EXPECT_EQ(fd.Valid(), c.opens) << c.path;
        if (c.opens) {
            EXPECT_EQ(size, c.size) << c.path;
        }
    }
}

TEST_F(FileReaderTest, AFileAnotherProgramHoldsLockedCannotBeOpened) {
    const std::string path = Make("held", "data");
    UniqueFd holder(::open(path.c_str(), O_RDONLY));
    ASSERT_EQ(::flock(holder.Get(), LOCK_EX | LOCK_NB), 0);
    std::uint64_t size = 0;
    EXPECT_FALSE(OpenFileToSend(path, &size).Valid());
    holder.Reset();
    EXPECT_TRUE(OpenFileToSend(path, &size).Valid());
    EXPECT_EQ(size, 4u);
}

}  // namespace
}  // namespace velkaro
