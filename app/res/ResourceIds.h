// Names of the program's resources (Orvendex.rc), for LoadIconA and LoadImageA by name.
#pragma once

namespace orv::res {

inline constexpr const char* kMainIcon = "MAINICON";              // program icon: 64 to 16 px
inline constexpr const char* kWindowIcon = "WINDOWICON";          // window icon: 256 to 16 px
inline constexpr const char* kGeneralPicture = "GENERALPICTURE";  // 128 x 88, 24-bit, General page
inline constexpr const char* kAboutPicture = "ABOUTPICTURE";      // 128 x 128, 32-bit premultiplied

}  // namespace orv::res
