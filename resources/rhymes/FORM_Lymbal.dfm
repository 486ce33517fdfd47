object FORM_Lymbal: TFORM_Lymbal
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsNone
  Caption = 'Rozmotky - TQ 2'
  ClientHeight = 480
  ClientWidth = 640
  Color = clGreen
  Ctl3D = False
  Cursor = crArrow
  Icon = 'icon.program.ico'
  KeyPreview = True
  OldCreateOrder = False
  Position = poScreenCenter
  Scaled = False
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  OnKeyPress = FormKeyPress
  OnShow = FormShow
  object roh_LH: TImage
    Left = 0
    Top = 0
    Width = 18
    Height = 19
    AutoSize = True
    Transparent = True
    Picture = 'FORM_Lymbal.roh_LH.bmp'
  end
  object roh_PH: TImage
    Left = 622
    Top = 0
    Width = 18
    Height = 19
    AutoSize = True
    Transparent = True
    Picture = 'FORM_Lymbal.roh_PH.bmp'
  end
  object roh_PD: TImage
    Left = 622
    Top = 461
    Width = 18
    Height = 19
    AutoSize = True
    Transparent = True
    Picture = 'FORM_Lymbal.roh_PD.bmp'
  end
  object roh_LD: TImage
    Left = 0
    Top = 461
    Width = 18
    Height = 19
    AutoSize = True
    Transparent = True
    Picture = 'FORM_Lymbal.roh_LD.bmp'
  end
  object wait_image: TImage
    Left = 270
    Top = 190
    Width = 100
    Height = 100
    Cursor = crHourGlass
    Picture = 'FORM_Lymbal.wait_image.bmp'
  end
  object sipka: TImage
    Left = 127
    Top = 122
    Width = 180
    Height = 180
    Cursor = 7
    Center = True
    Visible = False
    OnClick = mluvici_mysClick
  end
  object ksicht_1: TImage
    Left = 166
    Top = 2
    Width = 105
    Height = 105
    Visible = False
  end
  object ksicht_2: TImage
    Left = 285
    Top = 48
    Width = 105
    Height = 105
    Visible = False
  end
  object ksicht_3: TImage
    Left = 307
    Top = 164
    Width = 105
    Height = 105
    Visible = False
  end
  object ksicht_4: TImage
    Left = 285
    Top = 272
    Width = 105
    Height = 105
    Visible = False
  end
  object ksicht_5: TImage
    Left = 166
    Top = 293
    Width = 105
    Height = 105
    Visible = False
  end
  object ksicht_6: TImage
    Left = 37
    Top = 278
    Width = 105
    Height = 105
    Visible = False
  end
  object ksicht_7: TImage
    Left = 2
    Top = 160
    Width = 105
    Height = 105
    Visible = False
  end
  object ksicht_8: TImage
    Left = 37
    Top = 34
    Width = 105
    Height = 105
    Visible = False
  end
  object swp_sipka1: TImage
    Left = 28
    Top = 440
    Width = 180
    Height = 180
    Visible = False
  end
  object swp_sipka2: TImage
    Left = 48
    Top = 440
    Width = 180
    Height = 180
    Visible = False
  end
  object swp_sipka3: TImage
    Left = 68
    Top = 440
    Width = 180
    Height = 180
    Visible = False
  end
  object swp_sipka4: TImage
    Left = 88
    Top = 440
    Width = 180
    Height = 180
    Visible = False
  end
  object swp_sipka5: TImage
    Left = 108
    Top = 440
    Width = 180
    Height = 180
    Visible = False
  end
  object swp_sipka6: TImage
    Left = 128
    Top = 440
    Width = 180
    Height = 180
    Visible = False
  end
  object swp_sipka7: TImage
    Left = 148
    Top = 440
    Width = 180
    Height = 180
    Visible = False
  end
  object swp_sipka8: TImage
    Left = 168
    Top = 440
    Width = 180
    Height = 180
    Visible = False
  end
  object swp_ksicht1: TImage
    Left = 28
    Top = 440
    Width = 105
    Height = 105
    Visible = False
  end
  object swp_ksicht2: TImage
    Left = 48
    Top = 440
    Width = 105
    Height = 105
    Visible = False
  end
  object swp_ksicht3: TImage
    Left = 68
    Top = 440
    Width = 105
    Height = 105
    Visible = False
  end
  object swp_ksicht4: TImage
    Left = 88
    Top = 440
    Width = 105
    Height = 105
    Visible = False
  end
  object swp_ksicht5: TImage
    Left = 108
    Top = 440
    Width = 105
    Height = 105
    Visible = False
  end
  object swp_ksicht6: TImage
    Left = 128
    Top = 440
    Width = 105
    Height = 105
    Visible = False
  end
  object swp_ksicht7: TImage
    Left = 148
    Top = 440
    Width = 105
    Height = 105
    Visible = False
  end
  object swp_ksicht8: TImage
    Left = 168
    Top = 440
    Width = 105
    Height = 105
    Visible = False
  end
  object swp_ksicht1a: TImage
    Left = 28
    Top = 460
    Width = 105
    Height = 105
    Visible = False
  end
  object swp_ksicht2a: TImage
    Left = 48
    Top = 460
    Width = 105
    Height = 105
    Visible = False
  end
  object swp_ksicht3a: TImage
    Left = 68
    Top = 460
    Width = 105
    Height = 105
    Visible = False
  end
  object swp_ksicht4a: TImage
    Left = 88
    Top = 460
    Width = 105
    Height = 105
    Visible = False
  end
  object swp_ksicht5a: TImage
    Left = 108
    Top = 460
    Width = 105
    Height = 105
    Visible = False
  end
  object swp_ksicht6a: TImage
    Left = 128
    Top = 460
    Width = 105
    Height = 105
    Visible = False
  end
  object swp_ksicht7a: TImage
    Left = 148
    Top = 460
    Width = 105
    Height = 105
    Visible = False
  end
  object swp_ksicht8a: TImage
    Left = 168
    Top = 460
    Width = 105
    Height = 105
    Visible = False
  end
  object iko_pswap1: TImage
    Left = 276
    Top = 28
    Width = 42
    Height = 51
    Visible = False
  end
  object iko_pswap2: TImage
    Left = 289
    Top = 62
    Width = 42
    Height = 51
    Visible = False
  end
  object text_0: TBarevnyText
    Left = 452
    Top = 146
    Width = 185
    Height = 27
    Cursor = crArrow
    AutoSize = False
    Caption = 'NADPIS'
    Color = clGreen
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clYellow
    Font.Height = -16
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentColor = False
    ParentFont = False
    Layout = tlCenter
    Aktivni_barva = clYellow
  end
  object text_1: TBarevnyText
    Left = 448
    Top = 177
    Width = 185
    Height = 20
    Cursor = crArrow
    AutoSize = False
    Caption = 'jednotlivé řádky lymbalu'
    Color = clGreen
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clLime
    Font.Height = -13
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentColor = False
    ParentFont = False
    Layout = tlCenter
    Aktivni_barva = clYellow
  end
  object text_2: TBarevnyText
    Left = 448
    Top = 201
    Width = 185
    Height = 20
    Cursor = crArrow
    AutoSize = False
    Caption = 'jednotlivé řádky lymbalu'
    Color = clGreen
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clLime
    Font.Height = -13
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentColor = False
    ParentFont = False
    Layout = tlCenter
    Aktivni_barva = clYellow
  end
  object text_3: TBarevnyText
    Left = 448
    Top = 225
    Width = 185
    Height = 20
    Cursor = crArrow
    AutoSize = False
    Caption = 'jednotlivé řádky lymbalu'
    Color = clGreen
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clLime
    Font.Height = -13
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentColor = False
    ParentFont = False
    Layout = tlCenter
    Aktivni_barva = clYellow
  end
  object text_4: TBarevnyText
    Left = 448
    Top = 248
    Width = 185
    Height = 20
    Cursor = crArrow
    AutoSize = False
    Caption = 'jednotlivé řádky lymbalu'
    Color = clGreen
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clLime
    Font.Height = -13
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentColor = False
    ParentFont = False
    Layout = tlCenter
    Aktivni_barva = clYellow
  end
  object text_5: TBarevnyText
    Left = 448
    Top = 272
    Width = 185
    Height = 20
    Cursor = crArrow
    AutoSize = False
    Caption = 'jednotlivé řádky lymbalu'
    Color = clGreen
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clLime
    Font.Height = -13
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentColor = False
    ParentFont = False
    Layout = tlCenter
    Aktivni_barva = clYellow
  end
  object text_6: TBarevnyText
    Left = 448
    Top = 296
    Width = 185
    Height = 20
    Cursor = crArrow
    AutoSize = False
    Caption = 'jednotlivé řádky lymbalu'
    Color = clGreen
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clLime
    Font.Height = -13
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentColor = False
    ParentFont = False
    Layout = tlCenter
    Aktivni_barva = clYellow
  end
  object text_7: TBarevnyText
    Left = 448
    Top = 320
    Width = 185
    Height = 20
    Cursor = crArrow
    AutoSize = False
    Caption = 'jednotlivé řádky lymbalu'
    Color = clGreen
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clLime
    Font.Height = -13
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentColor = False
    ParentFont = False
    Layout = tlCenter
    Aktivni_barva = clYellow
  end
  object text_8: TBarevnyText
    Left = 448
    Top = 343
    Width = 185
    Height = 20
    Cursor = crArrow
    AutoSize = False
    Caption = 'jednotlivé řádky lymbalu'
    Color = clGreen
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clLime
    Font.Height = -13
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentColor = False
    ParentFont = False
    Layout = tlCenter
    Aktivni_barva = clYellow
  end
  object text_9: TBarevnyText
    Left = 448
    Top = 367
    Width = 185
    Height = 20
    Cursor = crArrow
    AutoSize = False
    Caption = 'jednotlivé řádky lymbalu'
    Color = clGreen
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clLime
    Font.Height = -13
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentColor = False
    ParentFont = False
    Layout = tlCenter
    Aktivni_barva = clYellow
  end
  object lbl_snimek: TLabel
    Left = 181
    Top = 465
    Width = 257
    Height = 13
    Alignment = taCenter
    AutoSize = False
    Caption = 'číslo snímku'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clSilver
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentFont = False
    Visible = False
  end
  object btn_2: TGlyphButton
    Left = 17
    Top = 410
    Width = 70
    Height = 70
    Cursor = 7
    Color = clGreen
    DisplayMode = dmGlyphOnly
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clLime
    Font.Height = -37
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Glyph = 'FORM_Lymbal.btn_2.Glyph.bmp'
    Layout = blGlyphRight
    NoBorder = True
    NumGlyphs = 5
    ParentFont = False
    Visible = False
    WordWrap = True
    OnClick = btn_2Click
    OnMouseEnter = btn_2MouseEnter
    OnMouseExit = btn_2MouseExit
  end
  object btn_4: TGlyphButton
    Left = 89
    Top = 410
    Width = 70
    Height = 70
    Cursor = 7
    Color = clGreen
    DisplayMode = dmGlyphOnly
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clLime
    Font.Height = -37
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Glyph = 'FORM_Lymbal.btn_4.Glyph.bmp'
    Layout = blGlyphRight
    NoBorder = True
    NumGlyphs = 5
    ParentFont = False
    Visible = False
    WordWrap = True
    OnClick = btn_4Click
    OnMouseEnter = btn_4MouseEnter
    OnMouseExit = btn_2MouseExit
  end
  object btn_3: TGlyphButton
    Left = 162
    Top = 410
    Width = 70
    Height = 70
    Cursor = 7
    Color = clGreen
    DisplayMode = dmGlyphOnly
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clLime
    Font.Height = -37
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Glyph = 'FORM_Lymbal.btn_3.Glyph.bmp'
    Layout = blGlyphRight
    NoBorder = True
    NumGlyphs = 5
    ParentFont = False
    Visible = False
    WordWrap = True
    OnClick = btn_3Click
    OnMouseEnter = btn_3MouseEnter
    OnMouseExit = btn_2MouseExit
  end
  object btn_1: TGlyphButton
    Left = 234
    Top = 410
    Width = 70
    Height = 70
    Cursor = 7
    Color = clGreen
    DisplayMode = dmGlyphOnly
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clLime
    Font.Height = -37
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Glyph = 'FORM_Lymbal.btn_1.Glyph.bmp'
    Layout = blGlyphRight
    NoBorder = True
    NumGlyphs = 5
    ParentFont = False
    Visible = False
    WordWrap = True
    OnClick = btn_1Click
    OnMouseEnter = btn_1MouseEnter
    OnMouseExit = btn_2MouseExit
  end
  object btn_5: TGlyphButton
    Left = 307
    Top = 410
    Width = 70
    Height = 70
    Cursor = 7
    Color = clGreen
    DisplayMode = dmGlyphOnly
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clLime
    Font.Height = -37
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Glyph = 'FORM_Lymbal.btn_5.Glyph.bmp'
    Layout = blGlyphRight
    NoBorder = True
    NumGlyphs = 5
    ParentFont = False
    Visible = False
    WordWrap = True
    OnClick = btn_5Click
    OnMouseEnter = btn_5MouseEnter
    OnMouseExit = btn_2MouseExit
  end
  object btn_6: TGlyphButton
    Left = 379
    Top = 410
    Width = 70
    Height = 70
    Cursor = 7
    Color = clGreen
    DisplayMode = dmGlyphOnly
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clLime
    Font.Height = -37
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Glyph = 'FORM_Lymbal.btn_6.Glyph.bmp'
    Layout = blGlyphRight
    NoBorder = True
    NumGlyphs = 5
    ParentFont = False
    Visible = False
    WordWrap = True
    OnClick = btn_6Click
    OnMouseEnter = btn_6MouseEnter
    OnMouseExit = btn_2MouseExit
  end
  object btn_konec: TGlyphButton
    Left = 547
    Top = 409
    Width = 66
    Height = 69
    Cursor = 7
    Color = clGreen
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clYellow
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    Glyph = 'FORM_Lymbal.btn_konec.Glyph.bmp'
    Layout = blGlyphRight
    NoBorder = True
    NumGlyphs = 5
    ParentFont = False
    Visible = False
    OnClick = btn_konecClick
    OnMouseEnter = btn_konecMouseEnter
    OnMouseExit = btn_2MouseExit
  end
  object oddeleni: TPanel
    Left = -5
    Top = 408
    Width = 650
    Height = 2
    BevelOuter = bvNone
    Color = $00AA00
    ParentColor = False
    Visible = False
  end
  object mluvici_mys: TAVI_orvo1
    Left = 527
    Top = 10
    Width = 100
    Height = 130
    Cursor = 7
    Active = False
    AutoSize = False
    Color = clGreen
    ParentColor = False
    Repetitions = 1
    StopFrame = 12
    OnClick = mluvici_mysClick
  end
  object mysakPlayer: TMediaPlayer
    Left = 8
    Top = 8
    Width = 57
    Height = 30
    Visible = False
  end
  object MIDIPlayer: TMediaPlayer
    Left = 72
    Top = 8
    Width = 57
    Height = 30
    Visible = False
  end
  object wavplayer: TMediaPlayer
    Left = 136
    Top = 8
    Width = 57
    Height = 30
    Visible = False
  end
  object box_s_textem: TListBox
    Left = 200
    Top = 8
    Width = 40
    Height = 30
    ItemHeight = 13
    Visible = False
  end
  object stit: TImage
    Left = 1
    Top = 1
    Width = 639
    Height = 479
    OnClick = stitClick
  end
  object spoustec: TTimer
    Tag = 111
    Enabled = False
    Interval = 200
    OnTimer = spoustecTimer
  end
  object wavspoustec: TTimer
    Interval = 100
    OnTimer = wavspoustecTimer
  end
  object uvodni_blikajici_ikony: TTimer
    Enabled = False
    Interval = 400
    OnTimer = uvodni_blikajici_ikonyTimer
  end
  object Midi_spoustec: TTimer
    Interval = 500
    OnTimer = Midi_spoustecTimer
  end
  object timer_pro_podbarvovani: TTimer
    Interval = 50
    OnTimer = timer_pro_podbarvovaniTimer
  end
end
