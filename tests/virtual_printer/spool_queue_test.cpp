// The spool's writing thread: jobs come out in order and whole, and a feeder waits (rather than
// piling up memory or dropping jobs) while too much waits to be written.
#include "virtual_printer/spool_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <future>
#include <iterator>

#include "support/temp_dir.h"

namespace velkaro::virtual_printer {
namespace {

using printer_language::Language;

std::string FileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(SpoolQueueTest, AFeederWaitsWhileTooMuchWaitsAndEveryJobIsWrittenInOrder) {
    test::TempDir folder;
    SpoolWriter writer(folder.Path());
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::promise<void> started;
    std::atomic<int> done{0};
    std::vector<std::string> files;
    {
        SpoolQueue queue(
            writer,
            [&](const SpoolQueue::Job&, const std::filesystem::path& file, const std::string&) {
                if (done == 0) {  // the disk is stuck on the first job
                    started.set_value();
                    released.wait();
                }
                files.push_back(file.filename().string());
                ++done;
            },
            10);
        queue.Push({Language::Zpl, "^XA^FDfirst^FS^XZ", 1, false});  // bigger than the limit
        started.get_future().wait();
        // With nothing else waiting, one job goes in whatever its size.
        queue.Push({Language::Epl, "N\r\nP1\r\n", 1, false});
        auto third = std::async(std::launch::async, [&] {
            queue.Push({Language::Cpcl, "! 0 200 200 210 1\r\nPRINT\r\n", 1, false});
        });
        EXPECT_EQ(third.wait_for(std::chrono::milliseconds(200)), std::future_status::timeout)
            << "the third job waits while the first two are not written";
        release.set_value();
        third.get();
    }  // the queue writes what waits before it goes
    EXPECT_EQ(done, 3);
    EXPECT_EQ(files, (std::vector<std::string>{"0001.zpl", "0002.epl", "0003.cpcl"}));
    EXPECT_EQ(FileText(folder.Path() / "0003.cpcl"), "! 0 200 200 210 1\r\nPRINT\r\n");
}

}  // namespace
}  // namespace velkaro::virtual_printer
