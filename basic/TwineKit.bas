Attribute VB_Name = "TwineKit"
' TwineKit: byte-string functions.  Add this module to a project to declare
' every function of the library.
'
' Strings go to the library as the host's ANSI strings (8-bit bytes) and
' come back the same way; a function declared As String returns a new
' string.  cChangeChars, cChangeCharsUntil, cFill, cCnvASCIItoEBCDIC and
' cCnvEBCDICtoASCII change their first argument in place.  True is -1 and
' False is 0.
'
' 32-bit hosts (Visual Basic 4.0 32-bit to 6.0, VBA 6, 32-bit VBA 7) use
' TWINEKIT.DLL; 64-bit VBA 7 uses TWINEKIT64.DLL, with the same functions
' and the same declarations marked PtrSafe.  In 32-bit VBA 7, PtrSafe is
' optional, so the plain declarations serve it too.
'
' The fourth argument of cChangeCharsUntil is called StopChars here: Stop
' is a reserved word of the language.
'
' TwineKitLoad, at the end of this module, loads the DLL from the folder a
' program names before its first call; see its comment.
Option Explicit

#If VBA7 And Win64 Then

' The loader's own: the DLL of this host's width and the other's.
Private Const TWINEKIT_DLL As String = "TWINEKIT64.DLL"
Private Const OTHER_DLL As String = "TWINEKIT.DLL"
Private Const HOST_WIDTH As String = "64-bit"
Private Declare PtrSafe Function LoadLibraryA Lib "kernel32" (ByVal FileName As String) As LongPtr
Private Declare PtrSafe Function GetFileAttributesA Lib "kernel32" (ByVal FileName As String) As Long

' Positions and blocks
Public Declare PtrSafe Function cOneCharFromLeft Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByVal Position As Long) As String
Public Declare PtrSafe Function cOneCharFromRight Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByVal Position As Long) As String
Public Declare PtrSafe Function cBlockCharFromLeft Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByVal Count As Long) As String
Public Declare PtrSafe Function cBlockCharFromRight Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByVal Count As Long) As String
Public Declare PtrSafe Function cScrollL Lib "TWINEKIT64.DLL" (ByRef Txt As String) As String
Public Declare PtrSafe Function cScrollR Lib "TWINEKIT64.DLL" (ByRef Txt As String) As String
Public Declare PtrSafe Function cReverse Lib "TWINEKIT64.DLL" (ByRef Txt As String) As String
Public Declare PtrSafe Function cGetBlock Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByVal BlockNumber As Long, ByVal BlockSize As Long) As String
Public Declare PtrSafe Function cRemoveOneChar Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByVal Position As Long) As String
Public Declare PtrSafe Function cRemoveBlockChar Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByVal Position As Long, ByVal Count As Long) As String
Public Declare PtrSafe Function cInsertChars Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByVal Position As Long, ByRef Insertion As String) As String
Public Declare PtrSafe Function cResizeString Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByVal NewLength As Long) As String
Public Declare PtrSafe Function cResizeStringAndFill Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByVal NewLength As Long, ByRef Filler As String) As String
Public Declare PtrSafe Function cCreateAndFill Lib "TWINEKIT64.DLL" (ByVal Length As Long, ByRef Filler As String) As String
Public Declare PtrSafe Function cFill Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByRef Filler As String) As Integer
Public Declare PtrSafe Function cAlign Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByVal Mode As Integer, ByVal Width As Long) As String

' Fields, tokens and search
Public Declare PtrSafe Sub cSetDefaultSeparator Lib "TWINEKIT64.DLL" (ByRef Sep As String)
Public Declare PtrSafe Function cGet Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByVal Index As Long) As String
Public Declare PtrSafe Function cGetIn Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByRef Sep As String, ByVal Index As Long) As String
Public Declare PtrSafe Function cGetInR Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByRef Sep As String, ByVal Index As Long) As String
Public Declare PtrSafe Function cGetInPart Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByRef Sep As String, ByVal FirstPart As Long) As String
Public Declare PtrSafe Function cGetInPartR Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByRef Sep As String, ByVal FirstPart As Long) As String
Public Declare PtrSafe Function cCount Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByRef Sep As String) As Integer
Public Declare PtrSafe Function cOrToken Lib "TWINEKIT64.DLL" (ByVal Txt As String, ByVal Tokens As String) As Integer
Public Declare PtrSafe Function cAndToken Lib "TWINEKIT64.DLL" (ByVal Txt As String, ByVal Tokens As String) As Integer
Public Declare PtrSafe Function cOrTokenIn Lib "TWINEKIT64.DLL" (ByVal Txt As String, ByVal Tokens As String, ByVal Sep As String) As Integer
Public Declare PtrSafe Function cAndTokenIn Lib "TWINEKIT64.DLL" (ByVal Txt As String, ByVal Tokens As String, ByVal Sep As String) As Integer
Public Declare PtrSafe Function cTokenIn Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByRef Seps As String, ByVal Index As Long) As String
Public Declare PtrSafe Function cStringSAR Lib "TWINEKIT64.DLL" (ByVal Txt As String, ByVal Find As String, ByVal Replace As String, ByVal MatchCase As Integer) As String

' Character sets
Public Declare PtrSafe Function cChangeChars Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByRef OldChars As String, ByRef NewChars As String) As Integer
Public Declare PtrSafe Function cChangeCharsUntil Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByRef OldChars As String, ByRef NewChars As String, ByRef StopChars As String) As Integer
Public Declare PtrSafe Function cCheckChars Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByRef Chars As String) As Integer
Public Declare PtrSafe Function cFilterChars Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByRef Chars As String) As String
Public Declare PtrSafe Function cFilterNotChars Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByRef Chars As String) As String
Public Declare PtrSafe Function cFilterFirstChars Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByRef Prefix As String) As String
Public Declare PtrSafe Function cFilterBlocks Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByRef Delimiters As String) As String
Public Declare PtrSafe Function cInsertByMask Lib "TWINEKIT64.DLL" (ByRef Mask As String, ByRef MaskChar As String, ByRef Txt As String) As String
Public Declare PtrSafe Function cInsertBlocks Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByRef Blocks As String) As String
Public Declare PtrSafe Function cInsertBlocksBy Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByRef Blocks As String, ByRef Sep As String) As String
Public Declare PtrSafe Function cMixChars Lib "TWINEKIT64.DLL" (ByRef Txt As String) As String

' Compression and tabs
Public Declare PtrSafe Function cCompress Lib "TWINEKIT64.DLL" (ByRef Txt As String) As String
Public Declare PtrSafe Function cExpandTab Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByVal Width As Long) As String
Public Declare PtrSafe Function cCompressTab Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByVal Width As Long) As String
Public Declare PtrSafe Function cCompact Lib "TWINEKIT64.DLL" (ByRef Txt As String) As String
Public Declare PtrSafe Function cUncompact Lib "TWINEKIT64.DLL" (ByRef Txt As String) As String

' Encodings, numbers and checksums
Public Declare PtrSafe Function cToHexa Lib "TWINEKIT64.DLL" (ByRef Txt As String) As String
Public Declare PtrSafe Function cFromHexa Lib "TWINEKIT64.DLL" (ByRef Txt As String) As String
Public Declare PtrSafe Function cLrc Lib "TWINEKIT64.DLL" (ByRef Txt As String) As String
Public Declare PtrSafe Function cH2I Lib "TWINEKIT64.DLL" (ByVal Txt As String) As Integer
Public Declare PtrSafe Function cH2L Lib "TWINEKIT64.DLL" (ByVal Txt As String) As Long
Public Declare PtrSafe Function cCnvASCIItoEBCDIC Lib "TWINEKIT64.DLL" (ByRef Txt As String) As Integer
Public Declare PtrSafe Function cCnvEBCDICtoASCII Lib "TWINEKIT64.DLL" (ByRef Txt As String) As Integer
Public Declare PtrSafe Function cMorse Lib "TWINEKIT64.DLL" (ByVal Txt As String) As String
Public Declare PtrSafe Function cArabicToRoman Lib "TWINEKIT64.DLL" (ByRef Number As Variant) As String
Public Declare PtrSafe Function cRomanToArabic Lib "TWINEKIT64.DLL" (ByRef Txt As String) As Variant
Public Declare PtrSafe Function cCheckNumericity Lib "TWINEKIT64.DLL" (ByRef Txt As String) As Integer
Public Declare PtrSafe Function cAddDigit Lib "TWINEKIT64.DLL" (ByRef Txt As String) As Integer
Public Declare PtrSafe Function cNumDigit Lib "TWINEKIT64.DLL" (ByRef Txt As String) As Integer
Public Declare PtrSafe Function cCplDigit Lib "TWINEKIT64.DLL" (ByRef Txt As String) As String
Public Declare PtrSafe Function cCplAlpha Lib "TWINEKIT64.DLL" (ByRef Txt As String) As String

' Proper names
Public Declare PtrSafe Function cProperName Lib "TWINEKIT64.DLL" (ByRef Txt As String) As String
Public Declare PtrSafe Function cProperName2 Lib "TWINEKIT64.DLL" (ByRef Txt As String, ByVal Exceptions As String, ByVal Options As Integer) As String

' Wildcard patterns
Public Declare PtrSafe Function cPatternMatch Lib "TWINEKIT64.DLL" (ByVal Txt As String, ByVal Pattern As String) As Long
Public Declare PtrSafe Function cPatternExtMatch Lib "TWINEKIT64.DLL" (ByVal Txt As String, ByVal Pattern As String) As Long

#Else

' The loader's own: the DLL of this host's width and the other's.
Private Const TWINEKIT_DLL As String = "TWINEKIT.DLL"
Private Const OTHER_DLL As String = "TWINEKIT64.DLL"
Private Const HOST_WIDTH As String = "32-bit"
Private Declare Function LoadLibraryA Lib "kernel32" (ByVal FileName As String) As Long
Private Declare Function GetFileAttributesA Lib "kernel32" (ByVal FileName As String) As Long

' Positions and blocks
Public Declare Function cOneCharFromLeft Lib "TWINEKIT.DLL" (ByRef Txt As String, ByVal Position As Long) As String
Public Declare Function cOneCharFromRight Lib "TWINEKIT.DLL" (ByRef Txt As String, ByVal Position As Long) As String
Public Declare Function cBlockCharFromLeft Lib "TWINEKIT.DLL" (ByRef Txt As String, ByVal Count As Long) As String
Public Declare Function cBlockCharFromRight Lib "TWINEKIT.DLL" (ByRef Txt As String, ByVal Count As Long) As String
Public Declare Function cScrollL Lib "TWINEKIT.DLL" (ByRef Txt As String) As String
Public Declare Function cScrollR Lib "TWINEKIT.DLL" (ByRef Txt As String) As String
Public Declare Function cReverse Lib "TWINEKIT.DLL" (ByRef Txt As String) As String
Public Declare Function cGetBlock Lib "TWINEKIT.DLL" (ByRef Txt As String, ByVal BlockNumber As Long, ByVal BlockSize As Long) As String
Public Declare Function cRemoveOneChar Lib "TWINEKIT.DLL" (ByRef Txt As String, ByVal Position As Long) As String
Public Declare Function cRemoveBlockChar Lib "TWINEKIT.DLL" (ByRef Txt As String, ByVal Position As Long, ByVal Count As Long) As String
Public Declare Function cInsertChars Lib "TWINEKIT.DLL" (ByRef Txt As String, ByVal Position As Long, ByRef Insertion As String) As String
Public Declare Function cResizeString Lib "TWINEKIT.DLL" (ByRef Txt As String, ByVal NewLength As Long) As String
Public Declare Function cResizeStringAndFill Lib "TWINEKIT.DLL" (ByRef Txt As String, ByVal NewLength As Long, ByRef Filler As String) As String
Public Declare Function cCreateAndFill Lib "TWINEKIT.DLL" (ByVal Length As Long, ByRef Filler As String) As String
Public Declare Function cFill Lib "TWINEKIT.DLL" (ByRef Txt As String, ByRef Filler As String) As Integer
Public Declare Function cAlign Lib "TWINEKIT.DLL" (ByRef Txt As String, ByVal Mode As Integer, ByVal Width As Long) As String

' Fields, tokens and search
Public Declare Sub cSetDefaultSeparator Lib "TWINEKIT.DLL" (ByRef Sep As String)
Public Declare Function cGet Lib "TWINEKIT.DLL" (ByRef Txt As String, ByVal Index As Long) As String
Public Declare Function cGetIn Lib "TWINEKIT.DLL" (ByRef Txt As String, ByRef Sep As String, ByVal Index As Long) As String
Public Declare Function cGetInR Lib "TWINEKIT.DLL" (ByRef Txt As String, ByRef Sep As String, ByVal Index As Long) As String
Public Declare Function cGetInPart Lib "TWINEKIT.DLL" (ByRef Txt As String, ByRef Sep As String, ByVal FirstPart As Long) As String
Public Declare Function cGetInPartR Lib "TWINEKIT.DLL" (ByRef Txt As String, ByRef Sep As String, ByVal FirstPart As Long) As String
Public Declare Function cCount Lib "TWINEKIT.DLL" (ByRef Txt As String, ByRef Sep As String) As Integer
Public Declare Function cOrToken Lib "TWINEKIT.DLL" (ByVal Txt As String, ByVal Tokens As String) As Integer
Public Declare Function cAndToken Lib "TWINEKIT.DLL" (ByVal Txt As String, ByVal Tokens As String) As Integer
Public Declare Function cOrTokenIn Lib "TWINEKIT.DLL" (ByVal Txt As String, ByVal Tokens As String, ByVal Sep As String) As Integer
Public Declare Function cAndTokenIn Lib "TWINEKIT.DLL" (ByVal Txt As String, ByVal Tokens As String, ByVal Sep As String) As Integer
Public Declare Function cTokenIn Lib "TWINEKIT.DLL" (ByRef Txt As String, ByRef Seps As String, ByVal Index As Long) As String
Public Declare Function cStringSAR Lib "TWINEKIT.DLL" (ByVal Txt As String, ByVal Find As String, ByVal Replace As String, ByVal MatchCase As Integer) As String

' Character sets
Public Declare Function cChangeChars Lib "TWINEKIT.DLL" (ByRef Txt As String, ByRef OldChars As String, ByRef NewChars As String) As Integer
Public Declare Function cChangeCharsUntil Lib "TWINEKIT.DLL" (ByRef Txt As String, ByRef OldChars As String, ByRef NewChars As String, ByRef StopChars As String) As Integer
Public Declare Function cCheckChars Lib "TWINEKIT.DLL" (ByRef Txt As String, ByRef Chars As String) As Integer
Public Declare Function cFilterChars Lib "TWINEKIT.DLL" (ByRef Txt As String, ByRef Chars As String) As String
Public Declare Function cFilterNotChars Lib "TWINEKIT.DLL" (ByRef Txt As String, ByRef Chars As String) As String
Public Declare Function cFilterFirstChars Lib "TWINEKIT.DLL" (ByRef Txt As String, ByRef Prefix As String) As String
Public Declare Function cFilterBlocks Lib "TWINEKIT.DLL" (ByRef Txt As String, ByRef Delimiters As String) As String
Public Declare Function cInsertByMask Lib "TWINEKIT.DLL" (ByRef Mask As String, ByRef MaskChar As String, ByRef Txt As String) As String
Public Declare Function cInsertBlocks Lib "TWINEKIT.DLL" (ByRef Txt As String, ByRef Blocks As String) As String
Public Declare Function cInsertBlocksBy Lib "TWINEKIT.DLL" (ByRef Txt As String, ByRef Blocks As String, ByRef Sep As String) As String
Public Declare Function cMixChars Lib "TWINEKIT.DLL" (ByRef Txt As String) As String

' Compression and tabs
Public Declare Function cCompress Lib "TWINEKIT.DLL" (ByRef Txt As String) As String
Public Declare Function cExpandTab Lib "TWINEKIT.DLL" (ByRef Txt As String, ByVal Width As Long) As String
Public Declare Function cCompressTab Lib "TWINEKIT.DLL" (ByRef Txt As String, ByVal Width As Long) As String
Public Declare Function cCompact Lib "TWINEKIT.DLL" (ByRef Txt As String) As String
Public Declare Function cUncompact Lib "TWINEKIT.DLL" (ByRef Txt As String) As String

' Encodings, numbers and checksums
Public Declare Function cToHexa Lib "TWINEKIT.DLL" (ByRef Txt As String) As String
Public Declare Function cFromHexa Lib "TWINEKIT.DLL" (ByRef Txt As String) As String
Public Declare Function cLrc Lib "TWINEKIT.DLL" (ByRef Txt As String) As String
Public Declare Function cH2I Lib "TWINEKIT.DLL" (ByVal Txt As String) As Integer
Public Declare Function cH2L Lib "TWINEKIT.DLL" (ByVal Txt As String) As Long
Public Declare Function cCnvASCIItoEBCDIC Lib "TWINEKIT.DLL" (ByRef Txt As String) As Integer
Public Declare Function cCnvEBCDICtoASCII Lib "TWINEKIT.DLL" (ByRef Txt As String) As Integer
Public Declare Function cMorse Lib "TWINEKIT.DLL" (ByVal Txt As String) As String
Public Declare Function cArabicToRoman Lib "TWINEKIT.DLL" (ByRef Number As Variant) As String
Public Declare Function cRomanToArabic Lib "TWINEKIT.DLL" (ByRef Txt As String) As Variant
Public Declare Function cCheckNumericity Lib "TWINEKIT.DLL" (ByRef Txt As String) As Integer
Public Declare Function cAddDigit Lib "TWINEKIT.DLL" (ByRef Txt As String) As Integer
Public Declare Function cNumDigit Lib "TWINEKIT.DLL" (ByRef Txt As String) As Integer
Public Declare Function cCplDigit Lib "TWINEKIT.DLL" (ByRef Txt As String) As String
Public Declare Function cCplAlpha Lib "TWINEKIT.DLL" (ByRef Txt As String) As String

' Proper names
Public Declare Function cProperName Lib "TWINEKIT.DLL" (ByRef Txt As String) As String
Public Declare Function cProperName2 Lib "TWINEKIT.DLL" (ByRef Txt As String, ByVal Exceptions As String, ByVal Options As Integer) As String

' Wildcard patterns
Public Declare Function cPatternMatch Lib "TWINEKIT.DLL" (ByVal Txt As String, ByVal Pattern As String) As Long
Public Declare Function cPatternExtMatch Lib "TWINEKIT.DLL" (ByVal Txt As String, ByVal Pattern As String) As Long

#End If

' Loads the DLL of this host's width from Folder (App.Path,
' ThisWorkbook.Path, CurrentProject.Path: wherever the program keeps it),
' so that the functions declared above resolve to it whatever the current
' folder is: Windows gives a DLL that is already loaded to every later
' Declare of the same name.  Call it once before the first function.
' Returns "" when the DLL is loaded, and otherwise what went wrong, instead
' of the run-time error 53 or 48 the first call would raise: the DLL is not
' in the folder, only the other width's is, it is not a DLL of this host's
' width, or Windows blocked it.
Public Function TwineKitLoad(ByVal Folder As String) As String
    Dim Path As String, Found As Boolean, FoundOther As Boolean, Code As Long
    If Len(Folder) > 0 And Right$(Folder, 1) <> "\" And Right$(Folder, 1) <> "/" Then
        Folder = Folder & "\"
    End If
    Path = Folder & TWINEKIT_DLL
    ' -1 is no such file (nor folder).
    Found = GetFileAttributesA(Path) <> -1
    FoundOther = GetFileAttributesA(Folder & OTHER_DLL) <> -1
    If Not Found And FoundOther Then
        TwineKitLoad = TWINEKIT_DLL & " is not in " & Folder & ", only " & OTHER_DLL & _
            ", which serves the other width: this host is " & HOST_WIDTH & _
            " and needs " & TWINEKIT_DLL & " beside it (else error 48 or 53)."
    ElseIf Not Found Then
        TwineKitLoad = TWINEKIT_DLL & " was not found in " & Folder & _
            " (else error 53, file not found)."
    ElseIf LoadLibraryA(Path) = 0 Then
        Code = Err.LastDllError
        Select Case Code
        Case 193, 216  ' not a valid image for this machine
            TwineKitLoad = Path & " is not a " & HOST_WIDTH & " DLL: this host needs " & _
                TWINEKIT_DLL & " of the " & HOST_WIDTH & " build (else error 48)."
        Case 5, 225, 1260, 4551, 4556  ' access denied, malware, policy, application control
            TwineKitLoad = Path & " is blocked (Windows error " & Code & "): unblock the file " & _
                "(Properties, Unblock) or ask whoever manages the computer to allow it (else error 48)."
        Case Else
            TwineKitLoad = Path & " could not be loaded (Windows error " & Code & "; else error 48)."
        End Select
    End If
End Function
