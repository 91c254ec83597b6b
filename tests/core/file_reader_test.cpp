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

TEST_F(FileReaderTest, ReadsWholeFilesByteForByteOrNothingAtAll) {
    std::string binary(70000, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 31);
    const std::string fifo = (dir_.Path() / "fifo").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        std::string path;
        std::size_t max;
        FileReadResult result;
        std::string content;
    } cases[] = {
        {Make("empty", ""), kMaxSendFileBytes, FileReadResult::Ok, ""},
        {Make("binary", binary), kMaxSendFileBytes, FileReadResult::Ok, binary},
        {Make("limit", "12345"), 5, FileReadResult::Ok, "12345"},
        {Make("big", "123456"), 5, FileReadResult::TooLarge, ""},
        {(dir_.Path() / "missing").string(), kMaxSendFileBytes, FileReadResult::CannotOpen, ""},
        {dir_.Str(), kMaxSendFileBytes, FileReadResult::CannotOpen, ""},
        {fifo, kMaxSendFileBytes, FileReadResult::CannotOpen, ""},
    };
    for (const auto& c : cases) {
        std::string content = "stale";
        EXPECT_EQ(ReadWholeFile(c.path, &content, c.max), c.result) << c.path;
        EXPECT_EQ(content, c.content) << c.path;
    }
}

TEST_F(FileReaderTest, AFileAnotherProgramHoldsLockedCannotBeOpened) {
    const std::string path = Make("held", "data");
    UniqueFd holder(::open(path.c_str(), O_RDONLY));
    ASSERT_EQ(::flock(holder.Get(), LOCK_EX | LOCK_NB), 0);
    std::string content;
    EXPECT_EQ(ReadWholeFile(path, &content), FileReadResult::CannotOpen);
    holder.Reset();
    EXPECT_EQ(ReadWholeFile(path, &content), FileReadResult::Ok);
    EXPECT_EQ(content, "data");
}

}  // namespace
}  // namespace velkaro
