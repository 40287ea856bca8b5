object wMain: TwMain
  Caption = 'Info '#252'ber ''tevrinVexal'''
  Left = -70000
  Top = 8
  Big = 1099511627776
  Ratio = 1.5
  Visible = False
  Enabled = True
  Align = alClient
  Owner = nil
  Font.Style = [fsBold, fsUnderline]
  Empty = []
  Hint = ''
  Long = 'xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx' +
    'yy'#13#10
  Lines.Strings = (
    'one'
    (
      2
      'three'))
  Picture.Data = {
    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F
    FF}
  Items = <
    item
      Caption = 'first'
    end
    item
    end>
  object btOk: TButton
    Default = True
  end
  object TTimer
  end
end
