object Form1: TForm1
  Caption = '∞°∆RÅA'
  Tag = 1
end
