// Preprocessor: the macro pass every program text goes through before its
// parser: comments, #define (with and without arguments), #undef, #ifdef,
// #ifndef, #else and #endif. Lines keep their numbers in the output, so
// the parsers report lines of the original text.
#pragma once

#include <string>
#include <string_view>

#include "shaderparse/ParseErrors.h"

namespace shaderparse {

// Returns the expanded text; errors go to `errors` (the text is then not
// to be used). firstLine is the number of the text's first line.
// NOTE: a directive is '#' followed directly by its name, so a vertex
// program's "# define ..." comment stays a comment.
std::string preprocess(std::string_view text, int firstLine, ParseErrors& errors);

}  // namespace shaderparse
