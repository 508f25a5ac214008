object Form1: TForm1
  Left = 8
  Caption = 'It'#39's'#13#10'done'
  Tags = (
    1
    'two')
  Cols = <
    item
      Width = 10
    end
    item [2]
      Width = 20
    end>
  Data = {0A0B0C}
  Ratio = 1.500000000000000000
  object Button1: TButton
    Left = 4
  end
end
