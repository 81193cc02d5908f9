#include "app/ui/output_file_check.h"

#include "app/common/output_file.h"
#include "app/ui/task_dialog_presets.h"

bool OutputFileReady(TUniTaskDialog* Dialog, const WideString& Output, bool UnicodeTool) {
  if (const WideString reason = PrepareOutputFolder(Output); !reason.empty()) {
    ShowTextNotice(Dialog, reason);
    return false;
  }
  if (!UnicodeTool && !EightBitOutputPath(Output)) {
    ShowTextNotice(Dialog, OutputNameOutsideCodePageText(Output));
    return false;
  }
  return true;
}
