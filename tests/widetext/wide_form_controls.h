// Wide forms' test controls: the framework's label, edit and button with wide published
// texts and Unicode windows, readable from stored descriptions; and a wide form read from
// the description forms/WideTestForm.dfm.
#pragma once

#include <gtest/gtest.h>

#include "vcl/application.h"
#include "vcl/stdctrls.h"
#include "vcl/streaming.h"
#include "widetext/uni_forms.h"
#include "widetext/uni_hints.h"
#include "widetext/uni_controls.h"
#include "widetext/wide_control_text.h"
#include "widetext/uni_application.h"
#include "widetext/wide_props.h"
#include "widetext/platform.h"

namespace widetest {

// The application object of one test (with the wide application), gone afterwards. Its
// window is created after the wide application hooked it, unless the test does that.
class TestApplication {
 public:
  explicit TestApplication(bool createWindow = true) {
    EXPECT_EQ(Application, nullptr) << "an application object outlived its test";
    new TApplication(nullptr, TApplication::TNoHandle{});  // becomes Application
    InitWideApplication();
    if (createWindow) Application->CreateHandle();
  }
  ~TestApplication() {
    DoneWideApplication();
    delete Application;
  }
  TestApplication(const TestApplication&) = delete;
  TestApplication& operator=(const TestApplication&) = delete;
};

// Painted with the wide caption; a window-less control answers CM_HINTSHOW itself.
class TTestUniLabel : public TLabel {
  VCL_CLASS(TTestUniLabel)
 public:
  explicit TTestUniLabel(TComponent* owner) : TLabel(owner) {}
  WideString Caption() { return UniControl_GetText(this); }
  void SetCaption(const WideString& v) { UniControl_SetText(this, v); }
  WideString Hint() { return UniControl_GetHint(this); }
  void SetHint(const WideString& v) { UniControl_SetHint(this, v); }
  bool IsCaptionStored() const { return UniControl_IsCaptionStored(this); }
  bool IsHintStored() const { return UniControl_IsHintStored(this); }
  void DefineProperties(TFiler* filer) override {
    TLabel::DefineProperties(filer);
    DefineWideProperties(filer, this);
  }
  void Dispatch(TMessage& m) override {
    if (m.Msg == CM_HINTSHOW) PrepareWideHintShow(m);
    TLabel::Dispatch(m);
  }

 protected:
  void Paint() override {
    TCanvas* canvas = Canvas();
    RECT r = ClientRect();
    PrepareTextArea(canvas, r, Color(), Font());
    WideString text = Caption();
    Uni_DrawTextW(canvas->Handle(), text.c_str(), -1, &r, DrawTextBiDiModeFlags(DT_LEFT | DT_WORDBREAK));
  }
};

class TTestUniEdit : public TEdit {
  VCL_CLASS(TTestUniEdit)
 public:
  explicit TTestUniEdit(TComponent* owner) : TEdit(owner) {}
  WideString Text() { return UniControl_GetText(this); }
  void SetText(const WideString& v) { UniControl_SetText(this, v); }
  WideString Hint() { return UniControl_GetHint(this); }
  void SetHint(const WideString& v) { UniControl_SetHint(this, v); }
  bool IsHintStored() const { return UniControl_IsHintStored(this); }
  void DefineProperties(TFiler* filer) override {
    TEdit::DefineProperties(filer);
    DefineWideProperties(filer, this);
  }

 protected:
  void CreateWindowHandle(const TCreateParams& params) override { CreateUnicodeHandle(this, params, L"EDIT"); }
};

class TTestUniButton : public TButton {
  VCL_CLASS(TTestUniButton)
 public:
  explicit TTestUniButton(TComponent* owner) : TButton(owner) {}
  WideString Caption() { return UniControl_GetText(this); }
  void SetCaption(const WideString& v) { UniControl_SetText(this, v); }
  bool IsCaptionStored() const { return UniControl_IsCaptionStored(this); }
  void DefineProperties(TFiler* filer) override {
    TButton::DefineProperties(filer);
    DefineWideProperties(filer, this);
  }

 protected:
  void CreateWindowHandle(const TCreateParams& params) override { CreateUnicodeHandle(this, params, L"BUTTON"); }
};

inline const std::vector<TPropInfo>& TestUniLabelProps() {
  static const std::vector<TPropInfo> t = TPropertyTable<TTestUniLabel>()
      .Property("Caption", &TTestUniLabel::Caption, &TTestUniLabel::SetCaption)
          .Stored(&TTestUniLabel::IsCaptionStored)
      .Property("Hint", &TTestUniLabel::Hint, &TTestUniLabel::SetHint).Stored(&TTestUniLabel::IsHintStored)
      .Table();
  return t;
}
inline const std::vector<TPropInfo>& TestUniEditProps() {
  static const std::vector<TPropInfo> t = TPropertyTable<TTestUniEdit>()
      .Property("Text", &TTestUniEdit::Text, &TTestUniEdit::SetText)
      .Property("Hint", &TTestUniEdit::Hint, &TTestUniEdit::SetHint).Stored(&TTestUniEdit::IsHintStored)
      .Table();
  return t;
}
inline const std::vector<TPropInfo>& TestUniButtonProps() {
  static const std::vector<TPropInfo> t = TPropertyTable<TTestUniButton>()
      .Property("Caption", &TTestUniButton::Caption, &TTestUniButton::SetCaption)
          .Stored(&TTestUniButton::IsCaptionStored)
      .Table();
  return t;
}
inline VCL_CLASS_IMPL(TTestUniLabel, TLabel, &CreateComponentOf<TTestUniLabel>, &TestUniLabelProps)
inline VCL_CLASS_IMPL(TTestUniEdit, TEdit, &CreateComponentOf<TTestUniEdit>, &TestUniEditProps)
inline VCL_CLASS_IMPL(TTestUniButton, TButton, &CreateComponentOf<TTestUniButton>, &TestUniButtonProps)

// The wide form of forms/WideTestForm.dfm.
class TWideTestForm : public TUniForm {
  VCL_CLASS(TWideTestForm)
 public:
  explicit TWideTestForm(TComponent* owner) : TUniForm(owner) {
    RegisterClasses({TTestUniLabel::StaticClass(), TTestUniEdit::StaticClass(), TTestUniButton::StaticClass()});
  }
  TTestUniLabel* lbFrench = nullptr;
  TTestUniLabel* lbGreek = nullptr;
  TTestUniEdit* edJapanese = nullptr;
  TTestUniButton* btClose = nullptr;
  int closeClicks = 0;
  void btCloseClick(TObject*) { ++closeClicks; }
};

inline const TClassMembers& WideTestFormMembers() {
  static const TClassMembers m = TMemberTable<TWideTestForm>()
      .Field("lbFrench", &TWideTestForm::lbFrench)
      .Field("lbGreek", &TWideTestForm::lbGreek)
      .Field("edJapanese", &TWideTestForm::edJapanese)
      .Field("btClose", &TWideTestForm::btClose)
      .Handler("btCloseClick", &TWideTestForm::btCloseClick)
      .Table();
  return m;
}
inline VCL_CLASS_IMPL_MEMBERS(TWideTestForm, TUniForm, nullptr, nullptr, &WideTestFormMembers)

}  // namespace widetest
