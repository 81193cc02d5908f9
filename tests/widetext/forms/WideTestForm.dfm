object WideTestForm: TWideTestForm
  Left = 120
  Top = 90
  BorderStyle = bsDialog
  Caption = 'Français — Ελληνικά — 日本語'
  ClientHeight = 170
  ClientWidth = 400
  Hint = 'Fenêtre|Une fenêtre aux textes en trois écritures'
  object lbFrench: TUniLabel
    Left = 16
    Top = 16
    Width = 368
    Height = 20
    Caption = 'Voilà une étiquette en français'
  end
  object lbGreek: TUniLabel
    Left = 16
    Top = 44
    Width = 368
    Height = 20
    Caption = 'Καλημέρα κόσμε'
    Hint = 'Ελληνικά|Μια ετικέτα στα ελληνικά'
  end
  object edJapanese: TUniEdit
    Left = 16
    Top = 76
    Width = 368
    Height = 24
    Text = 'こんにちは世界'
  end
  object btClose: TUniButton
    Left = 16
    Top = 120
    Width = 200
    Height = 30
    Caption = 'Fermer — Κλείσιμο — 閉じる'
    OnClick = btCloseClick
  end
end
