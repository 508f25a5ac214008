object DataForm: TDataForm
  Caption = 
    'The quick brown fox jumps over the lazy dog, and then it jumps b' +
    'ack again to see whether the dog has noticed anything at all.'
  Notes = 
    'Line one'#13#10'Line two'#9'and a tab; quotes: '#39'single'#39' and more text to ' +
    'pass the limit'
  Greeting = 'Gr'#252#223'e aus K'#246'ln '#8212' 100 '#8364
  Cafe = 'caf'#233' au lait'
  Euro = #8364
  Quote = #39
  Empty = ''
  Blob = {
    0B30557A9FC4E90E33587DA2C7EC11365B80A5CAEF14395E83A8CDF2173C6186
    ABD0F51A3F6489AED3F81D42678CB1D6FB20456A8FB4D9FE23486D92B7DC0126
    4B7095BADF04294E7398BDE2072C51769BC0E50A2F54799EC3E80D32577CA1C6
    EB10355A}
  Short = {DEADBEEF}
  Ratio = 0.125000000000000000
  Negative = -2.500000000000000000
  Big = 1.234567890123457E17
  Huge = 1E20
  Tiny = 0.000000000000000010
  Scale = 1.5s
  Third = 0.333333343267441s
  Price = 15000c
  Debt = -123456789c
  When = 38718.5d
  Soon = 1E-5d
  MaxInt64 = 9223372036854775807
  MinInt64 = -9223372036854775808
end
