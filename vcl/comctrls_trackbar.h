// The track bar (msctls_trackbar32): a slider whose position moves between Min and Max, with
// tick marks every Frequency steps, lying or standing.
#pragma once

#include "vcl/controls.h"

enum TTrackBarOrientation { trHorizontal, trVertical };
VCL_ENUM_INFO(TTrackBarOrientation, "trHorizontal", "trVertical")
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
VCL_ENUM_INFO(TTickMark, "tmBottomRight", "tmTopLeft", "tmBoth")
enum TTickStyle { tsNone, tsAuto, tsManual };
VCL_ENUM_INFO(TTickStyle, "tsNone", "tsAuto", "tsManual")

class TTrackBar : public TWinControl {
  VCL_CLASS(TTrackBar)
 public:
  explicit TTrackBar(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  int Min() const { return FMin; }
  void SetMin(int Value);
  int Max() const { return FMax; }
  void SetMax(int Value);
  // Read from the control while it has a window (the user's drags move it there).
  int Position();
  void SetPosition(int Value);
  int Frequency() const { return FFrequency; }
  void SetFrequency(int Value);
  int LineSize() const { return FLineSize; }
  void SetLineSize(int Value);
  int PageSize() const { return FPageSize; }
  void SetPageSize(int Value);
  TTrackBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TTrackBarOrientation Value);
  TTickMark TickMarks() const { return FTickMarks; }
  void SetTickMarks(TTickMark Value);
  TTickStyle TickStyle() const { return FTickStyle; }
  void SetTickStyle(TTickStyle Value);

  // After the position changed, by the user or from code.
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  virtual void Changed();

 private:
  void CNScroll(TMessage& Message);
  void SendRange();

  int FMin = 0;
  int FMax = 10;
  int FPosition = 0;
  int FFrequency = 1;
  int FLineSize = 1;
  int FPageSize = 2;
  TTrackBarOrientation FOrientation = trHorizontal;
  TTickMark FTickMarks = tmBottomRight;
  TTickStyle FTickStyle = tsAuto;
};

// Registers TTrackBar for stored descriptions.
void RegisterTrackBarControl();
