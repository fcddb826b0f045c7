// Export of the Morse code writer.
#include "encodings/encodings.h"
#include "frame/bytes.h"

using namespace twinekit;

extern "C" {

BSTR TK_CALL cMorse(BSTR Txt) { return encodings::Morse(ReadByValue(Txt)); }

}  // extern "C"
