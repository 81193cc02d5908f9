// Unicode windows of the common controls: created like any wide control's window, then
// told to send their notifications in the W forms.
#pragma once

#include "vcl/controls.h"

// CreateUnicodeHandle for a system common-control class (SubClass must name one, else
// EUniInternalError); on the Unicode platform the control then sends wide notifications.
void CreateUnicodeHandle_ComCtl(TWinControl* Control, const TCreateParams& Params, const WideString& SubClass);
