object WideMdiFrame: TWideMdiFrame
  Caption = 'Frame'
  ClientWidth = 480
  ClientHeight = 320
  FormStyle = fsMDIForm
end
