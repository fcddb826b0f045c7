// The GUIDs of the type library, the interface and the class, as the
// interface definition gives them.
#include "twinekit_com_i.c"
