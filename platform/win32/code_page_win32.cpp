// The code page on Windows: the active ANSI code page, the one the query
// text is converted from on its way to the database (ole_text.h).
#include <windows.h>

#include "platform/code_page.h"

namespace orva::platform {

bool IsLeadByte(char byte) {
  return IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(byte)) != FALSE;
}

}  // namespace orva::platform
