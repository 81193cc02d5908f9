// The extended combo box: items with pictures read from a stored description and shown by
// the system's control, the user's choice, the control's action, and a new window.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <memory>
#include <string>

#include "tests/vcl/test_windows.h"
#include "vcl/actions.h"
#include "vcl/comctrls_comboboxex.h"
#include "vcl/extctrls.h"
#include "vcl/imglist.h"
#include "vcl/pictures.h"
#include "vcl/streaming.h"

using namespace testwin;

namespace {

const char* kDescription = R"(object Root: TPanel
  Left = 0
  Top = 0
  Width = 300
  Height = 160
  object Pictures: TImageList
    Height = 16
    Width = 16
  end
  object Formats: TComboBoxEx
    Left = 8
    Top = 8
    Width = 200
    Height = 22
    Images = Pictures
    ItemIndex = 1
    Style = csExDropDownList
    ItemsEx = <
      item
        Caption = 'MP4 video'
        ImageIndex = 0
      end
      item
        Caption = '3GP video'
        ImageIndex = 1
      end
      item
        Caption = 'Audio only'
      end>
  end
end
)";

class ComboBoxEx : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterExtControls();
    RegisterImageLists();
    RegisterComboBoxExControl();
    root.reset(new TPanel(nullptr));
    ReadComponentData(kDescription, std::strlen(kDescription), root.get(), "comboex.dfm");
    pictures = static_cast<TImageList*>(root->FindComponent("Pictures"));
    for (int i = 0; i < 2; ++i) {
      TBitmap picture;
      picture.SetSize(16, 16);
      pictures->AddMasked(&picture, clFuchsia);
    }
    combo = static_cast<TComboBoxEx*>(root->FindComponent("Formats"));
    host.reset(ShownHost(320, 200));
    root->SetParent(host.get());
    Flush();
  }
  void TearDown() override {
    root.reset();
    host.reset();
  }
  // The text and picture of item Index as the system's control holds them.
  std::pair<std::wstring, int> NativeItem(int Index) {
    wchar_t text[64] = {};
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE;
    item.iItem = Index;
    item.pszText = text;
    item.cchTextMax = 64;
    EXPECT_TRUE(SendMessageW(combo->Handle(), CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    return {text, item.iImage};
  }

  std::unique_ptr<THostWindow> host;
  std::unique_ptr<TPanel> root;
  TImageList* pictures = nullptr;
  TComboBoxEx* combo = nullptr;
};

TEST_F(ComboBoxEx, StoredItemsShowWithTheirPicturesAndTheStoredChoice) {
  HWND wnd = combo->Handle();
  ASSERT_EQ(SendMessageA(wnd, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(NativeItem(0), std::make_pair(std::wstring(L"MP4 video"), 0));
  EXPECT_EQ(NativeItem(1), std::make_pair(std::wstring(L"3GP video"), 1));
  EXPECT_EQ(NativeItem(2), std::make_pair(std::wstring(L"Audio only"), -1));
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(wnd, CBEM_GETIMAGELIST, 0, 0)), pictures->Handle());
  // The bar sized itself to one row; the list drops down below it.
  EXPECT_LT(combo->Height(), 40);

  // Items changed later reach the window, the choice stays.
  combo->ItemsEx()->AddItem("Subtitles", 1);
  combo->ItemsEx()->Items(0)->SetCaption("MPEG-4 video");
  EXPECT_EQ(NativeItem(3), std::make_pair(std::wstring(L"Subtitles"), 1));
  EXPECT_EQ(NativeItem(0).first, L"MPEG-4 video");
  EXPECT_EQ(combo->ItemIndex(), 1);

  // A new window (another style) gets the items and the choice again.
  combo->SetStyle(csExDropDown);
  EXPECT_NE(combo->Handle(), wnd);
  EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(combo->ItemIndex(), 1);
  EXPECT_EQ(combo->Text(), "3GP video");

  // A picture list that goes away leaves the control without one.
  delete pictures;
  EXPECT_EQ(combo->Images(), nullptr);
  EXPECT_EQ(SendMessageA(combo->Handle(), CBEM_GETIMAGELIST, 0, 0), 0);
}

TEST_F(ComboBoxEx, TheUsersChoiceIsToldAsASelectionAndAChange) {
  std::vector<std::string> told;
  combo->OnSelect = [&](TObject*) { told.push_back("select " + std::to_string(combo->ItemIndex())); };
  combo->OnChange = [&](TObject*) { told.push_back("change"); };
  // The user drops the list down and clicks the third item.
  HWND inner = reinterpret_cast<HWND>(SendMessageA(combo->Handle(), CBEM_GETCOMBOCONTROL, 0, 0));
  ASSERT_TRUE(inner);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(inner, &info));
  SendMessageA(inner, CB_SHOWDROPDOWN, TRUE, 0);
  Flush();
  RECT r{};
  SendMessageA(info.hwndList, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
  const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  SendMessageA(info.hwndList, WM_MOUSEMOVE, 0, at);
  SendMessageA(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(info.hwndList, WM_LBUTTONUP, 0, at);
  Flush();
  EXPECT_EQ(combo->ItemIndex(), 2);
  EXPECT_EQ(told, (std::vector<std::string>{"select 2", "change"}));
  // A choice made by the program is not the user's: nothing is told.
  told.clear();
  combo->SetItemIndex(0);
  EXPECT_EQ(combo->ItemIndex(), 0);
  EXPECT_TRUE(told.empty());
}

TEST_F(ComboBoxEx, TheActionsTextHintAndEnablingReachTheControl) {
  combo->SetStyle(csExDropDown);
  combo->SetItemIndex(-1);
  TAction action(nullptr);
  action.SetCaption("Pick a format");
  action.SetHint("The container of the new file");
  action.SetEnabled(false);
  combo->SetAction(&action);
  ASSERT_TRUE(combo->ActionLink());
  EXPECT_EQ(combo->ActionLink()->ClassType(), TComboBoxExActionLink::StaticClass());
  EXPECT_EQ(combo->Text(), "Pick a format");
  EXPECT_EQ(combo->Hint(), "The container of the new file");
  EXPECT_FALSE(combo->Enabled());
  EXPECT_FALSE(IsWindowEnabled(combo->Handle()));
  HWND edit = reinterpret_cast<HWND>(SendMessageA(combo->Handle(), CBEM_GETEDITCONTROL, 0, 0));
  ASSERT_TRUE(edit);
  EXPECT_EQ(WindowText(edit), "Pick a format");

  action.SetCaption("Choose a format");
  action.SetEnabled(true);
  EXPECT_EQ(WindowText(edit), "Choose a format");
  EXPECT_TRUE(IsWindowEnabled(combo->Handle()));
  combo->SetAction(nullptr);
}

}  // namespace
