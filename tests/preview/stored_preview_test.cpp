// The preview as the application's form stores it: the graph and its video window read from
// a description, linked, and the application's shut-down on them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "preview/video_window.h"
#include "tests/preview/graph_recorder.h"
#include "tests/preview/preview_host.h"
#include "vcl/streaming.h"
#include "vcl/typinfo.h"

namespace {

class TPreviewForm : public TPreviewHost {
  VCL_CLASS(TPreviewForm)
 public:
  using TPreviewHost::TPreviewHost;
  ~TPreviewForm() override { Destroying(); }
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) override {
    for (int i = 0; i < ComponentCount(); ++i) proc(Components(i));
  }
  TFilterGraph* FilterGraph = nullptr;
  TVideoWindowEx* VideoWindowEx1 = nullptr;
  int activations = 0;
  void FilterGraphActivate(TObject*) { ++activations; }
};

const TClassMembers& PreviewFormMembers() {
  static const TClassMembers m = TMemberTable<TPreviewForm>()
                                     .Handler("FilterGraphActivate", &TPreviewForm::FilterGraphActivate)
                                     .Field("FilterGraph", &TPreviewForm::FilterGraph)
                                     .Field("VideoWindowEx1", &TPreviewForm::VideoWindowEx1)
                                     .Table();
  return m;
}
VCL_CLASS_IMPL_MEMBERS(TPreviewForm, TWinControl, &CreateComponentOf<TPreviewForm>, nullptr, &PreviewFormMembers)

const char* const kForm = R"(object PreviewForm: TPreviewForm
  object FilterGraph: TFilterGraph
    AutoCreate = %s
    GraphEdit = False
    LinearVolume = True
    OnActivate = FilterGraphActivate
  end
  object VideoWindowEx1: TVideoWindowEx
    Left = 13
    Top = 50
    Width = 228
    Height = 112
    AspectRatio = rmLetterBox
    AutoHideCursor = 0
    DigitalZoom = 0
    FilterGraph = FilterGraph
    ColorControl.Brightness = 750
    ColorControl.Contrast = 10000
    ColorControl.Hue = 0
    ColorControl.Saturation = 10000
    ColorControl.Sharpness = 5
    ColorControl.Gamma = 1
    ColorControl.ColorEnable = True
    NoScreenSaver = False
    Color = clBlack
  end
end
)";

std::string Form(bool autoCreate) {
  char text[2048];
  std::snprintf(text, sizeof text, kForm, autoCreate ? "True" : "False");
  return text;
}

TEST(StoredPreview, TheApplicationsDescriptionLinksTheWindowToAnInactiveGraph) {
  RegisterPreviewClasses();
  RegisterClass(TPreviewForm::StaticClass());
  TPreviewForm form(nullptr);
  std::string text = Form(false);
  ReadComponentData(text.data(), text.size(), &form, "preview.dfm");
  ASSERT_NE(form.FilterGraph, nullptr);
  ASSERT_NE(form.VideoWindowEx1, nullptr);
  EXPECT_FALSE(form.FilterGraph->Active());
  EXPECT_EQ(form.VideoWindowEx1->FilterGraph(), form.FilterGraph);
  EXPECT_EQ(form.FilterGraph->MemberCount(), 1);
  EXPECT_EQ(form.FilterGraph->ListenerCount(), 1);
  EXPECT_EQ(form.VideoWindowEx1->Parent(), &form);
  EXPECT_EQ(form.VideoWindowEx1->Width(), 228);
  EXPECT_EQ(form.VideoWindowEx1->ColorControl()->Brightness(), 750);
  EXPECT_EQ(form.activations, 0);

  // The application's shut-down: deactivate, then stop and clear, which do nothing now.
  form.FilterGraph->SetActive(false);
  EXPECT_FALSE(form.FilterGraph->Stop());
  form.FilterGraph->ClearGraph();

  // What the writer keeps: the always-stored values, even at their constructor values.
  TMemoryStream stream;
  WriteComponent(&stream, &form);
  std::string bytes(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
  for (const char* name : {"GraphEdit", "LinearVolume", "AspectRatio", "AutoHideCursor", "DigitalZoom",
                           "NoScreenSaver", "ColorControl.Brightness", "ColorControl.ColorEnable"})
    EXPECT_NE(bytes.find(name), std::string::npos) << name;
  for (const char* name : {"AutoCreate", "FullScreenTopMost", "Mode"})  // at their defaults
    EXPECT_EQ(bytes.find(name), std::string::npos) << name;
}

TEST(StoredPreview, AutoCreateActivatesOnceLoadedWithTheWindowsRenderer) {
  RegisterPreviewClasses();
  RegisterClass(TPreviewForm::StaticClass());
  TPreviewForm form(nullptr);
  std::string text = Form(true);
  ReadComponentData(text.data(), text.size(), &form, "preview.dfm");
  ASSERT_TRUE(form.FilterGraph->Active());
  EXPECT_EQ(form.activations, 1);
  EXPECT_EQ(FilterNames(form.FilterGraph->Graph()), std::vector<std::wstring>{L"VideoWindowEx1"});
  EXPECT_NE(form.VideoWindowEx1->VideoWindow(), nullptr);
}

}  // namespace
