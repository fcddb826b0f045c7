' What a script sees from TwineKit.Strings when a call is wrong (the error
' of a wrong count, a type mismatch, an overflow, and the object working
' after each), and the arguments as scripts pass them.
' Run: cscript //nologo errors.vbs LABEL
Option Explicit
Dim o, r, t, n, Passed, Failed, Label
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

Sub ExpectError(number, what)
  Expect Err.Number = number, what & ": error " & Err.Number & " (" & Err.Description & "), want " & number
  Err.Clear
  r = Empty
  r = o.cGetIn("a|b|c", "|", 2)
  Expect Err.Number = 0 And r = "b", what & ": the object works after it"
  Err.Clear
End Sub

Err.Clear : r = o.cGetIn("a|b|c", "|") : ExpectError 450, "too few arguments"
Err.Clear : r = o.cReverse("ab", "cd") : ExpectError 450, "too many arguments"
Err.Clear : r = o.cReverse(Array(1, 2)) : ExpectError 13, "an array for a string"
Err.Clear : r = o.cReverse(o) : ExpectError 13, "an object for a string"
Err.Clear : r = o.cGetIn("a|b|c", "|", "two") : ExpectError 13, "letters for a Long"
Err.Clear : r = o.cAlign("ab", 40000, 5) : ExpectError 6, "an Integer of 40000"
Err.Clear : r = o.cStringSAR("ab", "a", "b", -32769) : ExpectError 6, "an Integer of -32769"
Err.Clear : r = o.cProperName2("ab", "", "40000") : ExpectError 6, "an Integer of ""40000"""

' Numbers as scripts have them.
r = o.cGetIn("a|b|c", "|", "2") : Expect r = "b", "a Long from the String ""2"""
r = o.cGetIn("a|b|c", "|", 2.5) : Expect r = "b", "a Long from the Double 2.5, to the even number"
r = o.cGetIn("a|b|c", "|", CCur(3)) : Expect r = "c", "a Long from a Currency"
r = o.cGetIn("a|b|c", "|", True) : Expect r = "", "a Long from True, -1"
r = o.cReverse(123) : Expect r = "321", "a string from a number"
r = o.cReverse(Empty) : Expect VarType(r) = vbString And r = "", "a string from Empty"
r = o.cReverse(True) : Expect r = "eurT", "a string from True, as Basic writes it"
r = o.cArabicToRoman("1994") : Expect r = "mcmxciv", "cArabicToRoman takes a String"
Err.Clear : r = o.cArabicToRoman(o) : Expect Err.Number = 0 And r = "", "cArabicToRoman takes an object: no number"
Err.Clear : r = o.cArabicToRoman(Array(5)) : Expect Err.Number = 0 And r = "", "cArabicToRoman takes an array: no number"
r = o.cRomanToArabic("mcm") : Expect VarType(r) = vbLong And r = 1900, "cRomanToArabic gives a Long"
Err.Clear : r = o.CGETIN("a|b|c", "|", 3) : Expect Err.Number = 0 And r = "c", "a name in capitals"

' In place: a variable comes by reference and is written back; a value is
' left alone; a read-only argument is never written.
t = "HELLO" : r = o.cFill(t, "ab") : Expect r = -1 And t = "ababa", "cFill writes back into a variable"
t = "HELLO" : r = o.cFill((t), "ab") : Expect r = -1 And t = "HELLO", "cFill leaves a value alone"
t = "abc" : r = o.cReverse(t) : Expect r = "cba" And t = "abc", "cReverse leaves its argument alone"
n = 12345 : r = o.cFill(n, "9") : Expect VarType(n) = vbString And n = "99999", "a number variable comes back a String"
Err.Clear

WScript.Echo Label & ": " & Passed & " passed, " & Failed & " failed"
If Failed > 0 Then WScript.Quit 1
