' What a script sees from TwineKit.Strings when the ANSI code page is 932
' (Japanese, double-byte): the library counts and cuts bytes, so the two
' bytes of a character can come apart, and what a lone byte becomes on its
' way back is the system's conversion (MultiByteToWideChar(CP_ACP, 0, ...)).
' Run under Wine with LANG=ja_JP.UTF-8: cscript //nologo dbcs.vbs LABEL
'
' Characters are made with Chr from their code in code page 932, the lead
' byte times 256 plus the trail byte; Asc gives it back as an Integer, so
' negative ("And 65535" makes it the code again):
'   Chr(33440)  U+3042 hiragana a     0x82 0xA0
'   Chr(33442)  U+3044 hiragana i     0x82 0xA2
'   Chr(33601)  U+30A2 katakana a     0x83 0x41
'   Chr(33378)  U+FF23 full-width C   0x82 0x62
'   Chr(33093)  U+30FB katakana middle dot   0x81 0x45
Option Explicit
Dim o, r, t, Passed, Failed, Label, HiraA, HiraI, KataA, Dot
Label = WScript.Arguments(0)
Passed = 0 : Failed = 0
On Error Resume Next
Set o = CreateObject("TwineKit.Strings")
If Err.Number <> 0 Then
  WScript.Echo Label & ": TwineKit.Strings cannot be made: error " & Err.Number
  WScript.Quit 1
End If

Sub Expect(ok, what)
  If ok Then
    Passed = Passed + 1
  Else
    Failed = Failed + 1
    WScript.Echo "FAIL " & what
  End If
End Sub

' The codes of a string's characters, in hexadecimal.
Function Codes(s)
  Dim i
  Codes = ""
  For i = 1 To Len(s)
    Codes = Codes & " " & Hex(Asc(Mid(s, i, 1)) And 65535)
  Next
  Codes = "[" & Trim(Codes) & "]"
End Function

Sub ExpectText(got, want, what)
  Expect Err.Number = 0 And got = want, what & ": " & Codes(got) & " (error " & Err.Number & "), want " & Codes(want)
  Err.Clear
End Sub

HiraA = Chr(33440) : HiraI = Chr(33442) : KataA = Chr(33601)
Expect Err.Number = 0 And (Asc(HiraA) And 65535) = 33440, "the ANSI code page is 932"
Err.Clear

' A lead byte without its trail byte, at the end of a result, comes back
' from Wine as U+30FB, the character whose bytes are 0x81 0x45, not 0x82:
' its conversion gives that default character for a lone lead byte.
Dot = Chr(33093)
r = o.cOneCharFromLeft(HiraA & "b", 1)
ExpectText r, Dot, "cOneCharFromLeft of a two-byte character's first byte: its lead byte alone"
r = o.cBlockCharFromLeft("a" & HiraA, 1)
ExpectText r, "a" & Dot, "cBlockCharFromLeft dropping a trail byte leaves its lead byte alone at the end"
' A lead byte whose trail byte went takes the next byte as its trail:
' 0x82 then "b" (0x62) is the full-width C.
r = o.cRemoveOneChar("x" & HiraA & "b", 3)
ExpectText r, "x" & Chr(33378), "cRemoveOneChar of a trail byte joins its lead byte to the next byte"
' A trail byte alone is the one-byte character of that value.
r = o.cOneCharFromLeft(KataA, 2)
ExpectText r, "A", "cOneCharFromLeft of a trail byte in ASCII: that letter"
r = o.cOneCharFromRight(HiraA & HiraI, 1)
ExpectText r, Chr(162), "cOneCharFromRight of the trail byte 0xA2: the half-width character 0xA2"
' Whole characters come back whole; lengths and positions are in bytes.
r = o.cBlockCharFromLeft(HiraA & HiraI, 2)
ExpectText r, HiraA, "cBlockCharFromLeft dropping a whole character"
t = HiraA & HiraI : r = o.cFill(t, "z")
ExpectText t, "zzzz", "cFill fills the four bytes of two characters"
' Reversed, 0x82 0xA0 0x82 0xA2 "b" is "b" 0xA2 0x82 0xA0 0x82: the bytes
' pair up anew.
r = o.cReverse(HiraA & HiraI & "b")
ExpectText r, "b" & Chr(162) & HiraA & Dot, "cReverse of two characters and a letter"

WScript.Echo Label & ": " & Passed & " passed, " & Failed & " failed"
If Failed > 0 Then WScript.Quit 1
