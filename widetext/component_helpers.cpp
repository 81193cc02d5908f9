#include "widetext/component_helpers.h"

#include <functional>

VCL_CLASS_IMPL(TWideComponentHelper, TComponent, &CreateComponentOf<TWideComponentHelper>, nullptr)

namespace {

// Raised before the component base is built, so that nothing is left to undo.
TComponent* RefusePlainCreate(TComponent*) {
  throw EUniInternalError("Unicode Internal Error: TWideComponentHelper.Create should never be encountered.");
}

[[noreturn]] void FindIndexFailed() {
  throw EUniInternalError("Unicode Internal Error: FindWideComponentHelperIndex failed.");
}

// The companion at Index; anything else in the list is a fault of the layer.
TWideComponentHelper* HelperAt(TComponentList* CompanionList, int Index) {
  auto* helper = dynamic_cast<TWideComponentHelper*>(CompanionList->Items(Index));
  if (!helper) FindIndexFailed();
  return helper;
}

// Orders components by identity: -1, 0 or 1.
int CompareByAddress(const TComponent* A, const TComponent* B) {
  if (std::less<const TComponent*>()(A, B)) return -1;
  if (std::less<const TComponent*>()(B, A)) return 1;
  return 0;
}

}  // namespace

TWideComponentHelper::TWideComponentHelper(TComponent* AOwner) : TComponent(RefusePlainCreate(AOwner)) {}

TWideComponentHelper::TWideComponentHelper(TComponent* Component, TComponentList* CompanionList)
    : TComponent(nullptr), FComponent(Component) {
  FComponent->FreeNotification(this);
  int index;
  FindWideComponentHelperIndex(CompanionList, FComponent, index);
  CompanionList->Insert(index, this);
}

TWideComponentHelper::~TWideComponentHelper() { Destroying(); }

void TWideComponentHelper::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == FComponent) {
    FComponent = nullptr;
    // The companion's list hears of this and lets it go.
    delete this;
  }
}

bool FindWideComponentHelperIndex(TComponentList* CompanionList, TComponent* Component, int& Index) {
  bool found = false;
  int l = 0;
  int h = CompanionList->Count() - 1;
  while (l <= h) {
    const int i = (l + h) >> 1;
    const int c = CompareByAddress(HelperAt(CompanionList, i)->Component(), Component);
    if (c < 0) {
      l = i + 1;
    } else {
      h = i - 1;
      if (c == 0) {
        found = true;
        l = i;
      }
    }
  }
  Index = l;
  return found;
}

TWideComponentHelper* FindWideComponentHelper(TComponentList* CompanionList, TComponent* Component) {
  int index;
  if (!FindWideComponentHelperIndex(CompanionList, Component, index)) return nullptr;
  TWideComponentHelper* helper = HelperAt(CompanionList, index);
  if (helper->Component() != Component) FindIndexFailed();
  return helper;
}
