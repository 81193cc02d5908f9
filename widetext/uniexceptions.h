// Exceptions of the wide text layer.
#pragma once

#include "vcl/sysutils.h"

// Bad input handed to the wide text layer (for example "Invalid UTF7").
VCL_DECLARE_EXCEPTION(EUniGeneralError, Exception)
// A fault inside the layer itself (for example "Buffer overflow" of a codec).
VCL_DECLARE_EXCEPTION(EUniInternalError, Exception)
