// Tests hold their forms in unique pointers that free them the way an owner does (Free runs
// BeforeDestruction, so OnDestroy handlers run while the form is whole).
#pragma once

#include "vcl/forms.h"

struct FormFree {
  void operator()(TCustomForm* Form) const { Form->Free(); }
};
