object BrokenResForm: TBrokenResForm
  object Widget1: TTestWidget
    Caption = 'fine'
    Colour = 5
  end
end
