object FORMPozadi: TFORMPozadi
  Left = 0
  Top = 0
  Width = 104
  Height = 213
  BorderStyle = bsNone
  BorderIcons = []
  Caption = 'Tulimbo II'
  Color = 16170
  Ctl3D = False
  Cursor = crHourGlass
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  Icon = 'icon.program.ico'
  OldCreateOrder = True
  Position = poDefault
  Scaled = False
  OnCreate = FormCreate
  object TileImage1: TTileImage
    Left = 0
    Top = 0
    Width = 104
    Height = 213
    Align = alClient
    Cursor = crArrow
    TileImage = True
    Picture = 'FORMPozadi.TileImage1.Picture.bmp'
  end
end
