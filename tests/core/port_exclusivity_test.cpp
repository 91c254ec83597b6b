// Who else has the port: UUCP lock files, other processes holding the tty, and files that only
// look like devices.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "connections/parallel_port.h"
#include "connections/serial_port.h"
#include "connections/tty_holders.h"
#include "connections/usb_port.h"
#include "connections/uucp_lock.h"
#include "support/pty_pair.h"
#include "support/recording_owner.h"
#include "support/temp_dir.h"

namespace velkaro {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::PtyPair;
using test::RecordingOwner;
using test::TempDir;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string BinaryPid(int pid) {
    return std::string(reinterpret_cast<const char*>(&pid), sizeof pid);
}

// A child process that has run and ended: its PID names no process any more.
int DeadPid() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return static_cast<int>(child);
}

// `sleep` holding `path` open as its standard input, ended when this goes.
class HoldingProcess {
  public:
    explicit HoldingProcess(const std::string& path) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, path.c_str(), O_RDWR | O_NOCTTY, 0);
        char sleep[] = "sleep";
        char seconds[] = "60";
        char* argv[] = {sleep, seconds, nullptr};
        if (::posix_spawnp(&pid_, "sleep", &actions, nullptr, argv, environ) != 0) pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~HoldingProcess() { End(); }
    void End() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = 0;
    }
    int Pid() const { return pid_; }

  private:
    pid_t pid_ = 0;
};

class SerialExclusivityTest : public ::testing::Test {
  protected:
    void SetUp() override {
        pty_.LinkAs(dev_.Path(), "ttyS0");
        port_.SetDeviceFolder(dev_.Str());
        port_.SetLockFolder(locks_.Str());
    }
    bool OpenCom1() { return port_.Open(&owner_, 1, 9600, kParityNone, 8, kOneStopBit); }
    fs::path LockFile() const { return locks_.Path() / "LCK..ttyS0"; }

    TempDir dev_;
    TempDir locks_;
    PtyPair pty_;
    RecordingOwner owner_;
    CASYNSerialPort port_;
};

TEST_F(SerialExclusivityTest, ALockOfALiveProcessRefusesAndAStaleOneIsReplaced) {
    char ours[16];
    std::snprintf(ours, sizeof ours, "%10d\n", static_cast<int>(::getpid()));
    const struct {
        const char* name;
        std::string content;  // empty: no lock file
        bool opens;
    } cases[] = {
        {"no lock", "", true},
        {"a live process", std::to_string(::getppid()) + "\n", false},
        {"a live process, in the old binary form", BinaryPid(1), false},
        {"a dead process", "  " + std::to_string(DeadPid()) + "\n", true},
        {"a lock naming nobody", "garbage\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(LockFile());
        if (!c.content.empty()) std::ofstream(LockFile(), std::ios::binary) << c.content;
        ASSERT_EQ(OpenCom1(), c.opens);
        if (c.opens) {
            EXPECT_EQ(ReadFile(LockFile()), ours) << "our PID, ten characters and a newline";
            EXPECT_EQ(fs::status(LockFile()).permissions() & fs::perms::all,
                      fs::perms(0644) & fs::perms::all);
            // Opening anew (here COM2, which is not there) lets go of it first.
            EXPECT_FALSE(port_.Open(&owner_, 2, 9600, kParityNone, 8, kOneStopBit));
            EXPECT_FALSE(fs::exists(LockFile()));
        } else {
            EXPECT_EQ(ReadFile(LockFile()), c.content) << "left alone";
            EXPECT_FALSE(port_.IsOpen());
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(locks_.Path()), fs::directory_iterator()),
                  c.opens ? 0 : 1)
            << "no temporary files left";
    }
}

TEST_F(SerialExclusivityTest, ALockFolderThatCannotBeWrittenIsNoObstacle) {
    port_.SetLockFolder(locks_.Str() + "/missing");
    EXPECT_TRUE(OpenCom1());
    UucpLock lock;
    EXPECT_EQ(lock.Acquire(locks_.Str() + "/missing", "/dev/ttyS0"),
              UucpLock::Result::FolderUnusable);
}

TEST_F(SerialExclusivityTest, AnotherProcessHoldingTheTtyIsNoticed) {
    HoldingProcess holder(pty_.SlaveName());
    ASSERT_GT(holder.Pid(), 0);
    const std::string node = (dev_.Path() / "ttyS0").string();
    for (int i = 0; i < 500 && OtherProcessesHolding(node).empty(); ++i)
        std::this_thread::sleep_for(10ms);  // until the child has opened it
    EXPECT_EQ(OtherProcessesHolding(node), std::vector<int>{holder.Pid()});
    EXPECT_FALSE(OpenCom1());
    EXPECT_FALSE(fs::exists(LockFile())) << "a refused open leaves no lock behind";
    holder.End();
    EXPECT_TRUE(OtherProcessesHolding(node).empty());
    EXPECT_TRUE(OpenCom1());
}

TEST(DeviceKinds, ARegularFileAtAUsbOrParallelNodeIsNoPort) {
    TempDir dev;
    std::ofstream(dev.Path() / "lp0") << "^XA^XZ";  // a job sent with no printer attached
    RecordingOwner owner;
    CUSBPort usb;
    EXPECT_FALSE(usb.Open(&owner, (dev.Path() / "lp0").string()));
    CParallelPort lpt;
    lpt.SetDeviceFolder(dev.Str());
    EXPECT_FALSE(lpt.Open(1));
    EXPECT_EQ(ReadFile(dev.Path() / "lp0"), "^XA^XZ");
}

double CpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

TEST(DeviceKinds, ADeviceAlwaysAtItsEndIsReadWithoutSpinning) {
    RecordingOwner owner;  // outlives the port's reader
    CUSBPort usb;
    ASSERT_TRUE(usb.Open(&owner, "/dev/null"));  // a character device, readable, always empty
    ASSERT_TRUE(usb.StartReader());
    const double before = CpuSeconds();
    std::this_thread::sleep_for(1s);
    EXPECT_LT(CpuSeconds() - before, 0.3) << "the reader must not spin";
    EXPECT_TRUE(usb.ReaderAlive());
}

}  // namespace
}  // namespace velkaro
