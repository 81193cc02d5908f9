// The program's file as it is shipped (build/dist/Kavo.exe): laid out so that the system maps
// it into memory as it is, instead of copying each section into fresh pages at every start.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::wstring ShippedProgram() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s = path;
  return s.substr(0, s.find_last_of(L'\\') + 1) + KAVO_PROGRAM_FROM_TESTS;
}

// The headers: the DOS stub, the PE headers and the section table lie in the first pages.
std::vector<char> FileStart(const std::wstring& Path, DWORD Size) {
  std::vector<char> bytes(Size);
  HANDLE f = CreateFileW(Path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  DWORD read = 0;
  ReadFile(f, bytes.data(), Size, &read, nullptr);
  CloseHandle(f);
  bytes.resize(read);
  return bytes;
}

TEST(ProgramFile, EverySectionStartsOnAPageOfTheFile) {
  const std::wstring path = ShippedProgram();
  const std::vector<char> bytes = FileStart(path, 0x10000);
  ASSERT_GE(bytes.size(), sizeof(IMAGE_DOS_HEADER)) << "cannot read the program file";
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
  ASSERT_EQ(dos->e_magic, IMAGE_DOS_SIGNATURE);
  ASSERT_LE(static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS64), bytes.size());
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(bytes.data() + dos->e_lfanew);
  ASSERT_EQ(nt->Signature, IMAGE_NT_SIGNATURE);
  ASSERT_EQ(nt->OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC);
  SYSTEM_INFO system{};
  GetSystemInfo(&system);
  const DWORD page = system.dwPageSize;
  EXPECT_EQ(nt->OptionalHeader.FileAlignment % page, 0u) << nt->OptionalHeader.FileAlignment;

  const auto* section = IMAGE_FIRST_SECTION(nt);
  const WORD count = nt->FileHeader.NumberOfSections;
  ASSERT_LE(reinterpret_cast<const char*>(section + count), bytes.data() + bytes.size());
  int withData = 0;
  for (WORD i = 0; i < count; ++i) {
    const IMAGE_SECTION_HEADER& s = section[i];
    if (s.SizeOfRawData == 0) continue;  // nothing in the file (uninitialised data)
    ++withData;
    const std::string name(reinterpret_cast<const char*>(s.Name), strnlen(reinterpret_cast<const char*>(s.Name), 8));
    EXPECT_EQ(s.PointerToRawData % page, 0u) << name << " at file offset " << s.PointerToRawData;
  }
  EXPECT_GT(withData, 3) << "the program's code, data and resources";
}

}  // namespace
