// Published properties and published members: the per-class tables the form reader and
// writer work from, and typed access to a property of an object through them.
//
// A class lists its own published properties, in declaration order, in a table built with
// TPropertyTable and hands the table to its class reference (VCL_CLASS_IMPL's Props):
//
//   static const std::vector<TPropInfo>& DosCommandProperties() {
//     static const std::vector<TPropInfo> table = TPropertyTable<TDosCommand>()
//         .Property("CommandLine", &TDosCommand::CommandLine)            // a data member
//         .Property("OnNewLine", &TDosCommand::OnNewLine)                // an event (std::function)
//         .Property("InputToOutput", &TDosCommand::InputToOutput).Default(false)
//         .Property("ShowWindow", &TDosCommand::ShowWindow, &TDosCommand::SetShowWindow)
//             .Default(swHIDE)
//         .Property("OutputReturnCode", &TDosCommand::OutputReturnCode, nullptr)  // read-only
//         .SetProperty<TAnchorKind>("Anchors", &TControl::Anchors, &TControl::SetAnchors)
//         .Property("Caption", &TButton::Caption, &TButton::SetCaption).Stored(&TButton::IsCaptionStored)
//         .Table();
//     return table;
//   }
//   VCL_CLASS_IMPL(TDosCommand, TComponent, &CreateComponentOf<TDosCommand>, &DosCommandProperties)
//
// The kind follows from the C++ type the getter returns: int/short/long -> Integer, unsigned
// types -> Cardinal, 64-bit integers -> Int64, bool -> Boolean, char -> Char, wchar_t ->
// WideChar, float/double -> Float, AnsiString, WideString, an enumeration (its identifiers come
// from EnumTypeInfo, declared with VCL_ENUM_INFO beside the enumeration), a pointer to a TObject
// descendant -> class (a component reference when the class is a TComponent, otherwise a
// sub-object such as a font, written as its own properties), a std::function -> method (event).
// A set is declared with SetProperty<Element> and held as a bit mask (bit n = ordinal n).
// Integer types with names for some values (colours: clRed, clBtnFace) stay integers and
// add .Idents(&table): the writer then stores a named value as its identifier and the
// reader accepts the identifier.
//
// Getters: a data member, or a member function `T Get() const` / `const T& Get() const`.
// Setters: omitted (a data member getter then gives write access too), nullptr (read-only),
// a data member, or a member function `void Set(T)` / `void Set(const T&)`.
// Members may belong to a base class of the class the table describes.
//
// A root class (a form) also lists its published members: event handlers, bound by name to
// the events of the components read into it, and component fields, set to the components of
// that name as they are read. Give the table to VCL_CLASS_IMPL_MEMBERS:
//
//   static const TClassMembers& MainFormMembers() {
//     static const TClassMembers members = TMemberTable<TMainForm>()
//         .Handler("btAddClick", &TMainForm::btAddClick)       // void btAddClick(TObject*)
//         .Field("btAdd", &TMainForm::btAdd)                    // TButton* btAdd
//         .Table();
//     return members;
//   }
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "vcl/classes.h"

enum TTypeKind {
  tkUnknown,
  tkInteger,      // int
  tkCardinal,     // unsigned
  tkInt64,        // int64_t
  tkChar,         // char
  tkWChar,        // wchar_t
  tkBoolean,      // bool (identifiers False, True)
  tkEnumeration,  // enumeration with an identifier table
  tkSet,          // set of an enumeration, a bit mask
  tkFloat,        // double
  tkLString,      // AnsiString
  tkWString,      // WideString
  tkClass,        // TObject descendant: sub-object or component reference
  tkMethod,       // event: a std::function
};

// Identifier table of an enumeration: ordinal n is Names[n].
struct TEnumInfo {
  const char* TypeName;
  std::vector<const char*> Names;

  int Count() const { return static_cast<int>(Names.size()); }
  // The identifier of an ordinal; empty when out of range.
  AnsiString NameOf(int64_t ordinal) const;
  // The ordinal of an identifier (ASCII case-insensitive); -1 when unknown.
  int ValueOf(const AnsiString& name) const;
};

// Declares the identifiers of an enumeration (at namespace scope, beside the enumeration):
//   enum TShowWindow { swHIDE, swMAXIMIZE, ... };
//   VCL_ENUM_INFO(TShowWindow, "swHIDE", "swMAXIMIZE", ...)
#define VCL_ENUM_INFO(Type, ...)                                \
  inline const TEnumInfo* EnumTypeInfo(Type) {                  \
    static const TEnumInfo info{#Type, {__VA_ARGS__}};          \
    return &info;                                               \
  }

// The identifiers False and True of Boolean properties.
const TEnumInfo* BooleanTypeInfo();

// Identifiers some integer types accept besides numbers (colours: clRed, clBtnFace...).
// Both functions answer false when they have no mapping.
struct TIntegerIdents {
  std::function<bool(const AnsiString& ident, int64_t& value)> IdentToInt;
  std::function<bool(int64_t value, AnsiString& ident)> IntToIdent;
};

// One published property.
struct TPropInfo {
  AnsiString Name;
  TTypeKind Kind = tkUnknown;
  const TEnumInfo* EnumType = nullptr;        // tkEnumeration, tkBoolean; element type of tkSet
  const TMetaClass* ClassType = nullptr;      // tkClass
  const std::type_info* EventType = nullptr;  // tkMethod: the std::function type of the event
  const TIntegerIdents* Idents = nullptr;     // optional, integer kinds

  // The declared default of an ordinal or set property (none: always written when stored).
  bool HasDefault = false;
  int64_t Default = 0;

  // The stored condition: StoredProc when set, else StoredConst.
  std::function<bool(TObject*)> StoredProc;
  bool StoredConst = true;

  // Accessors: the pair of the property's kind is set; an empty getter or setter means no
  // read or no write access. Ordinal kinds (integers, chars, Boolean, enumerations, sets) use
  // GetOrd/SetOrd.
  std::function<int64_t(TObject*)> GetOrd;
  std::function<void(TObject*, int64_t)> SetOrd;
  std::function<double(TObject*)> GetFloat;
  std::function<void(TObject*, double)> SetFloat;
  std::function<AnsiString(TObject*)> GetStr;
  std::function<void(TObject*, const AnsiString&)> SetStr;
  std::function<WideString(TObject*)> GetWStr;
  std::function<void(TObject*, const WideString&)> SetWStr;
  std::function<TObject*(TObject*)> GetObj;
  std::function<void(TObject*, TObject*)> SetObj;
  std::function<std::any(TObject*)> GetMethod;  // the std::function, empty or not
  std::function<void(TObject*, const std::any&)> SetMethod;

  bool IsOrdinal() const;
  bool CanRead() const;
  bool CanWrite() const;
  bool IsStored(TObject* instance) const;
  // For tkClass: a reference to another component rather than an owned sub-object.
  bool IsComponentReference() const;
};

// --- Lookup ------------------------------------------------------------------

// Every published property of a class, inherited ones first, in declaration order. A class
// that declares a property of its base again (to change its default or stored condition)
// replaces the base's entry at the base's place.
const std::vector<const TPropInfo*>& GetPropList(const TMetaClass* cls);
// The property of that name (ASCII case-insensitive), or null.
const TPropInfo* GetPropInfo(const TMetaClass* cls, const AnsiString& name);
const TPropInfo* GetPropInfo(const TObject* instance, const AnsiString& name);
// Same, raising EPropertyError "Property X does not exist" when absent.
const TPropInfo* FindPropInfo(const TMetaClass* cls, const AnsiString& name);

// --- Access ------------------------------------------------------------------
// Each raises EPropertyError when the property has another kind or lacks the access.

int64_t GetOrdProp(TObject* instance, const TPropInfo* prop);
void SetOrdProp(TObject* instance, const TPropInfo* prop, int64_t value);
double GetFloatProp(TObject* instance, const TPropInfo* prop);
void SetFloatProp(TObject* instance, const TPropInfo* prop, double value);
// String access converts between 8-bit and wide (through ConversionCodePage) when the
// property is of the other string kind; char kinds read and write one-character strings.
AnsiString GetStrProp(TObject* instance, const TPropInfo* prop);
void SetStrProp(TObject* instance, const TPropInfo* prop, const AnsiString& value);
WideString GetWideStrProp(TObject* instance, const TPropInfo* prop);
void SetWideStrProp(TObject* instance, const TPropInfo* prop, const WideString& value);
TObject* GetObjectProp(TObject* instance, const TPropInfo* prop);
void SetObjectProp(TObject* instance, const TPropInfo* prop, TObject* value);
std::any GetMethodProp(TObject* instance, const TPropInfo* prop);
void SetMethodProp(TObject* instance, const TPropInfo* prop, const std::any& value);
// Enumerations and sets as text: "alClient", "[akLeft,akTop]".
AnsiString GetEnumProp(TObject* instance, const TPropInfo* prop);
void SetEnumProp(TObject* instance, const TPropInfo* prop, const AnsiString& ident);
AnsiString GetSetProp(TObject* instance, const TPropInfo* prop);
void SetSetProp(TObject* instance, const TPropInfo* prop, const AnsiString& text);
bool IsStoredProp(TObject* instance, const TPropInfo* prop);

// By name; EPropertyError when the class has no such property.
int64_t GetOrdProp(TObject* instance, const AnsiString& name);
void SetOrdProp(TObject* instance, const AnsiString& name, int64_t value);
AnsiString GetStrProp(TObject* instance, const AnsiString& name);
void SetStrProp(TObject* instance, const AnsiString& name, const AnsiString& value);
WideString GetWideStrProp(TObject* instance, const AnsiString& name);
void SetWideStrProp(TObject* instance, const AnsiString& name, const WideString& value);
TObject* GetObjectProp(TObject* instance, const AnsiString& name);
bool IsStoredProp(TObject* instance, const AnsiString& name);

// Bit masks of sets <-> "[a,b]" text.
AnsiString SetToString(const TEnumInfo* element, uint64_t bits, bool brackets = true);
uint64_t StringToSet(const TEnumInfo* element, const AnsiString& text);  // EPropertyError

// ASCII case-insensitive equality of identifiers.
bool SameIdent(const AnsiString& a, const AnsiString& b);

// --- Published members of root classes ---------------------------------------

// An event handler of a root class: Bind produces, for a root object, the typed event value
// (a std::function of type EventType) that calls the handler on that root; Matches tells
// whether an event value is this handler bound to that root (the writer's way back to a name).
struct THandlerInfo {
  AnsiString Name;
  const std::type_info* EventType = nullptr;
  std::function<std::any(TObject* root)> Bind;
  std::function<bool(const std::any& event, TObject* root)> Matches;
};

// A component field of a root class, set when a component of that name is read.
struct TFieldInfo {
  AnsiString Name;
  const TMetaClass* ClassType = nullptr;
  std::function<void(TObject* root, TComponent* value)> Set;
};

struct TClassMembers {
  std::vector<THandlerInfo> Handlers;
  std::vector<TFieldInfo> Fields;
};

// Lookup through the class and its bases; null when absent.
const THandlerInfo* FindHandler(const TMetaClass* cls, const AnsiString& name);
const TFieldInfo* FindField(const TMetaClass* cls, const AnsiString& name);
// The name of the handler of root's class that an event value calls on root; empty if none.
AnsiString HandlerName(TObject* root, const std::any& event);
// Binds a handler by name: the event value for root, or an empty std::any when the class has
// no handler of that name. Raises EPropertyError when the handler's type is not eventType.
std::any BindHandler(TObject* root, const AnsiString& name, const std::type_info& eventType);

// Declares a class reference with published members (see VCL_CLASS_IMPL).
#define VCL_CLASS_IMPL_MEMBERS(Name, ParentName, Factory, Props, Members)                   \
  const TMetaClass* Name::StaticClass() {                                                   \
    static const TMetaClass mc{#Name, ParentName::StaticClass(), Factory, Props, Members}; \
    return &mc;                                                                             \
  }

// --- Table builders ------------------------------------------------------------

namespace typinfo_detail {

template <class T>
struct is_std_function : std::false_type {};
template <class R, class... A>
struct is_std_function<std::function<R(A...)>> : std::true_type {};

// The value type a getter yields.
template <class C, class G>
struct getter_traits;
template <class C, class B, class T>
  requires(!std::is_function_v<T>)
struct getter_traits<C, T B::*> {
  using value_type = T;
  static T get(C* self, T B::*m) { return self->*m; }
};
template <class C, class B, class R>
struct getter_traits<C, R (B::*)() const> {
  using value_type = std::remove_cvref_t<R>;
  static value_type get(C* self, R (B::*m)() const) { return (self->*m)(); }
};
template <class C, class B, class R>
struct getter_traits<C, R (B::*)()> {
  using value_type = std::remove_cvref_t<R>;
  static value_type get(C* self, R (B::*m)()) { return (self->*m)(); }
};
template <class C, class B, class R>
struct getter_traits<C, R (B::*)() const noexcept> {
  using value_type = std::remove_cvref_t<R>;
  static value_type get(C* self, R (B::*m)() const noexcept) { return (self->*m)(); }
};

template <class T>
void assign_to(T& dest, const T& value) {
  dest = value;
}

// Setters: a data member or a member function taking T or const T& (result ignored).
template <class C, class T, class S>
std::function<void(C*, const T&)> make_setter(S s) {
  if constexpr (std::is_same_v<S, std::nullptr_t>) {
    return {};
  } else if constexpr (std::is_member_object_pointer_v<S>) {
    return [s](C* self, const T& v) { self->*s = v; };
  } else {
    return [s](C* self, const T& v) { (self->*s)(v); };
  }
}

template <class T>
constexpr bool is_int64 = std::is_integral_v<T> && sizeof(T) == 8;

}  // namespace typinfo_detail

// Marks "no setter given": a data member getter then also gives write access.
struct TDefaultSetter {};

template <class C>
class TPropertyTable {
 public:
  template <class G, class S = TDefaultSetter>
  TPropertyTable& Property(const char* name, G getter, S setter = {}) {
    using Traits = typinfo_detail::getter_traits<C, G>;
    using T = typename Traits::value_type;
    TPropInfo p;
    p.Name = name;
    auto get = [getter](TObject* o) { return Traits::get(Self(o), getter); };
    std::function<void(C*, const T&)> set;
    if constexpr (std::is_same_v<S, TDefaultSetter>) {
      if constexpr (std::is_member_object_pointer_v<G>) set = typinfo_detail::make_setter<C, T>(getter);
    } else {
      set = typinfo_detail::make_setter<C, T>(setter);
    }
    Describe<T>(p, get, set);
    FProps.push_back(std::move(p));
    return *this;
  }

  // A set of the enumeration E, held in an integer as a bit mask (bit n = ordinal n).
  template <class E, class G, class S = TDefaultSetter>
  TPropertyTable& SetProperty(const char* name, G getter, S setter = {}) {
    using Traits = typinfo_detail::getter_traits<C, G>;
    using T = typename Traits::value_type;
    static_assert(std::is_integral_v<T>, "a set property is held as an integer bit mask");
    TPropInfo p;
    p.Name = name;
    p.Kind = tkSet;
    p.EnumType = EnumTypeInfo(E{});
    p.GetOrd = [getter](TObject* o) {
      return static_cast<int64_t>(static_cast<uint64_t>(Traits::get(Self(o), getter)));
    };
    std::function<void(C*, const T&)> set;
    if constexpr (std::is_same_v<S, TDefaultSetter>) {
      if constexpr (std::is_member_object_pointer_v<G>) set = typinfo_detail::make_setter<C, T>(getter);
    } else {
      set = typinfo_detail::make_setter<C, T>(setter);
    }
    if (set) p.SetOrd = [set](TObject* o, int64_t v) { set(Self(o), static_cast<T>(v)); };
    FProps.push_back(std::move(p));
    return *this;
  }

  // --- modifiers of the property added last
  template <class V>
  TPropertyTable& Default(V value) {
    FProps.back().HasDefault = true;
    FProps.back().Default = static_cast<int64_t>(value);
    return *this;
  }
  TPropertyTable& NoDefault() {
    FProps.back().HasDefault = false;
    return *this;
  }
  TPropertyTable& Stored(bool stored) {
    FProps.back().StoredConst = stored;
    FProps.back().StoredProc = nullptr;
    return *this;
  }
  template <class B>
  TPropertyTable& Stored(bool (B::*test)() const) {
    FProps.back().StoredProc = [test](TObject* o) { return (Self(o)->*test)(); };
    return *this;
  }
  TPropertyTable& Idents(const TIntegerIdents* idents) {
    FProps.back().Idents = idents;
    return *this;
  }

  std::vector<TPropInfo> Table() { return std::move(FProps); }

 private:
  static C* Self(TObject* o) { return static_cast<C*>(o); }

  template <class T, class Get>
  static void Describe(TPropInfo& p, Get get, const std::function<void(C*, const T&)>& set) {
    using namespace typinfo_detail;
    if constexpr (std::is_same_v<T, bool>) {
      p.Kind = tkBoolean;
      p.EnumType = BooleanTypeInfo();
      OrdAccess<T>(p, get, set);
    } else if constexpr (std::is_same_v<T, char>) {
      p.Kind = tkChar;
      p.GetOrd = [get](TObject* o) { return static_cast<int64_t>(static_cast<unsigned char>(get(o))); };
      if (set) p.SetOrd = [set](TObject* o, int64_t v) { set(Self(o), static_cast<char>(v)); };
    } else if constexpr (std::is_same_v<T, wchar_t>) {
      p.Kind = tkWChar;
      OrdAccess<T>(p, get, set);
    } else if constexpr (std::is_enum_v<T>) {
      p.Kind = tkEnumeration;
      p.EnumType = EnumTypeInfo(T{});
      OrdAccess<T>(p, get, set);
    } else if constexpr (is_int64<T>) {
      p.Kind = tkInt64;
      OrdAccess<T>(p, get, set);
    } else if constexpr (std::is_integral_v<T> && std::is_unsigned_v<T>) {
      p.Kind = tkCardinal;
      OrdAccess<T>(p, get, set);
    } else if constexpr (std::is_integral_v<T>) {
      p.Kind = tkInteger;
      OrdAccess<T>(p, get, set);
    } else if constexpr (std::is_floating_point_v<T>) {
      p.Kind = tkFloat;
      p.GetFloat = [get](TObject* o) { return static_cast<double>(get(o)); };
      if (set) p.SetFloat = [set](TObject* o, double v) { set(Self(o), static_cast<T>(v)); };
    } else if constexpr (std::is_same_v<T, AnsiString>) {
      p.Kind = tkLString;
      p.GetStr = get;
      if (set) p.SetStr = [set](TObject* o, const AnsiString& v) { set(Self(o), v); };
    } else if constexpr (std::is_same_v<T, WideString>) {
      p.Kind = tkWString;
      p.GetWStr = get;
      if (set) p.SetWStr = [set](TObject* o, const WideString& v) { set(Self(o), v); };
    } else if constexpr (std::is_pointer_v<T> &&
                         std::is_base_of_v<TObject, std::remove_pointer_t<T>>) {
      using Obj = std::remove_pointer_t<T>;
      p.Kind = tkClass;
      p.ClassType = Obj::StaticClass();
      p.GetObj = [get](TObject* o) -> TObject* { return get(o); };
      if (set)
        p.SetObj = [set](TObject* o, TObject* v) {
          T typed = dynamic_cast<T>(v);
          if (v && !typed) throw EInvalidCast("Invalid class typecast");
          set(Self(o), typed);
        };
    } else if constexpr (is_std_function<T>::value) {
      p.Kind = tkMethod;
      p.EventType = &typeid(T);
      p.GetMethod = [get](TObject* o) { return std::any(get(o)); };
      if (set)
        p.SetMethod = [set](TObject* o, const std::any& v) {
          if (!v.has_value()) {
            set(Self(o), T());
            return;
          }
          const T* f = std::any_cast<T>(&v);
          if (!f) throw EPropertyError("Invalid property type");
          set(Self(o), *f);
        };
    } else {
      static_assert(sizeof(T) == 0, "this type cannot be a published property");
    }
  }

  template <class T, class Get>
  static void OrdAccess(TPropInfo& p, Get get, const std::function<void(C*, const T&)>& set) {
    p.GetOrd = [get](TObject* o) { return static_cast<int64_t>(get(o)); };
    if (set) p.SetOrd = [set](TObject* o, int64_t v) { set(Self(o), static_cast<T>(v)); };
  }

  std::vector<TPropInfo> FProps;
};

namespace typinfo_detail {

// The event value a handler table binds: calls Method on Self.
template <class C, class R, class... A>
struct TBoundHandler {
  C* Self;
  R (C::*Method)(A...);
  R operator()(A... args) const { return (Self->*Method)(std::forward<A>(args)...); }
};

}  // namespace typinfo_detail

template <class C>
class TMemberTable {
 public:
  // A handler `R Method(Args...)`; it binds to events of type std::function<R(Args...)>.
  template <class B, class R, class... A>
  TMemberTable& Handler(const char* name, R (B::*method)(A...)) {
    using Event = std::function<R(A...)>;
    using Bound = typinfo_detail::TBoundHandler<C, R, A...>;
    R (C::*m)(A...) = method;
    THandlerInfo h;
    h.Name = name;
    h.EventType = &typeid(Event);
    h.Bind = [m](TObject* root) -> std::any {
      C* self = dynamic_cast<C*>(root);
      if (!self) throw EInvalidCast("Invalid class typecast");
      return std::any(Event(Bound{self, m}));
    };
    h.Matches = [m](const std::any& event, TObject* root) {
      const Event* f = std::any_cast<Event>(&event);
      if (!f) return false;
      const Bound* b = f->template target<Bound>();
      return b && b->Method == m && static_cast<TObject*>(b->Self) == root;
    };
    FMembers.Handlers.push_back(std::move(h));
    return *this;
  }

  // A component field `T* Name` of the root class.
  template <class B, class T>
  TMemberTable& Field(const char* name, T* B::*field) {
    static_assert(std::is_base_of_v<TComponent, T>, "a published field holds a component");
    TFieldInfo f;
    f.Name = name;
    f.ClassType = T::StaticClass();
    f.Set = [field](TObject* root, TComponent* value) {
      T* typed = dynamic_cast<T*>(value);
      if (value && !typed) throw EInvalidCast("Invalid class typecast");
      static_cast<C*>(root)->*field = typed;
    };
    FMembers.Fields.push_back(std::move(f));
    return *this;
  }

  TClassMembers Table() { return std::move(FMembers); }

 private:
  TClassMembers FMembers;
};
