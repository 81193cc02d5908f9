// Non-visual components for the stored-description tests: a root with handlers and a
// field, widgets with a property of every kind, a panel that holds widgets as a parent
// does, a font-like sub-object and a collection.
#pragma once

#include <vector>

#include "vcl/collections.h"
#include "vcl/streaming.h"
#include "vcl/strings.h"
#include "vcl/typinfo.h"

enum TTestAlign { taNone, taTop, taBottom, taClient };
VCL_ENUM_INFO(TTestAlign, "taNone", "taTop", "taBottom", "taClient")
enum TTestAnchor { akLeft, akTop, akRight, akBottom };
VCL_ENUM_INFO(TTestAnchor, "akLeft", "akTop", "akRight", "akBottom")
enum TTestFontStyle { fsBold, fsItalic, fsUnderline };
VCL_ENUM_INFO(TTestFontStyle, "fsBold", "fsItalic", "fsUnderline")
enum TTestAlignment { taLeftJustify, taRightJustify, taCenter };
VCL_ENUM_INFO(TTestAlignment, "taLeftJustify", "taRightJustify", "taCenter")

using TQueryEvent = std::function<void(TObject* Sender, bool& Allow)>;

// Colour names of the sub-object's Color property.
inline const TIntegerIdents* TestColorIdents() {
  static const TIntegerIdents idents{
      [](const AnsiString& ident, int64_t& v) {
        if (SameIdent(ident, "clRed")) v = 0x0000FF;
        else if (SameIdent(ident, "clBlack")) v = 0;
        else return false;
        return true;
      },
      [](int64_t v, AnsiString& ident) {
        if (v == 0x0000FF) ident = "clRed";
        else if (v == 0) ident = "clBlack";
        else return false;
        return true;
      }};
  return &idents;
}

class TTestFont : public TPersistent {
  VCL_CLASS(TTestFont)
 public:
  AnsiString Name;
  int Size = 8;
  unsigned Style = 0;
  int Color = 0;
  void Assign(TPersistent* source) override {
    if (auto* f = dynamic_cast<TTestFont*>(source)) {
      Name = f->Name;
      Size = f->Size;
      Style = f->Style;
      Color = f->Color;
    } else {
      TPersistent::Assign(source);
    }
  }
};

inline const std::vector<TPropInfo>& TestFontProps() {
  static const std::vector<TPropInfo> t = TPropertyTable<TTestFont>()
      .Property("Name", &TTestFont::Name)
      .Property("Size", &TTestFont::Size).Default(8)
      .SetProperty<TTestFontStyle>("Style", &TTestFont::Style).Default(0)
      .Property("Color", &TTestFont::Color).Default(0).Idents(TestColorIdents())
      .Table();
  return t;
}
inline VCL_CLASS_IMPL(TTestFont, TPersistent, nullptr, &TestFontProps)

class TTestColumn : public TCollectionItem {
  VCL_CLASS(TTestColumn)
 public:
  using TCollectionItem::TCollectionItem;
  WideString Caption;
  int Width = 50;
  TTestAlignment Alignment = taLeftJustify;
};

inline const std::vector<TPropInfo>& TestColumnProps() {
  static const std::vector<TPropInfo> t = TPropertyTable<TTestColumn>()
      .Property("Caption", &TTestColumn::Caption)
      .Property("Width", &TTestColumn::Width).Default(50)
      .Property("Alignment", &TTestColumn::Alignment).Default(taLeftJustify)
      .Table();
  return t;
}
inline VCL_CLASS_IMPL(TTestColumn, TCollectionItem, nullptr, &TestColumnProps)

// A widget lives in a parent (the root or a panel), like a control.
class TTestWidget : public TComponent {
  VCL_CLASS(TTestWidget)
 public:
  explicit TTestWidget(TComponent* owner)
      : TComponent(owner), Columns(this, CollectionItemClassOf<TTestColumn>()) {}
  ~TTestWidget() override { Destroying(); }

  AnsiString Caption;
  WideString Title;
  WideChar Mark = L'\0';
  char Letter = '\0';
  int Count = 0;
  unsigned Flags = 0;
  int64_t Size64 = 0;
  bool Visible = true;
  TTestAlign Align = taNone;
  unsigned Anchors = (1u << akLeft) | (1u << akTop);
  double Ratio = 0;
  TTestFont Font;
  TStringList Lines;
  TOwnedCollection Columns;
  TComponent* Buddy = nullptr;
  TNotifyEvent OnClick;
  TQueryEvent OnQuery;
  // Values kept under names of the widget's own (DefineProperty / DefineBinaryProperty).
  std::vector<int> Extra;
  std::vector<uint8_t> Blob;

  TTestFont* GetFont() { return &Font; }
  void SetFont(TTestFont* f) { Font.Assign(f); }
  TStringList* GetLines() { return &Lines; }
  void SetLines(TStringList* l) { Lines.Assign(l); }
  TOwnedCollection* GetColumns() { return &Columns; }

  // The parent the widget was read into.
  TComponent* Parent = nullptr;
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return Parent; }
  void SetParentComponent(TComponent* value) override { Parent = value; }

  // What Loaded saw: the state flags and whether the reference was resolved by then.
  static std::vector<std::string>& LoadedLog() {
    static std::vector<std::string> log;
    return log;
  }
  TComponentState StateInReadState = 0;
  TComponentState StateInLoaded = 0;
  TComponent* BuddyInLoaded = nullptr;

  void ReadState(TReader* reader) override {
    StateInReadState = ComponentState();
    TComponent::ReadState(reader);
  }
  void Loaded() override {
    StateInLoaded = ComponentState();
    BuddyInLoaded = Buddy;
    LoadedLog().push_back(Name());
    TComponent::Loaded();
  }

  void DefineProperties(TFiler* filer) override {
    TComponent::DefineProperties(filer);
    filer->DefineProperty(
        "Extra",
        [this](TReader* r) {
          Extra.clear();
          r->ReadListBegin();
          while (!r->EndOfList()) Extra.push_back(r->ReadInteger());
          r->ReadListEnd();
        },
        [this](TWriter* w) {
          w->WriteListBegin();
          for (int v : Extra) w->WriteInteger(v);
          w->WriteListEnd();
        },
        !Extra.empty());
    filer->DefineBinaryProperty(
        "Blob",
        [this](TStream* s) {
          Blob.resize(static_cast<size_t>(s->Size()));
          s->ReadBuffer(Blob.data(), s->Size());
        },
        [this](TStream* s) { s->WriteBuffer(Blob.data(), static_cast<int64_t>(Blob.size())); },
        !Blob.empty());
  }
};

inline const std::vector<TPropInfo>& TestWidgetProps() {
  static const std::vector<TPropInfo> t = TPropertyTable<TTestWidget>()
      .Property("Caption", &TTestWidget::Caption)
      .Property("Title", &TTestWidget::Title)
      .Property("Mark", &TTestWidget::Mark).Default(0)
      .Property("Letter", &TTestWidget::Letter).Default(0)
      .Property("Count", &TTestWidget::Count).Default(0)
      .Property("Flags", &TTestWidget::Flags).Default(0)
      .Property("Size64", &TTestWidget::Size64).Default(0)
      .Property("Visible", &TTestWidget::Visible).Default(true)
      .Property("Align", &TTestWidget::Align).Default(taNone)
      .SetProperty<TTestAnchor>("Anchors", &TTestWidget::Anchors).Default((1u << akLeft) | (1u << akTop))
      .Property("Ratio", &TTestWidget::Ratio)
      .Property("Font", &TTestWidget::GetFont, &TTestWidget::SetFont)
      .Property("Lines", &TTestWidget::GetLines, &TTestWidget::SetLines)
      .Property("Columns", &TTestWidget::GetColumns, nullptr)
      .Property("Buddy", &TTestWidget::Buddy)
      .Property("OnClick", &TTestWidget::OnClick)
      .Property("OnQuery", &TTestWidget::OnQuery)
      .Table();
  return t;
}
inline VCL_CLASS_IMPL(TTestWidget, TComponent, &CreateComponentOf<TTestWidget>, &TestWidgetProps)

// Holds widgets: they are read inside it and written as its children.
class TTestPanel : public TTestWidget {
  VCL_CLASS(TTestPanel)
 public:
  using TTestWidget::TTestWidget;
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override {
    for (int i = 0; i < root->ComponentCount(); ++i)
      if (root->Components(i)->GetParentComponent() == this) proc(root->Components(i));
  }
};
inline VCL_CLASS_IMPL(TTestPanel, TTestWidget, &CreateComponentOf<TTestPanel>, nullptr)

// The root: handlers bound by name, a field set by name, and its top-level widgets as
// children.
class TTestRoot : public TComponent {
  VCL_CLASS(TTestRoot)
 public:
  using TComponent::TComponent;
  ~TTestRoot() override { Destroying(); }

  TTestWidget* Widget1 = nullptr;
  std::vector<TObject*> Clicks;
  void WidgetClick(TObject* sender) { Clicks.push_back(sender); }
  void WidgetQuery(TObject* sender, bool& allow) { allow = false; }

  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override {
    for (int i = 0; i < ComponentCount(); ++i) {
      TComponent* c = Components(i);
      if (!c->HasParent() || c->GetParentComponent() == this) proc(c);
    }
  }
};

inline const TClassMembers& TestRootMembers() {
  static const TClassMembers m = TMemberTable<TTestRoot>()
      .Handler("WidgetClick", &TTestRoot::WidgetClick)
      .Handler("WidgetQuery", &TTestRoot::WidgetQuery)
      .Field("Widget1", &TTestRoot::Widget1)
      .Table();
  return m;
}
inline VCL_CLASS_IMPL_MEMBERS(TTestRoot, TComponent, &CreateComponentOf<TTestRoot>, nullptr, &TestRootMembers)

// Two levels of stored descriptions, embedded as resources of the test program.
class TBaseResForm : public TTestRoot {
  VCL_CLASS(TBaseResForm)
 public:
  using TTestRoot::TTestRoot;
};
inline VCL_CLASS_IMPL(TBaseResForm, TTestRoot, &CreateComponentOf<TBaseResForm>, nullptr)

class TDerivedResForm : public TBaseResForm {
  VCL_CLASS(TDerivedResForm)
 public:
  using TBaseResForm::TBaseResForm;
};
inline VCL_CLASS_IMPL(TDerivedResForm, TBaseResForm, &CreateComponentOf<TDerivedResForm>, nullptr)

// Its description names a property the widget lacks.
class TBrokenResForm : public TTestRoot {
  VCL_CLASS(TBrokenResForm)
 public:
  using TTestRoot::TTestRoot;
};
inline VCL_CLASS_IMPL(TBrokenResForm, TTestRoot, &CreateComponentOf<TBrokenResForm>, nullptr)

inline void RegisterTestClasses() {
  RegisterClasses({TTestWidget::StaticClass(), TTestPanel::StaticClass(), TTestRoot::StaticClass()});
}
