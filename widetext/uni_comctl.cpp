#include "widetext/uni_comctl.h"

#include <commctrl.h>

#include "widetext/platform.h"
#include "widetext/uni_controls.h"

void CreateUnicodeHandle_ComCtl(TWinControl* Control, const TCreateParams& Params, const WideString& SubClass) {
  if (SubClass.empty())
    throw EUniInternalError("Unicode Internal Error: Only call CreateUnicodeHandle_ComCtl for Common Controls.");
  CreateUnicodeHandle(Control, Params, SubClass);
  if (UnicodePlatform && Control->HandleAllocated())
    SendMessageW(Control->WindowHandle(), CCM_SETUNICODEFORMAT, TRUE, 0);
}
