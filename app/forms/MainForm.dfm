object MainForm: TMainForm
  Left = 200
  Top = 120
  BorderStyle = bsSingle
  Caption = 'Kavo'
  ClientHeight = 540
  ClientWidth = 728
  Color = clBtnFace
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  Position = poScreenCenter
  ShowHint = True
  OnCreate = FormCreate
  OnShow = FormShow
  OnDestroy = FormDestroy
  OnCloseQuery = FormCloseQuery
  object MainImages: TImageList
    Height = 32
    Width = 32
  end
  object PreviewImages: TImageList
    Height = 16
    Width = 16
  end
  object CreationImages: TImageList
    Height = 32
    Width = 32
  end
  object EditionImages: TImageList
    Height = 32
    Width = 32
  end
  object SettingsImages: TImageList
    Height = 32
    Width = 32
  end
  object StatusImages: TImageList
  end
  object MainTaskDialog: TUniTaskDialog
    DefaultButton = 0
    Icon = tiBlank
  end
  object OpenDirDialog1: TOpenDirDialog
  end
  object FileDropTarget: TFileDropTarget
    OnDrop = FileDropTargetDrop
  end
  object FilterGraph: TFilterGraph
  end
  object DosCommand: TDosCommand
  end
  object Timer1: TTimer
    Enabled = False
  end
  object OpenDialog: TUniOpenDialog
  end
  object SaveDialog: TUniSaveDialog
  end
  object OpenPictureDiag: TUniOpenPictureDialog
  end
  object InfoSaveDialog: TUniSaveDialog
    Options = [ofOverwritePrompt, ofHideReadOnly, ofEnableSizing]
  end
  object InfoPopupMenu: TUniPopupMenu
    object SaveInfosas1: TUniMenuItem
      Caption = 'Save Infos as...'
      Enabled = False
      object KavoForm1: TUniMenuItem
        OnClick = KavoForm1Click
        Caption = 'Kavo Template.'
      end
      object MP4BoxForm1: TUniMenuItem
        Caption = 'MP4Box Template...'
        object Full1: TUniMenuItem
          OnClick = Full1Click
          Caption = 'Full'
        end
        object ByTrack1: TUniMenuItem
          OnClick = ByTrack1Click
          Caption = 'By Track'
          Hint = 'Save Infos as MP4Box template according to the track selected.'
        end
      end
    end
  end
  object PopupMenu1: TUniPopupMenu
    object Index1: TUniMenuItem
      OnClick = MP4ListViewMenuClick
      Caption = 'File'
      Tag = 0
      Checked = True
    end
    object Indexation: TUniMenuItem
      OnClick = MP4ListViewMenuClick
      Caption = 'Index'
      Tag = 1
    end
    object Description1: TUniMenuItem
      OnClick = MP4ListViewMenuClick
      Caption = 'Description'
      Tag = 2
      Checked = True
    end
    object Name1: TUniMenuItem
      OnClick = MP4ListViewMenuClick
      Caption = 'Name'
      Tag = 3
    end
    object Language1: TUniMenuItem
      OnClick = MP4ListViewMenuClick
      Caption = 'Language'
      Tag = 4
    end
    object FPS: TUniMenuItem
      OnClick = MP4ListViewMenuClick
      Caption = 'Frame-Rate'
      Tag = 5
    end
    object ype1: TUniMenuItem
      OnClick = MP4ListViewMenuClick
      Caption = 'Type'
      Tag = 6
    end
    object BrandName1: TUniMenuItem
      OnClick = MP4ListViewMenuClick
      Caption = 'BrandName'
      Tag = 7
    end
    object PAR1: TUniMenuItem
      OnClick = MP4ListViewMenuClick
      Caption = 'PAR'
      Tag = 8
    end
    object Delay1: TUniMenuItem
      OnClick = MP4ListViewMenuClick
      Caption = 'Delay'
      Tag = 9
    end
  end
  object TagPopupMenu: TUniPopupMenu
    object Name2: TUniMenuItem
      Caption = 'Name'
      Checked = True
      Tag = 0
      OnClick = FilesTagListPopUpMenuClick
    end
    object timing: TUniMenuItem
      Caption = 'Length'
      Checked = True
      Tag = 1
      OnClick = FilesTagListPopUpMenuClick
    end
    object Artist1: TUniMenuItem
      Caption = 'Artist'
      Checked = True
      Tag = 2
      OnClick = FilesTagListPopUpMenuClick
    end
    object Album1: TUniMenuItem
      Caption = 'Album'
      Checked = True
      Tag = 3
      OnClick = FilesTagListPopUpMenuClick
    end
    object Year1: TUniMenuItem
      Caption = 'Year'
      Checked = True
      Tag = 4
      OnClick = FilesTagListPopUpMenuClick
    end
    object Genre1: TUniMenuItem
      Caption = 'Genre'
      Checked = True
      Tag = 5
      OnClick = FilesTagListPopUpMenuClick
    end
  end
  object LogPopupMenu: TUniPopupMenu
    object ViewLogFile1: TUniMenuItem
      Caption = 'View Log File...'
      Enabled = False
      OnClick = ViewLogFile1Click
    end
  end
  object Memo1: TMemo
    Left = 0
    Top = 0
    Width = 10
    Height = 10
    Visible = False
  end
  object Memo2: TMemo
    Left = 0
    Top = 0
    Width = 10
    Height = 10
    Visible = False
  end
  object Wizard: TKvWizard
    Left = 0
    Top = 0
    Width = 728
    Height = 540
    Align = alClient
    ButtonBarHeight = 42
    ButtonStart.Caption = 'To &Start Page'
    ButtonLast.Caption = 'To &Last Page'
    ButtonBack.Caption = '< &Back'
    ButtonNext.Caption = '&Next >'
    ButtonFinish.Caption = '&Finish'
    ButtonCancel.Caption = 'Cancel'
    ButtonHelp.Caption = '&Help'
    OnCancelButtonClick = WizardCancelButtonClick
    OnHelpButtonClick = WizardHelpButtonClick
    object Page1: TKvWizardWelcomePage
      Header.Visible = False
      WaterMark.Visible = False
      VisibleButtons = [bkCancel, bkHelp]
      object MainList: TUniListView
        Left = 8
        Top = 8
        Width = 120
        Height = 482
        Color = $00FAE6D8
        HideSelection = False
        LargeImages = MainImages
        ReadOnly = True
        RowSelect = True
        ShowColumnHeaders = False
        ViewStyle = vsIcon
        OnClick = MainListClick
      end
      object CreationList: TdkImageListBox
        Left = 136
        Top = 8
        Width = 584
        Height = 482
        ImageList = CreationImages
        Color = $00FAE6D8
        Margin = 10
        Spacing = 8
        Items.Strings = (
          'Click to create an MP4 File with multiple audio, video, subtitles and chapters streams.'
          'Click to create a 3GP File according to the 3GPP standardization scheme.')
        OnDblClick = CreationListDblClick
      end
      object EditionList: TdkImageListBox
        Left = 136
        Top = 8
        Width = 584
        Height = 482
        ImageList = EditionImages
        Color = $00FAE6D8
        Margin = 10
        Spacing = 8
        Visible = False
        Items.Strings = (
          'Click to split MP4/M4A/MOV/3GP Files.'
          'Click to join supported files.'
          'Click to extract streams from AVI/MP4/MOV/TS Files.'
          'Click to convert srt to ttxt subtitle format or vice versa. You can also transform x264VFW in AVI to MP4 in one click.'
          'Click to write/erase tags from MP4/3GP files.')
        OnDblClick = EditionListDblClick
      end
      object SettingsList: TdkImageListBox
        Left = 136
        Top = 8
        Width = 584
        Height = 482
        ImageList = SettingsImages
        Color = $00FAE6D8
        Margin = 10
        Spacing = 8
        Visible = False
        Items.Strings = (
          'Advanced Settings for Kavo and tools used by this GUI (MP4Box and AtomicParsley).')
        OnDblClick = SettingsListDblClick
      end
      object AboutPanel: TUniPanel
        Left = 136
        Top = 8
        Width = 584
        Height = 482
        BevelOuter = bvNone
        Color = $00FAE6D8
        Visible = False
        object gbAbout: TUniGroupBox
          Left = 10
          Top = 6
          Width = 564
          Height = 466
          Caption = 'About'
          object lbTitle: TUniLabel
            Left = 16
            Top = 24
            Caption = 'Kavo 2.0.0.8'
            Font.Height = -16
            Font.Name = 'Tahoma'
            Font.Style = [fsBold]
            ParentFont = False
          end
          object lbCredit: TUniLabel
            Left = 16
            Top = 50
            Caption = 'A wizard that prepares MP4 and 3GP files with MP4Box and AtomicParsley.'
          end
          object lbLinks: TUniLabel
            Left = 16
            Top = 84
            Caption = 'Links:'
            Font.Height = -11
            Font.Name = 'Tahoma'
            Font.Style = [fsBold]
            ParentFont = False
          end
          object imMP4Box: TUniImage
            Left = 24
            Top = 104
            Width = 20
            Height = 20
            Hint = 'https://gpac.io/'
            ShowHint = True
            Center = True
            OnClick = WebLinks
          end
          object lbMP4Box: TUniLabel
            Left = 50
            Top = 106
            Caption = '- MP4Box, the multimedia packager of the GPAC framework.'
          end
          object imAP: TUniImage
            Left = 24
            Top = 128
            Width = 20
            Height = 20
            Hint = 'https://atomicparsley.sourceforge.net/'
            ShowHint = True
            Center = True
            OnClick = WebLinks
          end
          object lbAP: TUniLabel
            Left = 50
            Top = 130
            Caption = '- AtomicParsley, the metadata tagger.'
          end
          object imMP4Tags: TUniImage
            Left = 24
            Top = 152
            Width = 20
            Height = 20
            Hint = 'https://mp4v2.sourceforge.net/'
            ShowHint = True
            Center = True
            OnClick = WebLinks
          end
          object lbMP4Tags: TUniLabel
            Left = 50
            Top = 154
            Caption = '- MP4Tags, another tagger.'
          end
          object imKavo: TUniImage
            Left = 24
            Top = 176
            Width = 20
            Height = 20
            Hint = 'https://kavo.sourceforge.net/'
            ShowHint = True
            Center = True
            OnClick = WebLinks
          end
          object lbKavo: TUniLabel
            Left = 50
            Top = 178
            Caption = '- Kavo, the home of this program.'
          end
          object lbThanks: TUniLabel
            Left = 16
            Top = 212
            Caption = 'Thanks to:'
            Font.Height = -11
            Font.Name = 'Tahoma'
            Font.Style = [fsBold]
            ParentFont = False
          end
          object imMediaInfo: TUniImage
            Left = 24
            Top = 232
            Width = 20
            Height = 20
            Hint = 'https://mediaarea.net/MediaInfo'
            ShowHint = True
            Center = True
            OnClick = WebLinks
          end
          object lbMediaInfo: TUniLabel
            Left = 50
            Top = 234
            Caption = '- the MediaInfo library, which describes every input file.'
          end
          object imKVCL: TUniImage
            Left = 24
            Top = 256
            Width = 20
            Height = 20
            Hint = 'https://kavo.sourceforge.net/components'
            ShowHint = True
            Center = True
            OnClick = WebLinks
          end
          object lbKVCL: TUniLabel
            Left = 50
            Top = 258
            Caption = '- the wizard components the pages are built on.'
          end
          object imKDE: TUniImage
            Left = 24
            Top = 280
            Width = 20
            Height = 20
            Hint = 'https://kde.org/'
            ShowHint = True
            Center = True
            OnClick = WebLinks
          end
          object lbKDE: TUniLabel
            Left = 50
            Top = 282
            Caption = '- the KDE project for its icons.'
          end
          object lbYou: TUniLabel
            Left = 50
            Top = 306
            Caption = '- you, of course...'
          end
          object imMail: TUniImage
            Left = 24
            Top = 340
            Width = 20
            Height = 20
            Hint = 'mailto:kavo@users.sourceforge.net'
            ShowHint = True
            Center = True
            OnClick = WebLinks
          end
          object lbMail: TUniLabel
            Left = 50
            Top = 342
            Caption = 'Mail: kavo@users.sourceforge.net'
          end
        end
      end
    end
    object SettingsPage: TKvWizardInteriorPage
      Header.Visible = False
      VisibleButtons = [bkBack, bkNext, bkCancel, bkHelp]
      OnBackButtonClick = SettingsPageBackButtonClick
      OnNextButtonClick = SettingsPageNextButtonClick
      OnHelpButtonClick = SettingsPageHelpButtonClick
      object WHeaderSettingsPage: TKvgWizardHeader
        Left = 0
        Top = 0
        Width = 728
        Height = 64
        PageNo = 0
        Captions.Strings = (
          'Advanced Settings')
        Comments.Strings = (
          'Choose the tools Kavo drives and how it works.')
        CaptionFont.Name = 'Tahoma'
        CaptionFont.Height = -13
        CaptionFont.Style = [fsBold]
        CommentFont.Name = 'Tahoma'
        CommentFont.Height = -11
        Gradient.Active = True
        Gradient.FromColor = clHighlight
        Gradient.ToColor = clWindow
      end
      object SettingsView: TUniTreeView
        Left = 8
        Top = 72
        Width = 150
        Height = 418
        HideSelection = False
        ReadOnly = True
        ShowRoot = False
        OnClick = SettingsViewClick
      end
      object gbMP4Box: TUniGroupBox
        Left = 166
        Top = 72
        Width = 554
        Height = 418
        Caption = 'MP4Box'
        object lbMP4BoxLocation: TUniLabel
          Left = 16
          Top = 30
          Caption = 'Location :'
        end
        object edMP4Box: TUniEdit
          Left = 100
          Top = 26
          Width = 410
          Height = 21
          ReadOnly = True
          TabStop = False
        end
        object UniImage13: TUniImage
          Left = 518
          Top = 26
          Width = 20
          Height = 20
          Cursor = crHandPoint
          Hint = 'Choose MP4Box.exe...'
          ShowHint = True
          Center = True
          OnClick = UniImage13Click
        end
        object lbTempDir: TUniLabel
          Left = 16
          Top = 62
          Caption = 'Temp Dir :'
        end
        object edTemp: TUniEdit
          Left = 100
          Top = 58
          Width = 410
          Height = 21
          ReadOnly = True
          TabStop = False
        end
        object UniImage26: TUniImage
          Left = 518
          Top = 58
          Width = 20
          Height = 20
          Cursor = crHandPoint
          Hint = 'Choose the temporary folder...'
          ShowHint = True
          Center = True
          OnClick = UniImage26Click
        end
        object chOverWrite: TUniCheckBox
          Left = 16
          Top = 100
          Width = 520
          Height = 17
          Caption = 'Overwrite an existing Output File.'
        end
        object chKeepSys: TUniCheckBox
          Left = 16
          Top = 126
          Width = 520
          Height = 17
          Caption = 'Keep all MPEG-4 Systems info on concatenation or creation.'
        end
        object chFlat: TUniCheckBox
          Left = 16
          Top = 152
          Width = 520
          Height = 17
          Caption = 'Store all media data first (for streaming).'
        end
        object chVerbose: TUniCheckBox
          Left = 16
          Top = 178
          Width = 520
          Height = 17
          Caption = 'Verbose Mode.'
        end
        object chTaggerorNot: TUniCheckBox
          Left = 16
          Top = 204
          Width = 520
          Height = 17
          Caption = 'Use it also as a tagger.'
          OnClick = chTaggerorNotClick
        end
      end
      object gbTagger: TUniGroupBox
        Left = 166
        Top = 72
        Width = 554
        Height = 418
        Caption = 'Tagger'
        Visible = False
        object lbTaggerLocation: TUniLabel
          Left = 16
          Top = 30
          Caption = 'Location :'
        end
        object edTagger: TUniEdit
          Left = 100
          Top = 26
          Width = 410
          Height = 21
          ReadOnly = True
          TabStop = False
        end
        object UniImage14: TUniImage
          Left = 518
          Top = 26
          Width = 20
          Height = 20
          Cursor = crHandPoint
          Hint = 'Choose AtomicParsley.exe or MP4Box.exe...'
          ShowHint = True
          Center = True
          OnClick = Open2Exe
        end
      end
      object gbKavo: TUniGroupBox
        Left = 166
        Top = 72
        Width = 554
        Height = 418
        Caption = 'Kavo'
        Visible = False
        object lbProcess: TUniLabel
          Left = 16
          Top = 30
          Caption = 'Process Priority :'
        end
        object cbPriority: TUniComboBox
          Left = 160
          Top = 26
          Width = 150
          Height = 21
          Style = csDropDownList
          Items.Strings = (
            'Real'
            'Highest'
            'High'
            'Normal'
            'Low'
            'Lowest')
          ItemIndex = 3
        end
        object lbLang: TUniLabel
          Left = 16
          Top = 62
          Caption = 'Language :'
        end
        object cbLang: TUniComboBox
          Left = 160
          Top = 58
          Width = 150
          Height = 21
          Style = csDropDownList
          Items.Strings = (
            'Castellano'
            'English'
            'Fran'#231'ais')
          ItemIndex = 1
          OnChange = cbLangChange
        end
        object chEnableOnFinish: TUniCheckBox
          Left = 16
          Top = 100
          Width = 520
          Height = 17
          Caption = 'Enable OnFinish Event.'
          Checked = True
        end
        object chKavoLog: TUniCheckBox
          Left = 16
          Top = 126
          Width = 520
          Height = 17
          Caption = 'Save Log File in Kavo Folder.'
          OnClick = chKavoLogClick
        end
        object chOutputLog: TUniCheckBox
          Left = 16
          Top = 152
          Width = 520
          Height = 17
          Caption = 'Save Log File in Output Folder.'
          Checked = True
          OnClick = chOutputLogClick
        end
        object chiTunesStyle: TUniCheckBox
          Left = 16
          Top = 178
          Width = 520
          Height = 17
          Caption = 'Enable Modern Style for the Lists.'
        end
        object chWarningAVC: TUniCheckBox
          Left = 16
          Top = 204
          Width = 520
          Height = 17
          Caption = 'Warn about raw AVC streams during the mux.'
          Checked = True
        end
      end
    end
    object MuxPage: TKvWizardInteriorPage
      OnBackButtonClick = MuxPageBackButtonClick
      OnNextButtonClick = MuxPageNextButtonClick
      Header.Visible = False
      VisibleButtons = [bkBack, bkNext, bkCancel, bkHelp]
      OnHelpButtonClick = MuxPageHelpButtonClick
      object WHeaderMuxPage: TKvgWizardHeader
        Left = 0
        Top = 0
        Width = 728
        Height = 64
        PageNo = 0
        Captions.Strings = (
          'MP4 File Creation')
        Comments.Strings = (
          'Drop your files here and check the streams you want to keep.')
        CaptionFont.Name = 'Tahoma'
        CaptionFont.Height = -13
        CaptionFont.Style = [fsBold]
        CommentFont.Name = 'Tahoma'
        CommentFont.Height = -11
        Gradient.Active = True
        Gradient.FromColor = clHighlight
        Gradient.ToColor = clWindow
      end
      object gbInput: TUniGroupBox
        Left = 8
        Top = 70
        Width = 712
        Height = 280
        Caption = 'Input'
        object MP4ListView: TUniListView
          OnColumnClick = MP4ListViewColumnClick
          OnColumnRightClick = MP4ListViewColumnRightClick
          OnCompare = MP4ListViewCompare
          OnMouseDown = MP4ListViewMouseDown
          OnClick = MP4ListViewClick
          OnCustomDrawItem = MP4ListViewCustomDrawItem
          Left = 10
          Top = 20
          Width = 594
          Height = 250
          Checkboxes = True
          HideSelection = False
          PopupMenu = InfoPopupMenu
          ReadOnly = True
          RowSelect = True
          SortType = stBoth
          ViewStyle = vsReport
          Columns = <
            item
              Width = 25
              MaxWidth = 25
            end
            item
              Caption = 'Path'
              Width = 0
              MaxWidth = 1
            end
            item
              Caption = 'File'
              Width = 224
              MaxWidth = 300
            end
            item
              Caption = 'Index'
              Width = 0
              MaxWidth = 100
            end
            item
              Caption = 'Description'
              Width = 350
              MaxWidth = 500
            end
            item
              Caption = 'Name'
              Width = 0
              MaxWidth = 150
            end
            item
              Caption = 'Language'
              Width = 0
              MaxWidth = 100
            end
            item
              Caption = 'FrameRate'
              Width = 0
              MaxWidth = 100
            end
            item
              Caption = 'Type'
              Width = 0
              MaxWidth = 60
            end
            item
              Caption = 'BrandName'
              Width = 0
              MaxWidth = 100
            end
            item
              Caption = 'PAR'
              Width = 0
              MaxWidth = 60
            end
            item
              Caption = 'HEAAC Signal'
              Width = 0
              MaxWidth = 50
            end
            item
              Caption = 'Copyright'
              Width = 0
              MaxWidth = 100
            end
            item
              Caption = 'Delay'
              Width = 0
              MaxWidth = 60
            end
            item
              Caption = 'Interleave'
              Width = 0
              MaxWidth = 60
            end
            item
              Caption = 'KeepNVops'
              Width = 0
              MaxWidth = 1
            end
            item
              Caption = 'FontName'
              Width = 0
            end
            item
              Caption = 'FontSize'
              Width = 0
              MaxWidth = 1
            end>
        end
        object btAdd: TUniButton
          OnClick = btAddClick
          Left = 612
          Top = 20
          Width = 90
          Height = 25
          Caption = '&Add'
        end
        object btDelete: TUniButton
          OnClick = btDeleteClick
          Left = 612
          Top = 52
          Width = 90
          Height = 25
          Caption = '&Delete'
        end
        object btMoveUp: TUniButton
          OnClick = btMoveUpClick
          Left = 612
          Top = 84
          Width = 90
          Height = 25
          Caption = '&Up'
        end
        object btMoveDown: TUniButton
          OnClick = btMoveDownClick
          Left = 612
          Top = 116
          Width = 90
          Height = 25
          Caption = 'Do&wn'
        end
        object btProperties: TUniButton
          OnClick = btPropertiesClick
          Left = 612
          Top = 148
          Width = 90
          Height = 25
          Caption = '&Properties'
        end
      end
      object gbMP4Output: TUniGroupBox
        Left = 8
        Top = 354
        Width = 712
        Height = 111
        Caption = 'Output'
        object edMP4Output: TUniEdit
          Left = 10
          Top = 22
          Width = 594
          Height = 21
        end
        object btMP4Output: TUniButton
          OnClick = btMP4OutputClick
          Left = 612
          Top = 20
          Width = 90
          Height = 25
          Caption = '&Browse'
        end
        object More: TUniImage
          OnClick = MoreClick
          Left = 10
          Top = 52
          Width = 20
          Height = 20
          Hint = 'More Output Options.'
          ShowHint = True
          Center = True
        end
        object Less: TUniImage
          OnClick = LessClick
          Left = 10
          Top = 52
          Width = 20
          Height = 20
          Hint = 'More Output Options.'
          ShowHint = True
          Center = True
          Visible = False
        end
        object lbSplitat: TUniLabel
          Left = 40
          Top = 56
          Caption = 'Split at :'
          Visible = False
        end
        object cbSplitOut: TUniComboBox
          OnChange = cbSplitOutChange
          Left = 130
          Top = 52
          Width = 110
          Height = 21
          Style = csDropDownList
          Items.Strings = (
            '     None'
            '  700 MB'
            '  800 MB'
            '1000 MB'
            '1400 MB'
            'Custom...')
          ItemIndex = 0
          Visible = False
        end
        object lbCompliance: TUniLabel
          Left = 260
          Top = 56
          Caption = 'Compliance :'
          Visible = False
        end
        object cbCompliance: TUniComboBox
          Left = 350
          Top = 52
          Width = 110
          Height = 21
          Style = csDropDownList
          Items.Strings = (
            'Standard'
            'iPhone'
            'iPod'
            'ISMA'
            'PSP')
          ItemIndex = 0
          Visible = False
        end
        object chHint: TUniCheckBox
          Left = 40
          Top = 88
          Width = 250
          Height = 17
          Caption = 'Hint for Streaming.'
          Visible = False
        end
        object chVFR: TUniCheckBox
          Left = 300
          Top = 88
          Width = 250
          Height = 17
          Caption = 'VFR Creation.'
          Visible = False
        end
      end
    end
    object ProcessPage: TKvWizardInteriorPage
      Header.Visible = False
      VisibleButtons = [bkBack, bkFinish, bkCancel, bkHelp]
      OnHelpButtonClick = ProcessPageHelpButtonClick
      OnBackButtonClick = ProcessPageBackButtonClick
      OnFinishButtonClick = ProcessPageFinishButtonClick
      object WHeaderProcessPage: TKvgWizardHeader
        Left = 0
        Top = 0
        Width = 728
        Height = 64
        PageNo = 0
        Captions.Strings = (
          'Processing...')
        Comments.Strings = (
          'Kavo drives MP4Box: follow the steps of your task here.')
        CaptionFont.Name = 'Tahoma'
        CaptionFont.Height = -13
        CaptionFont.Style = [fsBold]
        CommentFont.Name = 'Tahoma'
        CommentFont.Height = -11
        Gradient.Active = True
        Gradient.FromColor = clHighlight
        Gradient.ToColor = clWindow
      end
      object gbRunningProcess: TUniGroupBox
        Left = 8
        Top = 70
        Width = 712
        Height = 420
        Caption = 'Running Process'
        object lbCurrentStatus: TUniLabel
          Left = 16
          Top = 24
          Caption = 'Current Status :'
        end
        object ProgressBar: TUniProgressBar
          Left = 16
          Top = 44
          Width = 610
          Height = 20
        end
        object lbPercent: TUniLabel
          Left = 636
          Top = 47
          Caption = '0 %'
        end
        object lbTime: TUniLabel
          Left = 16
          Top = 76
          Caption = 'Time Remaining :'
        end
        object lbTimeRemaining: TUniLabel
          Left = 150
          Top = 76
          Width = 120
          Height = 16
          AutoSize = False
          Caption = '00:00:00'
        end
        object ETAListView: TUniListView
          Left = 16
          Top = 100
          Width = 680
          Height = 272
          PopupMenu = LogPopupMenu
          ReadOnly = True
          RowSelect = True
          SmallImages = StatusImages
          ViewStyle = vsReport
          Columns = <
            item
              Width = 30
            end
            item
              Caption = 'Time'
              Width = 70
            end
            item
              Caption = 'Events'
              Width = 556
            end>
        end
        object btAbort: TUniButton
          Left = 16
          Top = 382
          Width = 90
          Height = 25
          Caption = '&Abort'
          Enabled = False
          OnClick = btAbortClick
        end
      end
    end
    object SplitPage: TKvWizardInteriorPage
      Header.Visible = False
      VisibleButtons = [bkBack, bkNext, bkCancel, bkHelp]
      OnBackButtonClick = SplitPageBackButtonClick
      OnNextButtonClick = SplitPageNextButtonClick
      OnHelpButtonClick = SplitPageHelpButtonClick
      object WizardHeaderSplitPage: TKvgWizardHeader
        Left = 0
        Top = 0
        Width = 728
        Height = 64
        PageNo = 0
        Captions.Strings = (
          'File Splitter')
        Comments.Strings = (
          'Open your MP4/M4A/MOV/3GP file and choose how to split it.')
        CaptionFont.Name = 'Tahoma'
        CaptionFont.Height = -13
        CaptionFont.Style = [fsBold]
        CommentFont.Name = 'Tahoma'
        CommentFont.Height = -11
        Gradient.Active = True
        Gradient.FromColor = clHighlight
        Gradient.ToColor = clWindow
      end
      object gbSplitInput: TUniGroupBox
        Left = 8
        Top = 70
        Width = 712
        Height = 56
        Caption = 'Input'
        object edSplitInput: TUniEdit
          Left = 10
          Top = 22
          Width = 660
          Height = 21
          OnChange = edSplitInputChange
        end
        object UniImage18: TUniImage
          Left = 680
          Top = 22
          Width = 20
          Height = 20
          Cursor = crHandPoint
          Hint = 'Open your file...'
          ShowHint = True
          Center = True
          OnClick = k
        end
      end
      object gbSplitOptions: TUniGroupBox
        Left = 8
        Top = 130
        Width = 712
        Height = 360
        Caption = 'Options'
        Enabled = False
        object chVIdeoPreview: TUniCheckBox
          Left = 10
          Top = 22
          Width = 300
          Height = 17
          Caption = 'Enable Video Preview'
          OnClick = chVIdeoPreviewClick
        end
        object ToolBar1: TToolBar
          Left = 10
          Top = 44
          Width = 306
          Height = 28
          ButtonHeight = 24
          ButtonWidth = 30
          Enabled = False
          Flat = True
          Images = PreviewImages
          ShowHint = True
          object ToolButton6: TToolButton
            Left = 0
            Top = 0
            Hint = '[Start] Move to the first frame.'
            Enabled = False
            ImageIndex = 0
          end
          object ToolButton2: TToolButton
            Left = 30
            Top = 0
            Hint = '[Backward] Back up by one frame.'
            Enabled = False
            ImageIndex = 1
          end
          object ToolButton1: TToolButton
            Left = 60
            Top = 0
            Hint = '[Forward] Advance by one frame.'
            Enabled = False
            ImageIndex = 2
          end
          object ToolButton7: TToolButton
            Left = 90
            Top = 0
            Hint = '[End] Move to the last frame.'
            Enabled = False
            ImageIndex = 3
          end
          object Playbt: TToolButton
            Left = 120
            Top = 0
            Hint = 'Play'
            Enabled = False
            ImageIndex = 4
          end
          object Pausebt: TToolButton
            Left = 150
            Top = 0
            Hint = 'Pause'
            Enabled = False
            ImageIndex = 5
          end
          object Stopbt: TToolButton
            Left = 180
            Top = 0
            Hint = 'Stop'
            Enabled = False
            ImageIndex = 6
          end
          object ToolButton10: TToolButton
            Left = 210
            Top = 0
            Hint = '[Mark In] Specify the start for processing. '
            Enabled = False
            ImageIndex = 7
          end
          object ToolButton11: TToolButton
            Left = 240
            Top = 0
            Hint = '[Mark Out] Specify the end for processing.'
            Enabled = False
            ImageIndex = 8
          end
        end
        object VideoWindowEx1: TVideoWindowEx
          Left = 10
          Top = 76
          Width = 306
          Height = 230
          Color = clBlack
          FilterGraph = FilterGraph
        end
        object VideoTrackBar: TTrackBar
          Left = 10
          Top = 312
          Width = 306
          Height = 30
          Max = 100
          Frequency = 10
          TickStyle = tsAuto
        end
        object rbSize: TUniRadioButton
          Left = 330
          Top = 26
          Width = 150
          Height = 17
          Caption = 'Split by Size :'
          Tag = 0
          Hint = 'Split the file in parts of the given size (MB).'
          ShowHint = True
          OnClick = SplitChoice
        end
        object edSplitSize: TUniEdit
          Left = 486
          Top = 24
          Width = 60
          Height = 21
          Text = '700'
        end
        object UpDown1: TUpDown
          Left = 546
          Top = 24
          Width = 16
          Height = 21
          Associate = edSplitSize
          Min = 1
          Max = 1400
          Position = 700
          OnClick = UpDown1Click
        end
        object lbMB: TUniLabel
          Left = 570
          Top = 28
          Caption = 'MB'
        end
        object rbDuration: TUniRadioButton
          Left = 330
          Top = 60
          Width = 150
          Height = 17
          Caption = 'Split by Duration :'
          Tag = 1
          Hint = 'Split the file in parts of the given duration (seconds).'
          ShowHint = True
          OnClick = SplitChoice
        end
        object edSplitDuration: TUniEdit
          Left = 486
          Top = 58
          Width = 100
          Height = 21
          MaxLength = 12
          Text = '0'
          OnKeyPress = edSplitDurationKeyPress
        end
        object rbFrom: TUniRadioButton
          Left = 330
          Top = 94
          Width = 150
          Height = 17
          Caption = 'Split from'
          Tag = 2
          Hint = 'Keep the part between the two times (seconds).'
          ShowHint = True
          OnClick = SplitChoice
        end
        object edSplitFrom: TUniEdit
          Left = 486
          Top = 92
          Width = 80
          Height = 21
          MaxLength = 12
          Text = '0'
          OnKeyPress = edSplitFromKeyPress
        end
        object lbTo: TUniLabel
          Left = 574
          Top = 96
          Caption = 'to'
        end
        object edSplitTo: TUniEdit
          Left = 596
          Top = 92
          Width = 80
          Height = 21
          MaxLength = 12
          Text = '1'
          OnKeyPress = edSplitToKeyPress
        end
        object rbSplitChapN: TUniRadioButton
          Left = 330
          Top = 128
          Width = 150
          Height = 17
          Caption = 'Split by Chapters # :'
          Tag = 3
          Hint = 'Split the file at the chosen chapter.'
          ShowHint = True
          OnClick = SplitChoice
        end
        object cbChap: TUniComboBox
          Left = 486
          Top = 126
          Width = 210
          Height = 21
          Style = csDropDownList
          OnChange = cbChapChange
        end
        object cbChapVal: TUniComboBox
          Left = 486
          Top = 160
          Width = 100
          Height = 21
          Style = csDropDownList
          Visible = False
        end
        object cbChapVal2: TUniComboBox
          Left = 596
          Top = 160
          Width = 100
          Height = 21
          Style = csDropDownList
          Visible = False
        end
        object rbSplitChapAll: TUniRadioButton
          Left = 330
          Top = 162
          Width = 150
          Height = 17
          Caption = 'Split All Chapters'
          Tag = 4
          Hint = 'Split the file at every chapter.'
          ShowHint = True
          OnClick = SplitChoice
        end
      end
    end
    object ConcatPage: TKvWizardInteriorPage
      OnNextButtonClick = ConcatPageNextButtonClick
      Header.Visible = False
      VisibleButtons = [bkBack, bkNext, bkCancel, bkHelp]
      OnBackButtonClick = ConcatPageBackButtonClick
      OnHelpButtonClick = ConcatPageHelpButtonClick
      object WizardHeaderConcatPage: TKvgWizardHeader
        Left = 0
        Top = 0
        Width = 728
        Height = 64
        PageNo = 0
        Captions.Strings = (
          'Concatenation of Files')
        Comments.Strings = (
          'Drop your files here and check the streams you want to. Keep in mind that input files must have the same settings...')
        CaptionFont.Name = 'Tahoma'
        CaptionFont.Height = -13
        CaptionFont.Style = [fsBold]
        CommentFont.Name = 'Tahoma'
        CommentFont.Height = -11
        Gradient.Active = True
        Gradient.FromColor = clHighlight
        Gradient.ToColor = clWindow
      end
      object gbConcInput: TUniGroupBox
        Left = 8
        Top = 70
        Width = 712
        Height = 280
        Caption = 'Input'
        object ConcListView: TUniListView
          OnClick = ConcListViewClick
          OnCustomDrawItem = MP4ListViewCustomDrawItem
          OnColumnRightClick = MP4ListViewColumnRightClick
          Left = 10
          Top = 20
          Width = 594
          Height = 250
          Checkboxes = True
          HideSelection = False
          ReadOnly = True
          RowSelect = True
          ViewStyle = vsReport
          Columns = <
            item
              Width = 25
              MaxWidth = 25
            end
            item
              Caption = 'Path'
              Width = 0
              MaxWidth = 1
            end
            item
              Caption = 'File'
              Width = 224
              MaxWidth = 300
            end
            item
              Caption = 'Index'
              Width = 0
              MaxWidth = 100
            end
            item
              Caption = 'Description'
              Width = 350
              MaxWidth = 500
            end
            item
              Caption = 'Name'
              Width = 0
              MaxWidth = 150
            end
            item
              Caption = 'Language'
              Width = 0
              MaxWidth = 100
            end
            item
              Caption = 'FrameRate'
              Width = 0
              MaxWidth = 100
            end
            item
              Caption = 'Type'
              Width = 0
              MaxWidth = 60
            end
            item
              Caption = 'BrandName'
              Width = 0
              MaxWidth = 100
            end
            item
              Caption = 'PAR'
              Width = 0
              MaxWidth = 60
            end
            item
              Caption = 'HEAAC Signal'
              Width = 0
              MaxWidth = 50
            end
            item
              Caption = 'Copyright'
              Width = 0
              MaxWidth = 100
            end
            item
              Caption = 'Delay'
              Width = 0
              MaxWidth = 60
            end
            item
              Caption = 'Interleave'
              Width = 0
              MaxWidth = 60
            end
            item
              Caption = 'KeepNVops'
              Width = 0
              MaxWidth = 1
            end
            item
              Caption = 'FontName'
              Width = 0
            end
            item
              Caption = 'FontSize'
              Width = 0
              MaxWidth = 1
            end>
        end
        object btConcAdd: TUniButton
          OnClick = btConcAddClick
          Left = 612
          Top = 20
          Width = 90
          Height = 25
          Caption = '&Add'
        end
        object btConcRemove: TUniButton
          OnClick = btConcRemoveClick
          Left = 612
          Top = 52
          Width = 90
          Height = 25
          Caption = '&Delete'
          Visible = False
        end
        object btConcMoveUp: TUniButton
          OnClick = btConcMoveUpClick
          Left = 612
          Top = 84
          Width = 90
          Height = 25
          Caption = '&Up'
          Visible = False
        end
        object btConcMoveDown: TUniButton
          OnClick = btConcMoveDownClick
          Left = 612
          Top = 116
          Width = 90
          Height = 25
          Caption = 'Do&wn'
          Visible = False
        end
        object btConcProp: TUniButton
          OnClick = btConcPropClick
          Left = 612
          Top = 148
          Width = 90
          Height = 25
          Caption = '&Properties'
          Visible = False
        end
      end
      object gbConcOutput: TUniGroupBox
        Left = 8
        Top = 354
        Width = 712
        Height = 111
        Caption = 'Output'
        object edConcOutput: TUniEdit
          Left = 10
          Top = 22
          Width = 594
          Height = 21
        end
        object btConcBrowse: TUniButton
          OnClick = btConcBrowseClick
          Left = 612
          Top = 20
          Width = 90
          Height = 25
          Caption = '&Browse'
        end
        object More2: TUniImage
          OnClick = More2Click
          Left = 10
          Top = 52
          Width = 20
          Height = 20
          Hint = 'More Output Options.'
          ShowHint = True
          Center = True
        end
        object Less2: TUniImage
          OnClick = Less2Click
          Left = 10
          Top = 52
          Width = 20
          Height = 20
          Hint = 'More Output Options.'
          ShowHint = True
          Center = True
          Visible = False
        end
        object lbConcOutput: TUniLabel
          Left = 40
          Top = 56
          Caption = 'Format :'
          Visible = False
        end
        object cbOutputFormat: TUniComboBox
          OnChange = cbOutputFormatChange
          Left = 130
          Top = 52
          Width = 110
          Height = 21
          Style = csDropDownList
          Items.Strings = (
            '  MP4'
            '3GPP')
          ItemIndex = 0
          Visible = False
        end
        object lbCompliance2: TUniLabel
          Left = 260
          Top = 56
          Caption = 'Compliance :'
          Visible = False
        end
        object cbCompliance2: TUniComboBox
          Left = 350
          Top = 52
          Width = 110
          Height = 21
          Style = csDropDownList
          Items.Strings = (
            'Standard'
            'iPhone'
            'iPod'
            'ISMA'
            'PSP')
          ItemIndex = 0
          Visible = False
        end
      end
    end
    object ExtractPage: TKvWizardInteriorPage
      Header.Visible = False
      EnabledButtons = [bkStart, bkLast, bkBack, bkFinish, bkCancel, bkHelp]
      VisibleButtons = [bkBack, bkNext, bkCancel, bkHelp]
      OnBackButtonClick = ExtractPageBackButtonClick
      OnNextButtonClick = ExtractPageNextButtonClick
      OnHelpButtonClick = ExtractPageHelpButtonClick
      object WHeaderExtractPage: TKvgWizardHeader
        Left = 0
        Top = 0
        Width = 728
        Height = 64
        PageNo = 0
        Captions.Strings = (
          'File Extraction')
        Comments.Strings = (
          'Open your file and select an item into the list to enable Extraction Settings.')
        CaptionFont.Name = 'Tahoma'
        CaptionFont.Height = -13
        CaptionFont.Style = [fsBold]
        CommentFont.Name = 'Tahoma'
        CommentFont.Height = -11
        Gradient.Active = True
        Gradient.FromColor = clHighlight
        Gradient.ToColor = clWindow
      end
      object gbExtractInput: TUniGroupBox
        Left = 8
        Top = 70
        Width = 712
        Height = 56
        Caption = 'Input'
        object edExtractInput: TUniEdit
          Left = 10
          Top = 22
          Width = 660
          Height = 21
          ReadOnly = True
          TabStop = False
        end
        object UniImage21: TUniImage
          Left = 680
          Top = 22
          Width = 20
          Height = 20
          Cursor = crHandPoint
          Hint = 'Open your file...'
          ShowHint = True
          Center = True
          OnClick = UniImage21Click
        end
      end
      object gbContent: TUniGroupBox
        Left = 8
        Top = 130
        Width = 712
        Height = 230
        Caption = 'Content'
        object ExtractListView: TUniListView
          Left = 10
          Top = 20
          Width = 692
          Height = 200
          HideSelection = False
          ReadOnly = True
          RowSelect = True
          ViewStyle = vsReport
          OnClick = ExtractListViewClick
          Columns = <
            item
              Caption = '#'
              Width = 25
              MaxWidth = 25
            end
            item
              Caption = 'Path'
              Width = 0
              MaxWidth = 1
            end
            item
              Caption = 'File'
              Width = 300
              MaxWidth = 500
            end
            item
              Caption = 'Index'
              Width = 0
              MaxWidth = 1
            end
            item
              Caption = 'Description'
              Width = 350
              MaxWidth = 500
            end
            item
              Caption = 'Type'
              Width = 0
              MaxWidth = 1
            end>
        end
      end
      object gbExtractOptions: TUniGroupBox
        Left = 8
        Top = 364
        Width = 712
        Height = 126
        Caption = 'Options'
        Visible = False
        object rbRaw: TUniRadioButton
          Left = 16
          Top = 22
          Width = 680
          Height = 17
          Caption = 'Extract to Raw Format.'
        end
        object rbMP4: TUniRadioButton
          Left = 16
          Top = 46
          Width = 680
          Height = 17
          Caption = 'Extract to MP4.'
        end
        object rbAVI: TUniRadioButton
          Left = 16
          Top = 70
          Width = 680
          Height = 17
          Caption = 'Extract to AVI.'
        end
        object rbRawAll: TUniRadioButton
          Left = 16
          Top = 94
          Width = 680
          Height = 17
          Caption = 'Extract All Streams to Raw Format.'
          OnClick = rbRawAllClick
        end
      end
    end
    object ConverterPage: TKvWizardInteriorPage
      Header.Visible = False
      EnabledButtons = [bkStart, bkLast, bkBack, bkFinish, bkCancel, bkHelp]
      VisibleButtons = [bkBack, bkNext, bkCancel, bkHelp]
      OnBackButtonClick = ConverterPageBackButtonClick
      OnNextButtonClick = ConverterPageNextButtonClick
      OnHelpButtonClick = ConverterPageHelpButtonClick
      object WHeaderOneClickConv: TKvgWizardHeader
        Left = 0
        Top = 0
        Width = 728
        Height = 64
        PageNo = 0
        Captions.Strings = (
          'One-Click Converter')
        Comments.Strings = (
          'Browse Explorer to choose a subtitle or x264vfw AVI file and adjust the appropriate settings.')
        CaptionFont.Name = 'Tahoma'
        CaptionFont.Height = -13
        CaptionFont.Style = [fsBold]
        CommentFont.Name = 'Tahoma'
        CommentFont.Height = -11
        Gradient.Active = True
        Gradient.FromColor = clHighlight
        Gradient.ToColor = clWindow
      end
      object gbConverterInput: TUniGroupBox
        Left = 8
        Top = 70
        Width = 712
        Height = 56
        Caption = 'Input'
        object edConvInput: TUniEdit
          Left = 10
          Top = 22
          Width = 660
          Height = 21
          ReadOnly = True
          TabStop = False
        end
        object UniImage23: TUniImage
          Left = 680
          Top = 22
          Width = 20
          Height = 20
          Cursor = crHandPoint
          Hint = 'Open your file...'
          ShowHint = True
          Center = True
          OnClick = UniImage23Click
        end
      end
      object gbSub: TUniGroupBox
        Left = 8
        Top = 132
        Width = 712
        Height = 80
        Caption = 'Subtitle Options'
        object rbSRT: TUniRadioButton
          Left = 16
          Top = 24
          Width = 680
          Height = 17
          Caption = 'Convert to SubRip Format (SRT)'
        end
        object rbTTXT: TUniRadioButton
          Left = 16
          Top = 50
          Width = 680
          Height = 17
          Caption = 'Convert to GPAC Format (TTXT)'
        end
      end
      object gbAVIOptions: TUniGroupBox
        Left = 8
        Top = 218
        Width = 712
        Height = 150
        Caption = 'Video Options'
        object lbFrameRate: TUniLabel
          Left = 16
          Top = 28
          Caption = 'Frame-Rate :'
        end
        object edFrameRate: TUniEdit
          Left = 110
          Top = 24
          Width = 80
          Height = 21
          OnKeyPress = edFrameRateKeyPress
        end
        object AVIConverterText: TUniStaticText
          Left = 16
          Top = 60
          Width = 680
          Height = 76
          AutoSize = False
          Caption = 'Note : KAVO is able to detect the Frame-Rate of your input file. By default, MP4Box will use this value during the conversion. If you want to change this, put the right Frame-Rate on the edit box available on the right. This could be useful to avoid playback issues.'
        end
      end
    end
    object TagPage: TKvWizardInteriorPage
      Header.Visible = False
      VisibleButtons = [bkBack, bkNext, bkCancel, bkHelp]
      OnBackButtonClick = TagPageBackButtonClick
      OnHelpButtonClick = TagPageHelpButtonClick
      OnNextButtonClick = TagPageNextButtonClick
      object WHeaderTagPage: TKvgWizardHeader
        Left = 0
        Top = 0
        Width = 728
        Height = 64
        PageNo = 0
        Captions.Strings = (
          'File Tagger')
        Comments.Strings = (
          'Select on the left a folder to write or erase tags from your files...')
        CaptionFont.Name = 'Tahoma'
        CaptionFont.Height = -13
        CaptionFont.Style = [fsBold]
        CommentFont.Name = 'Tahoma'
        CommentFont.Height = -11
        Gradient.Active = True
        Gradient.FromColor = clHighlight
        Gradient.ToColor = clWindow
      end
      object ShDirTree1: TShDirTree
        Left = 0
        Top = 85
        Width = 216
        Height = 214
        Align = alLeft
        DragMode = dmAutomatic
        FolderType = [ftReadOnly, ftSystem, ftDirectory, ftArchive, ftNormal]
        HideSelection = False
        Indent = 19
        Language = lnEnglish
        ParentColor = False
        TabOrder = 1
        TabStop = True
        OnDirChange = ShDirTree1DirChange
      end
      object FilesTagList: TUniListView
        Left = 222
        Top = 70
        Width = 498
        Height = 250
        Checkboxes = True
        HideSelection = False
        PopupMenu = TagPopupMenu
        ReadOnly = True
        RowSelect = True
        ViewStyle = vsReport
        OnColumnRightClick = FilesTagListColumnRightClick
        OnCustomDrawItem = FilesTagListCustomDrawItem
        OnSelectItem = FilesTagListSelectItem
        Columns = <
          item
            Width = 27
          end
          item
            Caption = 'Path'
            Width = 0
            MaxWidth = 1
          end
          item
            Caption = 'File'
            Width = 93
          end
          item
            Caption = 'Name'
            Width = 93
          end
          item
            Caption = 'Length'
            Width = 70
          end
          item
            Caption = 'Artist'
            Width = 70
          end
          item
            Caption = 'Album'
            Width = 70
          end
          item
            Caption = 'Year'
            Width = 58
          end
          item
            Caption = 'Genre'
            Width = 93
          end
          item
            Caption = 'Writer'
            Width = 0
          end
          item
            Caption = 'TrackP'
            Width = 0
          end
          item
            Caption = 'TrackT'
            Width = 0
          end
          item
            Caption = 'DiskP'
            Width = 0
          end
          item
            Caption = 'DiskT'
            Width = 0
          end
          item
            Caption = 'Group'
            Width = 0
          end
          item
            Caption = 'Tempo'
            Width = 0
          end
          item
            Caption = 'Composer'
            Width = 0
          end
          item
            Caption = 'Compile'
            Width = 0
          end
          item
            Caption = 'Gapless'
            Width = 0
          end
          item
            Caption = 'Encoder'
            Width = 0
          end
          item
            Caption = 'Tool'
            Width = 0
          end
          item
            Caption = 'Comments'
            Width = 0
          end>
      end
      object TagPanel: TUniPanel
        Left = 222
        Top = 326
        Width = 498
        Height = 164
        BevelOuter = bvLowered
        object UniImage25: TUniImage
          Left = 8
          Top = 8
          Width = 110
          Height = 110
          Hint = 'Picture from your file'
          ShowHint = True
          Proportional = True
          Stretch = True
        end
        object UniStaticText1: TUniStaticText
          Left = 18
          Top = 54
          Width = 90
          Height = 17
          BorderStyle = sbsSunken
          Caption = '    No Picture'
          OnClick = UniStaticText1Click
        end
        object lbTagName: TUniLabel
          Left = 130
          Top = 12
          Caption = 'Name :'
        end
        object edName: TUniEdit
          Left = 200
          Top = 8
          Width = 288
          Height = 21
          OnChange = editComponentChange
        end
        object lbTagArtist: TUniLabel
          Left = 130
          Top = 40
          Caption = 'Artist :'
        end
        object edArtist: TUniEdit
          Left = 200
          Top = 36
          Width = 288
          Height = 21
          OnChange = editComponentChange
        end
        object lbTagAlbum: TUniLabel
          Left = 130
          Top = 68
          Caption = 'Album :'
        end
        object edAlbum: TUniEdit
          Left = 200
          Top = 64
          Width = 288
          Height = 21
          OnChange = editComponentChange
        end
        object lbTagYear: TUniLabel
          Left = 130
          Top = 96
          Caption = 'Year :'
        end
        object edYear: TUniEdit
          Left = 200
          Top = 92
          Width = 60
          Height = 21
          OnChange = editComponentChange
          OnKeyPress = edYearKeyPress
        end
        object lbTagDuration: TUniLabel
          Left = 276
          Top = 96
          Caption = 'Duration :'
        end
        object edDuration: TUniEdit
          Left = 340
          Top = 92
          Width = 148
          Height = 21
          Enabled = False
        end
        object lbTagGenre: TUniLabel
          Left = 130
          Top = 124
          Caption = 'Genre :'
        end
        object cbGenre: TUniComboBox
          Left = 200
          Top = 120
          Width = 160
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
          OnChange = editComponentChange
        end
        object spbt1: TUniSpeedButton
          Left = 8
          Top = 126
          Width = 32
          Height = 24
          Caption = '<<'
          Hint = 'Select the previous track...'
          ShowHint = True
          OnClick = spbt1Click
        end
        object dpbt2: TUniSpeedButton
          Left = 44
          Top = 126
          Width = 32
          Height = 24
          Caption = '>>'
          Hint = 'Select the next track...'
          ShowHint = True
          OnClick = dpbt2Click
        end
        object btTagMore: TUniButton
          Left = 398
          Top = 120
          Width = 90
          Height = 25
          Caption = 'More'
          OnClick = btTagMoreClick
        end
        object edPic: TUniEdit
          Left = 8
          Top = 140
          Width = 10
          Height = 21
          Visible = False
        end
      end
    end
  end
end
