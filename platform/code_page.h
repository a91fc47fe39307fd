// The one fact about the host's code page that the table-name check needs:
// whether a byte opens a two-byte character, so that the byte after it,
// whatever it is, becomes part of that character when the text is converted.
//
// On Windows the query text reaches the database converted from the active
// ANSI code page, which is a double-byte one under East Asian system locales;
// there a lead byte right before a closing quote would swallow the quote. The
// native build hands the text to the database byte for byte, so no byte ever
// swallows another.
#pragma once

namespace orva::platform {

bool IsLeadByte(char byte);

}  // namespace orva::platform
