object FORM_Menu: TFORM_Menu
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsNone
  Caption = 'Hry - hlavní menu'
  ClientHeight = 480
  ClientWidth = 640
  Color = clGreen
  Ctl3D = False
  Cursor = crArrow
  KeyPreview = True
  OldCreateOrder = False
  Position = poScreenCenter
  Scaled = False
  OnClose = FormClose
  OnCreate = FormCreate
  OnKeyDown = FormKeyDown
  object AVI_obr1: TAVI_orvo1
    Left = 54
    Top = 309
    Width = 140
    Height = 140
    Cursor = 7
    Active = False
    AutoSize = False
    Center = False
    Color = clGreen
    ParentColor = False
    Repetitions = 1
    StartFrame = 0
    Transparent = False
    Visible = False
    OnOpen = AVI_obr1Open
    OnClick = AVI_obr1Click
    OnMouseEnter = AVI_obr1MouseEnter
    OnMouseExit = AVI_obr1MouseExit
  end
  object AVI_obr2: TAVI_orvo1
    Left = 243
    Top = 10
    Width = 140
    Height = 140
    Cursor = 7
    Active = False
    AutoSize = False
    Center = False
    Color = clGreen
    ParentColor = False
    Repetitions = 1
    StartFrame = 0
    Transparent = False
    Visible = False
    OnOpen = AVI_obr2Open
    OnClick = AVI_obr2Click
    OnMouseEnter = AVI_obr2MouseEnter
    OnMouseExit = AVI_obr2MouseExit
  end
  object AVI_obr3: TAVI_orvo1
    Left = 451
    Top = 309
    Width = 140
    Height = 140
    Cursor = 7
    Active = False
    AutoSize = False
    Center = False
    Color = clGreen
    ParentColor = False
    Repetitions = 1
    StopFrame = 5
    Transparent = False
    Visible = False
    OnOpen = AVI_obr3Open
    OnClick = AVI_obr3Click
    OnMouseEnter = AVI_obr3MouseEnter
    OnMouseExit = AVI_obr3MouseExit
  end
  object AVI_obr9: TAVI_orvo1
    Left = 260
    Top = 180
    Width = 120
    Height = 120
    Cursor = 7
    Active = False
    AutoSize = False
    Center = False
    Color = clGreen
    ParentColor = False
    Repetitions = 1
    StopFrame = 7
    Transparent = False
    Visible = False
    OnOpen = AVI_obr9Open
    OnClick = AVI_obr9Click
    OnMouseEnter = AVI_obr9MouseEnter
    OnMouseExit = AVI_obr9MouseExit
  end
  object wait_image: TImage
    Left = 270
    Top = 190
    Width = 100
    Height = 100
    AutoSize = True
    Picture = 'FORM_Menu.wait_image.bmp'
    OnDblClick = wait_imageDblClick
  end
  object pop1: TLabel
    Left = 83
    Top = 452
    Width = 74
    Height = 14
    Cursor = 7
    Alignment = taCenter
    Caption = 'Nájdi obrázok'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clYellow
    Font.Height = -11
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
    Visible = False
    OnClick = AVI_obr3Click
  end
  object pop2: TLabel
    Left = 248
    Top = 152
    Width = 128
    Height = 14
    Cursor = 7
    Alignment = taCenter
    Caption = 'Kameň, nožnice, papier'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clYellow
    Font.Height = -11
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
    Visible = False
  end
  object pop3: TLabel
    Left = 468
    Top = 452
    Width = 103
    Height = 14
    Cursor = 7
    Alignment = taCenter
    Caption = 'Popletené obrázky'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clYellow
    Font.Height = -11
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
    Visible = False
  end
  object Labeleggs1: TLabel
    Left = 228
    Top = 326
    Width = 188
    Height = 16
    Alignment = taCenter
    AutoSize = False
    Caption = 'Hry - Tulimbo'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clAqua
    Font.Height = -13
    Font.Name = 'Arial'
    Font.Style = [fsBold, fsItalic]
    ParentFont = False
    Visible = False
  end
  object Labeleggs2: TLabel
    Left = 232
    Top = 308
    Width = 181
    Height = 16
    Alignment = taCenter
    AutoSize = False
    Caption = 'Hry - Tulimbo'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clAqua
    Font.Height = -12
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
    Visible = False
  end
  object roh_LH: TImage
    Left = 0
    Top = 0
    Width = 18
    Height = 19
    AutoSize = True
    Transparent = True
    Picture = 'FORM_Menu.roh_LH.bmp'
  end
  object roh_PH: TImage
    Left = 622
    Top = 0
    Width = 18
    Height = 19
    AutoSize = True
    Transparent = True
    Picture = 'FORM_Menu.roh_PH.bmp'
  end
  object roh_PD: TImage
    Left = 622
    Top = 462
    Width = 18
    Height = 19
    AutoSize = True
    Transparent = True
    Picture = 'FORM_Menu.roh_PD.bmp'
  end
  object roh_LD: TImage
    Left = 0
    Top = 461
    Width = 18
    Height = 19
    AutoSize = True
    Transparent = True
    Picture = 'FORM_Menu.roh_LD.bmp'
  end
  object MIDIPlayer: TMediaPlayer
    Left = 8
    Top = 8
    Width = 57
    Height = 30
    VisibleButtons = [btPlay, btStop]
    Visible = False
  end
  object SpoustecObrazku: TTimer
    Interval = 10
    OnTimer = SpoustecObrazkuTimer
  end
  object Midi_spoustec: TTimer
    Interval = 500
    OnTimer = Midi_spoustecTimer
  end
  object UvodniZobrazeni: TTimer
    Interval = 100
    OnTimer = UvodniZobrazeniTimer
  end
  object WAVSpoustec: TTimer
    Interval = 100
    OnTimer = WAVSpoustecTimer
  end
  object postupne_vykresleni: TTimer
    Enabled = False
    Interval = 200
    OnTimer = postupne_vykresleniTimer
  end
  object Timereggs: TTimer
    Enabled = False
    Interval = 3000
    OnTimer = TimereggsTimer
  end
end
