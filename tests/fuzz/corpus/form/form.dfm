object FORM_Fuzz: TFORM_Fuzz
  Left = 0
  ClientWidth = 640
  ClientHeight = 480
  BorderStyle = bsNone
  Caption = 'Kámen, nůžky, papír...'
  Color = clGreen
  KeyPreview = True
  OnCreate = Handler
  object panel: TPanel
    Left = 10
    Top = 20
    Width = 100
    Height = 50
    BevelOuter = bvNone
    Color = $00AA00
    object label: TLabel
      Caption = 'a''b'
      Font.Height = -27
      Font.Style = [fsBold, fsItalic]
      OnClick = Handler
    end
  end
  object list: TListBox
    Items.Strings = ('jedna' 'dva')
  end
  object tick: TTimer
    Interval = 500
    OnTimer = Handler
  end
end
