// The text of the application's error box for an exception that escaped an event handler.
// Platform-neutral, so the host build tests it.
#pragma once

#include <string>
#include <string_view>

namespace orv {

// The message with a full stop appended when its last character sorts after "." (as an unsigned
// byte, so letters, digits and characters 128 to 255 get one, while "!", ")" or "." itself do not).
std::string ErrorBoxText(std::string_view message);

}  // namespace orv
