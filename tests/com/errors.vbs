' What a script sees from TwineKit.Strings when a call is wrong (the error
' of a wrong count, a type mismatch, an overflow, and the object working
' after each, also when the mistakes come thousands of times), the
' arguments as scripts pass them, and text that the code page lacks.
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
Err.Clear : r = o.cGetIn("a|b|c", , 2) : ExpectError 449, "a missing argument"

' The same mistakes many times over, each between good calls: a refused
' call must leave nothing behind that a later call trips over, and must not
' touch what an earlier call gave (the String the script keeps from the
' call just before it).
Dim Refusals, Wanted, Wrong, Seen, Problem, GoodWrong, GoodSeen, i, k
Refusals = Array("letters for a Long", "an Integer of 40000", "an array for a string", _
  "an object for a string", "too few arguments", "too many arguments", "a missing argument")
Wanted = Array(13, 6, 13, 13, 450, 450, 449)
Wrong = Array(0, 0, 0, 0, 0, 0, 0) : Seen = Array(0, 0, 0, 0, 0, 0, 0)
GoodWrong = 0 : GoodSeen = ""

' Round i: a good call whose String the script keeps, straight away the
' refused call k (its error number is the result), then good calls, one
' writing back into a variable; Problem says what of those was wrong.
Function Refusal(i, k)
  Dim kept, x, v
  On Error Resume Next
  kept = o.cGetIn("a|" & i & "|c", "|", 2)
  Select Case k
    Case 0 : x = o.cGetIn("a|b|c", "|", "two")
    Case 1 : x = o.cAlign("ab", 40000, 5)
    Case 2 : x = o.cReverse(Array(1, 2))
    Case 3 : x = o.cReverse(o)
    Case 4 : x = o.cGetIn("a|b|c", "|")
    Case 5 : x = o.cReverse("ab", "cd")
    Case 6 : x = o.cGetIn("a|b|c", , 2)
  End Select
  Refusal = Err.Number
  Err.Clear
  Problem = ""
  v = "HELLO" & i
  x = o.cFill(v, "ab")
  If Err.Number <> 0 Or x <> -1 Or v <> Left("abababababab", Len("HELLO" & i)) Then Problem = "cFill made " & v & " (error " & Err.Number & ")"
  x = o.cReverse("xyz" & i)
  If Err.Number <> 0 Or x <> StrReverse("xyz" & i) Then Problem = "cReverse gave " & x & " (error " & Err.Number & ")"
  If kept <> CStr(i) Then Problem = "the String kept from the call before the refused one became " & kept
End Function

For i = 0 To 2799
  k = i Mod 7
  Err.Clear
  n = Refusal(i, k)
  If n <> Wanted(k) Then Wrong(k) = Wrong(k) + 1 : Seen(k) = n
  If Problem <> "" Then GoodWrong = GoodWrong + 1 : GoodSeen = Problem
Next
Err.Clear
For k = 0 To 6
  Expect Wrong(k) = 0, Refusals(k) & ", 400 times: " & Wrong(k) & " gave error " & Seen(k) & ", want " & Wanted(k)
Next
Expect GoodWrong = 0, "the good calls around the refused ones: " & GoodWrong & " of 2800 rounds wrong, the last: " & GoodSeen

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

' Text that code page 1252 lacks, from wide-text.txt (UTF-16), since
' VBScript here has no ChrW: its lines are U+03A9 (capital omega) & "mega",
' U+03A9 & "mexa", and the full-width digits U+FF11 U+FF12 U+FF13.  Each
' such character reaches the object as "?", never as a look-alike.
Dim Fso, Wide, Omega, Omexa, Digits
Set Fso = CreateObject("Scripting.FileSystemObject")
Set Wide = Fso.OpenTextFile(Fso.BuildPath(Fso.GetParentFolderName(WScript.ScriptFullName), "wide-text.txt"), 1, False, -1)
Omega = Wide.ReadLine : Omexa = Wide.ReadLine : Digits = Wide.ReadLine
Wide.Close
Expect Err.Number = 0 And Len(Omega) = 5 And Len(Omexa) = 5 And Len(Digits) = 3, "wide-text.txt read: error " & Err.Number
Err.Clear
t = Omega : r = o.cChangeChars(t, "x", "y")
Expect r = -1 And t = Omega, "cChangeChars that changes no byte leaves the variable as it was: " & t
t = Omexa : r = o.cChangeChars(t, "x", "g")
Expect r = -1 And t = "?mega", "cChangeChars that changes a byte writes back the round trip: " & t
r = o.cCheckNumericity(Digits) : Expect r = 0, "full-width digits are no digits: cCheckNumericity gives " & r
r = o.cReverse(Digits) : Expect r = "???", "full-width digits reach the object as ""???"": " & r
Err.Clear

WScript.Echo Label & ": " & Passed & " passed, " & Failed & " failed"
If Failed > 0 Then WScript.Quit 1
