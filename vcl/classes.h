// The object model: class references, persistent objects and components with owners.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "vcl/sysutils.h"

class TObject;
class TPersistent;
class TComponent;
class TFiler;
class TReader;
class TWriter;
struct TPropInfo;
struct TClassMembers;

// A class reference: the name, the parent class, how to create a component of the
// class (for the form reader), the class's own published properties in declaration
// order (the inherited ones live with the parent) and, for root classes such as forms,
// its own published members: handlers bound by name and component fields (vcl/typinfo.h).
struct TMetaClass {
  const char* Name;
  const TMetaClass* Parent;
  TComponent* (*Create)(TComponent* owner);             // null when not creatable by name
  const std::vector<TPropInfo>& (*OwnProperties)();      // null when the class adds none
  const TClassMembers& (*OwnMembers)();                  // null when the class adds none

  bool InheritsFrom(const TMetaClass* other) const {
    for (const TMetaClass* c = this; c; c = c->Parent)
      if (c == other) return true;
    return false;
  }
};

// Declares the class reference of a class (put it first in the class body).
#define VCL_CLASS(Name)                                   \
 public:                                                  \
  static const TMetaClass* StaticClass();                 \
  const TMetaClass* ClassType() const override {          \
    return StaticClass();                                 \
  }                                                       \
                                                          \
 private:

// Defines it in the .cpp file: VCL_CLASS_IMPL(TMyClass, TParent, factory, props)
// factory: a function TComponent*(TComponent*) or nullptr; props: a function returning
// the own property table or nullptr.
#define VCL_CLASS_IMPL(Name, ParentName, Factory, Props)                           \
  const TMetaClass* Name::StaticClass() {                                          \
    static const TMetaClass mc{#Name, ParentName::StaticClass(), Factory, Props}; \
    return &mc;                                                                    \
  }

// Default factory for components created by class name.
template <class T>
TComponent* CreateComponentOf(TComponent* owner) {
  return new T(owner);
}

class TObject {
 public:
  virtual ~TObject() = default;
  static const TMetaClass* StaticClass();
  virtual const TMetaClass* ClassType() const { return StaticClass(); }
  std::string ClassName() const { return ClassType()->Name; }
  bool InheritsFrom(const TMetaClass* c) const { return ClassType()->InheritsFrom(c); }
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// Set by the application object: window procedures and threads hand the exception being
// handled (std::current_exception) to it, without depending on the application unit.
extern std::function<void(TObject* Sender)> ApplicationHandleException;
// Shows an exception the way the application does (its message box).
extern std::function<void(const std::exception& E)> ApplicationShowException;

class TPersistent : public TObject {
  VCL_CLASS(TPersistent)
 public:
  virtual void Assign(TPersistent* source);
  virtual void DefineProperties(TFiler* filer) {}
  virtual TPersistent* GetOwner() { return nullptr; }
  virtual std::string GetNamePath();

 protected:
  virtual void AssignTo(TPersistent* dest);

 private:
  void AssignError(TPersistent* source);
};

// Component and control states (a set held as bit flags).
enum TComponentStateFlag : unsigned {
  csLoading = 1u << 0,
  csReading = 1u << 1,
  csWriting = 1u << 2,
  csDestroying = 1u << 3,
  csDesigning = 1u << 4,
  csAncestor = 1u << 5,
  csUpdating = 1u << 6,
  csFixups = 1u << 7,
  csFreeNotification = 1u << 8,
  csInline = 1u << 9,
  csDesignInstance = 1u << 10,
};
using TComponentState = unsigned;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
  VCL_CLASS(TComponent)
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  TComponent* Owner() const { return FOwner; }
  const std::string& Name() const { return FName; }
  virtual void SetName(const std::string& name);
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int i) const { return FComponents.at(static_cast<size_t>(i)); }
  int ComponentIndex() const;
  TComponent* FindComponent(const std::string& name) const;
  TComponentState ComponentState() const { return FComponentState; }
  bool HasState(unsigned flags) const { return (FComponentState & flags) != 0; }
  intptr_t Tag = 0;

  void InsertComponent(TComponent* c);
  void RemoveComponent(TComponent* c);
  void DestroyComponents();
  // Sets csDestroying and tells the components that asked for it; derived destructors
  // call it first so that peers are told while the object is still whole.
  void Destroying();
  // Runs before any destructor, while the object is still whole (a form runs its OnDestroy
  // here, whose handler is a method of the derived form). The owner calls it before it
  // frees an owned component, and Free calls it; a plain delete skips it. It must not throw.
  virtual void BeforeDestruction() {}
  // BeforeDestruction, then delete: the way to free a component that has no owner to do it.
  void Free();

  void FreeNotification(TComponent* c);
  void RemoveFreeNotification(TComponent* c);

  TPersistent* GetOwner() override { return FOwner; }
  std::string GetNamePath() override { return FName; }

  // Reading state, used by the form reader.
  void SetLoadingState(bool on);
  void SetComponentState(unsigned flags, bool on);
  virtual void Loaded();

  // --- Stored form descriptions (vcl/streaming.cpp)
  // Reads this component's stored values and children; the base reads them with
  // Reader->ReadData. Writes them likewise with Writer->WriteData.
  virtual void ReadState(TReader* Reader);
  virtual void WriteState(TWriter* Writer);
  // The components the writer stores inside this one, in order (Root: the root written).
  virtual void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root) {}
  // The owner (null: the root) and parent given to the components read inside this one.
  virtual TComponent* GetChildOwner() { return nullptr; }
  virtual TComponent* GetChildParent() { return this; }
  // A component that lives inside a parent (a control in its container) answers true; the
  // reader then hands it the parent it was stored in before reading its values.
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* Value) {}

 protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  virtual void ValidateRename(TComponent* c, const std::string& cur, const std::string& next);

 private:
  void Insert(TComponent* c);
  void Remove(TComponent* c);

  TComponent* FOwner = nullptr;
  std::string FName;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  TComponentState FComponentState = 0;
};

// A plain list of pointers (the framework's TList).
class TList : public TObject {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  void* Items(int i) const;
  void SetItems(int i, void* p);
  int Add(void* p);
  void Insert(int i, void* p);
  void Delete(int i);
  int IndexOf(void* p) const;
  int Remove(void* p);
  void Clear() { FItems.clear(); }
  void Exchange(int a, int b);
  void Move(int from, int to);

 private:
  std::vector<void*> FItems;
};
