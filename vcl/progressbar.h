// The progress bar ("msctls_progress32"): a position between Min and Max.
#pragma once

#include "vcl/controls.h"

class TProgressBar : public TWinControl {
  VCL_CLASS(TProgressBar)
 public:
  explicit TProgressBar(TComponent* AOwner);

  int Min() const { return FMin; }
  void SetMin(int Value);
  int Max() const { return FMax; }
  void SetMax(int Value);
  // Kept within Min..Max.
  int Position() const;
  void SetPosition(int Value);
  int Step() const { return FStep; }
  void SetStep(int Value);
  // Moves the position by Step (by Delta); past Max it starts again from Min, as the
  // system's bar does.
  void StepIt();
  void StepBy(int Delta);
  bool Smooth() const { return FSmooth; }
  void SetSmooth(bool Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

 private:
  void SetRange(int AMin, int AMax);

  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  int FStep = 10;
  bool FSmooth = false;
};

// Registers TProgressBar for stored descriptions.
void RegisterProgressBar();
