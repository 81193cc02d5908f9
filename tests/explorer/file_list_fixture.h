// A file list view on a shown form over a temporary folder of media files with Greek and
// Japanese names, and readers of what the list view's window shows.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "explorer/file_list_view.h"
#include "tests/explorer/temp_folders.h"
#include "tests/support/forms.h"
#include "tests/support/pump.h"
#include "vcl/dialogs.h"
#include "vcl/forms.h"
#include "vcl/stdctrls.h"
#include "widetext/wide_control_text.h"
#include "widetext/uni_message_dialogs.h"

namespace explorer_test {

// Sets a file's last-write time to a day of 2020 plus Minutes.
inline void SetWriteTime(const std::wstring& Path, int Minutes) {
  HANDLE file = CreateFileW(Path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  SYSTEMTIME st{2020, 5, 0, 10, 12, 0, 0, 0};
  FILETIME ft;
  SystemTimeToFileTime(&st, &ft);
  ULARGE_INTEGER v{{ft.dwLowDateTime, ft.dwHighDateTime}};
  v.QuadPart += static_cast<ULONGLONG>(Minutes) * 60 * 10000000ULL;
  ft.dwLowDateTime = v.LowPart;
  ft.dwHighDateTime = v.HighPart;
  SetFileTime(file, nullptr, nullptr, &ft);
  CloseHandle(file);
}

// Answers each message dialog (8-bit or wide) that shows while it lives with the next button
// name of Answers (the last one repeats), recording the dialog's text.
class TMessageAnswers {
 public:
  explicit TMessageAnswers(std::vector<std::string> Answers = {"OK"}) : FAnswers(std::move(Answers)) {
    Current() = this;
    FTimer = SetTimer(nullptr, 0, 20, &Tick);
  }
  ~TMessageAnswers() {
    KillTimer(nullptr, FTimer);
    Current() = nullptr;
  }
  const std::vector<std::wstring>& Texts() const { return FTexts; }

 private:
  static TMessageAnswers*& Current() {
    static TMessageAnswers* current = nullptr;
    return current;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TMessageAnswers* self = Current();
    if (!self || !Screen) return;
    for (int i = 0; i < Screen->FormCount(); ++i) {
      TCustomForm* form = Screen->Forms(i);
      if (!form->Visible() || form->ModalResult() != 0) continue;
      if (!dynamic_cast<TMessageForm*>(form) && !dynamic_cast<TUniMessageForm*>(form)) continue;
      auto* label = dynamic_cast<TControl*>(form->FindComponent("Message"));
      self->FTexts.push_back(label ? UniControl_GetText(label) : std::wstring());
      size_t n = self->FTexts.size() - 1;
      const std::string& answer = self->FAnswers[std::min(n, self->FAnswers.size() - 1)];
      if (auto* button = dynamic_cast<TButton*>(form->FindComponent(answer))) button->Click();
      return;
    }
  }
  std::vector<std::string> FAnswers;
  std::vector<std::wstring> FTexts;
  UINT_PTR FTimer = 0;
};

inline std::wstring kUpCaption() { return L" Up one level"; }

class FileListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitApplication();
    Form.reset(TCustomForm::CreateNew<TForm>(nullptr));
    Form->SetBounds(0, 0, 640, 420);
    View = new TShFileListView(Form.get());
    View->SetParent(Form.get());
    View->SetAlign(alClient);
    Form->Show();
    // Sizes, times and attributes differ from the name order on purpose.
    Files = {
        {L"Ελληνικά.m4a", 3000, 30, 0},        {L"日本語の歌.mp4", 500, 10, FILE_ATTRIBUTE_READONLY},
        {L"alpha.MP4", 70000, 20, 0},          {L"beta.m4a", 1, 50, FILE_ATTRIBUTE_HIDDEN},
        {L"notes.txt", 2048, 40, FILE_ATTRIBUTE_SYSTEM},
    };
    for (const auto& f : Files) {
      std::wstring path = Temp.MakeFile(f.Name, f.Bytes);
      SetWriteTime(path, f.Minutes);
      if (f.Attributes) SetFileAttributesW(path.c_str(), f.Attributes | FILE_ATTRIBUTE_ARCHIVE);
    }
    Temp.MakeFolder(L"Zeta");
    Temp.MakeFolder(L"a.b");
    SetWriteTime(Temp.Sub(L"Zeta"), 5);
    SetWriteTime(Temp.Sub(L"a.b"), 6);
  }
  void TearDown() override {
    Form.reset();
    Application->ProcessMessages();
  }

  HWND Wnd() const { return View->Handle(); }
  HWND Header() const { return ListView_GetHeader(View->Handle()); }

  // The text the window shows in row Row, column Column (0: the caption).
  std::wstring Text(int Row, int Column) const {
    wchar_t buf[512] = {};
    LVITEMW it{};
    it.iSubItem = Column;
    it.pszText = buf;
    it.cchTextMax = 512;
    SendMessageW(Wnd(), LVM_GETITEMTEXTW, static_cast<WPARAM>(Row), reinterpret_cast<LPARAM>(&it));
    return buf;
  }
  int Count() const { return static_cast<int>(SendMessageW(Wnd(), LVM_GETITEMCOUNT, 0, 0)); }
  // The captions of all rows as the window shows them.
  std::vector<std::wstring> Captions() const {
    std::vector<std::wstring> out;
    for (int i = 0; i < Count(); ++i) out.push_back(Text(i, 0));
    return out;
  }
  void Select(const std::vector<int>& Rows) {
    LVITEMW clear{};
    clear.stateMask = LVIS_SELECTED;
    SendMessageW(Wnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
    for (int r : Rows) {
      LVITEMW it{};
      it.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
      it.state = LVIS_SELECTED | LVIS_FOCUSED;
      SendMessageW(Wnd(), LVM_SETITEMSTATE, static_cast<WPARAM>(r), reinterpret_cast<LPARAM>(&it));
    }
  }
  int RowNamed(const std::wstring& Caption) const {
    for (int i = 0; i < Count(); ++i)
      if (Text(i, 0) == Caption) return i;
    return -1;
  }
  void SelectNamed(const std::vector<std::wstring>& Names) {
    std::vector<int> rows;
    for (const auto& n : Names) rows.push_back(RowNamed(n));
    Select(rows);
  }
  // A click on the header of column Column, as the mouse gives it.
  void ClickHeader(int Column) {
    RECT r{};
    SendMessageW(Header(), HDM_GETITEMRECT, static_cast<WPARAM>(Column), reinterpret_cast<LPARAM>(&r));
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(Header(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(Header(), WM_LBUTTONUP, 0, at);
    Application->ProcessMessages();
  }
  int HeaderFormat(int Column) const {
    HDITEMW hd{};
    hd.mask = HDI_FORMAT;
    SendMessageW(Header(), HDM_GETITEMW, static_cast<WPARAM>(Column), reinterpret_cast<LPARAM>(&hd));
    return hd.fmt;
  }
  void PressKey(WORD Key, bool Shift = false, bool Ctrl = false) {
    ::SetFocus(Wnd());
    BYTE state[256] = {};
    GetKeyboardState(state);
    BYTE saved[256];
    memcpy(saved, state, sizeof saved);
    state[VK_SHIFT] = Shift ? 0x80 : 0;
    state[VK_CONTROL] = Ctrl ? 0x80 : 0;
    SetKeyboardState(state);
    SendMessageW(Wnd(), WM_KEYDOWN, Key, 1);
    SendMessageW(Wnd(), WM_KEYUP, Key, 0xC0000001);
    SetKeyboardState(saved);
    Application->ProcessMessages();
  }

  struct TFileSpec {
    const wchar_t* Name;
    size_t Bytes;
    int Minutes;
    DWORD Attributes;
  };
  std::vector<TFileSpec> Files;
  TTempFolder Temp;
  std::unique_ptr<TForm, FormFree> Form;
  TShFileListView* View = nullptr;
};

}  // namespace explorer_test
