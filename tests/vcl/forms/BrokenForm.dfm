object BrokenForm: TBrokenForm
  Caption = 'Broken'
  object btBroken: TButton
    Caption = 'Press'
    Flavour = 'vanilla'
  end
end
