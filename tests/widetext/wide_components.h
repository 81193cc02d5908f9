// A component with published WideString and WideChar properties and a wide list, storing
// the legacy wide names as every wide component does.
#pragma once

#include "vcl/streaming.h"
#include "widetext/uni_string_list.h"
#include "widetext/wide_props.h"

class TWideWidget : public TComponent {
  VCL_CLASS(TWideWidget)
 public:
  explicit TWideWidget(TComponent* owner) : TComponent(owner) {}
  ~TWideWidget() override { Destroying(); }

  WideString Caption;
  WideString Hint;
  WideChar Mark = L'-';    // declared default '-'
  WideChar Sign = L'\0';   // no declared default
  WideChar Hidden = L'h';  // never stored
  WideChar Fixed = L'f';   // read-only
  TUniStringList Lines;

  WideChar GetFixed() const { return Fixed; }
  TUniStringList* GetLines() { return &Lines; }
  void SetLines(TUniStringList* value) { Lines.Assign(value); }

  void DefineProperties(TFiler* filer) override {
    TComponent::DefineProperties(filer);
    DefineWideProperties(filer, this);
  }
};

inline const std::vector<TPropInfo>& WideWidgetProps() {
  static const std::vector<TPropInfo> t = TPropertyTable<TWideWidget>()
      .Property("Caption", &TWideWidget::Caption)
      .Property("Hint", &TWideWidget::Hint)
      .Property("Mark", &TWideWidget::Mark).Default(L'-')
      .Property("Sign", &TWideWidget::Sign)
      .Property("Hidden", &TWideWidget::Hidden).Stored(false)
      .Property("Fixed", &TWideWidget::GetFixed, nullptr)
      .Property("Lines", &TWideWidget::GetLines, &TWideWidget::SetLines)
      .Table();
  return t;
}
inline VCL_CLASS_IMPL(TWideWidget, TComponent, &CreateComponentOf<TWideWidget>, &WideWidgetProps)

// Another class with the same properties (an ancestor of another kind).
class TWideWidgetEx : public TWideWidget {
  VCL_CLASS(TWideWidgetEx)
 public:
  using TWideWidget::TWideWidget;
};
inline VCL_CLASS_IMPL(TWideWidgetEx, TWideWidget, &CreateComponentOf<TWideWidgetEx>, nullptr)
