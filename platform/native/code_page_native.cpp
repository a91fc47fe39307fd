// The code page on the native build: the database reads the query text's
// bytes as they are (SQLite's tokenizer ends a quoted name at the quote byte
// whatever stands before it), so no byte is a lead byte.
#include "platform/code_page.h"

namespace orva::platform {

bool IsLeadByte(char) {
  return false;
}

}  // namespace orva::platform
