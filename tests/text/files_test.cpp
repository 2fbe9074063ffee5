// The file operations against real files, natively and under Wine.
#include "text/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <csignal>
#endif

namespace tsm {
namespace {

namespace fs = std::filesystem;

Bytes B(std::string_view s) { return Bytes(s.begin(), s.end()); }

// A fresh folder per test; paths inside it are plain ASCII.
class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int n = 0;; ++n) {
      dir_ = fs::temp_directory_path() / ("tsm_files_test_" + std::to_string(n));
      if (fs::create_directory(dir_)) break;
    }
  }
  void TearDown() override {
    for (int32_t file : opened_) CloseFile(file);
    fs::remove_all(dir_);
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  Text PathText(const std::string& name) const { return Text(Path(name)); }
  void Put(const std::string& name, const std::string& content) const {
    std::ofstream(Path(name), std::ios::binary) << content;
  }
  std::string Content(const std::string& name) const {
    std::ifstream in(Path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  int32_t Open(const std::string& name, int32_t mode) {
    int32_t file = OpenFile(PathText(name), mode);
    if (file != 0) opened_.push_back(file);
    return file;
  }

  fs::path dir_;
  std::vector<int32_t> opened_;
};

const std::string k100Bytes(100, 'x');

TEST_F(FilesTest, OpenModesCreateTruncateOrKeep) {
  struct Case {
    const char* what;
    const char* existing;  // content before the open, nullptr: no file
    int32_t mode;
    size_t lengthAfterOpen;
  } cases[] = {
      {"mode 4 empties an existing file", "100", kFileTruncate, 0},
      {"mode 5 keeps an existing file", "100", kFileKeep, 100},
      {"mode 4 creates a missing file", nullptr, kFileTruncate, 0},
      {"mode 5 creates a missing file", nullptr, kFileKeep, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove(Path("f"));
    if (c.existing) Put("f", k100Bytes);
    int32_t file = Open("f", c.mode);
    EXPECT_NE(file, 0);
    EXPECT_TRUE(fs::exists(Path("f")));
    EXPECT_EQ(fs::file_size(Path("f")), c.lengthAfterOpen);
    CloseFile(file);
  }
}

TEST_F(FilesTest, OpenRefusesWithZero) {
  fs::create_directory(dir_ / "folder");
  struct Case {
    const char* what;
    Text path;
    int32_t mode;
  } cases[] = {
      {"empty path", Text(), kFileTruncate},
      {"empty literal", "", kFileKeep},
      {"missing folder", PathText("missing/f"), kFileTruncate},
      {"missing folder, mode 5", PathText("missing/f"), kFileKeep},
      {"a folder", PathText("folder"), kFileKeep},
      {"mode 3", PathText("m3"), 3},
      {"mode 6", PathText("m6"), 6},
      {"mode 0", PathText("m0"), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(OpenFile(c.path, c.mode), 0);
  }
  EXPECT_FALSE(fs::exists(dir_ / "m3"));
  EXPECT_FALSE(fs::exists(dir_ / "m6"));
  EXPECT_FALSE(fs::exists(dir_ / "m0"));
}

// What a sequence of writes leaves in the file, by mode and seeking.
TEST_F(FilesTest, WritesLandAtThePosition) {
  struct Case {
    const char* what;
    int32_t mode;
    bool seekToEnd;
    std::vector<std::vector<std::string>> calls;  // one WriteBytes per element
    std::string content;
  } cases[] = {
      {"mode 5 starts at byte 0", kFileKeep, false, {{"XY"}}, "XYcdef"},
      {"seek to end appends", kFileKeep, true, {{"XY"}}, "abcdefXY"},
      {"mode 4 writes from empty", kFileTruncate, false, {{"12"}}, "12"},
      {"parts are joined in order", kFileTruncate, false, {{"12", "", "34"}}, "1234"},
      {"calls continue where the last ended", kFileKeep, true, {{"1"}, {"23"}}, "abcdef123"},
      {"empty write changes nothing", kFileKeep, false, {{""}}, "abcdef"},
      {"no parts at all", kFileKeep, false, {{}}, "abcdef"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Put("w", "abcdef");
    int32_t file = Open("w", c.mode);
    ASSERT_NE(file, 0);
    if (c.seekToEnd) {
      EXPECT_TRUE(SeekToEnd(file));
    }
    for (const std::vector<std::string>& call : c.calls) {
      std::vector<Bytes> parts;
      for (const std::string& part : call) parts.push_back(B(part));
      bool written = false;
      switch (parts.size()) {
        case 0:
          written = WriteBytes(file, {});
          break;
        case 1:
          written = WriteBytes(file, {parts[0]});
          break;
        default:
          written = WriteBytes(file, {parts[0], parts[1], parts[2]});
          break;
      }
      EXPECT_TRUE(written);
    }
    CloseFile(file);
    EXPECT_EQ(Content("w"), c.content);
  }
}

TEST_F(FilesTest, Mode5OnA100ByteFileStartsAt0UntilSeekToEnd) {
  Put("f", k100Bytes);
  int32_t file = Open("f", kFileKeep);
  ASSERT_NE(file, 0);
  ASSERT_TRUE(WriteBytes(file, {B("A")}));
  ASSERT_TRUE(SeekToEnd(file));
  ASSERT_TRUE(WriteBytes(file, {B("Z")}));
  CloseFile(file);
  EXPECT_EQ(Content("f"), "A" + k100Bytes.substr(1) + "Z");
}

TEST_F(FilesTest, TwoOpensOfOneFileEachKeepTheirPosition) {
  int32_t first = Open("shared", kFileTruncate);
  int32_t second = Open("shared", kFileKeep);
  ASSERT_NE(first, 0);
  ASSERT_NE(second, 0);
  EXPECT_NE(first, second);
  EXPECT_TRUE(WriteBytes(first, {B("AAAA")}));
  EXPECT_TRUE(WriteBytes(second, {B("BB")}));
  CloseFile(first);
  CloseFile(second);
  EXPECT_EQ(Content("shared"), "BBAA");
}

TEST_F(FilesTest, NumbersNotOpenDoNothing) {
  int32_t closed = Open("closed", kFileTruncate);
  ASSERT_NE(closed, 0);
  CloseFile(closed);
  int32_t open = Open("open", kFileTruncate);
  ASSERT_NE(open, 0);
  struct Case {
    const char* what;
    int32_t number;
  } cases[] = {
      {"zero", 0},
      {"never returned", 987654},
      {"negative", -1},
      {"closed", closed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(WriteBytes(c.number, {B("x")}));
    EXPECT_FALSE(SeekToEnd(c.number));
    CloseFile(c.number);  // harmless, also a second time
    CloseFile(c.number);
  }
  // None of it touched the file that is still open.
  EXPECT_TRUE(WriteBytes(open, {B("still")}));
  CloseFile(open);
  EXPECT_EQ(Content("closed"), "");
  EXPECT_EQ(Content("open"), "still");
}

TEST_F(FilesTest, FileExistsFindsEntriesAndPatterns) {
  Put("data.txt", "1");
  Put("copy[1].txt", "1");
  Put("a", "1");
  fs::create_directory(dir_ / "folder");
  struct Case {
    const char* what;
    Text path;
    bool exists;
  } cases[] = {
      {"a file", PathText("data.txt"), true},
      {"a folder", PathText("folder"), true},
      {"a missing name", PathText("nothing.txt"), false},
      {"empty path", Text(), false},
      {"empty literal", "", false},
      {"star that matches", PathText("*.txt"), true},
      {"question mark that matches", PathText("dat?.txt"), true},
      {"star that matches nothing", PathText("*.rar"), false},
      {"inside a missing folder", PathText("missing/data.txt"), false},
      {"brackets stand for themselves", PathText("[ab]*"), false},
      {"brackets in a pattern", PathText("*[1].txt"), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(FileExists(c.path), c.exists);
  }
}

// A double-byte name whose second byte is 0x5C ('\'), as in 乗, stays one name.
TEST_F(FilesTest, ChineseNamesAreOneFileName) {
  for (const char* name : {"图纸", "乗俓"}) {
    SCOPED_TRACE(name);
    Text path = ConcatText(PathText(""), name);
    int32_t file = OpenFile(path, kFileTruncate);
    ASSERT_NE(file, 0);
    EXPECT_TRUE(WriteBytes(file, {B("abc")}));
    CloseFile(file);
    EXPECT_TRUE(FileExists(path));
    size_t entries = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir_)) {
      EXPECT_TRUE(entry.is_regular_file());
      EXPECT_EQ(entry.file_size(), 3u);
      ++entries;
    }
    EXPECT_EQ(entries, 1u);
    fs::remove_all(dir_);
    fs::create_directory(dir_);
  }
}

#ifdef _WIN32
// Wine enforces no byte-range locks, so a write is made to fail through a
// pipe whose reading end has gone away.
TEST_F(FilesTest, RefusedWriteGivesFalse) {
  const char* name = "\\\\.\\pipe\\tsm_files_test";
  HANDLE server = CreateNamedPipeA(name, PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096,
                                   4096, 0, nullptr);
  ASSERT_NE(server, INVALID_HANDLE_VALUE);
  int32_t file = OpenFile(name, kFileKeep);
  ASSERT_NE(file, 0);
  EXPECT_TRUE(WriteBytes(file, {B("XY")}));
  char received[8] = {};
  DWORD read = 0;
  EXPECT_TRUE(ReadFile(server, received, sizeof received, &read, nullptr));
  EXPECT_EQ(std::string(received, read), "XY");
  DisconnectNamedPipe(server);
  EXPECT_FALSE(WriteBytes(file, {B("Z")}));
  EXPECT_FALSE(WriteBytes(file, {B(""), B("Z")}));
  CloseFile(file);
  CloseHandle(server);
}
#else
// Makes writes at or beyond `offset` fail (EFBIG) while alive.
class WriteBarrier {
 public:
  explicit WriteBarrier(rlim_t offset) {
    oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = offset;
    active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  ~WriteBarrier() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, oldSignal_);
  }
  bool active() const { return active_; }

 private:
  rlimit old_{};
  void (*oldSignal_)(int) = nullptr;
  bool active_ = false;
};

TEST_F(FilesTest, FailedWriteMovesBackAndKeepsWhatWasWritten) {
  Put("f", "abc");
  int32_t file = Open("f", kFileKeep);
  ASSERT_NE(file, 0);
  ASSERT_TRUE(SeekToEnd(file));
  {
    WriteBarrier barrier(5);
    ASSERT_TRUE(barrier.active());
    // "XY" fits below the barrier, "ZZZ" does not.
    EXPECT_FALSE(WriteBytes(file, {B("XY"), B("ZZZ")}));
  }
  // The position is back at 3: the next write overwrites the X.
  EXPECT_TRUE(WriteBytes(file, {B("Q")}));
  CloseFile(file);
  EXPECT_EQ(Content("f"), "abcQY");
}
#endif

}  // namespace
}  // namespace tsm
