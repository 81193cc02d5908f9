#include "desktop/class_registration.h"

#include "vcl/streaming.h"

void RegisterDesktopClass(const TMetaClass* Class) {
  if (!Class || GetClass(Class->Name)) return;
  RegisterClass(Class);
}

void RegisterDesktopClasses(std::initializer_list<const TMetaClass*> Classes) {
  for (const TMetaClass* c : Classes) RegisterDesktopClass(c);
}
