inherited Form2: TForm2
  Caption = #1041#1072'bc'#55357#56832
  S = 1.5s
  D = 41488.4481893519d
  F = 0.1f
  C = 123400c
  I = -9223372036854775808
  X = 3.1415926535897932385
  Big = 1.189731495357231765e+4932
  Tiny = 4e-4951
  Zero = -0.0
  object Label1: TLabel [0]
    Caption = 'x'
  end
  inline Frame1: TFrame1 [2]
    inherited Button1: TButton
    end
    inherited inline Inner: TFrame2 [-1]
    end
  end
end
