// Controls read from and written to stored descriptions: parents, bounds, fonts, colours
// and tab order.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "tests/vcl/test_windows.h"
#include "vcl/controls.h"
#include "vcl/streaming.h"
#include "vcl/streams.h"

using namespace testwin;

namespace {

// Containers and edits that publish what a description of them holds.
class TStoredBox : public TBox {
  VCL_CLASS(TStoredBox)
 public:
  using TBox::TBox;
};

class TStoredEdit : public TLineEdit {
  VCL_CLASS(TStoredEdit)
 public:
  using TLineEdit::TLineEdit;
};

const std::vector<TPropInfo>& StoredBoxProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TStoredBox>()
      .Property("Align", &TControl::Align, &TControl::SetAlign).Default(alNone)
      .Property("Color", &TControl::Color, &TControl::SetColor).Idents(ColorIdents())
      .Property("Font", &TControl::Font, &TControl::SetFont)
      .Table();
  return table;
}

const std::vector<TPropInfo>& StoredEditProperties() {
  static const std::vector<TPropInfo> table = TPropertyTable<TStoredEdit>()
      .Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
      .Property("Text", &TControl::Text, &TControl::SetText)
      .Table();
  return table;
}

VCL_CLASS_IMPL(TStoredBox, TBox, &CreateComponentOf<TStoredBox>, &StoredBoxProperties)
VCL_CLASS_IMPL(TStoredEdit, TLineEdit, &CreateComponentOf<TStoredEdit>, &StoredEditProperties)

const char* kDescription = R"(object Root: TStoredBox
  Left = 0
  Top = 0
  Width = 300
  Height = 200
  Color = clInfoBk
  Font.Name = 'Arial'
  Font.Style = [fsBold]
  object Strip: TStoredBox
    Left = 0
    Top = 0
    Width = 300
    Height = 30
    Align = alTop
    Color = clRed
    object Edit1: TStoredEdit
      Left = 4
      Top = 4
      Width = 100
      Height = 21
      TabOrder = 1
      Text = 'first'
    end
    object Edit2: TStoredEdit
      Left = 110
      Top = 4
      Width = 100
      Height = 21
      TabOrder = 0
      Text = 'second'
    end
  end
end
)";

// What the description above must have produced.
void ExpectDescribed(TStoredBox* root) {
  auto* strip = dynamic_cast<TStoredBox*>(root->FindComponent("Strip"));
  auto* edit1 = dynamic_cast<TStoredEdit*>(root->FindComponent("Edit1"));
  auto* edit2 = dynamic_cast<TStoredEdit*>(root->FindComponent("Edit2"));
  ASSERT_TRUE(strip && edit1 && edit2);
  EXPECT_EQ(strip->Parent(), root);
  EXPECT_EQ(edit1->Parent(), strip);
  EXPECT_EQ(edit1->Owner(), root);
  EXPECT_EQ(edit1->BoundsRect(), (RECT{4, 4, 104, 25}));
  EXPECT_EQ(edit1->Text(), "first");
  EXPECT_EQ(edit2->TabOrder(), 0);
  EXPECT_EQ(edit1->TabOrder(), 1);
  EXPECT_EQ(strip->Align(), alTop);
  EXPECT_EQ(root->Color(), clInfoBk);
  EXPECT_EQ(strip->Color(), clRed);
  // Looks not stored are taken from the parent once the description is read.
  EXPECT_TRUE(edit1->ParentColor());
  EXPECT_EQ(edit1->Color(), clRed);
  EXPECT_TRUE(edit1->ParentFont());
  EXPECT_EQ(edit1->Font()->Name(), "Arial");
  EXPECT_EQ(edit1->Font()->Style(), static_cast<TFontStyles>(fsBold));
  EXPECT_EQ(edit1->Caption(), "first");  // the name did not become the caption while reading
}

class ControlsStreaming : public ::testing::Test {
 protected:
  void SetUp() override { RegisterClasses({TStoredBox::StaticClass(), TStoredEdit::StaticClass()}); }
};

TEST_F(ControlsStreaming, ControlsAreReadIntoTheirContainers) {
  std::unique_ptr<TStoredBox> root(new TStoredBox(nullptr));
  ReadComponentData(kDescription, std::strlen(kDescription), root.get(), "controls.dfm");
  ExpectDescribed(root.get());

  // Once in a window, the windows follow the description.
  std::unique_ptr<THostWindow> host(ShownHost(320, 240));
  root->SetParent(host.get());
  auto* strip = static_cast<TWinControl*>(root->FindComponent("Strip"));
  auto* edit1 = static_cast<TWinControl*>(root->FindComponent("Edit1"));
  ASSERT_TRUE(edit1->HandleAllocated());
  EXPECT_EQ(GetParent(edit1->WindowHandle()), strip->WindowHandle());
  EXPECT_EQ(WindowText(edit1->WindowHandle()), "first");
  EXPECT_EQ(strip->Width(), 300);  // aligned to the top of its container
  root->SetParent(nullptr);
}

TEST_F(ControlsStreaming, WrittenControlsReadBackTheSame) {
  std::unique_ptr<TStoredBox> root(new TStoredBox(nullptr));
  ReadComponentData(kDescription, std::strlen(kDescription), root.get(), "controls.dfm");
  TMemoryStream stream;
  WriteComponent(&stream, root.get());
  stream.SetPosition(0);
  std::unique_ptr<TStoredBox> copy(new TStoredBox(nullptr));
  ReadComponent(&stream, copy.get(), "written");
  ExpectDescribed(copy.get());
  EXPECT_EQ(copy->ComponentCount(), 3);
}

// System colours are 0xFF000000 plus their index, read and written as such and by name.
TEST_F(ControlsStreaming, SystemColoursAreTheirIndexAboveFF000000) {
  EXPECT_EQ(clBtnFace, static_cast<TColor>(0xFF00000F));
  EXPECT_EQ(clHighlight, static_cast<TColor>(0xFF00000D));
  EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
  const char* text = "object Root: TStoredBox\n  Color = $FF00000F\nend\n";
  std::unique_ptr<TStoredBox> root(new TStoredBox(nullptr));
  ReadComponentData(text, std::strlen(text), root.get(), "colours.dfm");
  EXPECT_EQ(root->Color(), clBtnFace);
  TMemoryStream stream;
  WriteComponent(&stream, root.get());
  // Written by its name, as the framework's own descriptions hold it.
  std::string written(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
  EXPECT_NE(written.find("clBtnFace"), std::string::npos);
  stream.SetPosition(0);
  std::unique_ptr<TStoredBox> copy(new TStoredBox(nullptr));
  ReadComponent(&stream, copy.get(), "written");
  EXPECT_EQ(copy->Color(), static_cast<TColor>(0xFF00000F));
}

}  // namespace
