object MainForm: TMainForm
  Left = 8
  Top = -129
  Width = 70000
  Big = 5000000000
  Mask = $FFFFFFFF
  Caption = 'It'#39's'#13#10'done'
  Hint = 'caf'#233 + ' au lait'
  Wide = #1055#1088#1080
  Ratio = 1.500000000000000000
  Tiny = 1E-20
  Huge = 2.5E17
  Scale = 0.5s
  Price = 15000c
  Stamp = 38718.5d
  Visible = True
  Enabled = FALSE
  Parent = nil
  Owner = Form1.Button1
  Font . Name = 'Tahoma'
  Font.Style = [fsBold, fsItalic]
  Chars = ['A', 1, x]
  Empty = []
  Tags = (
    1
    'two'
    (
      3))
  Cols = <
    item
      Width = 10
    end
    item [2]
      Width = 20
    end>
  Data = {0A0B0C}
  Long = {
    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F
    20}
  object Button1: TButton [1]
    Left = 4
  end
  inline Frame1: TFrame1
  end
end
