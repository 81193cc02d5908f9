object ExtControlsForm: TExtControlsForm
  Caption = 'Controls'
  ClientWidth = 320
  ClientHeight = 200
  object pnTop: TPanel
    Left = 0
    Top = 0
    Width = 320
    Height = 41
    Align = alTop
    Alignment = taLeftJustify
    BevelInner = bvLowered
    BevelWidth = 2
    BorderWidth = 3
    Caption = 'Panel'
    ParentBackground = False
  end
  object imPicture: TImage
    Left = 8
    Top = 48
    Width = 64
    Height = 64
    Center = True
    Proportional = True
    Stretch = True
    OnClick = ImageClick
  end
  object bvLine: TBevel
    Left = 80
    Top = 48
    Width = 100
    Height = 2
    Shape = bsTopLine
    Style = bsRaised
  end
  object shShadow: TShape
    Left = 80
    Top = 60
    Width = 40
    Height = 40
    Brush.Color = clBlack
    Pen.Style = psClear
    Shape = stRoundRect
  end
  object sbThumbs: TScrollBox
    Left = 130
    Top = 60
    Width = 100
    Height = 100
    HorzScrollBar.Tracking = True
    VertScrollBar.Increment = 16
    BorderStyle = bsNone
  end
  object edSplitSize: TEdit
    Left = 240
    Top = 60
    Width = 50
    Height = 21
    Text = '700'
  end
  object udSplitSize: TUpDown
    Left = 290
    Top = 60
    Width = 16
    Height = 21
    Associate = edSplitSize
    Min = 1
    Max = 1400
    Position = 700
  end
  object spLeft: TSplitter
    Left = 0
    Top = 41
    Width = 4
    Height = 159
    MinSize = 50
  end
end
