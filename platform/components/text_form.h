#pragma once
// The text form format of stored form descriptions, and its conversion to
// and from the binary component stream:
//
//   object wMain: TwMain
//     Caption = 'Info '#252'ber'
//     Lines.Strings = (
//       'one'
//       'two')
//     Font.Style = [fsBold]
//     Picture.Data = {
//       0A54426974...}
//     object btOk: TButton
//       Left = 8
//     end
//   end
//
// Strings are in single quotes with '' for a quote and #nnn for characters
// outside printable ASCII; a long string continues on the next line after
// " +". Lists are in ( ), binary data in { } as hexadecimal, sets in [ ],
// collections in < > with item ... end.

#include <string>
#include <string_view>

#include "platform/rtl/exception.h"

namespace tv {

class EParserError : public Exception {
 public:
  using Exception::Exception;
};

// Raise EParserError "Line L: <what is wrong>" for text that is no form.
std::string ObjectTextToBinary(std::string_view text);
// Raises EReadError for a stream that is no form (see TItemReader).
std::string ObjectBinaryToText(std::string_view bytes);

}  // namespace tv
