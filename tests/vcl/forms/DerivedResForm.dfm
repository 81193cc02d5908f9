inherited BaseResForm: TDerivedResForm
  Tag = 2
  inherited Widget1: TTestWidget
    Caption = 'changed by the descendant'
  end
  object Widget3: TTestWidget
    Buddy = Widget1
  end
end
