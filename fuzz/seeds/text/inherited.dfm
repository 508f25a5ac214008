inherited Child: TChild [2]
  Caption = 'x'
  inherited Panel1: TPanel
    Top = 1
  end
  object TLabel
  end
end
