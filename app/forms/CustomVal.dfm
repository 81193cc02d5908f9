object CustomVal: TCustomVal
  Left = 300
  Top = 260
  BorderStyle = bsDialog
  Caption = 'Custom Value'
  ClientHeight = 104
  ClientWidth = 300
  Color = clBtnFace
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  Position = poScreenCenter
  object gbProp: TUniGroupBox
    Left = 8
    Top = 8
    Width = 284
    Height = 56
    Caption = 'Enter your Custom Value Here'
    object edCustomVal: TUniEdit
      OnKeyPress = edCustomValKeyPress
      Left = 12
      Top = 22
      Width = 260
      Height = 21
    end
    object edPAR1: TUniEdit
      OnKeyPress = edPAR1KeyPress
      Left = 90
      Top = 22
      Width = 40
      Height = 21
      MaxLength = 3
      Visible = False
    end
    object Label1: TUniLabel
      Left = 138
      Top = 26
      Caption = ':'
      Visible = False
    end
    object edPAR2: TUniEdit
      OnKeyPress = edPAR1KeyPress
      Left = 150
      Top = 22
      Width = 40
      Height = 21
      MaxLength = 3
      Visible = False
    end
  end
  object btCustomVal: TUniButton
    OnClick = btCustomValClick
    Left = 208
    Top = 72
    Width = 84
    Height = 25
    Caption = '&Ok'
    Default = True
    ModalResult = 1
  end
end
