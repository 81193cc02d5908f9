// Published-property tables: kinds deduced from getters, defaults, stored conditions,
// inheritance order, typed access and handler tables.
#include "vcl/typinfo.h"

#include <gtest/gtest.h>

namespace {

enum TShade { shLight, shMedium, shDark };
VCL_ENUM_INFO(TShade, "shLight", "shMedium", "shDark")

class TGadget : public TComponent {
  VCL_CLASS(TGadget)
 public:
  using TComponent::TComponent;
  int Count = 3;
  AnsiString Caption;
  bool Enabled = true;
  TShade Shade = shMedium;
  unsigned Shades = 0;
  TNotifyEvent OnChange;
  WideString Hint() const { return FHint; }
  void SetHint(const WideString& v) { FHint = v; ++HintSets; }
  int64_t Big() const { return 1LL << 40; }
  bool HintStored() const { return !FHint.empty(); }
  double Ratio = 0.5;
  wchar_t Mark = L'x';
  char Key = 'k';
  TComponent* Buddy = nullptr;
  int HintSets = 0;

 private:
  WideString FHint;
};

const std::vector<TPropInfo>& GadgetProps() {
  static const std::vector<TPropInfo> t = TPropertyTable<TGadget>()
      .Property("Count", &TGadget::Count).Default(3)
      .Property("Caption", &TGadget::Caption)
      .Property("Enabled", &TGadget::Enabled).Default(true)
      .Property("Shade", &TGadget::Shade).Default(shMedium)
      .SetProperty<TShade>("Shades", &TGadget::Shades)
      .Property("OnChange", &TGadget::OnChange)
      .Property("Hint", &TGadget::Hint, &TGadget::SetHint).Stored(&TGadget::HintStored)
      .Property("Big", &TGadget::Big, nullptr)
      .Property("Ratio", &TGadget::Ratio)
      .Property("Mark", &TGadget::Mark)
      .Property("Key", &TGadget::Key)
      .Property("Buddy", &TGadget::Buddy)
      .Table();
  return t;
}
VCL_CLASS_IMPL(TGadget, TComponent, &CreateComponentOf<TGadget>, &GadgetProps)

// Redeclares Count with another default and adds one property.
class TBigGadget : public TGadget {
  VCL_CLASS(TBigGadget)
 public:
  using TGadget::TGadget;
  unsigned Size = 0;
};

const std::vector<TPropInfo>& BigGadgetProps() {
  static const std::vector<TPropInfo> t = TPropertyTable<TBigGadget>()
      .Property("Size", &TBigGadget::Size)
      .Property("Count", &TBigGadget::Count).Default(10).Stored(false)
      .Table();
  return t;
}
VCL_CLASS_IMPL(TBigGadget, TGadget, &CreateComponentOf<TBigGadget>, &BigGadgetProps)

class TPanelRoot : public TComponent {
  VCL_CLASS(TPanelRoot)
 public:
  using TComponent::TComponent;
  void GadgetChange(TObject* sender) { Changes.push_back(sender); }
  void CloseQuery(TObject*, bool& canClose) { canClose = false; }
  TGadget* Gadget1 = nullptr;
  std::vector<TObject*> Changes;
};

const TClassMembers& PanelRootMembers() {
  static const TClassMembers m = TMemberTable<TPanelRoot>()
      .Handler("GadgetChange", &TPanelRoot::GadgetChange)
      .Handler("CloseQuery", &TPanelRoot::CloseQuery)
      .Field("Gadget1", &TPanelRoot::Gadget1)
      .Table();
  return m;
}
VCL_CLASS_IMPL_MEMBERS(TPanelRoot, TComponent, &CreateComponentOf<TPanelRoot>, nullptr,
                       &PanelRootMembers)

}  // namespace

TEST(TypInfo, KindsDefaultsAndAccessFollowTheTable) {
  struct Case {
    const char* name;
    TTypeKind kind;
    bool hasDefault;
    int64_t def;
    bool canWrite;
  };
  const Case cases[] = {
      {"Count", tkInteger, true, 3, true},      {"Caption", tkLString, false, 0, true},
      {"Enabled", tkBoolean, true, 1, true},    {"Shade", tkEnumeration, true, shMedium, true},
      {"Shades", tkSet, false, 0, true},        {"OnChange", tkMethod, false, 0, true},
      {"Hint", tkWString, false, 0, true},      {"Big", tkInt64, false, 0, false},
      {"Ratio", tkFloat, false, 0, true},       {"Mark", tkWChar, false, 0, true},
      {"Key", tkChar, false, 0, true},          {"Buddy", tkClass, false, 0, true},
  };
  // The component's own Name and Tag come first, then the class's in declaration order.
  const auto& all = GetPropList(TGadget::StaticClass());
  ASSERT_EQ(all.size(), std::size(cases) + 2);
  EXPECT_EQ(all[0]->Name, "Name");
  EXPECT_FALSE(all[0]->IsStored(nullptr));
  EXPECT_EQ(all[1]->Name, "Tag");
  const TPropInfo* const* list = all.data() + 2;
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_EQ(list[i]->Name, cases[i].name);
    EXPECT_EQ(list[i]->Kind, cases[i].kind);
    EXPECT_EQ(list[i]->HasDefault, cases[i].hasDefault);
    if (cases[i].hasDefault) {
      EXPECT_EQ(list[i]->Default, cases[i].def);
    }
    EXPECT_TRUE(list[i]->CanRead());
    EXPECT_EQ(list[i]->CanWrite(), cases[i].canWrite);
  }
  EXPECT_TRUE(GetPropInfo(TGadget::StaticClass(), "Buddy")->IsComponentReference());
  EXPECT_EQ(GetPropInfo(TGadget::StaticClass(), "shades"), list[4]);  // case-insensitive
}

TEST(TypInfo, TypedAccessConvertsAndChecks) {
  TGadget g(nullptr);
  SetOrdProp(&g, "Count", 42);
  EXPECT_EQ(g.Count, 42);
  SetStrProp(&g, "Caption", "Go");
  EXPECT_EQ(g.Caption, "Go");
  SetStrProp(&g, "Hint", "tip");  // 8-bit text into a wide property
  EXPECT_EQ(g.Hint(), L"tip");
  EXPECT_EQ(g.HintSets, 1);
  SetWideStrProp(&g, "Mark", L"\x03A9");
  EXPECT_EQ(g.Mark, L'\x03A9');
  EXPECT_EQ(GetStrProp(&g, "Key"), "k");
  EXPECT_EQ(GetOrdProp(&g, "Big"), 1LL << 40);

  const TPropInfo* shade = GetPropInfo(&g, "Shade");
  SetEnumProp(&g, shade, "shDark");
  EXPECT_EQ(g.Shade, shDark);
  EXPECT_EQ(GetEnumProp(&g, shade), "shDark");
  const TPropInfo* shades = GetPropInfo(&g, "Shades");
  SetSetProp(&g, shades, "[shLight, shDark]");
  EXPECT_EQ(g.Shades, 5u);
  EXPECT_EQ(GetSetProp(&g, shades), "[shLight,shDark]");

  TComponent other(nullptr);
  SetObjectProp(&g, GetPropInfo(&g, "Buddy"), &other);
  EXPECT_EQ(g.Buddy, &other);

  EXPECT_THROW(SetOrdProp(&g, "Big", 1), EPropertyError);          // read-only
  EXPECT_THROW(GetOrdProp(&g, "Caption"), EPropertyError);         // wrong kind
  EXPECT_THROW(SetEnumProp(&g, shade, "shPurple"), EPropertyError);
  EXPECT_THROW(SetSetProp(&g, shades, "[shLight,shRed]"), EPropertyError);
  try {
    GetOrdProp(&g, "Colour");
    FAIL() << "no error";
  } catch (const EPropertyError& e) {
    EXPECT_STREQ(e.what(), "Property Colour does not exist");
  }
}

TEST(TypInfo, StoredConditionsAndRedeclaredProperties) {
  TGadget g(nullptr);
  const TPropInfo* hint = GetPropInfo(&g, "Hint");
  EXPECT_FALSE(hint->IsStored(&g));
  g.SetHint(L"x");
  EXPECT_TRUE(hint->IsStored(&g));

  // The derived class's Count takes the base's place, with its own default and condition.
  const auto& list = GetPropList(TBigGadget::StaticClass());
  ASSERT_EQ(list.size(), GetPropList(TGadget::StaticClass()).size() + 1);
  EXPECT_EQ(list[2]->Name, "Count");
  EXPECT_EQ(list[2]->Default, 10);
  EXPECT_FALSE(list[2]->IsStored(&g));
  EXPECT_EQ(list.back()->Name, "Size");
  EXPECT_EQ(list.back()->Kind, tkCardinal);
}

TEST(TypInfo, HandlersBindByNameAndAreFoundBackByValue) {
  TPanelRoot root(nullptr);
  TGadget g(&root);
  const TPropInfo* onChange = GetPropInfo(&g, "OnChange");
  std::any bound = BindHandler(&root, "gadgetchange", *onChange->EventType);
  ASSERT_TRUE(bound.has_value());
  SetMethodProp(&g, onChange, bound);
  g.OnChange(&g);
  ASSERT_EQ(root.Changes.size(), 1u);
  EXPECT_EQ(root.Changes[0], &g);
  EXPECT_EQ(HandlerName(&root, GetMethodProp(&g, onChange)), "GadgetChange");

  // The same handler bound to another root, or a lambda, has no name in this root.
  TPanelRoot otherRoot(nullptr);
  EXPECT_EQ(HandlerName(&otherRoot, GetMethodProp(&g, onChange)), "");
  g.OnChange = [](TObject*) {};
  EXPECT_EQ(HandlerName(&root, GetMethodProp(&g, onChange)), "");

  EXPECT_FALSE(BindHandler(&root, "Nothing", *onChange->EventType).has_value());
  EXPECT_THROW(BindHandler(&root, "CloseQuery", *onChange->EventType), EPropertyError);

  const TFieldInfo* field = FindField(TPanelRoot::StaticClass(), "gadget1");
  ASSERT_NE(field, nullptr);
  field->Set(&root, &g);
  EXPECT_EQ(root.Gadget1, &g);
  EXPECT_THROW(field->Set(&root, &root), EInvalidCast);
}
