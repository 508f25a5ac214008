object Form1: TForm1
  Caption = '¤@¤\ùþ'
  Items = <
    item
      Text = '¤\'
    end>
end
