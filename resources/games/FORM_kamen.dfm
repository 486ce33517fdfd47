object FORM_kamen: TFORM_kamen
  Left = 0
  Top = 0
  BorderIcons = []
  BorderStyle = bsNone
  Caption = 'Kámen, nůžky, papír...'
  ClientHeight = 480
  ClientWidth = 640
  Color = clGreen
  Cursor = crArrow
  KeyPreview = True
  OldCreateOrder = False
  Position = poScreenCenter
  Scaled = False
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  OnKeyDown = FormKeyDown
  object hrdina_vlevo: TImage
    Left = 14
    Top = 84
    Width = 225
    Height = 295
    AutoSize = True
    OnClick = hrdina_vlevoClick
  end
  object hrdina_vpravo: TImage
    Left = 256
    Top = 84
    Width = 225
    Height = 295
    AutoSize = True
    OnClick = hrdina_vlevoClick
  end
  object dite_poz1: TImage
    Left = 0
    Top = 0
    Width = 225
    Height = 295
    AutoSize = True
    Visible = False
  end
  object dite_poz1a: TImage
    Left = 0
    Top = 0
    Width = 225
    Height = 295
    AutoSize = True
    Visible = False
  end
  object dite_poz2: TImage
    Left = 0
    Top = 0
    Width = 225
    Height = 295
    AutoSize = True
    Visible = False
  end
  object dite_poz2a: TImage
    Left = 0
    Top = 0
    Width = 225
    Height = 295
    AutoSize = True
    Visible = False
  end
  object dite_poz3: TImage
    Left = 0
    Top = 0
    Width = 225
    Height = 295
    AutoSize = True
    Visible = False
  end
  object dite_poz3a: TImage
    Left = 0
    Top = 0
    Width = 225
    Height = 295
    AutoSize = True
    Visible = False
  end
  object dite_poz4: TImage
    Left = 0
    Top = 0
    Width = 225
    Height = 295
    AutoSize = True
    Visible = False
  end
  object mys_poz1: TImage
    Left = 0
    Top = 0
    Width = 225
    Height = 295
    AutoSize = True
    Visible = False
  end
  object mys_poz1a: TImage
    Left = 0
    Top = 0
    Width = 225
    Height = 295
    AutoSize = True
    Visible = False
  end
  object mys_poz2: TImage
    Left = 0
    Top = 0
    Width = 225
    Height = 295
    AutoSize = True
    Visible = False
  end
  object mys_poz2a: TImage
    Left = 0
    Top = 0
    Width = 225
    Height = 295
    AutoSize = True
    Visible = False
  end
  object mys_poz3: TImage
    Left = 0
    Top = 0
    Width = 225
    Height = 295
    AutoSize = True
    Visible = False
  end
  object mys_poz3a: TImage
    Left = 0
    Top = 0
    Width = 225
    Height = 295
    AutoSize = True
    Visible = False
  end
  object mys_poz4: TImage
    Left = 0
    Top = 0
    Width = 225
    Height = 295
    AutoSize = True
    Visible = False
  end
  object pan_kamen: TPanel
    Left = 495
    Top = 22
    Width = 134
    Height = 104
    BevelOuter = bvNone
    Color = clGreen
    object btn_kamen: TGlyphButton
      Tag = 1
      Left = 5
      Top = 5
      Width = 125
      Height = 95
      Color = clGreen
      DisplayMode = dmGlyphOnly
      Glyph = 'FORM_kamen.btn_kamen.Glyph.bmp'
      NoBorder = True
      NumGlyphs = 5
      Visible = False
      OnClick = btn_kamenClick
      OnMouseEnter = btn_kamenMouseEnter
      OnMouseExit = btn_papirMouseExit
    end
  end
  object pan_nuzky: TPanel
    Left = 495
    Top = 147
    Width = 134
    Height = 104
    BevelOuter = bvNone
    Color = clGreen
    object btn_nuzky: TGlyphButton
      Tag = 2
      Left = 5
      Top = 4
      Width = 125
      Height = 95
      Color = clGreen
      DisplayMode = dmGlyphOnly
      Glyph = 'FORM_kamen.btn_nuzky.Glyph.bmp'
      NoBorder = True
      NumGlyphs = 5
      Visible = False
      OnClick = btn_kamenClick
      OnMouseEnter = btn_nuzkyMouseEnter
      OnMouseExit = btn_papirMouseExit
    end
  end
  object pan_papir: TPanel
    Left = 495
    Top = 272
    Width = 134
    Height = 104
    BevelOuter = bvNone
    Color = clGreen
    object btn_papir: TGlyphButton
      Tag = 3
      Left = 5
      Top = 4
      Width = 125
      Height = 95
      Color = clGreen
      DisplayMode = dmGlyphOnly
      Glyph = 'FORM_kamen.btn_papir.Glyph.bmp'
      NoBorder = True
      NumGlyphs = 5
      Visible = False
      OnClick = btn_kamenClick
      OnMouseEnter = btn_papirMouseEnter
      OnMouseExit = btn_papirMouseExit
    end
  end
  object BTN_Konec: TGlyphButton
    Left = 528
    Top = 411
    Width = 75
    Height = 61
    Cursor = 7
    DisplayMode = dmGlyphOnly
    Glyph = 'FORM_kamen.BTN_Konec.Glyph.bmp'
    NoBorder = True
    NumGlyphs = 5
    Visible = False
    OnClick = BTN_KonecClick
    OnMouseEnter = BTN_KonecMouseEnter
    OnMouseExit = btn_papirMouseExit
  end
  object lbl_spatne: TLabel
    Left = 121
    Top = 424
    Width = 60
    Height = 32
    Alignment = taCenter
    AutoSize = False
    Caption = '0'
    Color = clGreen
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clYellow
    Font.Height = -27
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentColor = False
    ParentFont = False
    Visible = False
    OnClick = hrdina_vlevoClick
  end
  object lbl_dvojtecka: TLabel
    Left = 223
    Top = 424
    Width = 44
    Height = 32
    Alignment = taCenter
    AutoSize = False
    Caption = ':'
    Color = clGreen
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clYellow
    Font.Height = -27
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentColor = False
    ParentFont = False
    Visible = False
    OnClick = hrdina_vlevoClick
  end
  object lbl_dobre: TLabel
    Left = 315
    Top = 425
    Width = 68
    Height = 32
    Alignment = taCenter
    AutoSize = False
    Caption = '0'
    Color = clGreen
    Font.Charset = EASTEUROPE_CHARSET
    Font.Color = clYellow
    Font.Height = -27
    Font.Name = 'Arial'
    Font.Style = [fsBold]
    ParentColor = False
    ParentFont = False
    Visible = False
    OnClick = hrdina_vlevoClick
  end
  object pohar_tumfik: TImage
    Left = 16
    Top = 12
    Width = 80
    Height = 80
    AutoSize = True
    Picture = 'FORM_kamen.pohar_tumfik.bmp'
    Visible = False
  end
  object pohar_dite: TImage
    Left = 405
    Top = 12
    Width = 80
    Height = 80
    AutoSize = True
    Picture = 'FORM_kamen.pohar_dite.bmp'
    Visible = False
  end
  object oddeleni: TPanel
    Left = -10
    Top = 403
    Width = 650
    Height = 2
    BevelOuter = bvNone
    Color = 43520
    Visible = False
  end
  object playlist: TListBox
    Left = 8
    Top = 8
    Width = 121
    Height = 41
    ItemHeight = 13
    Items.Strings = (
      'knp_uv1.wav')
    Visible = False
  end
  object WavPlayer: TMediaPlayer
    Left = 8
    Top = 56
    Width = 57
    Height = 30
    Visible = False
  end
  object MIDIPlayer: TMediaPlayer
    Left = 72
    Top = 56
    Width = 57
    Height = 30
    Visible = False
  end
  object roh_LH: TImage
    Left = 0
    Top = 0
    Width = 18
    Height = 19
    AutoSize = True
    Transparent = True
    Picture = 'FORM_kamen.roh_LH.bmp'
  end
  object roh_PH: TImage
    Left = 622
    Top = 0
    Width = 18
    Height = 19
    AutoSize = True
    Transparent = True
    Picture = 'FORM_kamen.roh_PH.bmp'
  end
  object roh_LD: TImage
    Left = 0
    Top = 461
    Width = 18
    Height = 19
    AutoSize = True
    Transparent = True
    Picture = 'FORM_kamen.roh_LD.bmp'
  end
  object roh_PD: TImage
    Left = 622
    Top = 461
    Width = 18
    Height = 19
    AutoSize = True
    Transparent = True
    Picture = 'FORM_kamen.roh_PD.bmp'
  end
  object stit: TImage
    Left = 0
    Top = 0
    Width = 639
    Height = 479
    OnClick = stitClick
  end
  object starter: TTimer
    Interval = 50
    OnTimer = starterTimer
  end
  object playlist_tracker: TTimer
    Enabled = False
    Interval = 200
    OnTimer = playlist_trackerTimer
  end
  object wavspoustec: TTimer
    Interval = 100
    OnTimer = wavspoustecTimer
  end
  object uvodni_blikajici_ikony: TTimer
    Enabled = False
    Interval = 500
    OnTimer = uvodni_blikajici_ikonyTimer
  end
  object Midi_spoustec: TTimer
    Enabled = False
    Interval = 2000
    OnTimer = Midi_spoustecTimer
  end
  object delay_tq: TTimer
    Enabled = False
    Interval = 100
    OnTimer = delay_tqTimer
  end
  object blikatko_s_poharem: TTimer
    Enabled = False
    Interval = 500
    OnTimer = blikatko_s_poharemTimer
  end
end
