// Companion objects: wide components keep wide state that has no place in the 8-bit
// component they extend in a companion, one per component, found through a list kept
// sorted by the served component's address.
#pragma once

#include "vcl/contnrs.h"
#include "widetext/uniexceptions.h"

class TWideComponentHelper : public TComponent {
  VCL_CLASS(TWideComponentHelper)
 public:
  // A companion is only made for a component (CreateHelper): this plain constructor
  // raises EUniInternalError.
  explicit TWideComponentHelper(TComponent* AOwner);
  // CreateHelper: a companion with no owner serving Component, inserted into
  // CompanionList at its place by address. It goes when Component is destroyed.
  TWideComponentHelper(TComponent* Component, TComponentList* CompanionList);
  ~TWideComponentHelper() override;

  static TWideComponentHelper* CreateHelper(TComponent* Component, TComponentList* CompanionList) {
    return new TWideComponentHelper(Component, CompanionList);
  }

  // The component served; null once it has gone.
  TComponent* Component() const { return FComponent; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TComponent* FComponent = nullptr;
};

// Binary search of CompanionList for Component's companion: true when found, Index is
// then its place; otherwise Index is where a companion for Component goes.
bool FindWideComponentHelperIndex(TComponentList* CompanionList, TComponent* Component, int& Index);
// Component's companion in CompanionList, or null.
TWideComponentHelper* FindWideComponentHelper(TComponentList* CompanionList, TComponent* Component);
