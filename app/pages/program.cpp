// The program's start: the application object's title and the three forms, in the order
// the main window must come first.
#include "app/pages/program.h"

#include "app/forms/custom_val.h"
#include "app/forms/main_form.h"
#include "app/forms/prop_form.h"
#include "vcl/application.h"
#include "widetext/uni_application.h"

void CreateProgramForms() {
  RegisterProgramClasses();
  Application->SetTitle("Kavo");
  if (WideApplication) WideApplication->SetTitle(L"Kavo");
  TMainForm* main = nullptr;
  Application->CreateForm(main);
  TPropForm* properties = nullptr;
  Application->CreateForm(properties);
  TCustomVal* custom = nullptr;
  Application->CreateForm(custom);
}
