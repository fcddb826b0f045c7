/* A program built against an installed TwineKit: calls a few exports as a
   C host does and exits non-zero when a result is wrong. */
#include <stdio.h>
#include <string.h>

#include "twinekit.h"

static int expect(const char *call, BSTR result, const char *want) {
  UINT length = SysStringByteLen(result);
  int ok = length == strlen(want) && memcmp(result, want, length) == 0;
  if (!ok) printf("%s gave \"%.*s\", not \"%s\"\n", call, (int)length, (char *)result, want);
  SysFreeString(result);
  return ok;
}

int main(void) {
  BSTR text = SysAllocStringByteLen("ab|cd|ef", 8);
  BSTR separator = SysAllocStringByteLen("|", 1);
  int ok = expect("cReverse", cReverse(&text), "fe|dc|ba");
  ok &= expect("cGetIn", cGetIn(&text, &separator, 2), "cd");
  ok &= expect("cToHexa", cToHexa(&separator), "7C");
  SysFreeString(text);
  SysFreeString(separator);
  return ok ? 0 : 1;
}
