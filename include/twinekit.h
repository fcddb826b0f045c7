/*
 * TwineKit: byte-string functions for Basic programs.
 *
 * Every export takes and returns 8-bit byte strings held in BSTRs (the byte
 * count sits in the four bytes before the payload).  Argument kinds:
 *
 *   BSTR *        string by reference: the address of the caller's variable
 *   BSTR          string by value
 *   TK_LONG       Long by value, 32-bit signed
 *   TK_INTEGER_ARG Integer by value: a 32-bit slot of which only the low
 *                 16 bits count, read as a signed 16-bit number
 *   VARIANT *     Variant by reference
 *
 * Results: a new BSTR owned by the caller (never null, never an argument),
 * a 16-bit Integer, a 32-bit Long, or a VARIANT of subtype Long.
 * True is -1, False is 0.
 *
 * On 32-bit Windows every export is stdcall with an undecorated name.
 * cRomanToArabic returns its VARIANT through a result address that the
 * caller passes first and that the export hands back; on other platforms it
 * returns the VARIANT by value, as those conventions return a 16-byte struct.
 */
#ifndef TWINEKIT_H
#define TWINEKIT_H

#include <stdint.h>

#if defined(_WIN32) && !defined(TK_NO_WINDOWS_H)
#include <windows.h>
#include <oleauto.h>
#else
/* Without the Windows headers (other platforms, or a Windows program built
   without an SDK that defines TK_NO_WINDOWS_H): the few types the
   declarations need, laid out as Windows lays them out. */
typedef uint16_t OLECHAR;
typedef OLECHAR *BSTR;
typedef uint16_t VARTYPE;
typedef int16_t VARIANT_BOOL;
typedef int32_t HRESULT;
typedef uint32_t UINT;

/* A VARIANT: vt at offset 0, the value at offset 8; 16 bytes, and on
   64-bit Windows 24, the size of its two-pointer record member. */
typedef struct tagVARIANT {
  VARTYPE vt;
  uint16_t wReserved1;
  uint16_t wReserved2;
  uint16_t wReserved3;
  union {
    int32_t lVal;
    int16_t iVal;
    uint8_t bVal;
    float fltVal;
    double dblVal;
    VARIANT_BOOL boolVal;
    int64_t cyVal; /* Currency: the value times 10000 */
    double date;
    BSTR bstrVal;
#ifdef _WIN64
    void *pvRecord[2];
#endif
  };
} VARIANT;

enum {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_CY = 6,
  VT_DATE = 7,
  VT_BSTR = 8,
  VT_ERROR = 10,
  VT_BOOL = 11,
  VT_VARIANT = 12,
  VT_DECIMAL = 14,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_I8 = 20,
  VT_UI8 = 21,
  VT_INT = 22,
  VT_UINT = 23,
  VT_BYREF = 0x4000
};
#endif

#if defined(_WIN32) && !defined(_WIN64)
#define TK_CALL __stdcall
#else
#define TK_CALL
#endif

/* The DLLs export by their module-definition file; the native shared
   library is built with hidden visibility and exports these by name. */
#if defined(_WIN32)
#define TK_API
#else
#define TK_API __attribute__((visibility("default")))
#endif

typedef int16_t TK_INTEGER;
typedef int32_t TK_INTEGER_ARG;
typedef int32_t TK_LONG;

#ifdef __cplusplus
extern "C" {
#endif

/* Positions and blocks */
TK_API BSTR TK_CALL cOneCharFromLeft(BSTR *Txt, TK_LONG Position);
TK_API BSTR TK_CALL cOneCharFromRight(BSTR *Txt, TK_LONG Position);
TK_API BSTR TK_CALL cBlockCharFromLeft(BSTR *Txt, TK_LONG Count);
TK_API BSTR TK_CALL cBlockCharFromRight(BSTR *Txt, TK_LONG Count);
TK_API BSTR TK_CALL cScrollL(BSTR *Txt);
TK_API BSTR TK_CALL cScrollR(BSTR *Txt);
TK_API BSTR TK_CALL cReverse(BSTR *Txt);
TK_API BSTR TK_CALL cGetBlock(BSTR *Txt, TK_LONG BlockNumber, TK_LONG BlockSize);
TK_API BSTR TK_CALL cRemoveOneChar(BSTR *Txt, TK_LONG Position);
TK_API BSTR TK_CALL cRemoveBlockChar(BSTR *Txt, TK_LONG Position, TK_LONG Count);
TK_API BSTR TK_CALL cInsertChars(BSTR *Txt, TK_LONG Position, BSTR *Insertion);
TK_API BSTR TK_CALL cResizeString(BSTR *Txt, TK_LONG NewLength);
TK_API BSTR TK_CALL cResizeStringAndFill(BSTR *Txt, TK_LONG NewLength, BSTR *Filler);
TK_API BSTR TK_CALL cCreateAndFill(TK_LONG Length, BSTR *Filler);
TK_API TK_INTEGER TK_CALL cFill(BSTR *Txt, BSTR *Filler);
TK_API BSTR TK_CALL cAlign(BSTR *Txt, TK_INTEGER_ARG Mode, TK_LONG Width);

/* Fields, tokens and search */
TK_API void TK_CALL cSetDefaultSeparator(BSTR *Sep);
TK_API BSTR TK_CALL cGet(BSTR *Txt, TK_LONG Index);
TK_API BSTR TK_CALL cGetIn(BSTR *Txt, BSTR *Sep, TK_LONG Index);
TK_API BSTR TK_CALL cGetInR(BSTR *Txt, BSTR *Sep, TK_LONG Index);
TK_API BSTR TK_CALL cGetInPart(BSTR *Txt, BSTR *Sep, TK_LONG FirstPart);
TK_API BSTR TK_CALL cGetInPartR(BSTR *Txt, BSTR *Sep, TK_LONG FirstPart);
TK_API TK_INTEGER TK_CALL cCount(BSTR *Txt, BSTR *Sep);
TK_API TK_INTEGER TK_CALL cOrToken(BSTR Txt, BSTR Tokens);
TK_API TK_INTEGER TK_CALL cAndToken(BSTR Txt, BSTR Tokens);
TK_API TK_INTEGER TK_CALL cOrTokenIn(BSTR Txt, BSTR Tokens, BSTR Sep);
TK_API TK_INTEGER TK_CALL cAndTokenIn(BSTR Txt, BSTR Tokens, BSTR Sep);
TK_API BSTR TK_CALL cTokenIn(BSTR *Txt, BSTR *Seps, TK_LONG Index);
TK_API BSTR TK_CALL cStringSAR(BSTR Txt, BSTR Find, BSTR Replace,
                        TK_INTEGER_ARG MatchCase);

/* Character sets */
TK_API TK_INTEGER TK_CALL cChangeChars(BSTR *Txt, BSTR *OldChars, BSTR *NewChars);
TK_API TK_INTEGER TK_CALL cChangeCharsUntil(BSTR *Txt, BSTR *OldChars,
                                     BSTR *NewChars, BSTR *Stop);
TK_API TK_INTEGER TK_CALL cCheckChars(BSTR *Txt, BSTR *Chars);
TK_API BSTR TK_CALL cFilterChars(BSTR *Txt, BSTR *Chars);
TK_API BSTR TK_CALL cFilterNotChars(BSTR *Txt, BSTR *Chars);
TK_API BSTR TK_CALL cFilterFirstChars(BSTR *Txt, BSTR *Prefix);
TK_API BSTR TK_CALL cFilterBlocks(BSTR *Txt, BSTR *Delimiters);
TK_API BSTR TK_CALL cInsertByMask(BSTR *Mask, BSTR *MaskChar, BSTR *Txt);
TK_API BSTR TK_CALL cInsertBlocks(BSTR *Txt, BSTR *Blocks);
TK_API BSTR TK_CALL cInsertBlocksBy(BSTR *Txt, BSTR *Blocks, BSTR *Sep);
TK_API BSTR TK_CALL cMixChars(BSTR *Txt);

/* Compression and tabs */
TK_API BSTR TK_CALL cCompress(BSTR *Txt);
TK_API BSTR TK_CALL cExpandTab(BSTR *Txt, TK_LONG Width);
TK_API BSTR TK_CALL cCompressTab(BSTR *Txt, TK_LONG Width);
TK_API BSTR TK_CALL cCompact(BSTR *Txt);
TK_API BSTR TK_CALL cUncompact(BSTR *Txt);

/* Encodings, numbers and checksums */
TK_API BSTR TK_CALL cToHexa(BSTR *Txt);
TK_API BSTR TK_CALL cFromHexa(BSTR *Txt);
TK_API BSTR TK_CALL cLrc(BSTR *Txt);
TK_API TK_INTEGER TK_CALL cH2I(BSTR Txt);
TK_API TK_LONG TK_CALL cH2L(BSTR Txt);
TK_API TK_INTEGER TK_CALL cCnvASCIItoEBCDIC(BSTR *Txt);
TK_API TK_INTEGER TK_CALL cCnvEBCDICtoASCII(BSTR *Txt);
TK_API BSTR TK_CALL cMorse(BSTR Txt);
TK_API BSTR TK_CALL cArabicToRoman(VARIANT *Number);
#if defined(_WIN32)
TK_API VARIANT *TK_CALL cRomanToArabic(VARIANT *Result, BSTR *Txt);
#else
TK_API VARIANT TK_CALL cRomanToArabic(BSTR *Txt);
#endif
TK_API TK_INTEGER TK_CALL cCheckNumericity(BSTR *Txt);
TK_API TK_INTEGER TK_CALL cAddDigit(BSTR *Txt);
TK_API TK_INTEGER TK_CALL cNumDigit(BSTR *Txt);
TK_API BSTR TK_CALL cCplDigit(BSTR *Txt);
TK_API BSTR TK_CALL cCplAlpha(BSTR *Txt);

/* Proper names */
TK_API BSTR TK_CALL cProperName(BSTR *Txt);
TK_API BSTR TK_CALL cProperName2(BSTR *Txt, BSTR Exceptions, TK_INTEGER_ARG Options);

/* Wildcard patterns */
TK_API TK_LONG TK_CALL cPatternMatch(BSTR Txt, BSTR Pattern);
TK_API TK_LONG TK_CALL cPatternExtMatch(BSTR Txt, BSTR Pattern);

#ifndef _WIN32
/* The OLE Automation functions that the native library carries in place of
   the system's: make string arguments with SysAllocStringByteLen, read a
   length with SysStringByteLen, free every string result with
   SysFreeString. */
TK_API BSTR SysAllocStringByteLen(const char *source, UINT length);
TK_API BSTR SysAllocStringLen(const OLECHAR *source, UINT length);
TK_API UINT SysStringByteLen(BSTR s);
TK_API UINT SysStringLen(BSTR s);
TK_API void SysFreeString(BSTR s);
TK_API void VariantInit(VARIANT *v);
TK_API HRESULT VariantClear(VARIANT *v);
TK_API HRESULT VariantCopy(VARIANT *destination, const VARIANT *source);
TK_API HRESULT VariantChangeType(VARIANT *destination, const VARIANT *source,
                                 uint16_t flags, VARTYPE type);
#endif

#ifdef __cplusplus
}
#endif

#endif /* TWINEKIT_H */
