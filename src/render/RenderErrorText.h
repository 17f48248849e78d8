#pragma once

#include "render/ResultCodes.h"

#include <string>

namespace m3d {

// How grave an error shown by the framework is.
enum class ErrorKind {
    Warning = 0,
    Fatal = 1,                // the program must end
    SwitchedToReference = 2,  // the hardware device failed; the reference device takes over
};

// The message of a result code, without any suffix.
std::string RenderErrorMessage(HResult code);
// The full text of the message box for code and kind.
std::string RenderErrorText(HResult code, ErrorKind kind);

}  // namespace m3d
