object FORM_Menu: TFORM_Menu
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsNone
  Caption = 'Trilanky - hlavní menu'
  ClientHeight = 480
  ClientWidth = 640
  Color = clGreen
  Ctl3D = False
  Cursor = crArrow
  KeyPreview = True
  Position = poScreenCenter
  Scaled = False
  OnClose = FormClose
  OnCreate = FormCreate
  OnKeyDown = FormKeyDown
  object Labeleggs1: TLabel
    Left = 230
    Top = 158
    Width = 178
    Height = 16
    Alignment = taCenter
    AutoSize = False
    Caption = 'Trilanky - Tulimbo'
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
    Caption = 'Trilanky - Tulimbo'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clAqua
    Font.Height = -12
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
    Visible = False
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
  object pop1: TLabel
    Left = 98
    Top = 450
    Width = 69
    Height = 14
    Cursor = 7
    Alignment = taCenter
    Caption = 'Maličká som'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clYellow
    Font.Height = -11
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
    Visible = False
    OnClick = AVI_obr1Click
  end
  object pop2: TLabel
    Left = 84
    Top = 172
    Width = 86
    Height = 14
    Cursor = 7
    Alignment = taCenter
    Caption = 'Pec nám spadla'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clYellow
    Font.Height = -11
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
    Visible = False
    OnClick = AVI_obr2Click
  end
  object pop3: TLabel
    Left = 503
    Top = 176
    Width = 50
    Height = 14
    Cursor = 7
    Alignment = taCenter
    Caption = 'Prší, prší'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clYellow
    Font.Height = -11
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
    Visible = False
    OnClick = AVI_obr3Click
  end
  object pop4: TLabel
    Left = 488
    Top = 444
    Width = 90
    Height = 14
    Cursor = 7
    Alignment = taCenter
    Caption = 'Holka modrooká'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clYellow
    Font.Height = -11
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentFont = False
    Visible = False
    OnClick = AVI_obr4Click
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
  object AVI_obr1: TAVI_orvo1
    Left = 62
    Top = 310
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
    StopFrame = 0
    Transparent = False
    Visible = False
    OnOpen = AVI_obr1Open
    OnClick = AVI_obr1Click
    OnMouseEnter = AVI_obr1MouseEnter
    OnMouseExit = AVI_obr1MouseExit
  end
  object AVI_obr2: TAVI_orvo1
    Left = 62
    Top = 31
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
    StopFrame = 0
    Transparent = False
    Visible = False
    OnOpen = AVI_obr2Open
    OnClick = AVI_obr2Click
    OnMouseEnter = AVI_obr2MouseEnter
    OnMouseExit = AVI_obr2MouseExit
  end
  object AVI_obr4: TAVI_orvo1
    Left = 459
    Top = 304
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
    StopFrame = 0
    Transparent = False
    Visible = False
    OnOpen = AVI_obr4Open
    OnClick = AVI_obr4Click
    OnMouseEnter = AVI_obr4MouseEnter
    OnMouseExit = AVI_obr4MouseExit
  end
  object MIDIPlayer: TMediaPlayer
    Left = 8
    Top = 8
    Width = 57
    Height = 30
    Visible = False
  end
  object AVI_obr3: TAVI_orvo1
    Left = 459
    Top = 35
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
