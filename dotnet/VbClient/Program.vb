' Calls as a VB6 module made them, moved over unchanged but for the types:
' VB6's Integer is Short here and its Long is Integer.
Imports TwineKit.Strings

Module Program
    Private Passed As Integer, Failed As Integer

    Private Sub Check(ByVal What As String, ByVal Seen As Object, ByVal Want As Object)
        If Seen = Want Then
            Passed += 1
        Else
            Failed += 1
            Console.WriteLine(What & ": gave " & CStr(Seen) & ", want " & CStr(Want))
        End If
    End Sub

    Function Main() As Integer
        Dim Record As String = "Smith|John|London"
        Dim f As String = cGetIn(Record, "|", 2)
        Check("cGetIn", f, "John")
        Check("cGetInR", cGetInR(Record, "|", 1), "London")
        Check("cProperName2", cProperName2("JEAN DE LA FONTAINE", "de/la", 1), "Jean de la Fontaine")
        If cCheckNumericity("0123") Then Passed += 1 Else Check("cCheckNumericity", False, True)

        ' ByRef, changed in place
        Dim Txt As String = "hello world"
        Dim Changed As Short = cChangeChars(Txt, "lo", "01x")
        Check("cChangeChars", Changed, -1)
        Check("cChangeChars after", Txt, "he001 w1r0d")
        Dim Upper As String = "HELLO"
        cFill(Upper, "ab")
        Check("cFill after", Upper, "ababa")

        ' A Long into the Variant, and the Variant back
        Dim Year As Integer = 1994
        Check("cArabicToRoman", cArabicToRoman(Year), "mcmxciv")
        Dim Number As Object = 1984
        Check("cArabicToRoman Variant", cArabicToRoman(Number), "mcmlxxxiv")
        Dim Back As Object = cRomanToArabic("mcm")
        Check("cRomanToArabic", Back, 1900)

        ' The default separator, and bytes with Chr$ as a VB6 program builds them
        cSetDefaultSeparator(",")
        Check("cGet", cGet("a,b,c", 2), "b")
        cSetDefaultSeparator("|")
        Check("cToHexa", cToHexa("A" & Chr(233) & Chr(0)), "41E900")
        Check("cCompact", cToHexa(cCompact("1234")), "1234")
        Check("cStringSAR", cStringSAR("a.b.c", ".", "--", 0), "a--b--c")

        Console.WriteLine(Passed & " passed, " & Failed & " failed")
        Return If(Failed = 0, 0, 1)
    End Function
End Module
