object MdiFrameForm: TMdiFrameForm
  Caption = 'Frame'
  ClientWidth = 400
  ClientHeight = 300
  FormStyle = fsMDIForm
end
