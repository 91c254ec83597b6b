// The help button: the embedded page is written into a folder private to the user and opened;
// nothing planted in the temporary folder is ever written through.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

#include "gui_test_util.h"
#include "support/help_file.h"

static void InitHelpResource() {
    Q_INIT_RESOURCE(velkaro);
}

namespace velkaro::test {
namespace {

namespace fs = std::filesystem;

QByteArray EmbeddedPage() {
    InitHelpResource();
    QFile page(QString::fromLatin1(kHelpResource));
    if (!page.open(QIODevice::ReadOnly)) return {};
    return page.readAll();
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteAll(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::string Bytes(const QByteArray& bytes) {
    return bytes.toStdString();
}

mode_t Mode(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode : 0;
}

fs::path PrivateFolderIn(const TempDir& root) {
    return root.Path() / ("velkaro-" + std::to_string(::getuid()));
}

// Sets (or, with nullopt, removes) an environment variable while it lives.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (qEnvironmentVariableIsSet(name)) old_ = qgetenv(name);
        if (value)
            qputenv(name, QByteArray::fromStdString(*value));
        else
            qunsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            qputenv(name_, *old_);
        else
            qunsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<QByteArray> old_;
};

class HelpButtonTest : public ::testing::Test {
  protected:
    // The page the window wrote, from the address it asked to open.
    fs::path ClickHelp() {
        w.Click(IDC_HELP);
        if (w.ui.openedUrls.size() != 1 || !w.ui.openedUrls[0].isLocalFile()) return {};
        return fs::path(w.ui.openedUrls[0].toLocalFile().toStdString());
    }

    TempDir root;
    ScopedEnv tmp{"TMPDIR", root.Str()};
    ScopedEnv runtime{"XDG_RUNTIME_DIR", std::nullopt};
    WindowFixture w;
    const fs::path folder = PrivateFolderIn(root);
};

TEST_F(HelpButtonTest, WritesTheEmbeddedPageIntoAPrivateFolderAndOpensIt) {
    const QByteArray page = EmbeddedPage();
    ASSERT_FALSE(page.isEmpty());
    const fs::path opened = ClickHelp();
    ASSERT_EQ(w.ui.openedUrls.size(), 1u);
    EXPECT_EQ(w.ui.openedUrls[0].scheme(), "file");
    EXPECT_EQ(opened, folder / kHelpFileName);
    EXPECT_EQ(ReadAll(opened), Bytes(page));
    EXPECT_EQ(Mode(folder), S_IFDIR | 0700);
    EXPECT_EQ(Mode(opened) & S_IFMT, S_IFREG);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1)
        << "no temporary file left behind";
    EXPECT_TRUE(w.ui.messages.empty());
}

TEST_F(HelpButtonTest, AStaleLargerCopyIsReplacedAndALooseFolderTightened) {
    fs::create_directory(folder);
    fs::permissions(folder, fs::perms(0755));
    const QByteArray page = EmbeddedPage();
    WriteAll(folder / kHelpFileName,
             std::string(static_cast<std::size_t>(page.size()) + 4096, 'x'));
    const fs::path opened = ClickHelp();
    EXPECT_EQ(opened, folder / kHelpFileName);
    EXPECT_EQ(ReadAll(folder / kHelpFileName), Bytes(page));
    EXPECT_EQ(Mode(folder), S_IFDIR | 0700);
    // Once more: the same file again, whole.
    w.ui.openedUrls.clear();
    EXPECT_EQ(ClickHelp(), folder / kHelpFileName);
    EXPECT_EQ(ReadAll(folder / kHelpFileName), Bytes(page));
}

// WriteHelpFile and PrivateHelpFolder against things planted in a test temporary folder.
class PlantedHelpTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directory(victim);
        WriteAll(victim / "target.txt", "do not touch");
        fs::permissions(victim, fs::perms(0755));
    }
    void ExpectVictimUntouched() const {
        EXPECT_EQ(ReadAll(victim / "target.txt"), "do not touch");
        EXPECT_EQ(std::distance(fs::directory_iterator(victim), fs::directory_iterator()), 1);
        EXPECT_EQ(Mode(victim), S_IFDIR | 0755);
    }

    TempDir root;
    TempDir elsewhere;
    const fs::path folder = PrivateFolderIn(root);
    const fs::path victim = elsewhere.Path() / "victim";
    const QByteArray page = "<html>help</html>";
};

TEST_F(PlantedHelpTest, ALinkAtTheFilesPathIsReplacedNotFollowed) {
    fs::create_directory(folder);
    fs::permissions(folder, fs::perms(0700));
    const struct {
        const char* name;
        fs::path target;
    } links[] = {
        {"to a file", victim / "target.txt"},
        {"dangling", victim / "created.txt"},
    };
    for (const auto& link : links) {
        SCOPED_TRACE(link.name);
        fs::remove(folder / kHelpFileName);
        fs::create_symlink(link.target, folder / kHelpFileName);
        const QString written = WriteHelpFile(page, {}, QString::fromStdString(root.Str()));
        EXPECT_EQ(written.toStdString(), (folder / kHelpFileName).string());
        EXPECT_FALSE(fs::is_symlink(folder / kHelpFileName));
        EXPECT_EQ(ReadAll(folder / kHelpFileName), Bytes(page));
        ExpectVictimUntouched();
    }
}

TEST_F(PlantedHelpTest, WhatOthersPlantAtTheFoldersNameIsLeftAloneForAFreshPrivateFolder) {
    fs::path taken;  // the predictable folder in each planting's temporary folder
    const struct {
        const char* name;
        std::function<bool()> plant;
    } plantings[] = {
        {"a link to another folder",
         [&] {
             fs::create_directory_symlink(victim, taken);
             return true;
         }},
        {"a file",
         [&] {
             WriteAll(taken, "not a folder");
             return true;
         }},
        {"another user's folder",
         [&] {
             if (::geteuid() != 0) return false;  // only root can plant one
             fs::create_directory(taken);
             fs::permissions(taken, fs::perms(0777));
             return ::chown(taken.c_str(), 65534, 65534) == 0;
         }},
    };
    for (const auto& planting : plantings) {
        SCOPED_TRACE(planting.name);
        TempDir fresh;
        taken = PrivateFolderIn(fresh);
        if (!planting.plant()) continue;
        const auto planted = fs::symlink_status(taken);
        EXPECT_TRUE(PrivateHelpFolder(QString::fromStdString(fresh.Str())).isEmpty());
        const fs::path written =
            WriteHelpFile(page, {}, QString::fromStdString(fresh.Str())).toStdString();
        ASSERT_FALSE(written.empty());
        EXPECT_EQ(written.parent_path().parent_path(), fresh.Path());
        EXPECT_NE(written.parent_path(), taken);
        EXPECT_EQ(written.filename(), kHelpFileName);
        EXPECT_EQ(ReadAll(written), Bytes(page));
        EXPECT_EQ(Mode(written.parent_path()), S_IFDIR | 0700);
        EXPECT_EQ(Mode(written) & 0777, 0600);
        EXPECT_EQ(fs::symlink_status(taken).type(), planted.type()) << "left as it was";
        EXPECT_EQ(fs::symlink_status(taken).permissions(), planted.permissions());
        ExpectVictimUntouched();
    }
}

TEST_F(PlantedHelpTest, TheRuntimeFolderComesFirst) {
    TempDir runtime;
    const QString written = WriteHelpFile(page, QString::fromStdString(runtime.Str()),
                                          QString::fromStdString(root.Str()));
    EXPECT_EQ(written.toStdString(), (runtime.Path() / "velkaro" / kHelpFileName).string());
    EXPECT_EQ(Mode(runtime.Path() / "velkaro"), S_IFDIR | 0700);
    EXPECT_FALSE(fs::exists(folder));
    // A runtime folder that cannot be used gives way to the temporary folder.
    const QString fallback = WriteHelpFile(page, QString::fromStdString(root.Str() + "/missing"),
                                           QString::fromStdString(root.Str()));
    EXPECT_EQ(fallback.toStdString(), (folder / kHelpFileName).string());
}

TEST(HelpButton, SaysSoWhenNoFolderCanBeWritten) {
    TempDir root;
    WindowFixture w;
    WriteAll(root.Path() / "file", "a file, not a folder");  // refuses even root
    ScopedEnv tmp{"TMPDIR", root.Str() + "/file/tmp"};
    ScopedEnv runtime{"XDG_RUNTIME_DIR", root.Str() + "/file/run"};
    w.Click(IDC_HELP);
    EXPECT_TRUE(w.ui.openedUrls.empty());
    EXPECT_EQ(w.ui.MessageTexts(), QStringList{"无法打开帮助文件"});
}

TEST(HelpPage, IsOneDocumentWithAContentsTableAndFiveTopics) {
    const QString page = QString::fromUtf8(EmbeddedPage());
    ASSERT_FALSE(page.isEmpty());
    EXPECT_TRUE(page.startsWith("<!DOCTYPE html>"));
    EXPECT_EQ(page.count("<html"), 1);
    EXPECT_EQ(page.count("</html>"), 1);
    EXPECT_EQ(page.count("<body"), 1);
    EXPECT_EQ(page.count(R"(id="toc")"), 1);
    for (const char* topic : {"about", "thanks", "zpl", "epl", "cpcl"}) {
        SCOPED_TRACE(topic);
        EXPECT_EQ(page.count(QStringLiteral(R"(id="%1")").arg(topic)), 1) << "the topic's anchor";
        EXPECT_GE(page.count(QStringLiteral(R"(href="#%1")").arg(topic)), 1) << "listed in the toc";
    }
}

}  // namespace
}  // namespace velkaro::test
