object Форма: TForm
  Caption = 'Привет'
  Nameé = café
end
