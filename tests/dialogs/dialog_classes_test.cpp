// The dialog components as the form reader meets them: created by class name, with the
// constructor's values equal to the declared defaults.
#include <gtest/gtest.h>

#include <memory>

#include "dialogs/dialog_classes.h"
#include "dialogs/uni_task_dialog.h"
#include "vcl/streaming.h"
#include "vcl/typinfo.h"

namespace {

TEST(DialogClasses, CreatedByNameWithTheirDeclaredDefaults) {
  RegisterDialogClasses();
  for (const char* name : {"TUniTaskDialog", "TTaskDialogButton", "TFileDropTarget", "TOpenDirDialog"}) {
    const TMetaClass* cls = GetClass(name);
    ASSERT_NE(cls, nullptr) << name;
    std::unique_ptr<TComponent> c(cls->Create(nullptr));
    if (!cls->OwnProperties) continue;
    for (const TPropInfo& p : cls->OwnProperties())
      if (p.HasDefault && p.GetOrd) EXPECT_EQ(p.GetOrd(c.get()), p.Default) << name << "." << p.Name;
  }
  std::unique_ptr<TComponent> td(GetClass("TUniTaskDialog")->Create(nullptr));
  EXPECT_EQ(GetStrProp(td.get(), "Version"), "1.3.0.0");
  SetStrProp(td.get(), "Version", "9.9");
  EXPECT_EQ(GetStrProp(td.get(), "Version"), "1.3.0.0");
}

}  // namespace
