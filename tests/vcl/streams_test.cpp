#include <gtest/gtest.h>

#include <string>

#include "vcl/streams.h"

namespace {

// A fresh folder under the system's temporary folder, removed with its files.
class StreamFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    dir_ = Format("%skavo_streams_%lu", tmp, GetCurrentProcessId());
    CreateDirectoryA(dir_.c_str(), nullptr);
  }
  void TearDown() override {
    for (const AnsiString& f : made_) DeleteFileA(f.c_str());
    RemoveDirectoryA(dir_.c_str());
  }
  AnsiString Path(const char* name) {
    AnsiString p = dir_ + "\\" + name;
    made_.push_back(p);
    return p;
  }
  AnsiString Make(const char* name, const std::string& bytes) {
    AnsiString p = Path(name);
    TFileStream s(p, fmCreate);
    s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    return p;
  }

  AnsiString dir_;
  std::vector<AnsiString> made_;
};

TEST_F(StreamFiles, SharingModesDecideWhetherASecondOpenSucceeds) {
  AnsiString file = Make("shared.bin", "abc");
  struct Case {
    unsigned first, second;
    bool secondOpens;
  } cases[] = {
      {fmOpenRead | fmShareDenyWrite, fmOpenRead | fmShareDenyWrite, true},
      {fmOpenRead | fmShareDenyWrite, fmOpenWrite | fmShareDenyNone, false},
      {fmOpenRead | fmShareExclusive, fmOpenRead | fmShareDenyNone, false},
      {fmOpenRead | fmShareCompat, fmOpenRead | fmShareDenyNone, false},
      {fmOpenReadWrite | fmShareDenyNone, fmOpenRead | fmShareDenyNone, true},
      {fmOpenWrite | fmShareDenyRead, fmOpenRead | fmShareDenyNone, false},
      {fmOpenWrite | fmShareDenyRead, fmOpenWrite | fmShareDenyNone, true},
  };
  for (const Case& c : cases) {
    TFileStream first(file, c.first);
    bool opened = true;
    try {
      TFileStream second(file, c.second);
    } catch (const EFOpenError&) {
      opened = false;
    }
    EXPECT_EQ(opened, c.secondOpens) << std::hex << c.first << " then " << c.second;
  }
}

TEST_F(StreamFiles, OpenAndCreateErrorsNameTheFullPathAndTheSystemReason) {
  AnsiString file = Make("exists.bin", "x");
  // Access 3 and sharing values above 4 are no modes at all.
  for (unsigned bad : {fmOpenRead | 3u, fmOpenRead | 0x50u}) {
    try {
      TFileStream s(file, bad);
      FAIL() << "opened with mode " << bad;
    } catch (const EFOpenError& e) {
      EXPECT_EQ(std::string(e.what()),
                "Cannot open file \"" + file + "\". " + SysErrorMessage(ERROR_INVALID_PARAMETER));
    }
  }
  SetCurrentDirectoryA(dir_.c_str());
  try {
    TFileStream s("missing\\new.txt", fmCreate);
    FAIL() << "created a file in a missing folder";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file \"" + dir_ + "\\missing\\new.txt\". " +
                                         SysErrorMessage(ERROR_PATH_NOT_FOUND));
  }
  try {
    TFileStream s("gone.txt", fmOpenRead);
    FAIL() << "opened a missing file";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot open file \"" + dir_ + "\\gone.txt\". " + SysErrorMessage(ERROR_FILE_NOT_FOUND));
  }
  SetCurrentDirectoryA("C:\\");
}

TEST_F(StreamFiles, FileStreamSeeksResizesAndReportsFailedTransfers) {
  AnsiString file = Make("data.bin", "0123456789");
  {
    TFileStream s(file, fmOpenReadWrite);
    EXPECT_EQ(s.Size(), 10);
    EXPECT_EQ(s.Seek(-3, soEnd), 7);
    char buf[8] = {};
    EXPECT_EQ(s.Read(buf, 8), 3);  // a short read at the end is no error
    EXPECT_EQ(std::string(buf, 3), "789");
    s.SetSize(4);
    EXPECT_EQ(s.Size(), 4);
    s.SetPosition(6);
    s.WriteBuffer("X", 1);  // writing past the end leaves a gap of zeros
    EXPECT_EQ(s.Size(), 7);
  }
  TFileStream r(file, fmOpenRead | fmShareDenyWrite);
  char all[7];
  r.ReadBuffer(all, 7);
  EXPECT_EQ(std::string(all, 7), std::string("0123\0\0X", 7));
  EXPECT_THROW(r.ReadBuffer(all, 1), EReadError);
  // A write through a read-only handle moves nothing and says so.
  EXPECT_EQ(r.Write("y", 1), 0);
  try {
    r.WriteBuffer("y", 1);
    FAIL() << "wrote through a read-only handle";
  } catch (const EWriteError& e) {
    EXPECT_STREQ(e.what(), "Stream write error");
  }
}

TEST_F(StreamFiles, MemoryStreamRoundTripsThroughAFile) {
  TMemoryStream m;
  m.SetPosition(2);
  m.WriteBuffer("ab", 2);
  EXPECT_EQ(m.Size(), 4);
  EXPECT_EQ(std::string(static_cast<char*>(m.Memory()), 4), std::string("\0\0ab", 4));
  AnsiString file = Path("memory.bin");
  m.SaveToFile(file);

  TFileStream f(file, fmOpenRead | fmShareDenyWrite);
  TMemoryStream copy;
  EXPECT_EQ(copy.CopyFrom(&f, 0), 4);  // 0: the whole source from its start
  EXPECT_EQ(copy.Position(), 4);
  TMemoryStream back;
  back.LoadFromFile(file);
  EXPECT_EQ(back.Position(), 0);
  EXPECT_EQ(std::string(static_cast<char*>(back.Memory()), 4), std::string("\0\0ab", 4));
  back.SetSize(1);
  EXPECT_EQ(back.Seek(0, soEnd), 1);
  char c;
  EXPECT_EQ(back.Read(&c, 1), 0);
}

}  // namespace
