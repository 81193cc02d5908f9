// The up-down control (msctls_updown32): two arrow buttons that step a position between
// Min and Max, optionally shown in an associated edit control.
#pragma once

#include <functional>

#include "vcl/controls.h"

enum TUDOrientation { udHorizontal, udVertical };
VCL_ENUM_INFO(TUDOrientation, "udHorizontal", "udVertical")
enum TUDAlignButton { udLeft, udRight };
VCL_ENUM_INFO(TUDAlignButton, "udLeft", "udRight")
enum TUDBtnType { btNext, btPrev };

using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TUpDown : public TWinControl {
  VCL_CLASS(TUpDown)
 public:
  explicit TUpDown(TComponent* AOwner);
  void Dispatch(TMessage& Message) override;

  int Min() const { return FMin; }
  void SetMin(int Value);
  int Max() const { return FMax; }
  void SetMax(int Value);
  // Read from the control while it has a window (the user's presses move it there).
  int Position();
  void SetPosition(int Value);
  int Increment() const { return FIncrement; }
  void SetIncrement(int Value);
  TUDOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TUDOrientation Value);
  TUDAlignButton AlignButton() const { return FAlignButton; }
  void SetAlignButton(TUDAlignButton Value);
  bool Wrap() const { return FWrap; }
  void SetWrap(bool Value);
  bool ArrowKeys() const { return FArrowKeys; }
  void SetArrowKeys(bool Value);
  bool Thousands() const { return FThousands; }
  void SetThousands(bool Value);
  // The edit that shows the position: the up-down sits against it and writes its number
  // into it.
  TWinControl* Associate() const { return FAssociate; }
  void SetAssociate(TWinControl* Value);

  // After an arrow press changed the position.
  TUDClickEvent OnClick;
  // Before an arrow press changes the position; AllowChange false keeps it.
  TUDChangingEvent OnChanging;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual bool CanChange();
  virtual void Click(TUDBtnType Button);

 private:
  void UpdateAssociate();
  void CNNotify(TMessage& Message);
  void CNScroll(TMessage& Message);

  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  int FIncrement = 1;
  TUDOrientation FOrientation = udVertical;
  TUDAlignButton FAlignButton = udRight;
  bool FWrap = false;
  bool FArrowKeys = true;
  bool FThousands = true;
  TWinControl* FAssociate = nullptr;
};

// Registers TUpDown for stored descriptions.
void RegisterUpDownControl();
