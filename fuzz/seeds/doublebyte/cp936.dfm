object Form1: TForm1
  Font.Name = 'ËÎÌå'
  Lines.Strings = (
    '»¶Ó­' +
    '¡£')
end
