object form_kim2: Tform_kim2
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsNone
  Caption = 'Kimova hra 2'
  ClientHeight = 480
  ClientWidth = 640
  Color = clGreen
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -13
  Font.Name = 'System'
  Font.Style = []
  KeyPreview = True
  OldCreateOrder = False
  Position = poScreenCenter
  Scaled = False
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  OnKeyPress = FormKeyPress
  OnShow = FormShow
  object podklad: TPanel
    Left = 0
    Top = 0
    Width = 537
    Height = 415
    BevelOuter = bvNone
    Color = clWhite
    Visible = False
    OnClick = podkladClick
    object kim_11: TImage
      Left = 76
      Top = 30
      Width = 125
      Height = 125
      Cursor = 7
      Stretch = True
      Visible = False
      Tag = 11
      OnClick = kim_11Click
    end
    object kim_12: TImage
      Left = 69
      Top = 232
      Width = 125
      Height = 125
      Cursor = 7
      Stretch = True
      Visible = False
      Tag = 12
      OnClick = kim_11Click
    end
    object kim_13: TImage
      Left = 10
      Top = 210
      Width = 125
      Height = 125
      Cursor = 7
      Stretch = True
      Visible = False
      Tag = 13
      OnClick = kim_11Click
    end
    object kim_14: TImage
      Left = 10
      Top = 310
      Width = 125
      Height = 125
      Cursor = 7
      Stretch = True
      Visible = False
      Tag = 14
      OnClick = kim_11Click
    end
    object kim_21: TImage
      Left = 333
      Top = 29
      Width = 125
      Height = 125
      Cursor = 7
      Stretch = True
      Visible = False
      Tag = 21
      OnClick = kim_11Click
    end
    object kim_22: TImage
      Left = 342
      Top = 232
      Width = 125
      Height = 125
      Cursor = 7
      Stretch = True
      Visible = False
      Tag = 22
      OnClick = kim_11Click
    end
    object kim_23: TImage
      Left = 130
      Top = 210
      Width = 125
      Height = 125
      Cursor = 7
      Stretch = True
      Visible = False
      Tag = 23
      OnClick = kim_11Click
    end
    object kim_24: TImage
      Left = 130
      Top = 310
      Width = 125
      Height = 125
      Cursor = 7
      Stretch = True
      Visible = False
      Tag = 24
      OnClick = kim_11Click
    end
    object kim_31: TImage
      Left = 250
      Top = 10
      Width = 125
      Height = 125
      Cursor = 7
      Stretch = True
      Visible = False
      Tag = 31
      OnClick = kim_11Click
    end
    object kim_32: TImage
      Left = 250
      Top = 110
      Width = 125
      Height = 125
      Cursor = 7
      Stretch = True
      Visible = False
      Tag = 32
      OnClick = kim_11Click
    end
    object kim_33: TImage
      Left = 250
      Top = 210
      Width = 125
      Height = 125
      Cursor = 7
      Stretch = True
      Visible = False
      Tag = 33
      OnClick = kim_11Click
    end
    object kim_34: TImage
      Left = 250
      Top = 310
      Width = 125
      Height = 125
      Cursor = 7
      Stretch = True
      Visible = False
      Tag = 34
      OnClick = kim_11Click
    end
    object kim_41: TImage
      Left = 370
      Top = 10
      Width = 125
      Height = 125
      Cursor = 7
      Stretch = True
      Visible = False
      Tag = 41
      OnClick = kim_11Click
    end
    object kim_42: TImage
      Left = 370
      Top = 110
      Width = 125
      Height = 125
      Cursor = 7
      Stretch = True
      Visible = False
      Tag = 42
      OnClick = kim_11Click
    end
    object kim_43: TImage
      Left = 370
      Top = 210
      Width = 125
      Height = 125
      Cursor = 7
      Stretch = True
      Visible = False
      Tag = 43
      OnClick = kim_11Click
    end
    object kim_44: TImage
      Left = 370
      Top = 310
      Width = 125
      Height = 125
      Cursor = 7
      Stretch = True
      Visible = False
      Tag = 44
      OnClick = kim_11Click
    end
    object kod: TMemo
      Left = 8
      Top = 8
      Width = 185
      Height = 89
      Visible = False
    end
  end
  object oddeleni2: TPanel
    Left = 537
    Top = -23
    Width = 2
    Height = 439
    BevelOuter = bvNone
    Color = 43520
    Visible = False
  end
  object Button1: TButton
    Left = 560
    Top = 100
    Width = 57
    Height = 25
    Caption = 'Button1'
    Visible = False
    OnClick = Button1Click
  end
  object img_time: TImage
    Left = 537
    Top = 22
    Width = 100
    Height = 100
    AutoSize = True
    Picture = 'form_kim2.img_time.bmp'
    Visible = False
  end
  object img_ok: TImage
    Left = 562
    Top = 188
    Width = 50
    Height = 50
    Picture = 'form_kim2.img_ok.bmp'
    Stretch = True
    Visible = False
  end
  object img_bad: TImage
    Left = 562
    Top = 300
    Width = 50
    Height = 50
    Picture = 'form_kim2.img_bad.bmp'
    Stretch = True
    Visible = False
  end
  object lbl_cas: TLabel
    Left = 537
    Top = 126
    Width = 101
    Height = 32
    Alignment = taCenter
    AutoSize = False
    Caption = '00:00'
    Color = clGreen
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clYellow
    Font.Height = -27
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentColor = False
    ParentFont = False
    Transparent = True
    Visible = False
  end
  object lbl_dobre: TLabel
    Left = 569
    Top = 244
    Width = 36
    Height = 24
    Alignment = taCenter
    AutoSize = False
    Caption = '999'
    Color = clGreen
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clYellow
    Font.Height = -21
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentColor = False
    ParentFont = False
    Transparent = False
    Visible = False
  end
  object lbl_spatne: TLabel
    Left = 569
    Top = 352
    Width = 36
    Height = 24
    Alignment = taCenter
    AutoSize = False
    Caption = '999'
    Color = clGreen
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clYellow
    Font.Height = -21
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentColor = False
    ParentFont = False
    Transparent = False
    Visible = False
  end
  object Image0: TImage
    Left = 8
    Top = 440
    Width = 25
    Height = 25
    Visible = False
  end
  object Image1: TImage
    Left = 34
    Top = 440
    Width = 25
    Height = 25
    Visible = False
  end
  object Image2: TImage
    Left = 60
    Top = 440
    Width = 25
    Height = 25
    Visible = False
  end
  object Image3: TImage
    Left = 86
    Top = 440
    Width = 25
    Height = 25
    Visible = False
  end
  object Image4: TImage
    Left = 112
    Top = 440
    Width = 25
    Height = 25
    Visible = False
  end
  object Image5: TImage
    Left = 138
    Top = 440
    Width = 25
    Height = 25
    Visible = False
  end
  object Image6: TImage
    Left = 164
    Top = 440
    Width = 25
    Height = 25
    Visible = False
  end
  object Image7: TImage
    Left = 190
    Top = 440
    Width = 25
    Height = 25
    Visible = False
  end
  object Image8: TImage
    Left = 216
    Top = 440
    Width = 25
    Height = 25
    Visible = False
  end
  object Image9: TImage
    Left = 8
    Top = 440
    Width = 25
    Height = 25
    Visible = False
  end
  object Image10: TImage
    Left = 34
    Top = 440
    Width = 25
    Height = 25
    Visible = False
  end
  object Image11: TImage
    Left = 60
    Top = 440
    Width = 25
    Height = 25
    Visible = False
  end
  object Image12: TImage
    Left = 86
    Top = 440
    Width = 25
    Height = 25
    Visible = False
  end
  object Image13: TImage
    Left = 112
    Top = 440
    Width = 25
    Height = 25
    Visible = False
  end
  object Image14: TImage
    Left = 138
    Top = 440
    Width = 25
    Height = 25
    Visible = False
  end
  object Image15: TImage
    Left = 164
    Top = 440
    Width = 25
    Height = 25
    Visible = False
  end
  object Image00: TImage
    Left = 190
    Top = 440
    Width = 25
    Height = 25
    Visible = False
  end
  object roh_LH: TImage
    Left = 0
    Top = 0
    Width = 18
    Height = 19
    AutoSize = True
    Transparent = True
    Picture = 'form_kim2.roh_LH.bmp'
  end
  object roh_PH: TImage
    Left = 622
    Top = 0
    Width = 18
    Height = 19
    AutoSize = True
    Transparent = True
    Picture = 'form_kim2.roh_PH.bmp'
  end
  object roh_LD: TImage
    Left = 0
    Top = 462
    Width = 18
    Height = 19
    AutoSize = True
    Transparent = True
    Picture = 'form_kim2.roh_LD.bmp'
  end
  object roh_PD: TImage
    Left = 622
    Top = 461
    Width = 18
    Height = 19
    AutoSize = True
    Transparent = True
    Picture = 'form_kim2.roh_PD.bmp'
  end
  object btn_hra2x2: TGlyphButton
    Left = 78
    Top = 420
    Width = 69
    Height = 58
    Cursor = 7
    Layout = blGlyphTop
    Spacing = 0
    Color = clGreen
    DisplayMode = dmGlyphOnly
    Glyph = 'form_kim2.btn_hra2x2.Glyph.bmp'
    NoBorder = True
    NumGlyphs = 5
    ParentColor = False
    Visible = False
    OnClick = btn_hra2x2Click
    OnMouseEnter = btn_hra2x2MouseEnter
    OnMouseExit = BTN_KonecMouseExit
  end
  object btn_hra3x3: TGlyphButton
    Left = 192
    Top = 420
    Width = 69
    Height = 58
    Cursor = 7
    Layout = blGlyphTop
    Spacing = 0
    Color = clGreen
    DisplayMode = dmGlyphOnly
    Glyph = 'form_kim2.btn_hra3x3.Glyph.bmp'
    NoBorder = True
    NumGlyphs = 5
    ParentColor = False
    Visible = False
    OnClick = btn_hra3x3Click
    OnMouseEnter = btn_hra3x3MouseEnter
    OnMouseExit = BTN_KonecMouseExit
  end
  object btn_hra4x4: TGlyphButton
    Left = 303
    Top = 420
    Width = 69
    Height = 58
    Cursor = 7
    Layout = blGlyphTop
    Spacing = 0
    Color = clGreen
    DisplayMode = dmGlyphOnly
    Glyph = 'form_kim2.btn_hra4x4.Glyph.bmp'
    NoBorder = True
    NumGlyphs = 5
    ParentColor = False
    Visible = False
    OnClick = btn_hra4x4Click
    OnMouseEnter = btn_hra4x4MouseEnter
    OnMouseExit = BTN_KonecMouseExit
  end
  object btn_help: TGlyphButton
    Left = 455
    Top = 422
    Width = 75
    Height = 58
    Cursor = 7
    Caption = 'HELP'
    Color = clGreen
    DisplayMode = dmGlyphOnly
    Glyph = 'form_kim2.btn_help.Glyph.bmp'
    NoBorder = True
    NumGlyphs = 5
    ParentColor = False
    Visible = False
    OnClick = btn_helpClick
    OnMouseEnter = btn_helpMouseEnter
    OnMouseExit = BTN_KonecMouseExit
  end
  object BTN_Konec: TGlyphButton
    Left = 550
    Top = 418
    Width = 72
    Height = 60
    Cursor = 7
    Color = clGreen
    DisplayMode = dmGlyphOnly
    Glyph = 'form_kim2.BTN_Konec.Glyph.bmp'
    NoBorder = True
    NumGlyphs = 5
    ParentColor = False
    Visible = False
    OnClick = BTN_KonecClick
    OnMouseEnter = BTN_KonecMouseEnter
    OnMouseExit = BTN_KonecMouseExit
  end
  object stit: TImage
    Left = 0
    Top = 0
    Width = 639
    Height = 479
    Visible = False
    OnClick = stitClick
  end
  object mluvici_mys: TAVI_orvo1
    Left = 184
    Top = 228
    Width = 100
    Height = 130
    Cursor = 7
    Active = False
    AutoSize = False
    Color = clGreen
    ParentColor = False
    Repetitions = 1
    StopFrame = 12
    OnClick = stitClick
  end
  object oddeleni: TPanel
    Left = -10
    Top = 415
    Width = 650
    Height = 2
    BevelOuter = bvNone
    Color = 43520
    Visible = False
  end
  object MIDIPlayer: TMediaPlayer
    Left = 8
    Top = 8
    Width = 57
    Height = 30
    VisibleButtons = [btPlay, btStop]
    Visible = False
  end
  object WavPlayer: TMediaPlayer
    Left = 70
    Top = 8
    Width = 57
    Height = 30
    VisibleButtons = [btPlay, btStop]
    Visible = False
  end
  object starter: TTimer
    Enabled = False
    Interval = 500
    OnTimer = startertimerTimer
  end
  object wav_spoustec: TTimer
    Interval = 100
    OnTimer = wav_spoustecTimer
  end
  object uvodni_blikajici_ikony: TTimer
    Enabled = False
    Interval = 400
    OnTimer = uvodni_blikajici_ikonyTimer
  end
  object pocitac_casu: TTimer
    Interval = 1000
    OnTimer = pocitac_casuTimer
  end
  object odpocet_timer: TTimer
    Enabled = False
    Interval = 1000
    OnTimer = odpocet_timerTimer
  end
  object delay_tq: TTimer
    Enabled = False
    Interval = 100
    OnTimer = delay_tqTimer
  end
  object Midi_spoustec: TTimer
    Enabled = False
    Interval = 2000
    OnTimer = Midi_spoustecTimer
  end
end
