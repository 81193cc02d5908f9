object BaseResForm: TBaseResForm
  Tag = 1
  object Widget1: TTestWidget
    Caption = 'from the base'
    Title = 'Ελληνικά 日本語'
    Count = 3
    Lines.Strings = (
      'base line')
    OnClick = WidgetClick
  end
end
