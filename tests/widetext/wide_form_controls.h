// The application object of a wide test, and a wide form read from the description
// forms/WideTestForm.dfm, made of the shipped wide label, edit and button.
#pragma once

#include <gtest/gtest.h>

#include "vcl/application.h"
#include "vcl/stdctrls.h"
#include "vcl/streaming.h"
#include "widetext/uni_buttons.h"
#include "widetext/uni_edits.h"
#include "widetext/uni_forms.h"
#include "widetext/uni_labels.h"
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

// The wide form of forms/WideTestForm.dfm.
class TWideTestForm : public TUniForm {
  VCL_CLASS(TWideTestForm)
 public:
  explicit TWideTestForm(TComponent* owner) : TUniForm(owner) {
    RegisterUniLabelControls();
    RegisterUniEditControls();
    RegisterUniButtonControls();
  }
  TUniLabel* lbFrench = nullptr;
  TUniLabel* lbGreek = nullptr;
  TUniEdit* edJapanese = nullptr;
  TUniButton* btClose = nullptr;
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
