object PropForm: TPropForm
  OnShow = FormShow
  Left = 260
  Top = 160
  BorderStyle = bsDialog
  Caption = 'Properties'
  ClientHeight = 430
  ClientWidth = 500
  Color = clBtnFace
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  Position = poScreenCenter
  ShowHint = True
  object FontDialog: TFontDialog
  end
  object OpenPictureDialog: TUniOpenPictureDialog
  end
  object PageControl1: TUniPageControl
    Left = 8
    Top = 8
    Width = 484
    Height = 376
    ActivePage = Tab1
    object Tab1: TUniTabSheet
      Caption = 'Track Properties'
      object gbSource: TUniGroupBox
        Left = 8
        Top = 6
        Width = 460
        Height = 92
        Caption = 'Source Information'
        object lbFile1: TUniLabel
          Left = 12
          Top = 22
          Caption = 'File:'
        end
        object lbType1: TUniLabel
          Left = 12
          Top = 42
          Caption = 'Type:'
        end
        object lbInfo1: TUniLabel
          Left = 12
          Top = 62
          Caption = 'Information:'
        end
        object spbt1: TUniSpeedButton
          OnClick = spbt1Click
          Left = 384
          Top = 18
          Width = 32
          Height = 24
          Caption = '<<'
          Hint = 'Select the previous track...'
          ShowHint = True
        end
        object dpbt2: TUniSpeedButton
          OnClick = dpbt2Click
          Left = 420
          Top = 18
          Width = 32
          Height = 24
          Caption = '>>'
          Hint = 'Select the next track...'
          ShowHint = True
        end
      end
      object gbProperties: TUniGroupBox
        Left = 8
        Top = 104
        Width = 460
        Height = 236
        Caption = 'Properties'
        object lbLangP: TUniLabel
          Left = 12
          Top = 24
          Caption = 'Language :'
        end
        object lbBrand: TUniLabel
          Left = 12
          Top = 50
          Caption = 'Brand :'
        end
        object lbTrackName: TUniLabel
          Left = 12
          Top = 76
          Caption = 'Name :'
        end
        object lbPAR: TUniLabel
          Left = 12
          Top = 102
          Caption = 'Pixel Aspect Ratio :'
        end
        object lbSBR: TUniLabel
          Left = 12
          Top = 128
          Caption = 'HE-AAC Signalling :'
        end
        object lbCopyright: TUniLabel
          Left = 12
          Top = 154
          Caption = 'Copyright :'
        end
        object cbLang: TUniComboBox
          OnChange = cbLangChange
          Left = 150
          Top = 20
          Width = 180
          Height = 21
          Style = csDropDownList
          Items.Strings = (
            'Unspecified'
            'Abkhazian'
            'Afar'
            'Afrikaans'
            'Albanian'
            'Arabic'
            'Armenian'
            'Australian'
            'Basque'
            'Belarusian'
            'Bengali'
            'Berber'
            'Bosnian'
            'Breton'
            'Bulgarian'
            'Castilian'
            'Catalan'
            'Caucasian'
            'Celtic'
            'Chinese'
            'Corsican'
            'Croatian'
            'Czech'
            'Danish'
            'Dutch'
            'English'
            'Estonian'
            'Faorese'
            'Finnish'
            'French'
            'Gaelic'
            'Georgian'
            'German'
            'Greek'
            'Haitian'
            'Hawaiian'
            'Hebrew'
            'Hindi'
            'Hungarian'
            'Icelandic'
            'Indonesian'
            'Iranian'
            'Irish'
            'Italian'
            'Japanese'
            'Kabyle'
            'Kazakh'
            'Kirghiz'
            'Korean'
            'Latvian'
            'Lithuanian'
            'Luxembourgish'
            'Macedonian'
            'Malay'
            'Moldavian'
            'Mongolian'
            'Norwegian'
            'Occitan'
            'Polish'
            'Portuguese'
            'Romanian'
            'Russian'
            'Scottish'
            'Serbian'
            'Serbo-Croatian'
            'Slovak'
            'Slovenian'
            'Spanish'
            'Swahili'
            'Swedish'
            'Tahitian'
            'Thai'
            'Tibetan'
            'Turkish'
            'Ukrainian'
            'Vietnamese'
            'Welsh')
          ItemIndex = 0
          DropDownCount = 16
        end
        object cbBrand: TUniComboBox
          OnChange = cbBrandChange
          Left = 150
          Top = 46
          Width = 180
          Height = 21
          MaxLength = 4
          Items.Strings = (
            'Unspecified'
            'ISO Media File'
            'ISO AVC'
            'ND Mobile'
            'ND Portable'
            'ND Standard'
            'ND Cinema'
            'ND HDTV'
            'ND Mobile AVC'
            'ND Portable AVC'
            'ND Standard AVC'
            'ND Cinema AVC'
            'ND HDTV AVC'
            'Other...')
          ItemIndex = 0
        end
        object cbTrack: TUniComboBox
          OnChange = cbTrackChange
          Left = 150
          Top = 72
          Width = 180
          Height = 21
        end
        object cbPAR: TUniComboBox
          OnChange = cbPARChange
          Left = 150
          Top = 98
          Width = 180
          Height = 21
          Style = csDropDownList
          Items.Strings = (
            'Unspecified'
            '  4:3 PAL'
            '  4:3 NTSC'
            '16:9 PAL'
            '16:9 NTSC'
            'Custom... ')
          ItemIndex = 0
        end
        object cbSBR: TUniComboBox
          OnChange = cbSBRChange
          Left = 150
          Top = 124
          Width = 180
          Height = 21
          Style = csDropDownList
          Items.Strings = (
            'Unspecified'
            'Backward Compatible'
            'Backward Non Compatible')
          ItemIndex = 0
        end
        object edCopyright: TUniEdit
          OnChange = edCopyrightChange
          Left = 150
          Top = 150
          Width = 298
          Height = 21
        end
        object lbFrameRateP: TUniLabel
          Left = 12
          Top = 182
          Caption = 'Frame-Rate :'
        end
        object edFrameRate: TUniEdit
          OnKeyPress = NumberKeyPress
          OnChange = edFrameRateChange
          Left = 96
          Top = 178
          Width = 60
          Height = 21
          MaxLength = 6
        end
        object lbDelay: TUniLabel
          Left = 170
          Top = 182
          Caption = 'Delay :'
        end
        object edDelay: TUniEdit
          OnKeyPress = edDelayKeyPress
          OnChange = edDelayChange
          Left = 216
          Top = 178
          Width = 60
          Height = 21
          MaxLength = 8
        end
        object lbInterleave: TUniLabel
          Left = 290
          Top = 182
          Caption = 'Interleave :'
        end
        object edInterleave: TUniEdit
          OnKeyPress = NumberKeyPress
          OnChange = edInterleaveChange
          Left = 360
          Top = 178
          Width = 60
          Height = 21
          MaxLength = 8
        end
        object chKeepNVop: TUniCheckBox
          OnClick = chKeepNVopClick
          Left = 12
          Top = 208
          Width = 120
          Height = 17
          Caption = 'Keep N-Vops.'
        end
        object edFontName: TUniEdit
          OnChange = edFontNameChange
          Left = 150
          Top = 206
          Width = 150
          Height = 21
        end
        object edFontSize: TUniEdit
          OnChange = edFontSizeChange
          Left = 304
          Top = 206
          Width = 36
          Height = 21
        end
        object btFont: TUniButton
          OnClick = btFontClick
          Left = 350
          Top = 204
          Width = 70
          Height = 25
          Caption = 'Font'
        end
      end
    end
    object Tab2: TUniTabSheet
      Caption = 'Tagger'
      TabVisible = False
      object gbTags: TUniGroupBox
        Left = 8
        Top = 6
        Width = 460
        Height = 334
        Caption = 'Tags'
        object lbName: TUniLabel
          Left = 12
          Top = 26
          Caption = 'Name :'
        end
        object edName: TUniEdit
          Left = 110
          Top = 22
          Width = 336
          Height = 21
        end
        object lbArtist: TUniLabel
          Left = 12
          Top = 54
          Caption = 'Artist :'
        end
        object edArtist: TUniEdit
          Left = 110
          Top = 50
          Width = 336
          Height = 21
        end
        object lbWriter: TUniLabel
          Left = 12
          Top = 82
          Caption = 'Writer :'
        end
        object edWriter: TUniEdit
          Left = 110
          Top = 78
          Width = 336
          Height = 21
        end
        object lbAlbum: TUniLabel
          Left = 12
          Top = 110
          Caption = 'Album :'
        end
        object edAlbum: TUniEdit
          Left = 110
          Top = 106
          Width = 336
          Height = 21
        end
        object lbComposer: TUniLabel
          Left = 12
          Top = 138
          Caption = 'Composer :'
        end
        object edComposer: TUniEdit
          Left = 110
          Top = 134
          Width = 336
          Height = 21
        end
        object lbYear: TUniLabel
          Left = 12
          Top = 166
          Caption = 'Year :'
        end
        object edYear: TUniEdit
          Left = 110
          Top = 162
          Width = 60
          Height = 21
        end
        object lbGroup: TUniLabel
          Left = 190
          Top = 166
          Caption = 'Grouping'
        end
        object edGroup: TUniEdit
          Left = 250
          Top = 162
          Width = 196
          Height = 21
        end
        object lbTrackN: TUniLabel
          Left = 12
          Top = 194
          Caption = 'Track :'
        end
        object edTrackN1: TUniEdit
          OnKeyPress = NumberKeyPress
          Left = 110
          Top = 190
          Width = 40
          Height = 21
        end
        object lbOf1: TUniLabel
          Left = 156
          Top = 194
          Caption = 'of'
        end
        object edTrackNum2: TUniEdit
          OnKeyPress = NumberKeyPress
          Left = 174
          Top = 190
          Width = 40
          Height = 21
        end
        object lbTempo: TUniLabel
          Left = 250
          Top = 194
          Caption = 'BPM'
        end
        object edTempo: TUniEdit
          Left = 290
          Top = 190
          Width = 60
          Height = 21
        end
        object lbDisk: TUniLabel
          Left = 12
          Top = 222
          Caption = 'Disk :'
        end
        object edDiskNum1: TUniEdit
          OnKeyPress = NumberKeyPress
          Left = 110
          Top = 218
          Width = 40
          Height = 21
        end
        object lbOf2: TUniLabel
          Left = 156
          Top = 222
          Caption = 'of'
        end
        object edDiskNum2: TUniEdit
          OnKeyPress = NumberKeyPress
          Left = 174
          Top = 218
          Width = 40
          Height = 21
        end
        object lbGenre: TUniLabel
          Left = 12
          Top = 250
          Caption = 'Genre :'
        end
        object cbGenre: TUniComboBox
          Left = 110
          Top = 246
          Width = 200
          Height = 21
          Style = csDropDownList
          DropDownCount = 16
          Items.Strings = (
            'Audio :'
            'Alternative'
            'Blues'
            'Classical'
            'Country'
            'Dance'
            'Easy Listening'
            'Electronic'
            'Folk'
            'Hip-Hop'
            'House'
            'Industrial'
            'Jazz'
            'New-Age'
            'Pop'
            'Rap'
            'R&B'
            'Rock'
            'Techno'
            ''
            'Video :'
            'Action'
            'Adults'
            'Aventures'
            'Cartoons'
            'Classical'
            'Comedy'
            'Crime'
            'Documentary'
            'Drama'
            'Family'
            'Fantasy'
            'Fiction'
            'Foods'
            'Horror'
            'Musics'
            'Mysterious'
            'News'
            'Romance'
            'Science-Fiction'
            'Sports'
            'Short Films'
            'Talk Show'
            'Thriller'
            'Voyages'
            'War'
            'Western')
          ItemIndex = 19
        end
        object chCompile: TUniCheckBox
          Left = 12
          Top = 278
          Width = 220
          Height = 17
          Caption = 'Part of a Compilation'
        end
        object chGapless: TUniCheckBox
          Left = 236
          Top = 278
          Width = 220
          Height = 17
          Caption = 'Part of a Gapless Album'
        end
      end
    end
    object TabMore: TUniTabSheet
      Caption = 'More...'
      TabVisible = False
      object gbComments: TUniGroupBox
        Left = 8
        Top = 6
        Width = 460
        Height = 200
        Caption = 'Comments'
        object MemoComments: TUniMemo
          Left = 10
          Top = 20
          Width = 440
          Height = 170
          ScrollBars = ssVertical
        end
      end
      object lbEncoder: TUniLabel
        Left = 16
        Top = 224
        Caption = 'Encoder :'
      end
      object edEncoder: TUniEdit
        Left = 110
        Top = 220
        Width = 350
        Height = 21
      end
      object lbTool: TUniLabel
        Left = 16
        Top = 254
        Caption = 'Tool :'
      end
      object edTool: TUniEdit
        Left = 110
        Top = 250
        Width = 350
        Height = 21
      end
    end
    object TabPic: TUniTabSheet
      Caption = 'Artwork'
      TabVisible = False
      object ThumbView: TKvThumbView
        OnMouseMove = ThumbViewMouseMove
        Left = 8
        Top = 8
        Width = 360
        Height = 332
        HorzScrollBar.Tracking = True
        VertScrollBar.Tracking = True
        ThumbGap = 5
        MaxWidth = 100
        MaxHeight = 100
        Filter = 'All (*.gif;*.gif;*.cur;*.pcx;*.ani;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.gif;*.gif;*.cur;*.pcx;*.ani;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf|GIF Image (*.gif)|*.gif|CompuServe GIF Image (*.gif)|*.gif|Cursor files (*.cur)|*.cur|PCX Image (*.pcx)|*.pcx|ANI Image (*.ani)|*.ani|JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf'
        ShowShadow = True
        ShowHint = True
        TabStop = True
      end
      object btAdd: TUniButton
        OnClick = btAddClick
        Left = 376
        Top = 8
        Width = 90
        Height = 25
        Caption = '&Add...'
      end
      object btDelete: TUniButton
        OnClick = btDeleteClick
        Left = 376
        Top = 40
        Width = 90
        Height = 25
        Caption = '&Delete'
        Enabled = False
      end
    end
  end
  object btOk: TUniButton
    OnClick = btOkClick
    Left = 316
    Top = 396
    Width = 84
    Height = 25
    Caption = '&Ok'
    Default = True
    ModalResult = 1
  end
  object btCancel: TUniButton
    OnClick = btCancelClick
    Left = 408
    Top = 396
    Width = 84
    Height = 25
    Caption = '&Cancel'
    Cancel = True
    ModalResult = 2
  end
  object chTagSupport: TUniCheckBox
    OnClick = chTagSupportClick
    Left = 12
    Top = 400
    Width = 290
    Height = 17
    Caption = 'Enable Tags Support'
  end
end
