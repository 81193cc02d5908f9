// The overlay's colour settings: held to their ranges, kept in the control while no live
// graph has a mixer, and the capabilities that follow the mixer's flags.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "preview/video_window.h"

namespace {

TEST(ColorControl, ValuesOutsideTheirRangesRaiseWithTheirMessageAndChangeNothing) {
  TVideoWindowEx video(nullptr);
  TColorControl* c = video.ColorControl();
  using Setter = void (TColorControl::*)(int);
  using Getter = int (TColorControl::*)();
  struct {
    const char* name;
    Setter set;
    Getter get;
    int low, high, initial;
    const char* range;
  } props[] = {
      {"Brightness", &TColorControl::SetBrightness, &TColorControl::Brightness, 0, 10000, 750, "0 -> 10.000"},
      {"Contrast", &TColorControl::SetContrast, &TColorControl::Contrast, 0, 20000, 10000, "0 -> 20.000"},
      {"Hue", &TColorControl::SetHue, &TColorControl::Hue, -180, 180, 0, "-180 -> 180"},
      {"Saturation", &TColorControl::SetSaturation, &TColorControl::Saturation, 0, 20000, 10000, "0 -> 20.000"},
      {"Sharpness", &TColorControl::SetSharpness, &TColorControl::Sharpness, 0, 10, 5, "0 -> 10"},
      {"Gamma", &TColorControl::SetGamma, &TColorControl::Gamma, 1, 500, 1, "1 -> 500"},
  };
  for (auto& p : props) {
    SCOPED_TRACE(p.name);
    EXPECT_EQ((c->*p.get)(), p.initial);
    for (int bad : {p.low - 1, p.high + 1}) {
      try {
        (c->*p.set)(bad);
        ADD_FAILURE() << bad << " accepted";
      } catch (const Exception& e) {
        EXPECT_EQ(e.Message, "Value " + std::to_string(bad) + " out of range. Value must bee between " + p.range);
      }
      EXPECT_EQ((c->*p.get)(), p.initial);
    }
    (c->*p.set)(p.high);
    EXPECT_EQ((c->*p.get)(), p.high);
    (c->*p.set)(p.low);
    EXPECT_EQ((c->*p.get)(), p.low);
  }
  EXPECT_TRUE(c->ColorEnable());
  c->SetColorEnable(false);
  EXPECT_FALSE(c->ColorEnable());
}

TEST(ColorControl, WithAGraphButNoMixerTheValuesStayInTheControl) {
  TFilterGraph graph(nullptr);
  TVideoWindowEx video(nullptr);
  video.SetFilterGraph(&graph);
  TColorControl* c = video.ColorControl();
  c->SetContrast(15000);  // inactive graph
  EXPECT_EQ(c->Contrast(), 15000);
  graph.SetActive(true);  // live, but no mixer to ask: nothing changes
  c->SetBrightness(5000);
  EXPECT_EQ(c->Brightness(), 5000);
  EXPECT_EQ(c->Contrast(), 15000);
  c->RestoreDefaults();  // the mixer's values, never read here: the constructor's
  EXPECT_EQ(c->Brightness(), 750);
  EXPECT_EQ(c->Contrast(), 10000);
  EXPECT_TRUE(c->ColorEnable());
  video.SetFilterGraph(nullptr);
}

TEST(ColorControl, AssignCopiesTheSevenValues) {
  TVideoWindowEx a(nullptr), b(nullptr);
  a.ColorControl()->SetHue(-90);
  a.ColorControl()->SetGamma(200);
  a.ColorControl()->SetColorEnable(false);
  b.SetColorControl(a.ColorControl());
  EXPECT_EQ(b.ColorControl()->Hue(), -90);
  EXPECT_EQ(b.ColorControl()->Gamma(), 200);
  EXPECT_FALSE(b.ColorControl()->ColorEnable());
}

}  // namespace
