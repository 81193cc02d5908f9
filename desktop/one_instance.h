// Keeps a second copy of the program from running: the first copy holds a named mutex for
// its whole life; a later copy finds it taken, brings the first copy forward and ends.
#pragma once

#include <functional>

#include "desktop/desktop_component.h"

using TdkOneInstanceShowMessage = std::function<void(TObject* Sender, bool& Terminate)>;

class TdkOneInstance : public TdkComponent {
  VCL_CLASS(TdkOneInstance)
 public:
  explicit TdkOneInstance(TComponent* AOwner) : TdkComponent(AOwner) {}

  bool ActivatePrevInstance = true;
  // The program's path names the instance instead of the application's title.
  bool ExeNameAsIdentifier = false;
  bool ShowMessage = false;
  // Shown to the second copy; empty: "Application "<title>" is already running.".
  AnsiString Message;
  // Added to the name, so that differently configured copies may run side by side.
  AnsiString Identifier;
  TdkOneInstanceShowMessage OnShowMessage;

  // The mutex name's stem: title (or upper-case path) + Identifier + ".OneInstance.", with
  // every "\" turned into "/".
  AnsiString InstanceName() const;
  // True when another copy holds the instance; the first copy takes it here.
  virtual bool AlreadyExists();
  // Run from Loaded: when another copy exists, tells the user (ShowMessage), brings the
  // other copy forward (ActivatePrevInstance) and ends the program unless the message handler
  // said otherwise. Returns whether another copy exists.
  virtual bool Check();
  bool Terminating() const { return FTerminating; }

  void Loaded() override;

 protected:
  virtual void ActivatePreviousInstance();
  virtual void DoShowMessage();

 private:
  bool FTerminating = false;
};

// The already-running text for an application title.
AnsiString AlreadyRunningText(const AnsiString& Title);
// Lets go of the instance this process holds (done when the program ends).
void ReleaseOneInstance();
