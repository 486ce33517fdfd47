object FORM_Fumbamesi: TFORM_Fumbamesi
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsNone
  Caption = 'Fumbame si - TQ 2'
  ClientHeight = 480
  ClientWidth = 640
  Color = clGreen
  Ctl3D = False
  Cursor = crArrow
  KeyPreview = True
  Position = poScreenCenter
  Scaled = False
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  OnHide = FormHide
  OnKeyPress = FormKeyPress
  OnShow = FormShow
  object wait_image: TImage
    Left = 270
    Top = 190
    Width = 100
    Height = 100
    Cursor = crHourGlass
    Picture = 'FORM_Fumbamesi.wait_image.bmp'
  end
  object podklad: TImage
    Left = 0
    Top = 0
    Width = 640
    Height = 424
    Cursor = 5
    Align = alTop
  end
  object Image1: TImage
    Left = 0
    Top = 461
    Width = 18
    Height = 19
    AutoSize = True
    Transparent = True
    Picture = 'FORM_Fumbamesi.Image1.bmp'
  end
  object Image2: TImage
    Left = 622
    Top = 461
    Width = 18
    Height = 19
    AutoSize = True
    Transparent = True
    Picture = 'FORM_Fumbamesi.Image2.bmp'
  end
  object btn_konec: TGlyphButton
    Left = 560
    Top = 425
    Width = 66
    Height = 55
    Cursor = 7
    Color = clGreen
    DisplayMode = dmBoth
    Glyph = 'FORM_Fumbamesi.btn_konec.Glyph.bmp'
    Layout = blGlyphRight
    NoBorder = True
    NumGlyphs = 5
    OnClick = btn_konecClick
    OnMouseEnter = btn_konecMouseEnter
    OnMouseExit = btn_konecMouseExit
  end
  object lbl_snimek: TLabel
    Left = 33
    Top = 380
    Width = 257
    Height = 13
    Alignment = taCenter
    AutoSize = False
    Caption = 'číslo snímku'
    Color = clWhite
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clSilver
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = [fsBold]
    ParentColor = False
    ParentFont = False
    Visible = False
  end
  object btn_1: TGlyphButton
    Left = 23
    Top = 426
    Width = 70
    Height = 52
    Cursor = 7
    Caption = 'Ikona pro 1. písničku '
    Color = clGreen
    DisplayMode = dmGlyphOnly
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clYellow
    Font.Height = -11
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Glyph = 'FORM_Fumbamesi.btn_1.Glyph.bmp'
    Layout = blGlyphRight
    NoBorder = True
    NumGlyphs = 5
    ParentFont = False
    WordWrap = True
    OnClick = btn_1Click
    OnMouseEnter = btn_1MouseEnter
    OnMouseExit = btn_konecMouseExit
  end
  object btn_2: TGlyphButton
    Left = 134
    Top = 426
    Width = 70
    Height = 52
    Cursor = 7
    Caption = 'Ikona pro 2. písničku '
    Color = clGreen
    DisplayMode = dmGlyphOnly
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clYellow
    Font.Height = -11
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Glyph = 'FORM_Fumbamesi.btn_2.Glyph.bmp'
    Layout = blGlyphRight
    NoBorder = True
    NumGlyphs = 5
    ParentFont = False
    WordWrap = True
    OnClick = btn_2Click
    OnMouseEnter = btn_2MouseEnter
    OnMouseExit = btn_konecMouseExit
  end
  object btn_4: TGlyphButton
    Left = 356
    Top = 423
    Width = 70
    Height = 52
    Cursor = 7
    Caption = 'Ikona pro 4. písničku '
    Color = clGreen
    DisplayMode = dmGlyphOnly
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clYellow
    Font.Height = -11
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Glyph = 'FORM_Fumbamesi.btn_4.Glyph.bmp'
    Layout = blGlyphRight
    NoBorder = True
    NumGlyphs = 5
    ParentFont = False
    WordWrap = True
    OnClick = btn_4Click
    OnMouseEnter = btn_4MouseEnter
    OnMouseExit = btn_konecMouseExit
  end
  object btn_3: TGlyphButton
    Left = 245
    Top = 426
    Width = 70
    Height = 52
    Cursor = 7
    Caption = 'Ikona pro 3. písničku '
    Color = clGreen
    DisplayMode = dmGlyphOnly
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clYellow
    Font.Height = -11
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Glyph = 'FORM_Fumbamesi.btn_3.Glyph.bmp'
    Layout = blGlyphRight
    NoBorder = True
    NumGlyphs = 5
    ParentFont = False
    WordWrap = True
    OnClick = btn_3Click
    OnMouseEnter = btn_3MouseEnter
    OnMouseExit = btn_konecMouseExit
  end
  object btn_hrej: TGlyphButton
    Left = 480
    Top = 425
    Width = 72
    Height = 55
    Cursor = 7
    Caption = 'Přepínání zpěv/hudba'
    Color = clGreen
    DisplayMode = dmGlyphOnly
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clBlack
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
    Glyph = 'FORM_Fumbamesi.btn_hrej.Glyph.bmp'
    Layout = blGlyphTop
    NoBorder = True
    NumGlyphs = 5
    ParentFont = False
    Spacing = 0
    Visible = False
    OnClick = btn_hrejClick
    OnMouseEnter = btn_hrejMouseEnter
    OnMouseExit = btn_konecMouseExit
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
    Left = 6
    Top = 4
    Width = 325
    Height = 31
    AutoSize = False
    Caption = 'NADPIS'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clBlack
    Font.Height = -19
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Layout = tlCenter
    ParentFont = False
    Transparent = True
    Aktivni_barva = clRed
  end
  object text_1: TBarevnyText
    Left = 4
    Top = 48
    Width = 324
    Height = 23
    AutoSize = False
    Caption = 'jednotlivé řádky písničky'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clBlack
    Font.Height = -16
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Layout = tlCenter
    ParentFont = False
    Transparent = True
    Aktivni_barva = clRed
  end
  object text_2: TBarevnyText
    Left = 4
    Top = 72
    Width = 324
    Height = 23
    AutoSize = False
    Caption = 'jednotlivé řádky písničky'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clBlack
    Font.Height = -16
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Layout = tlCenter
    ParentFont = False
    Transparent = True
    Aktivni_barva = clRed
  end
  object text_3: TBarevnyText
    Left = 4
    Top = 95
    Width = 324
    Height = 23
    AutoSize = False
    Caption = 'jednotlivé řádky písničky'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clBlack
    Font.Height = -16
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Layout = tlCenter
    ParentFont = False
    Transparent = True
    Aktivni_barva = clRed
  end
  object text_4: TBarevnyText
    Left = 4
    Top = 119
    Width = 324
    Height = 23
    AutoSize = False
    Caption = 'jednotlivé řádky písničky'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clBlack
    Font.Height = -16
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Layout = tlCenter
    ParentFont = False
    Transparent = True
    Aktivni_barva = clRed
  end
  object text_5: TBarevnyText
    Left = 4
    Top = 143
    Width = 324
    Height = 23
    AutoSize = False
    Caption = 'jednotlivé řádky písničky'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clBlack
    Font.Height = -16
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Layout = tlCenter
    ParentFont = False
    Transparent = True
    Aktivni_barva = clRed
  end
  object text_6: TBarevnyText
    Left = 4
    Top = 167
    Width = 324
    Height = 23
    AutoSize = False
    Caption = 'jednotlivé řádky písničky'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clBlack
    Font.Height = -16
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Layout = tlCenter
    ParentFont = False
    Transparent = True
    Aktivni_barva = clRed
  end
  object text_7: TBarevnyText
    Left = 4
    Top = 190
    Width = 324
    Height = 23
    AutoSize = False
    Caption = 'jednotlivé řádky písničky'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clBlack
    Font.Height = -16
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Layout = tlCenter
    ParentFont = False
    Transparent = True
    Aktivni_barva = clRed
  end
  object text_8: TBarevnyText
    Left = 4
    Top = 214
    Width = 324
    Height = 23
    AutoSize = False
    Caption = 'jednotlivé řádky písničky'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clBlack
    Font.Height = -16
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Layout = tlCenter
    ParentFont = False
    Transparent = True
    Aktivni_barva = clRed
  end
  object text_9: TBarevnyText
    Left = 4
    Top = 238
    Width = 324
    Height = 23
    AutoSize = False
    Caption = 'jednotlivé řádky písničky'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clBlack
    Font.Height = -16
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Layout = tlCenter
    ParentFont = False
    Transparent = True
    Aktivni_barva = clRed
  end
  object text_10: TBarevnyText
    Left = 4
    Top = 262
    Width = 324
    Height = 23
    AutoSize = False
    Caption = 'jednotlivé řádky písničky'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clBlack
    Font.Height = -16
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Layout = tlCenter
    ParentFont = False
    Transparent = True
    Aktivni_barva = clRed
  end
  object text_11: TBarevnyText
    Left = 4
    Top = 285
    Width = 324
    Height = 23
    AutoSize = False
    Caption = 'jednotlivé řádky písničky'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clBlack
    Font.Height = -16
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Layout = tlCenter
    ParentFont = False
    Transparent = True
    Aktivni_barva = clRed
  end
  object text_12: TBarevnyText
    Left = 4
    Top = 309
    Width = 324
    Height = 23
    AutoSize = False
    Caption = 'jednotlivé řádky písničky'
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clBlack
    Font.Height = -16
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    Layout = tlCenter
    ParentFont = False
    Transparent = True
    Aktivni_barva = clRed
  end
  object box_s_textem: TListBox
    Left = 560
    Top = 8
    Width = 65
    Height = 33
    Visible = False
  end
  object wavplayer: TMediaPlayer
    Left = 560
    Top = 48
    Width = 57
    Height = 30
    TimeFormat = tfMilliseconds
    Visible = False
  end
  object Timer1: TTimer
    Interval = 50
    OnTimer = Timer1Timer
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
end
