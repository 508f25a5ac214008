inherited MainForm: TMainForm
  Caption = 'Main window'
  Anchors = [akLeft, akTop, akRight]
  Options = []
  Font.Name = 'Tahoma'
  Font.Style = [fsBold]
  Tag = -129
  Big = 4294967296
  Visible = True
  Enabled = False
  PopupMenu = nil
  Value = Null
  Owner = MainForm.Frame1
  Columns = <
    item [300]
      Title = 'First'
      Flags = [cfSort]
    end
    item
      Title = 'Second'
      Items = <>
    end>
  Matrix = (
    (
      1
      2)
    ()
    alNone)
  inline Frame1: TFrame1 [0]
    Align = alClient
    inherited Label1: TLabel [2]
      Width = 32768
    end
  end
  object TTimer
    Interval = 1000
    OnTimer = TimerTick
  end
  inherited Panel2: TPanel
  end
end
