/*
 * A TwineKit client from a second toolchain: C compiled by clang for the
 * Microsoft ABI and linked by lld-link against import libraries only, the
 * DLL's own (TWINEKIT.lib, TWINEKIT64.lib) and two made from kernel32.def
 * and oleaut32.def.  No Windows SDK and no C runtime: it has its own entry
 * point and its own few helpers.
 *
 * It calls exports of the DLL beside it, compares what comes back with
 * known answers, prints a line for each wrong one and a summary
 * ("client32: 28 passed, 0 failed"), and exits with 1 when any was wrong.
 */
#define TK_NO_WINDOWS_H
#include "twinekit.h"

#ifdef _WIN64
#define WINAPI
#define TK_LABEL "client64"
#else
#define WINAPI __stdcall
#define TK_LABEL "client32"
#endif

typedef void *HANDLE;
HANDLE WINAPI GetStdHandle(uint32_t which);
int WINAPI WriteFile(HANDLE file, const void *bytes, uint32_t count, uint32_t *written,
                     void *overlapped);
__declspec(noreturn) void WINAPI ExitProcess(uint32_t code);
BSTR WINAPI SysAllocStringByteLen(const char *bytes, uint32_t count);
void WINAPI SysFreeString(BSTR s);
uint32_t WINAPI SysStringByteLen(BSTR s);

#define STD_OUTPUT_HANDLE ((uint32_t)-11)

static HANDLE out;
static int32_t passed, failed;

static void Write(const char *bytes, uint32_t count) {
  uint32_t written;
  WriteFile(out, bytes, count, &written, 0);
}

static void Print(const char *text) {
  uint32_t n = 0;
  while (text[n]) ++n;
  Write(text, n);
}

static void PrintNumber(int32_t n) {
  char digits[12];
  uint32_t i = sizeof digits, m = n < 0 ? 0u - (uint32_t)n : (uint32_t)n;
  do {
    digits[--i] = (char)('0' + m % 10);
    m /= 10;
  } while (m);
  if (n < 0) digits[--i] = '-';
  Write(digits + i, sizeof digits - i);
}

/* Bytes in quotes, those that are not plain printable ones as \xHH. */
static void PrintBytes(const char *bytes, uint32_t count) {
  static const char hex[] = "0123456789ABCDEF";
  Print("'");
  for (uint32_t i = 0; i < count; ++i) {
    const unsigned char b = (unsigned char)bytes[i];
    if (b >= ' ' && b < 0x7F && b != '\\' && b != '\'') {
      Write(bytes + i, 1);
    } else {
      const char escape[4] = {'\\', 'x', hex[b >> 4], hex[b & 15]};
      Write(escape, 4);
    }
  }
  Print("'");
}

/* The strings the calls are given, freed at the end. */
static BSTR strings[96];
static uint32_t string_count;

static BSTR *Keep(const char *bytes, uint32_t count) {
  BSTR *variable = &strings[string_count++];
  *variable = bytes ? SysAllocStringByteLen(bytes, count) : 0;
  return variable;
}

#define REF(text) Keep(text, sizeof(text) - 1) /* a String by reference */
#define VAL(text) (*REF(text))                 /* a String by value */
#define NULL_REF Keep(0, 0)

static void Fail(const char *call) {
  ++failed;
  Print("FAIL " TK_LABEL ": ");
  Print(call);
  Print(": ");
}

static void ExpectBytes(const char *call, BSTR got, const char *want, uint32_t count) {
  const uint32_t n = got ? SysStringByteLen(got) : 0;
  uint32_t same = n == count;
  for (uint32_t i = 0; same && i < n; ++i) same = ((const char *)got)[i] == want[i];
  if (same) {
    ++passed;
    return;
  }
  Fail(call);
  Print("got ");
  PrintBytes((const char *)got, n);
  Print(", want ");
  PrintBytes(want, count);
  Print("\n");
}

/* A string result: a new BSTR, never null. */
static void ExpectResult(const char *call, BSTR got, const char *want, uint32_t count) {
  if (got) {
    ExpectBytes(call, got, want, count);
  } else {
    Fail(call);
    Print("a null BSTR\n");
  }
  SysFreeString(got);
}

static void ExpectNumber(const char *call, int32_t got, int32_t want) {
  if (got == want) {
    ++passed;
    return;
  }
  Fail(call);
  Print("got ");
  PrintNumber(got);
  Print(", want ");
  PrintNumber(want);
  Print("\n");
}

#define EXPECT_STRING(call, want) ExpectResult(#call, call, want, sizeof(want) - 1)
#define EXPECT_NUMBER(call, want) ExpectNumber(#call, call, want)
#define EXPECT_VARIABLE(variable, want) \
  ExpectBytes("the variable " #variable " after the call", variable, want, sizeof(want) - 1)

static void CheckFields(void) {
  EXPECT_STRING(cGetIn(REF("a|b|c"), REF("|"), 65537), "");
  EXPECT_STRING(cGetInR(REF("a\0b\0"), REF("\0x"), 2), "b");
  EXPECT_STRING(cGetInPart(REF("key=val=x"), REF("="), -1), "key");
  cSetDefaultSeparator(REF("\0|"));
  EXPECT_STRING(cGet(REF("a\0b|c"), 2), "b|c");
  cSetDefaultSeparator(REF("|"));
  EXPECT_STRING(cGet(REF("\0x|\xFF\0"), 2), "\xFF\0");
  EXPECT_NUMBER(cCount(REF("\0"), REF("\0")), 1);
  EXPECT_NUMBER(cOrToken(VAL("the quick fox"), VAL("cat|fox")), -1);
  EXPECT_STRING(cStringSAR(VAL("Hello World"), VAL("O"), VAL("0"), 65536), "Hell0 W0rld");
  EXPECT_STRING(cStringSAR(VAL("aaa"), VAL("aa"), VAL("b"), -1), "ba");
}

static void CheckInPlace(void) {
  BSTR *text = REF("abcabc");
  EXPECT_NUMBER(cChangeChars(text, REF("ab"), REF("bc")), -1);
  EXPECT_VARIABLE(*text, "cccccc");
  BSTR *ebcdic = REF("|");
  EXPECT_NUMBER(cCnvASCIItoEBCDIC(ebcdic), -1);
  EXPECT_VARIABLE(*ebcdic, "j");
}

static void CheckOthers(void) {
  EXPECT_STRING(cReverse(REF("A\0B\xFF")), "\xFF" "B\0A");
  EXPECT_STRING(cGetBlock(REF("ABCDEFG"), 3, 3), "G");
  EXPECT_NUMBER(cCheckChars(REF("hello"), REF("ll")), -1);
  EXPECT_STRING(cExpandTab(REF("abc\td"), 4), "abc    d");
  EXPECT_STRING(cUncompact(NULL_REF), "");
  EXPECT_STRING(cFromHexa(REF("41424")), "AB");
  EXPECT_NUMBER(cH2I(VAL("9aBf")), -25921);
  EXPECT_NUMBER(cH2L(VAL("ABCdef01")), -1412567295);
  EXPECT_NUMBER(cAddDigit(REF("/0123456789:a\0" "9")), 54);
  EXPECT_STRING(cMorse(VAL(" Hi  there")), "~.... .. ~~- .... . .-. . ");
  EXPECT_STRING(cProperName2(REF("jean-paul (o'neil) [x]"), VAL(""), 65538),
                "Jean-Paul (O'Neil) [X]");
  EXPECT_NUMBER(cPatternExtMatch(VAL("abc"), VAL("a?d")), 14);
  EXPECT_NUMBER(cPatternMatch(VAL("ab"), VAL("*?")), -1);
}

static void CheckVariants(void) {
  VARIANT number, result;
  number.vt = VT_I4;
  number.lVal = 3999;
  EXPECT_STRING(cArabicToRoman(&number), "mmmcmxcix");
  static const char call[] = "cRomanToArabic(&result, REF(\"imdm\"))";
  result.vt = VT_EMPTY;
  if (cRomanToArabic(&result, REF("imdm")) != &result || result.vt != VT_I4) {
    Fail(call);
    Print("not a Long in the result given\n");
  } else {
    ExpectNumber(call, result.lVal, 2501);
  }
}

void ClientMain(void) {
  out = GetStdHandle(STD_OUTPUT_HANDLE);
  CheckFields();
  CheckInPlace();
  CheckOthers();
  CheckVariants();
  for (uint32_t i = 0; i < string_count; ++i) SysFreeString(strings[i]);
  Print(TK_LABEL ": ");
  PrintNumber(passed);
  Print(" passed, ");
  PrintNumber(failed);
  Print(" failed\n");
  ExitProcess(failed ? 1 : 0);
}
