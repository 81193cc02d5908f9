#include "dialogs/dialog_classes.h"

#include "dialogs/file_drop_target.h"
#include "dialogs/open_dir_dialog.h"
#include "dialogs/task_dialog_button.h"
#include "dialogs/uni_task_dialog.h"
#include "vcl/streaming.h"

void RegisterDialogClasses() {
  RegisterClasses({TUniTaskDialog::StaticClass(), TTaskDialogButton::StaticClass(), TFileDropTarget::StaticClass(),
                   TOpenDirDialog::StaticClass()});
}
