object LoginForm: TLoginForm
  Left = 0
  Top = 0
  ActiveControl = edName
  BorderStyle = bsDialog
  Caption = 'Sign in'
  ClientHeight = 150
  ClientWidth = 300
  KeyPreview = True
  Position = poScreenCenter
  OnClose = FormClose
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  OnKeyPress = FormKeyPress
  OnShow = FormShow
  object lbName: TLabel
    Left = 8
    Top = 12
    Width = 60
    Height = 17
    Caption = '&Name:'
  end
  object edName: TEdit
    Left = 72
    Top = 8
    Width = 200
    Height = 21
    TabOrder = 0
    Text = 'guest'
  end
  object btGreet: TButton
    Left = 72
    Top = 40
    Caption = 'Greet'
    Hint = 'Greet|Says hello to the name above'
    ShowHint = True
    TabOrder = 1
    OnClick = btGreetClick
  end
  object pnButtons: TPanel
    Left = 0
    Top = 100
    Width = 300
    Height = 50
    Align = alBottom
    TabOrder = 2
    object btOk: TButton
      Left = 130
      Top = 12
      Caption = 'OK'
      Default = True
      ModalResult = 1
      TabOrder = 0
    end
    object btCancel: TButton
      Left = 214
      Top = 12
      Caption = 'Cancel'
      Cancel = True
      ModalResult = 2
      TabOrder = 1
    end
  end
end
